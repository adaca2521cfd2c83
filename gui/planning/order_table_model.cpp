#include "gui/planning/order_table_model.h"

#include "core/planning/quantity_text.h"

#include <cmath>
#include <tuple>

namespace tovimar {

namespace {

QString text(std::string_view s) {
    return QString::fromLatin1(s.data(), static_cast<qsizetype>(s.size()));
}

QString sectionName(OrderTable t) {
    switch (t) {
    case OrderTable::Calibs:
        return QStringLiteral("Calibrator");
    case OrderTable::Ctrls:
        return QStringLiteral("Control");
    case OrderTable::Assays:
        break;
    }
    return QStringLiteral("Reagent");
}

// What an edit gives: no value (the cell cleared), a whole number, or something else.
struct Entry {
    bool ok = true;
    std::optional<std::int64_t> value;
};

Entry readEntry(const QVariant& v) {
    if (!v.isValid() || v.isNull())
        return {};
    bool ok = false;
    if (v.typeId() == QMetaType::QString) {
        const QString s = v.toString().trimmed();
        if (s.isEmpty())
            return {};
        const qlonglong n = s.toLongLong(&ok);
        return ok ? Entry{true, n} : Entry{false, {}};
    }
    if (v.typeId() == QMetaType::Double || v.typeId() == QMetaType::Float) {
        const double d = v.toDouble();
        if (!std::isfinite(d) || d != std::floor(d) || std::fabs(d) > 1e15)
            return {false, {}};
        return {true, static_cast<std::int64_t>(d)};
    }
    if (v.typeId() == QMetaType::Bool)
        return {false, {}};
    const qlonglong n = v.toLongLong(&ok);
    return ok ? Entry{true, n} : Entry{false, {}};
}

const char* const kHeaders[] = {"Section",       "Number",         "Product",     "Pack",
                                "Tests a month", "Tests a bottle", "Uses a pack", "On hand",
                                "On order",      "Suggested",      "Quantity"};
const char* const kHeaderTips[] = {
    "Reagent, calibrator or control",
    "The catalogue number as ordered",
    "The product as ordered",
    "A calibrator's pack",
    "Reagents: every test run in a month, samples, controls and calibrations",
    "Reagents: the tests one bottle gives on the analyser",
    "Calibrators: the calibrations one pack lasts; controls: the runs one pack lasts",
    "Packs on the shelf",
    "Packs ordered and not yet delivered",
    "The quantity the figures suggest",
    "The quantity ordered: typed, else what the suggestion (or 1) needs beyond the stock"};
static_assert(std::size(kHeaders) == OrderTableModel::ColumnCount);
static_assert(std::size(kHeaderTips) == OrderTableModel::ColumnCount);

}  // namespace

OrderTableModel::OrderTableModel(Order& order, QObject* parent)
    : QAbstractTableModel(parent), order_(order), plan_(order.plan), rows_(walk()) {}

FigureRange OrderTableModel::RangeOf(int column) {
    switch (column) {
    case TestsPerMonth:
        return kTestsPerMonthRange;
    case TestsPerBottle:
        return kTestsPerBottleRange;
    case UsesPerPack:
        return kUsesPerPackRange;
    case OnHand:
    case OnOrder:
        return kStockRange;
    default:
        return kQuantityRange;
    }
}

std::vector<OrderTableModel::Row> OrderTableModel::walk() const {
    std::vector<Row> rows;
    ForEachOrderLine(order_, [&rows](const OrderLine& l) {
        rows.push_back({l.section, l.slot, std::string(l.number), std::string(l.name), std::string(l.pack)});
    });
    return rows;
}

bool OrderTableModel::Refresh() {
    std::vector<Row> now = walk();
    if (now == rows_)
        return false;
    beginResetModel();
    rows_ = std::move(now);
    endResetModel();
    return true;
}

void OrderTableModel::Reload() {
    // The same lines: every cell may say something else, but the view keeps its rows, its current
    // cell and its place.
    if (!Refresh() && !rows_.empty())
        emit dataChanged(index(0, 0), index(rowCount() - 1, ColumnCount - 1));
}

int OrderTableModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(rows_.size());
}

int OrderTableModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : ColumnCount;
}

