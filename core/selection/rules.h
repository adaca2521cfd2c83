// The requirement rules: from the assay state to the order flags of the catalogue.
#pragma once

#include "core/catalogue/records.h"
#include "core/selection/assay_state.h"
#include "core/selection/provenance.h"

namespace tovimar {

// Clears every order flag, then runs the 37 rule blocks in their fixed order; each ticked row
// selects its calibrators, controls and reagent. SizeChoice is never touched. Refilling the
// result lists is the window's part.
void update(const AssayState& state, Catalogue& cat);
// The same run, also recording in `provenance` which rows selected each slot. It clears the
// record first; the flags come out exactly as from the plain run.
void update(const AssayState& state, Catalogue& cat, Provenance& provenance);

// The pickers: where the right shared calibrator or control depends on other rows or on what
// earlier blocks selected. Each returns a slot inside the filled range and changes nothing.
int NegCalForVex(const AssayState& s, const Catalogue& cat);
int NegCalForBup(const AssayState& s, const Catalogue& cat);
int CtrlForMtdPcpPpx(const AssayState& s, const Catalogue& cat);
int CtrlForCoc300(const AssayState& s, const Catalogue& cat);
int CtrlForAmph500(const AssayState& s, const Catalogue& cat);
int CtrlForBarb200(const AssayState& s, const Catalogue& cat);
int CtrlForBenzo200(const AssayState& s, const Catalogue& cat);
int CtrlForCoc150(const AssayState& s, const Catalogue& cat);
int CtrlForOpiates(const AssayState& s, const Catalogue& cat);
int CalForPcp25(const AssayState& s, const Catalogue& cat);
int CalForCoc300(const AssayState& s, const Catalogue& cat);
int CalForBarbBenzo200(const AssayState& s, const Catalogue& cat);
int CalForOpiates(const AssayState& s, const Catalogue& cat);

}  // namespace tovimar
