#include "gui/planning/frmOrder.h"

#include "gui/planning/figure_delegate.h"
#include "gui/planning/order_table_model.h"
#include "gui/widgets/fonts.h"
#include "gui/widgets/widget_colours.h"

#include <QAccessible>
#include <QAction>
#include <QApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QSettings>
#include <QShortcut>
#include <QSpinBox>
#include <QTableView>
#include <QVBoxLayout>
#include <algorithm>

namespace tovimar {

namespace {

// The main window's colours: light text on the dark window, the table a shade lighter so that
// its cells stand apart; tooltips as the desktop has them.
const QPalette& windowPalette() {
    return sharedPalette([](QPalette& palette, const QPalette& desktop) {
        const QColor text = darkPassText();
        palette.setColor(QPalette::Window, bgr(palette::kDark));
        palette.setColor(QPalette::Button, bgr(palette::kDark));
        palette.setColor(QPalette::Base, QColor(0x2A, 0x2A, 0x2A));
        palette.setColor(QPalette::AlternateBase, QColor(0x34, 0x34, 0x34));
        for (QPalette::ColorRole r : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText})
            palette.setColor(r, text);
        palette.setColor(QPalette::ToolTipBase, desktop.color(QPalette::ToolTipBase));
        palette.setColor(QPalette::ToolTipText, desktop.color(QPalette::ToolTipText));
    });
}

// Tab and Shift+Tab in an editor go on to the next cell that takes a figure or a quantity;
// Delete and Backspace clear the current one.
class OrderTableView : public QTableView {
public:
    using QTableView::QTableView;

protected:
    QModelIndex moveCursor(CursorAction action, Qt::KeyboardModifiers modifiers) override {
        if (action != MoveNext && action != MovePrevious)
            return QTableView::moveCursor(action, modifiers);
        const int columns = model()->columnCount(), cells = model()->rowCount() * columns;
        const int step = action == MoveNext ? 1 : -1;
        const QModelIndex now = currentIndex();
        int at = now.isValid() ? now.row() * columns + now.column() : (step > 0 ? -1 : 0);
        for (int n = 0; n < cells; ++n) {
            at = ((at + step) % cells + cells) % cells;
            const QModelIndex i = model()->index(at / columns, at % columns);
            if (i.flags() & Qt::ItemIsEditable)
                return i;
        }
        return now;
    }

    void keyPressEvent(QKeyEvent* e) override {
        const QModelIndex i = currentIndex();
        if ((e->key() == Qt::Key_Delete || e->key() == Qt::Key_Backspace) && state() != EditingState &&
            (i.flags() & Qt::ItemIsEditable)) {
            model()->setData(i, QVariant());
            e->accept();
            return;
        }
        QTableView::keyPressEvent(e);
    }

    // The view's own model-change event does not reach screen readers through the platform
    // bridge; a name change from each changed cell does, and the cell's name is its text.
    void dataChanged(const QModelIndex& topLeft, const QModelIndex& bottomRight,
                     const QList<int>& roles) override {
        QTableView::dataChanged(topLeft, bottomRight, roles);
        if (!QAccessible::isActive() || !topLeft.isValid() || !bottomRight.isValid())
            return;
        QAccessibleInterface* view = QAccessible::queryAccessibleInterface(this);
        QAccessibleTableInterface* cells = view ? view->tableInterface() : nullptr;
        if (!cells)
            return;
        for (int row = topLeft.row(); row <= bottomRight.row(); ++row)
            for (int column = topLeft.column(); column <= bottomRight.column(); ++column)
                if (QAccessibleInterface* cell = cells->cellAt(row, column)) {
                    QAccessibleEvent changed(cell, QAccessible::NameChanged);
                    QAccessible::updateAccessibility(&changed);
                }
    }
};

struct WorkloadField {
    const char* label;
    FigureRange range;
    const char* tip;
};
const QString kGeometryKey = QStringLiteral("OrderWindow/geometry");

// By box: months, runs, calibrations, repeats, safety months (added last, shown beside Months).
constexpr std::array<WorkloadField, 5> kWorkload{{
    {"&Months", kMonthsRange, "How many months the order is to last"},
    {"&Runs a month", kPerMonthRange, "Control runs a month: with a control's runs a pack, its suggestion"},
    {"&Calibrations a month", kPerMonthRange,
     "Calibrations a month: with a calibrator's calibrations a pack, its suggestion"},
    {"Re&peats %", kRetestRange, "Per cent of the reagent tests run again"},
    {"&Safety months", kSafetyMonthsRange,
     "Months more the order is to last, in case a delivery comes late: the order is planned for Months "
     "+ safety months"},
}};
constexpr std::array<std::size_t, 5> kShownAs{0, 4, 1, 2, 3};

}  // namespace

