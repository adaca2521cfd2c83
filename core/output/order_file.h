// The bytes of the order-list file: sections REAGENTS, CALIBRATORS and CONTROLS, fields joined by
// ", ", CR LF after every line including the last, single-byte text. Reads the order only.
#pragma once

#include <string>

namespace tovimar {

struct Order;

// A line whose quantity q is more than 1 begins with "q x " ("3 x 1234, ..."); a line of one is
// written as the file has always had it.
std::string OrderListText(const Order& order);

}  // namespace tovimar
