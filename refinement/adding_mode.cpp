// The adding mode of the main window: two tick lists of the named calibrators and controls that
// are not in the order. Leaving the mode puts the ticked ones into the order as they are, without
// running the rules, so they last until the assay panel next changes.
#include "mainwindow/fonts.h"
#include "mainwindow/frmMain.h"
#include "mainwindow/picture_box.h"
#include "mainwindow/tab_stop_list.h"
#include "mainwindow/twips.h"
#include "refinement/miss_lists.h"

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
template <typename Table>
void fill(QListWidget* list, const Table& table, const std::vector<std::int16_t>& shown) {
    list->clear();
    for (std::int16_t slot : shown) {
        auto* item = new QListWidgetItem(QString::fromStdString(table[slot].Name), list);
        item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsUserCheckable);
        item->setCheckState(Qt::Unchecked);
    }
}

std::vector<int> tickedPositions(const QListWidget* list) {
    std::vector<int> positions;
    for (int p = 0; p < list->count(); ++p)
        if (list->item(p)->checkState() == Qt::Checked)
            positions.push_back(p);
    return positions;
}

}  // namespace

void frmMain::makeTickList(QListWidget* list) {
    // Only the ticks choose; a highlighted entry beside them would look like a second kind of choice.
    list->setSelectionMode(QAbstractItemView::NoSelection);
    list->setItemDelegate(new TickRowDelegate(list));
    list->setFont(narrowFont(9, true));
    list->setSpacing(1);  // the tick boxes stand apart
}

void frmMain::Command4_Click() {
    enterRefinementMode("Command4", "Command4Back", "cmdBottle");

    label4_->move(label4_->x(), px(120));
    label4_->setText(QStringLiteral("SELECT CALIBRATORS"));
    label5_->move(px(6000), px(120));
    label5_->setText(QStringLiteral("SELECT CONTROLS"));
    label4_->show();
    label5_->show();

    calMissList_->setGeometry(twipsRect(120, 500, 5400, 10000));
    calMissList_->show();
    calMissList_->clear();
    ctrlMissList_->setGeometry(twipsRect(5800, 500, 5400, 10000));
    ctrlMissList_->show();
    ctrlMissList_->clear();

    FillCalMissList();
    FillCtrlMissList();
}

// Each fill starts from an empty list, so position p and the map's entry p always name the
// same product.
void frmMain::FillCalMissList() {
    CalMissSlot = CalMissSlots(cat_);
    fill(calMissList_, cat_.Calibs, CalMissSlot);
}

void frmMain::FillCtrlMissList() {
    CtrlMissSlot = CtrlMissSlots(cat_);
    fill(ctrlMissList_, cat_.Ctrls, CtrlMissSlot);
}

void frmMain::Command4Back_Click() {
    leaveRefinementMode("Command4", "Command4Back", "cmdBottle");

    label4_->move(label4_->x(), px(6600));
    label4_->setText(QStringLiteral("REQUIRED CALIBRATORS"));
    label5_->move(label5_->x(), px(6600));  // FillCtrlList puts it back at its left edge
    label5_->setText(QStringLiteral("SUGGESTED CONTROLS"));

    ctrlList_->show();
    calibList_->show();
    // The entries stay until the next entry empties them.
    calMissList_->hide();
    ctrlMissList_->hide();

    ReadCalMissList();
    FillCalibList();
    ReadCtrlMissList();
    FillCtrlList();
}

void frmMain::ReadCalMissList() {
    const OrderSnapshot before(cat_);
    AddTickedCalibs(cat_, CalMissSlot, tickedPositions(calMissList_));
    provenance_.MarkAdded(before, cat_, Addition::ByHand);
}

void frmMain::ReadCtrlMissList() {
    const OrderSnapshot before(cat_);
    AddTickedCtrls(cat_, CtrlMissSlot, tickedPositions(ctrlMissList_));
    provenance_.MarkAdded(before, cat_, Addition::ByHand);
}

void frmMain::SetAllMissEntries(bool ticked) {
    for (QListWidget* list : {calMissList_, ctrlMissList_})
        for (int p = 0; p < list->count(); ++p)
            list->item(p)->setCheckState(ticked ? Qt::Checked : Qt::Unchecked);
}

}  // namespace tovimar