frmOrder::frmOrder(OrderDocument& document, QWidget* parent)
    : QDialog(parent), plan_(document.edit().plan), model_(new OrderTableModel(document.edit(), this)) {
    setObjectName(QStringLiteral("frmOrder"));
    setWindowTitle(QStringLiteral("Order and quantities"));
    setPalette(windowPalette());
    setAutoFillBackground(true);
    setFont(narrowFont(11, false));

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(buildWorkload());
    auto* hint = new QLabel(
        QStringLiteral("Type a number into a figure, the stock or a quantity; Enter or Tab keeps it, Delete "
                       "clears it. Typed quantities show in bold, on amber where the figures now suggest "
                       "another; lines the stock covers, in italics."),
        this);
    hint->setObjectName(QStringLiteral("OrderHint"));
    hint->setWordWrap(true);
    layout->addWidget(hint);
    buildTable();
    layout->addWidget(table_, 1);

    auto* suggestions = new QPushButton(QStringLiteral("&Use the suggestions"), this);
    suggestions->setObjectName(QStringLiteral("cmdUseSuggestions"));
    suggestions->setAccessibleName(QStringLiteral("Use the suggestions"));
    suggestions->setToolTip(
        QStringLiteral("Drops every typed quantity where the figures suggest one, as one step to undo"));
    suggestions->setAutoDefault(false);
    connect(suggestions, &QPushButton::clicked, model_, &OrderTableModel::UseSuggestions);
    auto* close = new QPushButton(QStringLiteral("Close"), this);
    close->setObjectName(QStringLiteral("cmdOrderClose"));
    close->setAccessibleName(QStringLiteral("Close"));
    // Enter commits a cell or a figure; it must not also close the window.
    close->setAutoDefault(false);
    connect(close, &QPushButton::clicked, this, &QDialog::reject);
    auto* foot = new QHBoxLayout;
    foot->addWidget(suggestions);
    foot->addStretch(1);
    foot->addWidget(close);
    layout->addLayout(foot);

    connect(model_, &OrderTableModel::planChanged, &document, &OrderDocument::Commit);
    connect(&document, &OrderDocument::restored, this, &frmOrder::ShowOrderAgain);
    // A cell or figure being typed into takes these keys for its own text first.
    const auto key = [this, &document](QKeySequence keys, void (OrderDocument::*command)()) {
        connect(new QShortcut(keys, this), &QShortcut::activated, &document, command);
    };
    key(QKeySequence(Qt::CTRL | Qt::Key_Z), &OrderDocument::Undo);
    key(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z), &OrderDocument::Redo);
    key(QKeySequence(Qt::CTRL | Qt::Key_Y), &OrderDocument::Redo);
}

QWidget* frmOrder::buildWorkload() {
    auto* row = new QWidget(this);
    row->setObjectName(QStringLiteral("OrderWorkload"));
    auto* layout = new QHBoxLayout(row);
    layout->setContentsMargins(0, 0, 0, 0);
    for (const std::size_t i : kShownAs) {
        const WorkloadField& f = kWorkload[i];
        auto* label = new QLabel(QString::fromLatin1(f.label), row);
        auto* box = new QSpinBox(row);
        box->setRange(static_cast<int>(f.range.low), static_cast<int>(f.range.high));
        box->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        box->setAccessibleName(label->text().remove(QLatin1Char('&')));
        box->setToolTip(QString::fromLatin1(f.tip));
        label->setBuddy(box);
        connect(box, &QSpinBox::valueChanged, this, &frmOrder::workloadEdited);
        boxes_[i] = box;
        layout->addWidget(label);
        layout->addWidget(box);
        layout->addSpacing(16);
    }
    layout->addStretch(1);
    return row;
}

void frmOrder::buildTable() {
    table_ = new OrderTableView(this);
    table_->setObjectName(QStringLiteral("OrderTable"));
    table_->setAccessibleName(QStringLiteral("Order and quantities"));
    table_->setModel(model_);
    table_->setItemDelegate(new FigureDelegate(table_));
    table_->setEditTriggers(QAbstractItemView::AnyKeyPressed | QAbstractItemView::EditKeyPressed |
                            QAbstractItemView::DoubleClicked | QAbstractItemView::SelectedClicked);
    table_->setSelectionMode(QAbstractItemView::SingleSelection);
    table_->setSelectionBehavior(QAbstractItemView::SelectItems);
    table_->setAlternatingRowColors(true);
    table_->setWordWrap(false);
    table_->setTabKeyNavigation(false);  // Tab leaves the table; in a cell being edited it goes on
    table_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    table_->verticalHeader()->hide();
    // Every row is one line of the same font: one height, measured once at opening. Sized to their
    // contents, the rows would be measured again, every cell of every row, on each edit.
    table_->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    table_->horizontalHeader()->setFont(narrowFont(11, true));
    table_->horizontalHeader()->setHighlightSections(false);
    // The right-click menu, and the menu key, offer what the button below does.
    table_->setContextMenuPolicy(Qt::ActionsContextMenu);
    auto* use = new QAction(QStringLiteral("Use the suggestions"), table_);
    connect(use, &QAction::triggered, model_, &OrderTableModel::UseSuggestions);
    table_->addAction(use);
}

