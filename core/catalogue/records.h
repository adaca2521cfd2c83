// Catalogue records and the three 100-slot product tables: what can be ordered, built once from the
// built-in rows and never changed. What is ordered, and in which size, is the order's (core/order/).
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
    std::string OrderNo1;
    std::string OrderNo2;
    std::string Name1;
    std::string Name2;
};

// One calibrator. Without an alternative pack, OrderNo2 equals OrderNo1 and Pack2 is empty.
struct mCalib {
    std::string OrderNo1;
    std::string OrderNo2;
    std::string Name;
    std::string Pack1;
    std::string Pack2;
};

// One control; the pack is part of the name.
struct mCTRL {
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

    bool operator==(const SlotTable&) const = default;

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

// The whole catalogue.
struct Catalogue {
    AssayTable Assays;
    CalibTable Calibs;
    CtrlTable Ctrls;
};

// Fills the three tables from the built-in rows: reagents, then controls, then calibrators.
void LoadCatalogue(Catalogue& cat);
void LoadReagents(Catalogue& cat);
void LoadControls(Catalogue& cat);
void LoadCalibrators(Catalogue& cat);

// The program's one catalogue, loaded at its first use and constant from then on. Built by the
// standard library alone, so that it is safe to reach before or beside any toolkit.
const Catalogue& TheCatalogue();

}  // namespace tovimar
