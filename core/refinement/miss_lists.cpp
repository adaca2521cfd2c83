#include "core/refinement/miss_lists.h"

#include "core/order/order.h"

namespace tovimar {

namespace {

template <typename Records, typename Flags>
std::vector<std::int16_t> missing(const Records& records, const Flags& flags) {
    std::vector<std::int16_t> slots;
    for (int slot = 1; slot <= Records::kFilled; ++slot)
        if (!InOrder(flags[slot]) && HasName(records[slot].Name))
            slots.push_back(static_cast<std::int16_t>(slot));
    return slots;
}

template <typename Table>
void addTicked(Table& table, const std::vector<std::int16_t>& map, const std::vector<int>& ticked) {
    for (int p : ticked)
        if (p >= 0 && static_cast<std::size_t>(p) < map.size())
            PutInOrder(table[map[static_cast<std::size_t>(p)]]);
}

}  // namespace

bool HasName(std::string_view name) {
    return name.find_first_not_of(' ') != std::string_view::npos;
}

std::vector<std::int16_t> CalMissSlots(const OrderFlags& order) {
    return missing(TheCatalogue().Calibs, order.Calibs);
}

std::vector<std::int16_t> CtrlMissSlots(const OrderFlags& order) {
    return missing(TheCatalogue().Ctrls, order.Ctrls);
}

void AddTickedCalibs(OrderFlags& order, const std::vector<std::int16_t>& map,
                     const std::vector<int>& ticked) {
    addTicked(order.Calibs, map, ticked);
}

void AddTickedCtrls(OrderFlags& order, const std::vector<std::int16_t>& map, const std::vector<int>& ticked) {
    addTicked(order.Ctrls, map, ticked);
}

void AddByHand(Order& order, const std::vector<std::int16_t>& calMap, const std::vector<int>& calTicked,
               const std::vector<std::int16_t>& ctrlMap, const std::vector<int>& ctrlTicked) {
    AddToOrder(order, Addition::ByHand, [&](Order& o) { AddTickedCalibs(o, calMap, calTicked); });
    AddToOrder(order, Addition::ByHand, [&](Order& o) { AddTickedCtrls(o, ctrlMap, ctrlTicked); });
}

}  // namespace tovimar
