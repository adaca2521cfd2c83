// The requirement rules: from the assay state to the order flags.
#pragma once

#include "core/order/order_flags.h"
#include "core/selection/assay_state.h"
#include "core/selection/provenance.h"

namespace tovimar {

// Clears every order flag, then runs the 37 rule blocks in their fixed order; each ticked row
// selects its calibrators, controls and reagent. SizeChoice is never touched. Refilling the
// result lists is the window's part.
void update(const AssayState& state, OrderFlags& order);
// The same run, also recording in `provenance` which rows selected each slot. It clears the
// record first; the flags come out exactly as from the plain run.
void update(const AssayState& state, OrderFlags& order, Provenance& provenance);
// The same run on a whole order, from its own assay state.
struct Order;
void update(Order& order);

// The pickers: where the right shared calibrator or control depends on other rows or on what
// earlier blocks selected. Each returns a slot inside the filled range and changes nothing.
int NegCalForVex(const AssayState& s, const OrderFlags& order);
int NegCalForBup(const AssayState& s, const OrderFlags& order);
int CtrlForMtdPcpPpx(const AssayState& s, const OrderFlags& order);
int CtrlForCoc300(const AssayState& s, const OrderFlags& order);
int CtrlForAmph500(const AssayState& s, const OrderFlags& order);
int CtrlForBarb200(const AssayState& s, const OrderFlags& order);
int CtrlForBenzo200(const AssayState& s, const OrderFlags& order);
int CtrlForCoc150(const AssayState& s, const OrderFlags& order);
int CtrlForOpiates(const AssayState& s, const OrderFlags& order);
int CalForPcp25(const AssayState& s, const OrderFlags& order);
int CalForCoc300(const AssayState& s, const OrderFlags& order);
int CalForBarbBenzo200(const AssayState& s, const OrderFlags& order);
int CalForOpiates(const AssayState& s, const OrderFlags& order);

}  // namespace tovimar
