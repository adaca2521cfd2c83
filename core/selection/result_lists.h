// The lines of the two result lists, REQUIRED CALIBRATORS and SUGGESTED CONTROLS: catalogue
// number, one tab after a number longer than 8 characters or two after a shorter one, name.
// Slot order; only products whose Selected is exactly 1. A line of quantity q > 1 has "q x " in front
// of the name, a line the stock covers (quantity 0) "in stock: ".
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace tovimar {

// One line into `line`, replacing what it held.
void ListLine(std::string& line, std::string_view number, std::string_view name, int quantity = 1);

struct Order;

// The lines of each list into `lines`, each with its quantity, reusing its strings' storage: the
// window refills its lists on every click, and this keeps a refill free of allocations once the
// lists have been that long.
void CalibListLines(const Order& order, std::vector<std::string>& lines);
void CtrlListLines(const Order& order, std::vector<std::string>& lines);

}  // namespace tovimar
