// The lines of the two result lists, REQUIRED CALIBRATORS and SUGGESTED CONTROLS: catalogue
// number, one tab after a number longer than 8 characters or two after a shorter one, name.
// Slot order; only records whose Selected is exactly 1.
#pragma once

#include "core/catalogue/records.h"

#include <string>
#include <string_view>
#include <vector>

namespace tovimar {

std::string ListLine(std::string_view number, std::string_view name);

std::vector<std::string> CalibListLines(const Catalogue& cat);
std::vector<std::string> CtrlListLines(const Catalogue& cat);

// The same into `lines`, reusing its strings' storage: the window refills its lists on every
// click, and this keeps a refill free of allocations once the lists have been that long.
void CalibListLines(const Catalogue& cat, std::vector<std::string>& lines);
void CtrlListLines(const Catalogue& cat, std::vector<std::string>& lines);

}  // namespace tovimar
