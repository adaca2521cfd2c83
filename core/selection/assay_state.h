// What the user chose on the assay panel: per row the selected flag, the QUAL flag and the
// cut-off (0 while none is chosen). Readers only ask "not 0" and "exactly equal", and every
// cut-off value (0.5, 5 ... 1000) is exact in a double, so one uniform record serves all rows.
#pragma once

#include "core/selection/assay_rows.h"

#include <array>

namespace tovimar {

struct RowState {
    bool Sel = false;
    bool Qual = false;
    double Cut = 0.0;

    bool operator==(const RowState&) const = default;
};

class AssayState {
public:
    RowState& operator[](AssayRow r) { return rows_[index(r)]; }
    const RowState& operator[](AssayRow r) const { return rows_[index(r)]; }

    bool ticked(AssayRow r) const { return rows_[index(r)].Sel; }
    // Ticked and its cut-off equals v exactly.
    bool at(AssayRow r, double v) const { return ticked(r) && rows_[index(r)].Cut == v; }
    // Ticked and its cut-off is greater than v.
    bool above(AssayRow r, double v) const { return ticked(r) && rows_[index(r)].Cut > v; }

    // The select box of row r changed to `on`. Unticking a row with cut-off options clears its
    // QUAL mark and cut-off, so a row ticked again starts fresh; a row with only a QUAL box
    // ("TCA") keeps its QUAL mark while unticked.
    void SetSelected(AssayRow r, bool on);
    // The QUAL box of row r changed.
    void SetQual(AssayRow r, bool on) { rows_[index(r)].Qual = on; }
    // An option of row r was chosen; the value replaces any earlier one.
    void ChooseCut(AssayRow r, double value) { rows_[index(r)].Cut = value; }
    // Every row unticked, no QUAL, no cut-off.
    void Clear() { rows_.fill(RowState{}); }

    bool operator==(const AssayState&) const = default;

private:
    std::array<RowState, kAssayRowCount> rows_{};
};

}  // namespace tovimar
