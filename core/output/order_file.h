// The bytes of the order-list file: sections REAGENTS, CALIBRATORS and CONTROLS, fields joined by
// ", ", CR LF after every line including the last, single-byte text. Reads the catalogue only.
#pragma once

#include "core/catalogue/records.h"

#include <string>

namespace tovimar {

class OrderPlan;

// Every line of quantity 1, as the file has always been.
std::string OrderListText(const Catalogue& cat);
// A line whose quantity q is more than 1 begins with "q x " ("3 x 1234, ..."); a line of one is
// unchanged, so an order of ones gives the bytes above.
std::string OrderListText(const Catalogue& cat, const OrderPlan& plan);

}  // namespace tovimar
