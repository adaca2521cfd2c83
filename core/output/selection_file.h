// The lab's selection as a file (.tovimar): the ticked assays with their cut-offs and QUAL marks,
// the alternative bottle sizes chosen, the items added outside the rules, and how many of each
// product with the planning figures. UTF-8 JSON that people and scripts read and edit:
//
//   {
//     "format": "tovimar-selection",
//     "version": 2,
//     "assays": [
//       {"frame": "ORLAN", "assay": "AMPH / XTC", "cutoff": 500, "qual": false},
//       {"frame": "TOX", "assay": "TCA", "qual": true}
//     ],
//     "bottleSizes": ["4155"],
//     "added": {"reagents": [], "calibrators": ["6270"], "controls": ["715 025"]},
//     "quantities": {"reagents": {"4155": 3}, "calibrators": {}, "controls": {"715 025": 2}},
//     "plan": {
//       "months": 3, "runsPerMonth": 22, "calibrationsPerMonth": 4, "retestPercent": 5,
//       "reagents": {"4155": {"testsPerMonth": 1200, "testsPerBottle": 400}},
//       "calibrators": {"6270": {"usesPerPack": 20}},
//       "controls": {"715 025": {"usesPerPack": 30}},
//       "safetyMonths": 1
//     },
//     "stock": {"reagents": {"4155": {"onHand": 4, "onOrder": 1}},
//               "calibrators": {"6270": {"onHand": 2}}, "controls": {}},
//     "laboratory": {"name": "Central Lab", "address": ["1 Main St", "Springfield"],
//                    "account": "C-1234", "contact": "A. Jones", "phone": "+1 555 0100",
//                    "email": "lab@example.org"},
//     "order": {"reference": "PO-2026-0117", "date": "2026-12-01"}
//   }
//
// "quantities" holds the quantities typed for lines of the order, "plan" every planning figure,
// for products in the order or not; both are keyed by the catalogue number as ordered, within each
// object sorted as text. Each is written only when it holds something ("plan" then with all four
// workload figures). A selection with neither is written as version 1, byte for byte as before
// quantities existed, so that older copies of the program open it; with either it is version 2.
// "stock" holds the packs on hand and on order per product, in the order or not, and is written
// only when some is given; "safetyMonths" only when not 0. "laboratory" (with the texts given) is
// written when the laboratory's name is, "order" when a reference or a date is. With any of these
// the file is version 3.
//
// Opening a file gives the order a user clicking the same would get; saving and opening again gives
// the same order byte for byte.
#pragma once

#include "core/catalogue/order_lines.h"
#include "core/order/details.h"
#include "core/planning/order_plan.h"
#include "core/selection/assay_rows.h"
#include "core/selection/assay_state.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tovimar {

// One ticked row as the file holds it.
struct SelectedAssay {
    AssayRow row = AssayRow::OrlanAmphXtc;
    double cut = 0.0;   // the value of one of the row's options; 0 = no option chosen
    bool qual = false;  // only ever set on a row with a QUAL box

    bool operator==(const SelectedAssay&) const = default;
};

struct Selection {
    std::vector<SelectedAssay> assays;  // no row twice, no row of the never-shown second column
    std::vector<ItemRef> bottleSizes;   // reagents and calibrators with an alternative, ordered in it
    std::vector<ItemRef> added;         // in the order although the rules do not select them
    OrderPlan plan;  // every figure, and the quantities typed for lines of the order; opening replaces
                     // the plan with it
    OrderDetails details{};  // who orders, the reference and the date

    bool operator==(const Selection&) const = default;
};

// The newest version this program writes and reads. It writes version 1 while the plan is empty.
inline constexpr int kSelectionVersion = 3;
// A larger file is refused before it is parsed.
inline constexpr std::size_t kSelectionMaxBytes = std::size_t{1} << 20;

struct Order;

