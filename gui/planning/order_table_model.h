// The whole order as one table, reagents, calibrators and controls as the order walk gives them,
// with each line's planning figures, its stock, its suggested quantity and its quantity. The
// figures that apply to a line's section, its stock and its quantity are editable; an edit goes to the plan
// at once and only the cells it changes are announced.
#pragma once

#include "core/order/order.h"

#include <QAbstractTableModel>
#include <optional>
#include <string>
#include <vector>

namespace tovimar {

class OrderTableModel : public QAbstractTableModel {
    Q_OBJECT

public:
    enum Column {
        Section,
        Number,
        Product,
        Pack,
        TestsPerMonth,   // reagents
        TestsPerBottle,  // reagents
        UsesPerPack,     // calibrators: calibrations a pack; controls: runs a pack
        OnHand,          // packs on the shelf
        OnOrder,         // packs ordered, not yet delivered
        Suggested,
        Quantity,
        ColumnCount
    };

    // The quantity cell's source (a QuantitySource as int): the view marks what was typed.
    static constexpr int SourceRole = Qt::UserRole + 1;
    // The quantity cell's state (a Mark as int): the view marks a typed quantity the figures no
    // longer back, and a line the stock covers.
    static constexpr int MarkRole = Qt::UserRole + 2;
    enum class Mark { None, Disagrees, Covered };

    // Reads the order and writes its plan; the order outlives the model.
    explicit OrderTableModel(Order& order, QObject* parent = nullptr);

    // The range an editable column takes; the editor offers nothing outside it.
    static FigureRange RangeOf(int column);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    // An int in the column's range sets the figure or quantity; an empty value clears it. Anything
    // else is refused and changes nothing.
    bool setData(const QModelIndex& index, const QVariant& value, int role = Qt::EditRole) override;

    // The whole order's figures; every suggestion and quantity may follow.
    bool SetWorkload(const Workload& w);
    // "Use the suggestions": drops every typed quantity where the figures give a suggestion, as
    // one change. Returns whether one went.
    bool UseSuggestions();

    // Walks the order again and rebuilds the rows only where the lines differ from those kept.
    // Returns whether it rebuilt.
    bool Refresh();
    // The plan was put back whole (an undo): every cell may differ; the rows are rebuilt only where
    // the lines differ.
    void Reload();

    // The product a row shows.
    OrderTable section(int row) const { return rows_[static_cast<std::size_t>(row)].section; }
    int slot(int row) const { return rows_[static_cast<std::size_t>(row)].slot; }
    const std::string& number(int row) const { return rows_[static_cast<std::size_t>(row)].number; }

signals:
    // A figure, a quantity or the workload changed in the plan; `what` names it for the undo
    // history ("quantity of 4155").
    void planChanged(const QString& what);

private:
    struct Row {
        OrderTable section;
        int slot;
        std::string number, name, pack;

        bool operator==(const Row&) const = default;
    };
    std::vector<Row> walk() const;
    OrderLine lineOf(const Row& r) const;
    bool editable(const Row& r, int column) const;
    std::optional<int> figure(const Row& r, int column) const;
    bool setFigure(const Row& r, int column, std::optional<int> value);
    bool setTestsPerMonth(const Row& r, std::optional<int> value);
    QVariant display(const Row& r, int column) const;
    QString quantityTip(const Row& r) const;
    // Every row of the same product (section and number): they share figures and quantity.
    void announce(const Row& r, int column);

    const Order& order_;
    OrderPlan& plan_;
    std::vector<Row> rows_;
};

}  // namespace tovimar