OrderLine OrderTableModel::lineOf(const Row& r) const {
    return {r.section, r.slot, r.number, r.name, r.pack};
}

bool OrderTableModel::editable(const Row& r, int column) const {
    switch (column) {
    case TestsPerMonth:
    case TestsPerBottle:
        return r.section == OrderTable::Assays;
    case UsesPerPack:
        return r.section != OrderTable::Assays;
    case OnHand:
    case OnOrder:
    case Quantity:
        return true;
    default:
        return false;
    }
}

std::optional<int> OrderTableModel::figure(const Row& r, int column) const {
    switch (column) {
    case TestsPerMonth:
        // Found at the other bottle size where this one has none: the workload is the assay's.
        return plan_.TestsPerMonth(lineOf(r));
    case TestsPerBottle:
        return plan_.Reagent(r.number).testsPerBottle;
    case UsesPerPack:
        return plan_.UsesPerPack(r.section, r.number);
    case OnHand:
        return plan_.StockOf(r.section, r.number).onHand;
    case OnOrder:
        return plan_.StockOf(r.section, r.number).onOrder;
    default:
        return plan_.Typed(r.section, r.number);
    }
}

bool OrderTableModel::setTestsPerMonth(const Row& r, std::optional<int> value) {
    if (!kTestsPerMonthRange.holds(value.value_or(0)))
        return false;
    // Typed, it belongs to the size ordered. Cleared, it goes at both sizes: the cell would
    // otherwise show the other size's figure again, as if the clearing had not been taken.
    const mAssay& reagent = TheCatalogue().Assays[r.slot];
    for (const std::string& number : {r.number, reagent.OrderNo1, reagent.OrderNo2}) {
        if (value && number != r.number)
            continue;
        ReagentFigures f = plan_.Reagent(number);
        f.testsPerMonth = value;
        plan_.SetReagentFigures(number, f);
    }
    return true;
}

bool OrderTableModel::setFigure(const Row& r, int column, std::optional<int> value) {
    switch (column) {
    case TestsPerMonth:
        return setTestsPerMonth(r, value);
    case TestsPerBottle: {
        ReagentFigures f = plan_.Reagent(r.number);
        f.testsPerBottle = value;
        return plan_.SetReagentFigures(r.number, f);
    }
    case UsesPerPack:
        return plan_.SetUsesPerPack(r.section, r.number, value);
    case OnHand:
    case OnOrder: {
        Stock stock = plan_.StockOf(r.section, r.number);
        (column == OnHand ? stock.onHand : stock.onOrder) = value;
        return plan_.SetStock(r.section, r.number, stock);
    }
    default:
        return plan_.SetTyped(r.section, r.number, value);
    }
}

QString OrderTableModel::quantityTip(const Row& r) const {
    // The lists' words, so a line says the same wherever the user rests the pointer.
    const std::string said = QuantityText(lineOf(r), plan_);
    return said.empty() ? QStringLiteral("Quantity 1: nothing typed, and no figures for a suggestion.")
                        : QString::fromStdString(said);
}

QVariant OrderTableModel::display(const Row& r, int column) const {
    switch (column) {
    case Section:
        return sectionName(r.section);
    case Number:
        return text(r.number);
    case Product:
        return text(r.name);
    case Pack:
        return text(r.pack);
    case Suggested: {
        const std::optional<std::int64_t> s = plan_.Suggestion(lineOf(r));
        return s ? QVariant(QString::number(*s)) : QVariant();
    }
    case Quantity:
        return QString::number(plan_.QuantityOf(lineOf(r)).quantity);
    default:
        if (!editable(r, column))
            return {};
        const std::optional<int> v = figure(r, column);
        return v ? QVariant(QString::number(*v)) : QVariant();
    }
}

