#include "gui/refinement/adding_view.h"

#include "core/refinement/miss_lists.h"
#include "gui/widgets/fonts.h"
#include "gui/widgets/twips.h"
#include "gui/widgets/view_headings.h"

#include <QApplication>
#include <QMouseEvent>
#include <QPainter>
#include <QStyledItemDelegate>

namespace tovimar {

namespace {

// A click anywhere on an entry ticks or unticks it, not only a click on its small box: the list
// is read by its ticks, so a click that merely highlighted a name would look like a choice and
// be none. Space on the current entry toggles it as usual.
class TickRowDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    bool editorEvent(QEvent* event, QAbstractItemModel* model, const QStyleOptionViewItem& option,
                     const QModelIndex& index) override {
        const Qt::ItemFlags flags = model->flags(index);
        const bool tickable = flags.testFlag(Qt::ItemIsUserCheckable) && flags.testFlag(Qt::ItemIsEnabled);
        switch (event->type()) {
        case QEvent::MouseButtonPress:
            return false;  // the view makes the entry current
        case QEvent::MouseButtonDblClick:
            return tickable;  // the second click's release toggles again, as two clicks do
        case QEvent::MouseButtonRelease: {
            if (!tickable || static_cast<QMouseEvent*>(event)->button() != Qt::LeftButton)
                return false;
            const bool ticked = index.data(Qt::CheckStateRole).toInt() == Qt::Checked;
            return model->setData(index, ticked ? Qt::Unchecked : Qt::Checked, Qt::CheckStateRole);
        }
        default:
            return QStyledItemDelegate::editorEvent(event, model, option, index);
        }
    }

    // The lists are dark, and the style draws a tick box in the list's own colours: dark on dark,
    // an unticked entry would show no box at all. The box is drawn again in light colours, as a
    // tick box stands on any list.
    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override {
        QStyledItemDelegate::paint(painter, option, index);
        QStyleOptionViewItem opt = option;
        initStyleOption(&opt, index);
        if (!opt.features.testFlag(QStyleOptionViewItem::HasCheckIndicator))
            return;
        const QWidget* view = option.widget;
        QStyle* style = view ? view->style() : QApplication::style();
        opt.rect = style->subElementRect(QStyle::SE_ItemViewItemCheckIndicator, &opt, view);
        const QPalette app = QApplication::palette();
        for (QPalette::ColorRole r : {QPalette::Base, QPalette::Text, QPalette::Window, QPalette::WindowText})
            opt.palette.setColor(r, app.color(QPalette::Active, r));
        opt.state = opt.state & ~QStyle::State_HasFocus;
        opt.state |= opt.checkState == Qt::Checked ? QStyle::State_On : QStyle::State_Off;
        style->drawPrimitive(QStyle::PE_IndicatorItemViewItemCheck, &opt, painter, view);
    }
};

// Fills `list` with one unticked entry per slot of `shown`, named as the record is.
// Each entry is described by the heading over its list, which a screen reader reads with it.
template <typename Table>
void fill(QListWidget* list, const Table& table, const std::vector<std::int16_t>& shown) {
    list->clear();
    const QString heading = list->accessibleName();
    for (std::int16_t slot : shown) {
        auto* item = new QListWidgetItem(QString::fromStdString(table[slot].Name), list);
        item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsUserCheckable);
        item->setCheckState(Qt::Unchecked);
        item->setData(Qt::AccessibleDescriptionRole, heading);
    }
}

std::vector<int> tickedPositions(const QListWidget* list) {
    std::vector<int> positions;
    for (int p = 0; p < list->count(); ++p)
        if (list->item(p)->checkState() == Qt::Checked)
            positions.push_back(p);
    return positions;
}

// Only the ticks choose; a highlighted entry beside them would look like a second kind of choice.
void makeTickList(QListWidget* list) {
    list->setSelectionMode(QAbstractItemView::NoSelection);
    list->setItemDelegate(new TickRowDelegate(list));
    list->setFont(narrowFont(9, true));
    list->setSpacing(1);  // the tick boxes stand apart
}

}  // namespace

AddingView::AddingView(Order& order, QWidget* window, ControlCollection& controls)
    : QObject(window), order_(order) {
    calMissList_ = controls.add(new QListWidget(window), QStringLiteral("CalMissList"));
    calMissList_->setGeometry(twipsRect(1920, 7080, 1725, 735));
    ctrlMissList_ = controls.add(new QListWidget(window), QStringLiteral("CtrlMissList"));
    ctrlMissList_->setGeometry(twipsRect(8280, 7080, 1245, 735));
    // Named, and their entries described, by the headings over them.
    calMissList_->setAccessibleName(QString::fromLatin1(kAddCalibratorsHeading));
    ctrlMissList_->setAccessibleName(QString::fromLatin1(kAddControlsHeading));
    makeTickList(calMissList_);
    makeTickList(ctrlMissList_);
}

void AddingView::Show() {
    calMissList_->setGeometry(twipsRect(120, 500, 5400, 10000));
    calMissList_->show();
    calMissList_->clear();
    ctrlMissList_->setGeometry(twipsRect(5800, 500, 5400, 10000));
    ctrlMissList_->show();
    ctrlMissList_->clear();
    FillCalMissList();
    FillCtrlMissList();
}

void AddingView::Hide() {
    calMissList_->hide();
    ctrlMissList_->hide();
}

void AddingView::Clear() {
    calMissList_->clear();
    ctrlMissList_->clear();
    CalMissSlot.clear();
    CtrlMissSlot.clear();
}

// Each fill starts from an empty list, so position p and the map's entry p always name the
// same product.
void AddingView::FillCalMissList() {
    CalMissSlot = CalMissSlots(order_);
    fill(calMissList_, TheCatalogue().Calibs, CalMissSlot);
}

void AddingView::FillCtrlMissList() {
    CtrlMissSlot = CtrlMissSlots(order_);
    fill(ctrlMissList_, TheCatalogue().Ctrls, CtrlMissSlot);
}

void AddingView::AddTicked() {
    AddByHand(order_, CalMissSlot, tickedPositions(calMissList_), CtrlMissSlot,
              tickedPositions(ctrlMissList_));
    emit changed();
}

QListWidget* AddingView::FirstList() {
    for (QListWidget* list : {calMissList_, ctrlMissList_})
        if (list->count() > 0) {
            if (list->currentRow() < 0)
                list->setCurrentRow(0);
            return list;
        }
    return calMissList_;
}

void AddingView::SetAllMissEntries(bool ticked) {
    for (QListWidget* list : {calMissList_, ctrlMissList_})
        for (int p = 0; p < list->count(); ++p)
            list->item(p)->setCheckState(ticked ? Qt::Checked : Qt::Unchecked);
}

}  // namespace tovimar
