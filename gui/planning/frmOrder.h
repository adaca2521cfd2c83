// "Order and quantities": the whole order in one table with the planning figures, each line's
// suggested quantity and its quantity, and above it the figures for the whole order. Every edit
// goes to the plan at once and is announced, so that everything showing the order follows.
#pragma once

#include "gui/order/order_document.h"

#include <QDialog>
#include <array>

class QSpinBox;
class QTableView;

namespace tovimar {

class OrderTableModel;

class frmOrder : public QDialog {
    Q_OBJECT

public:
    // Reads the document's order and writes its plan, each edit one step of its history; the
    // document outlives the window.
    frmOrder(OrderDocument& document, QWidget* parent);

    // Opens over the parent window, which waits (window-modal) without a nested event loop; the
    // table follows the order as it is now.
    void Open();
    // The order was put back whole (an undo or redo): the table and the figures show it.
    void ShowOrderAgain();

    OrderTableModel& model() const { return *model_; }
    QTableView* table() const { return table_; }
    // The whole order's figures: months, runs a month, calibrations a month, repeats %, safety
    // months.
    QSpinBox* workloadBox(int i) const { return boxes_[static_cast<std::size_t>(i)]; }

private:
    QWidget* buildWorkload();
    void buildTable();
    void workloadEdited();
    void showWorkload();
    // Wide enough for every column without a horizontal scroll bar, as tall as the screen allows.
    void fitToTable();
    // Where the user left it last time, in this run or an earlier one, as far as that still fits
    // the table and the screen; always wholly inside the screen's available room.
    void placeAsLeft();

protected:
    // The size and place are kept for the next opening, also in the next run.
    void hideEvent(QHideEvent* e) override;

    OrderPlan& plan_;
    OrderTableModel* model_ = nullptr;
    QTableView* table_ = nullptr;
    std::array<QSpinBox*, 5> boxes_{};
};

}  // namespace tovimar