QVariant OrderTableModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= rowCount())
        return {};
    const Row& r = rows_[static_cast<std::size_t>(index.row())];
    const int column = index.column();
    switch (role) {
    case Qt::DisplayRole:
        return display(r, column);
    case Qt::EditRole:
        if (!editable(r, column))
            return display(r, column);
        if (const std::optional<int> v = figure(r, column))
            return *v;
        return {};
    case Qt::TextAlignmentRole:
        return column >= TestsPerMonth ? QVariant(Qt::AlignRight | Qt::AlignVCenter)
                                       : QVariant(Qt::AlignLeft | Qt::AlignVCenter);
    case SourceRole:
        return column == Quantity ? QVariant(static_cast<int>(plan_.QuantityOf(lineOf(r)).source))
                                  : QVariant();
    case MarkRole: {
        if (column != Quantity)
            return {};
        const LineQuantity q = plan_.QuantityOf(lineOf(r));
        return static_cast<int>(q.disagrees() ? Mark::Disagrees : q.covered() ? Mark::Covered : Mark::None);
    }
    case Qt::ToolTipRole:
        return column == Quantity ? QVariant(quantityTip(r)) : QVariant();
    default:
        return {};
    }
}

QVariant OrderTableModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || section < 0 || section >= ColumnCount)
        return QAbstractTableModel::headerData(section, orientation, role);
    if (role == Qt::DisplayRole)
        return QString::fromLatin1(kHeaders[section]);
    if (role == Qt::ToolTipRole)
        return QString::fromLatin1(kHeaderTips[section]);
    return {};
}

Qt::ItemFlags OrderTableModel::flags(const QModelIndex& index) const {
    if (!index.isValid())
        return Qt::NoItemFlags;
    const Qt::ItemFlags base = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
    return editable(rows_[static_cast<std::size_t>(index.row())], index.column()) ? base | Qt::ItemIsEditable
                                                                                  : base;
}

bool OrderTableModel::setData(const QModelIndex& index, const QVariant& value, int role) {
    if (role != Qt::EditRole || !index.isValid() || index.row() >= rowCount())
        return false;
    const Row& r = rows_[static_cast<std::size_t>(index.row())];
    const int column = index.column();
    const Entry e = readEntry(value);
    if (!editable(r, column) || !e.ok || (e.value && !RangeOf(column).holds(*e.value)))
        return false;
    const std::optional<int> v = e.value ? std::optional<int>(static_cast<int>(*e.value)) : std::nullopt;
    if (figure(r, column) == v)
        return true;  // nothing changes: nothing to announce
    if (!setFigure(r, column, v))
        return false;
    announce(r, column);
    emit planChanged(QString::fromLatin1(kHeaders[column]).toLower() + QStringLiteral(" of ") +
                     QString::fromStdString(r.number));
    return true;
}

void OrderTableModel::announce(const Row& r, int column) {
    for (std::size_t i = 0; i < rows_.size(); ++i) {
        if (rows_[i].section != r.section || rows_[i].number != r.number)
            continue;
        const int row = static_cast<int>(i);
        // A figure or the stock changes its own cell and the line's suggestion and quantity; a
        // typed quantity only itself.
        if (column != Quantity)
            emit dataChanged(index(row, column), index(row, column));
        emit dataChanged(index(row, column == Quantity ? Quantity : Suggested), index(row, Quantity));
    }
}

bool OrderTableModel::UseSuggestions() {
    bool dropped = false;
    for (const Row& r : rows_)
        dropped = plan_.DropTypedWhereSuggested(lineOf(r)) || dropped;
    if (!dropped)
        return false;
    emit dataChanged(index(0, Quantity), index(rowCount() - 1, Quantity));
    emit planChanged(QStringLiteral("use the suggestions"));
    return true;
}

bool OrderTableModel::SetWorkload(const Workload& w) {
    if (w == plan_.workload())
        return true;
    // What each row shows of its suggestion and quantity now: only the rows whose figures give a
    // suggestion can change, and only those are repainted.
    const auto shown = [this](const Row& r) {
        const LineQuantity q = plan_.QuantityOf(lineOf(r));
        return std::tuple(q.suggestion, q.quantity, q.disagrees());
    };
    std::vector<decltype(shown(rows_.front()))> before;
    before.reserve(rows_.size());
    for (const Row& r : rows_)
        before.push_back(shown(r));
    if (!plan_.SetWorkload(w))
        return false;
    for (std::size_t i = 0; i < rows_.size(); ++i)
        if (shown(rows_[i]) != before[i])
            emit dataChanged(index(static_cast<int>(i), Suggested), index(static_cast<int>(i), Quantity));
    emit planChanged(QStringLiteral("the figures for the whole order"));
    return true;
}

}  // namespace tovimar
