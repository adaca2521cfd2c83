#include "core/refinement/miss_lists.h"

namespace tovimar {

namespace {

template <typename Table>
std::vector<std::int16_t> missing(const Table& table) {
    std::vector<std::int16_t> slots;
    for (int slot = 1; slot <= Table::kFilled; ++slot)
        if (!InOrder(table[slot]) && HasName(table[slot].Name))
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

std::vector<std::int16_t> CalMissSlots(const Catalogue& cat) {
    return missing(cat.Calibs);
}

std::vector<std::int16_t> CtrlMissSlots(const Catalogue& cat) {
    return missing(cat.Ctrls);
}

void AddTickedCalibs(Catalogue& cat, const std::vector<std::int16_t>& map, const std::vector<int>& ticked) {
    addTicked(cat.Calibs, map, ticked);
}

void AddTickedCtrls(Catalogue& cat, const std::vector<std::int16_t>& map, const std::vector<int>& ticked) {
    addTicked(cat.Ctrls, map, ticked);
}

void AddByHand(Catalogue& cat, Provenance& provenance, const std::vector<std::int16_t>& calMap,
               const std::vector<int>& calTicked, const std::vector<std::int16_t>& ctrlMap,
               const std::vector<int>& ctrlTicked) {
    AddToOrder(cat, provenance, Addition::ByHand,
               [&](Catalogue& c) { AddTickedCalibs(c, calMap, calTicked); });
    AddToOrder(cat, provenance, Addition::ByHand,
               [&](Catalogue& c) { AddTickedCtrls(c, ctrlMap, ctrlTicked); });
}

}  // namespace tovimar
