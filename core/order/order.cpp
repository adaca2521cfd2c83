#include "core/order/order.h"

namespace tovimar {

void ClearOrderFlags(OrderFlags& order) {
    for (CalibOrder& c : order.Calibs)
        c.Selected = 0;
    for (CtrlOrder& c : order.Ctrls)
        c.Selected = 0;
    for (AssayOrder& a : order.Assays)
        a.Selected = 0;
}

void SelectAllItems(OrderFlags& order) {
    const Catalogue& cat = TheCatalogue();
    for (int k = 1; k <= CalibTable::kFilled; ++k)
        if (!cat.Calibs[k].OrderNo1.empty())
            PutInOrder(order.Calibs[k]);
    for (int k = 1; k <= CtrlTable::kFilled; ++k)
        if (!cat.Ctrls[k].OrderNo.empty())
            PutInOrder(order.Ctrls[k]);
    for (int k = 1; k <= AssayTable::kFilled; ++k)
        if (!cat.Assays[k].OrderNo1.empty())
            PutInOrder(order.Assays[k]);
}

SuggestedSections SuggestedIn(const Order& order) {
    SuggestedSections used;
    if (!order.plan.HasFigures())
        return used;
    ForEachOrderLine(static_cast<const OrderFlags&>(order), [&](const OrderLine& line) {
        if (order.plan.QuantityOf(line).source == QuantitySource::Suggested)
            used.add(line.section);
    });
    return used;
}

std::vector<std::string_view> CoveredNumbers(const Order& order) {
    std::vector<std::string_view> numbers;
    if (!order.plan.HasStock())
        return numbers;
    ForEachOrderLine(order, [&numbers](const OrderLine& line) {
        if (line.quantity == 0)
            numbers.push_back(line.number);
    });
    return numbers;
}

std::vector<OrderLine> OrderLines(const Order& order) {
    std::vector<OrderLine> lines;
    ForEachOrderLine(order, [&lines](const OrderLine& line) { lines.push_back(line); });
    return lines;
}

}  // namespace tovimar
