#include "core/selection/assay_state.h"

namespace tovimar {

void AssayState::SetSelected(AssayRow r, bool on) {
    RowState& s = rows_[index(r)];
    s.Sel = on;
    if (!on && RowDef(r).hasOptions()) {
        s.Qual = false;
        s.Cut = 0.0;
    }
}

}  // namespace tovimar
