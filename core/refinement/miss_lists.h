// The adding lists: the named calibrators and controls that are not in the order, and putting the
// ticked ones into it. Position p of a list shows the slot at position p of its map.
#pragma once

#include "core/order/order_flags.h"

#include <cstdint>
#include <string_view>
#include <vector>

namespace tovimar {

// A name of nothing but blanks names no product.
bool HasName(std::string_view name);

// The slots to list, in slot order: not in the order (Selected other than 1) and named.
std::vector<std::int16_t> CalMissSlots(const OrderFlags& order);
std::vector<std::int16_t> CtrlMissSlots(const OrderFlags& order);

// Puts the product at each ticked list position into the order. A position the map does not
// cover names no product and is skipped.
void AddTickedCalibs(OrderFlags& order, const std::vector<std::int16_t>& map, const std::vector<int>& ticked);
void AddTickedCtrls(OrderFlags& order, const std::vector<std::int16_t>& map, const std::vector<int>& ticked);

// The ticked calibrators, then the ticked controls, put into the order as added by hand.
struct Order;
void AddByHand(Order& order, const std::vector<std::int16_t>& calMap, const std::vector<int>& calTicked,
               const std::vector<std::int16_t>& ctrlMap, const std::vector<int>& ctrlTicked);

}  // namespace tovimar
