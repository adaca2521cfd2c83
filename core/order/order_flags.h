// What is in the order and in which size, per product: `Selected` (1 = in the order; only the value
// 1 counts) and, for reagents and calibrators, `SizeChoice` (2 = the alternative bottle or pack; 0
// and 1 mean the standard one). Kept in three tables of the catalogue's slots, so a rule that
// names a product by slot names its flags by the same number.
#pragma once

#include "core/catalogue/records.h"

#include <cstdint>
#include <string>

namespace tovimar {

struct AssayOrder {
    std::int16_t Selected = 0;
    std::int16_t SizeChoice = 0;
    bool operator==(const AssayOrder&) const = default;
};
struct CalibOrder {
    std::int16_t Selected = 0;
    std::int16_t SizeChoice = 0;
    bool operator==(const CalibOrder&) const = default;
};
struct CtrlOrder {
    std::int16_t Selected = 0;
    bool operator==(const CtrlOrder&) const = default;
};

struct OrderFlags {
    SlotTable<AssayOrder, AssayTable::kFilled> Assays;
    SlotTable<CalibOrder, CalibTable::kFilled> Calibs;
    SlotTable<CtrlOrder, CtrlTable::kFilled> Ctrls;
    bool operator==(const OrderFlags&) const = default;
};

// The flag rules that every reader of the order shares: the lists, the file, the printout, the
// size boxes and the selection file. Only Selected = 1 puts a product in the order, and only
// SizeChoice = 2 orders the alternative; any other value means "not ordered" and "the standard".
template <typename Flags>
bool InOrder(const Flags& f) {
    return f.Selected == 1;
}
template <typename Flags>
bool AlternativeChosen(const Flags& f) {
    return f.SizeChoice == 2;
}
template <typename Flags>
void PutInOrder(Flags& f) {
    f.Selected = 1;
}

// The number, name and pack ordered: the alternative's where it is chosen.
inline const std::string& OrderedNo(const mAssay& a, const AssayOrder& f) {
    return AlternativeChosen(f) ? a.OrderNo2 : a.OrderNo1;
}
inline const std::string& OrderedName(const mAssay& a, const AssayOrder& f) {
    return AlternativeChosen(f) ? a.Name2 : a.Name1;
}
inline const std::string& OrderedNo(const mCalib& c, const CalibOrder& f) {
    return AlternativeChosen(f) ? c.OrderNo2 : c.OrderNo1;
}
inline const std::string& OrderedPack(const mCalib& c, const CalibOrder& f) {
    return AlternativeChosen(f) ? c.Pack2 : c.Pack1;
}
inline const std::string& OrderedNo(const mCTRL& c, const CtrlOrder&) {
    return c.OrderNo;
}

// Clears `Selected` in Calibs 1..72, Ctrls 1..49, Assays 1..40; leaves SizeChoice alone.
void ClearOrderFlags(OrderFlags& order);

// Puts every item that has a catalogue number into the order (calibrators, controls, reagents);
// clears nothing.
void SelectAllItems(OrderFlags& order);

}  // namespace tovimar
