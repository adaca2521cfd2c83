// Why each item is in the order: the assay rows whose rule blocks selected it, or the user's own
// additions (the adding view, select all, an opened selection). A laboratory manager signing the
// order asks of every line "which assay needs this?"; this record answers it. It is part of the
// order, is rebuilt by every run of the rules and never touches a flag.
#pragma once

#include "core/catalogue/order_lines.h"
#include "core/order/order_flags.h"
#include "core/selection/assay_rows.h"
#include "core/selection/assay_state.h"

#include <cstdint>
#include <string>
#include <vector>

namespace tovimar {

// How the user put items into the order outside the rules.
enum class Addition { ByHand, SelectAll };

// Which slots are in the order (Selected exactly 1) at one moment. Taken just before a step that
// adds items, so that what the step added, and only that, can be marked.
class OrderSnapshot {
public:
    explicit OrderSnapshot(const OrderFlags& order);
    bool ordered(ItemRef item) const { return ordered_[item]; }

private:
    PerItem<bool> ordered_;
};

class Provenance {
public:
    // What put one slot into the order.
    struct Sources {
        std::uint64_t rows = 0;  // bit index(row): that row's block selected the slot
        bool byHand = false;
        bool bySelectAll = false;

        bool empty() const { return rows == 0 && !byHand && !bySelectAll; }
        bool requiredBy(AssayRow r) const { return (rows >> index(r)) & 1U; }
        bool operator==(const Sources&) const = default;
    };
    static_assert(kAssayRowCount <= 64, "one bit per assay row");

    // Nothing recorded.
    void Clear();

    // The start of a run of the rules: forgets everything and keeps the rows as the blocks are
    // about to read them, so a text names the cut-off and mode that the block actually used.
    void BeginRun(const AssayState& state);

    // The block of `row` selected `slot`. Called for every selection, also of a slot that an
    // earlier block already selected: the slot then names both rows.
    void Required(OrderTable t, int slot, AssayRow row);

    // Marks the slots in the order now that were not in it `before` as added by `how`. Whatever
    // was recorded for such a slot belonged to an earlier order and is dropped.
    void MarkAdded(const OrderSnapshot& before, const OrderFlags& now, Addition how);

    const Sources& Of(OrderTable t, int slot) const;

    // A row as the last run of the rules read it.
    const RowState& RowAtRun(AssayRow r) const { return state_[r]; }

    bool operator==(const Provenance&) const = default;

private:
    PerItem<Sources> sources_;
    AssayState state_;
};

// Inline: the rules call this for every item they select.
inline void Provenance::Required(OrderTable t, int slot, AssayRow row) {
    sources_[{t, slot}].rows |= std::uint64_t{1} << index(row);
}

inline const Provenance::Sources& Provenance::Of(OrderTable t, int slot) const {
    return sources_[{t, slot}];
}

// The sentence for one slot into `out`: "Required by ..." for calibrators and reagents,
// "Suggested for ..." for controls, naming each row as the last run of the rules read it
// ("ORLAN AMPH / XTC (cut-off 500, full)", "Serum TOX TCA (no cut-off, QUAL)"), or "Added by
// hand", "Added by select all". Empty when nothing is recorded.
void ProvenanceText(std::string& out, const Provenance& p, OrderTable t, int slot);

struct Order;

// The sentences for the lines of REQUIRED CALIBRATORS and SUGGESTED CONTROLS, one per line and in
// the lines' order (slot order, Selected exactly 1), each followed on a line of its own by the
// line's quantity where it is not the default 1: "Quantity 3, typed." (see QuantityText). Reuses
// the strings already in `texts`.
void CalibListReasons(const Order& order, std::vector<std::string>& texts);
void CtrlListReasons(const Order& order, std::vector<std::string>& texts);

}  // namespace tovimar