// What is in the order now: every ticked row in the row table's order (cut-off and QUAL as the row
// shows them), every reagent and calibrator whose alternative is chosen (ordered now or not: the
// choice applies whenever the product is ordered), and every item in the order that the rules would
// not select for its assay state (added by hand or by select all), reagents, calibrators, controls in
// slot order; then every figure of its plan and its quantities typed for lines now in the order.
Selection SelectionOf(const Order& order);

// The file's bytes: UTF-8 JSON, one assay per line, captions without their trailing blanks, cut-offs
// as their options show them ("0.5", "500"), bottle sizes by the alternative's catalogue number,
// additions by the standard one, quantities and figures under the numbers as ordered. The same
// selection always gives the same bytes; the text ends with a newline.
std::string SelectionText(const Selection& selection);

// The first thing wrong with a file: one sentence, and where it is.
struct SelectionProblem {
    std::string message;  // "Unknown assay \"AMPH/XTC\" in frame ORLAN."
    int line = 0;         // from 1, for a file that is not JSON or has a key twice; 0 otherwise
    int column = 0;       // from 1, in characters
    std::string item;     // "assays[3].cutoff", "added.controls[0]", "version"; may be empty
};

// The problem for people: "line 4, column 17: ...", "assays[2].assay: ..." or the bare message.
// The window puts the file's name in front.
std::string ProblemText(const SelectionProblem& problem);

struct SelectionReading {
    std::optional<Selection> selection;  // set exactly when the file is sound
    SelectionProblem problem;            // otherwise the first problem found
};

// The problem of a file of `size` bytes, more than kSelectionMaxBytes: for a reader that sees the
// size before it reads (and reads no more than one byte past the limit).
SelectionProblem SelectionTooLarge(std::uint64_t size);

// Reads a selection file against the catalogue. Refuses, naming the first problem: more than
// kSelectionMaxBytes, UTF-16 or anything with NUL bytes (it must be UTF-8), not JSON, a key given
// twice in one object (with the lines of both), anything but an object at the top, a wrong
// "format", a "version" that is missing, not a whole number, below 1 or newer than
// kSelectionVersion (or too large to be one), an unknown frame (ORLAN, VEX, TOX, ADULT, any case)
// or assay (its caption in that frame, any case, surrounding blanks ignored), a row that is never
// shown, a row listed twice, a cut-off the row does not offer, "qual" on a row without a QUAL box,
// a bottle size that is not an alternative's number, an added number that is unknown, empty or in
// another section than the one it is listed under, a quantity or figure under such a number or under
// a number given twice, one that is not a JSON integer or out of its FigureRange, a quantity for a
// product that is not in the order the file gives (it would be lost), and a value of the wrong JSON
// type anywhere, and a key inside a product's entry of "plan" or "stock" that is not one of its
// section's ("testPerMonth", "usesPerPack" under a reagent). An older version's file with
// "quantities", "plan" or "stock" is read all the same: the version says what the writer needed,
// and the reader loses nothing by taking them.
// Other unknown keys are ignored; a missing "assays", "bottleSizes", "added", "quantities", "plan",
// "stock" or section of them is empty, a missing workload figure its default. An alternative's number under
// "added" adds the product and chooses that size. No item is listed twice in the result.
SelectionReading ReadSelection(std::string_view bytes);

// Opens a selection without a window, as the clicks would: the reset (the whole order cleared),
// each row ticked, its option chosen and its QUAL box ticked, the rules run, the bottle sizes
// chosen, then the additions put into the order by hand; the selection's plan replaces the order's.
// `selection` holds what ReadSelection or SelectionOf give.
void ApplySelection(const Selection& selection, Order& order);

// The part of opening after the rows: the bottle sizes chosen, then the additions put into the
// order by hand. The window ticks the rows itself, as clicks, and then calls this.
void ApplySizesAndAdditions(const Selection& selection, Order& order);

}  // namespace tovimar
