// The built-in product rows, one line per slot (entry k belongs to slot k). The rules name
// products by slot, so a product's line may never move.
#pragma once

#include <array>
#include <string_view>

namespace tovimar {

struct ReagentRow {
    std::string_view OrderNo1, OrderNo2, Name1, Name2;
};
struct CalibRow {
    std::string_view OrderNo1, OrderNo2, Name, Pack1, Pack2;
};
struct CtrlRow {
    std::string_view OrderNo, Name;
};

// Entries 41..50 of the reagent lists are empty and not loaded.
extern const std::array<ReagentRow, 50> kReagentRows;
extern const std::array<CalibRow, 72> kCalibRows;
extern const std::array<CtrlRow, 49> kCtrlRows;

}  // namespace tovimar
