// Catalogue records and the three 100-slot product tables. The records also carry the order:
// `Selected` (1 = in the order; only the value 1 counts) and `SizeChoice` (2 = the alternative
// bottle or pack; 0 and 1 mean the standard one).
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <stdexcept>
#include <string>

namespace tovimar {

// One reagent (assay). Variant 1 is the standard bottle (ORLAN: the line-1 product), variant 2
// the alternative bottle (ORLAN: the line-2 product).
struct mAssay {
    std::int16_t Selected = 0;
    std::string OrderNo1;
    std::string OrderNo2;
    std::string Name1;
    std::string Name2;
    std::int16_t SizeChoice = 0;
};

// One calibrator. Without an alternative pack, OrderNo2 equals OrderNo1 and Pack2 is empty.
struct mCalib {
    std::int16_t Selected = 0;
    std::string OrderNo1;
    std::string OrderNo2;
    std::string Name;
    std::string Pack1;
    std::string Pack2;
    std::int16_t SizeChoice = 0;
};

// One control; the pack is part of the name.
struct mCTRL {
    std::int16_t Selected = 0;
    std::string OrderNo;
    std::string Name;
};

// A fixed table of slots addressed from 1. Every rule names products by slot number, so an
// address outside 1..Capacity is a programming error and throws rather than corrupting memory.
// `Filled` is the range every loop visits; the slots above it stay empty.
template <typename Record, std::size_t Filled, std::size_t Capacity = 100>
class SlotTable {
    static_assert(Filled <= Capacity);

public:
    static constexpr int kFilled = static_cast<int>(Filled);
    static constexpr int kCapacity = static_cast<int>(Capacity);

    Record& operator[](int slot) { return slots_[index(slot)]; }
    const Record& operator[](int slot) const { return slots_[index(slot)]; }

    // The filled slots, 1..kFilled, in ascending order.
    Record* begin() { return slots_.data(); }
    Record* end() { return slots_.data() + Filled; }
    const Record* begin() const { return slots_.data(); }
    const Record* end() const { return slots_.data() + Filled; }

private:
    static std::size_t index(int slot) {
        if (slot < 1 || slot > kCapacity)
            throw std::out_of_range("catalogue slot " + std::to_string(slot) + " outside 1.." +
                                    std::to_string(kCapacity));
        return static_cast<std::size_t>(slot - 1);
    }
    std::array<Record, Capacity> slots_{};
};

using AssayTable = SlotTable<mAssay, 40>;
using CalibTable = SlotTable<mCalib, 72>;
using CtrlTable = SlotTable<mCTRL, 49>;

// The whole catalogue, which is also the whole order.
struct Catalogue {
    AssayTable Assays;
    CalibTable Calibs;
    CtrlTable Ctrls;
};

// The record rules that every reader of the order shares: the lists, the file, the printout,
// the size boxes and the selection file. Only Selected = 1 puts a record in the order, and only
// SizeChoice = 2 orders the alternative; any other value means "not ordered" and "the standard".
template <typename Record>
bool InOrder(const Record& r) {
    return r.Selected == 1;
}
template <typename Record>
bool AlternativeChosen(const Record& r) {
    return r.SizeChoice == 2;
}
template <typename Record>
void PutInOrder(Record& r) {
    r.Selected = 1;
}

// The number, name and pack ordered: the alternative's where it is chosen.
inline const std::string& OrderedNo(const mAssay& a) {
    return AlternativeChosen(a) ? a.OrderNo2 : a.OrderNo1;
}
inline const std::string& OrderedName(const mAssay& a) {
    return AlternativeChosen(a) ? a.Name2 : a.Name1;
}
inline const std::string& OrderedNo(const mCalib& c) {
    return AlternativeChosen(c) ? c.OrderNo2 : c.OrderNo1;
}
inline const std::string& OrderedPack(const mCalib& c) {
    return AlternativeChosen(c) ? c.Pack2 : c.Pack1;
}
inline const std::string& OrderedNo(const mCTRL& c) {
    return c.OrderNo;
}

// Rebuilds the three tables from the built-in rows: reagents, then controls, then calibrators.
// Every filled record ends unselected with SizeChoice 0.
void LoadCatalogue(Catalogue& cat);
void LoadReagents(Catalogue& cat);
void LoadControls(Catalogue& cat);
void LoadCalibrators(Catalogue& cat);

// Clears `Selected` in Calibs 1..72, Ctrls 1..49, Assays 1..40; leaves SizeChoice and texts alone.
void ClearOrderFlags(Catalogue& cat);

// Puts every item that has a catalogue number into the order (calibrators, controls, reagents);
// clears nothing.
void SelectAllItems(Catalogue& cat);

}  // namespace tovimar
