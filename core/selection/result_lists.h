// The lines of the two result lists, REQUIRED CALIBRATORS and SUGGESTED CONTROLS: catalogue
// number, one tab after a number longer than 8 characters or two after a shorter one, name.
// Slot order; only records whose Selected is exactly 1. A line of quantity q > 1 has "q x " in front
// of the name.
#pragma once

#include "core/catalogue/records.h"
#include "core/planning/order_plan.h"

#include <string>
#include <string_view>
#include <vector>

namespace tovimar {

// One line into `line`, replacing what it held.
void ListLine(std::string& line, std::string_view number, std::string_view name, int quantity = 1);

// The lines of each list into `lines`, reusing its strings' storage: the window refills its lists
// on every click, and this keeps a refill free of allocations once the lists have been that long.
void CalibListLines(const Catalogue& cat, std::vector<std::string>& lines);
void CtrlListLines(const Catalogue& cat, std::vector<std::string>& lines);
// The same with each line's quantity from `plan`.
void CalibListLines(const Catalogue& cat, const OrderPlan& plan, std::vector<std::string>& lines);
void CtrlListLines(const Catalogue& cat, const OrderPlan& plan, std::vector<std::string>& lines);

}  // namespace tovimar