void frmOrder::workloadEdited() {
    model_->SetWorkload(
        {boxes_[0]->value(), boxes_[1]->value(), boxes_[2]->value(), boxes_[3]->value(), boxes_[4]->value()});
}

void frmOrder::showWorkload() {
    const Workload& w = plan_.workload();
    const std::array<int, 5> values{w.months, w.runsPerMonth, w.calibrationsPerMonth, w.retestPercent,
                                    w.safetyMonths};
    for (std::size_t i = 0; i < boxes_.size(); ++i) {
        const QSignalBlocker quiet(boxes_[i]);
        boxes_[i]->setValue(values[i]);
    }
}

void frmOrder::fitToTable() {
    table_->verticalHeader()->setDefaultSectionSize(
        model_->rowCount() > 0 ? static_cast<QAbstractItemView*>(table_)->sizeHintForRow(0)
                               : table_->fontMetrics().height() + 4);
    QHeaderView* header = table_->horizontalHeader();
    header->setSectionResizeMode(QHeaderView::Interactive);
    table_->resizeColumnsToContents();
    int width = 0;
    for (int c = 0; c < model_->columnCount(); ++c) {
        table_->setColumnWidth(c, table_->columnWidth(c) + 12);  // air between the columns
        width += table_->columnWidth(c);
    }
    // The product names take whatever room the window has beyond that.
    header->setSectionResizeMode(OrderTableModel::Product, QHeaderView::Stretch);
    width += 2 * table_->frameWidth() + table_->verticalScrollBar()->sizeHint().width();
    const QMargins m = layout()->contentsMargins();
    const QRect screen =
        (parentWidget() ? parentWidget()->screen() : QApplication::primaryScreen())->availableGeometry();
    const int wanted = std::min(width + m.left() + m.right(), screen.width());
    setMinimumWidth(std::max(wanted, layout()->minimumSize().width()));
    resize(minimumWidth(), screen.height() * 7 / 8);
}

void frmOrder::placeAsLeft() {
    const QRect stored = QSettings().value(kGeometryKey).toRect();
    if (!stored.isValid())
        return;  // the first opening: sized to the table, the dialog centres itself over the window
    QScreen* on = QGuiApplication::screenAt(stored.center());
    if (!on)  // off every screen now: the window's own
        on = parentWidget() ? parentWidget()->screen() : QApplication::primaryScreen();
    // The room for the inside of the window: the frame, where already known, stays on the screen too.
    const QRect frame = frameGeometry(), inside = geometry();
    const QRect room = on->availableGeometry().marginsRemoved(
        {inside.left() - frame.left(), inside.top() - frame.top(), frame.right() - inside.right(),
         frame.bottom() - inside.bottom()});
    QRect r = inside;
    // A size kept that no longer fits the table or the screen gives way to the table's.
    if (stored.width() >= minimumWidth() && stored.width() <= room.width() &&
        stored.height() <= room.height())
        r.setSize(stored.size());
    r.setSize(r.size().boundedTo(room.size()));
    r.moveTopLeft(stored.topLeft());
    r.moveLeft(std::clamp(r.left(), room.left(), room.right() - r.width() + 1));
    r.moveTop(std::clamp(r.top(), room.top(), room.bottom() - r.height() + 1));
    setGeometry(r);
}

void frmOrder::hideEvent(QHideEvent* e) {
    QSettings().setValue(kGeometryKey, geometry());
    QDialog::hideEvent(e);
}

void frmOrder::ShowOrderAgain() {
    // The cell the user was on stays current where the order still has it.
    const QModelIndex at = table_->currentIndex();
    model_->Reload();
    showWorkload();
    if (at.isValid() && at.row() < model_->rowCount())
        table_->setCurrentIndex(model_->index(at.row(), at.column()));
}

void frmOrder::Open() {
    model_->Refresh();
    fitToTable();
    placeAsLeft();
    showWorkload();
    open();
    placeAsLeft();  // again now that the frame's size is known
    table_->setFocus();
    if (!table_->currentIndex().isValid() && model_->rowCount() > 0)
        table_->setCurrentIndex(model_->index(0, OrderTableModel::Quantity));
}

}  // namespace tovimar
