#include "gui/output/frmLaboratory.h"

#include "gui/output/laboratory_settings.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>
#include <algorithm>

namespace tovimar {

namespace {

// Wide enough for a line of 80 characters of an ordinary address.
constexpr int kFieldWidth = 420;
constexpr int kAddressFields = 4;

// As typed, without the blanks around it: a name of blanks is no name.
std::string textOf(const QLineEdit* edit) {
    return edit->text().trimmed().toStdString();
}

// The field a problem of CheckDetails names ("laboratory.address[2]").
frmLaboratory::Field fieldNamed(const std::string& item) {
    using F = frmLaboratory;
    static const std::pair<const char*, F::Field> kItems[] = {{"laboratory.name", F::Name},
                                                              {"laboratory.account", F::Account},
                                                              {"laboratory.contact", F::Contact},
                                                              {"laboratory.phone", F::Phone},
                                                              {"laboratory.email", F::Email},
                                                              {"order.reference", F::Reference},
                                                              {"order.date", F::Date}};
    for (const auto& [name, field] : kItems)
        if (item == name)
            return field;
    const std::string line = "laboratory.address[";
    if (item.starts_with(line) && item.size() > line.size())
        return static_cast<F::Field>(F::Address1 +
                                     std::clamp(item[line.size()] - '0', 0, kAddressFields - 1));
    return F::Address1;  // too many lines, which four fields cannot give
}

}  // namespace

frmLaboratory::frmLaboratory(OrderDocument& document, QWidget* parent)
    : QDialog(parent), document_(document) {
    setObjectName(QStringLiteral("frmLaboratory"));
    setWindowTitle(QStringLiteral("Laboratory details"));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(buildLaboratory());
    layout->addWidget(buildOrder());
    problem_ = new QLabel(this);
    problem_->setObjectName(QStringLiteral("DetailsProblem"));
    problem_->setWordWrap(true);
    problem_->setStyleSheet(QStringLiteral("color: #a00000"));
    // Room for the longest reason from the start: the window keeps its size as reasons come and go.
    problem_->setMinimumHeight(2 * problem_->fontMetrics().lineSpacing());
    layout->addWidget(problem_);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &frmLaboratory::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &frmLaboratory::reject);
    layout->addWidget(buttons);
}

void frmLaboratory::addFields(QFormLayout& form, std::initializer_list<FieldRow> rows) {
    for (const FieldRow& r : rows) {
        auto* edit = new QLineEdit(form.parentWidget());
        edit->setObjectName(QStringLiteral("Details%1").arg(int(r.field)));
        edit->setMaxLength(int(r.max));
        edit->setMinimumWidth(kFieldWidth);
        edit->setAccessibleName(QString::fromLatin1(r.accessible));
        auto* caption = new QLabel(QString::fromLatin1(r.label), form.parentWidget());
        caption->setBuddy(edit);  // its mnemonic puts the focus into the field
        form.addRow(caption, edit);
        fields_[static_cast<std::size_t>(r.field)] = edit;
    }
}

QWidget* frmLaboratory::buildLaboratory() {
    auto* box = new QGroupBox(QStringLiteral("Laboratory (kept for every new selection)"), this);
    auto* form = new QFormLayout(box);
    addFields(*form, {{Name, "&Name:", "Laboratory name", kNameMax},
                      {Address1, "&Address:", "Address line 1", kAddressLineMax},
                      {Address2, "Line &2:", "Address line 2", kAddressLineMax},
                      {Address3, "Line &3:", "Address line 3", kAddressLineMax},
                      {Address4, "Line &4:", "Address line 4", kAddressLineMax},
                      {Account, "Customer acco&unt:", "Customer account", kAccountMax},
                      {Contact, "Con&tact name:", "Contact name", kContactMax},
                      {Phone, "&Phone:", "Phone", kPhoneMax},
                      {Email, "&E-mail:", "E-mail", kEmailMax}});
    return box;
}

QWidget* frmLaboratory::buildOrder() {
    auto* box = new QGroupBox(QStringLiteral("This order"), this);
    auto* form = new QFormLayout(box);
    addFields(*form, {{Reference, "&Reference:", "Order reference", kReferenceMax},
                      {Date, "&Date:", "Order date", 10}});
    field(Date)->setPlaceholderText(QStringLiteral("yyyy-mm-dd; empty: the day it is printed"));
    return box;
}

void frmLaboratory::Open() {
    showDetails(document_.order().details);
    for (QLineEdit* edit : fields_)
        edit->setAccessibleDescription(QString());
    problem_->clear();
    open();
    field(Name)->setFocus();
}

void frmLaboratory::showDetails(const OrderDetails& details) {
    const Laboratory& lab = details.laboratory;
    const auto put = [this](Field f, const std::string& text) {
        field(f)->setText(QString::fromStdString(text));
    };
    put(Name, lab.name);
    for (int k = 0; k < kAddressFields; ++k)
        put(static_cast<Field>(Address1 + k), std::size_t(k) < lab.address.size() ? lab.address[k] : "");
    put(Account, lab.account);
    put(Contact, lab.contact);
    put(Phone, lab.phone);
    put(Email, lab.email);
    put(Reference, details.reference);
    put(Date, details.date);
}

OrderDetails frmLaboratory::typed() const {
    OrderDetails d;
    Laboratory& lab = d.laboratory;
    lab.name = textOf(field(Name));
    // Blank lines between the lines typed close up, as they would on an envelope.
    for (int k = 0; k < kAddressFields; ++k)
        if (std::string line = textOf(field(static_cast<Field>(Address1 + k))); !line.empty())
            lab.address.push_back(std::move(line));
    lab.account = textOf(field(Account));
    lab.contact = textOf(field(Contact));
    lab.phone = textOf(field(Phone));
    lab.email = textOf(field(Email));
    d.reference = textOf(field(Reference));
    d.date = textOf(field(Date));
    return d;
}

QString frmLaboratory::problem() const {
    return problem_->text();
}

// Refused details keep the window open, the reason under the fields and the focus on the field
// that holds what is wrong; accepted ones are one step of the order's history.
void frmLaboratory::accept() {
    const OrderDetails details = typed();
    for (QLineEdit* edit : fields_)
        edit->setAccessibleDescription(QString());
    if (const std::optional<DetailsProblem> p = CheckDetails(details)) {
        problem_->setText(QString::fromStdString(p->message));
        // A screen reader says why as the focus lands on the field.
        QLineEdit* wrong = field(fieldNamed(p->item));
        wrong->setAccessibleDescription(problem_->text());
        wrong->setFocus();
        wrong->selectAll();
        return;
    }
    document_.edit().details = details;
    document_.Commit(QStringLiteral("laboratory details"));
    KeepLaboratory(details.laboratory);
    QDialog::accept();
}

}  // namespace tovimar
