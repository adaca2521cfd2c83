// The bottle-size boxes: which ordered reagents and calibrators offer a second variant, where their
// boxes stand, what they say and what a tick does to the order. The window only shows them.
#pragma once

#include "core/order/order_flags.h"
#include "core/selection/colour_group.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace tovimar {

// One box of a size-box array. Its element index is the record's slot, so a click finds the
// record from the box alone.
struct SizeBox {
    int slot = 0;
    int top = 0;  // twips from the top of the frame
    std::string caption;
    bool ticked = false;  // the alternative variant is ordered
};

// Boxes are packed from here in steps of kSizeBoxStep, without gaps for skipped slots.
inline constexpr int kSizeBoxTopBase = -50;
inline constexpr int kSizeBoxStep = 340;

// A product has a second variant exactly when its two catalogue numbers differ.
bool HasAlternative(const mAssay& a);
bool HasAlternative(const mCalib& c);

// The caption names the variant in force: a reagent by its name, a calibrator by its pack before
// the name.
std::string SizeCaption(const mAssay& a, const AssayOrder& f);
std::string SizeCaption(const mCalib& c, const CalibOrder& f);

// One box per ordered product with an alternative, in slot order.
std::vector<SizeBox> ReagSizeBoxes(const OrderFlags& order);
std::vector<SizeBox> CalSizeBoxes(const OrderFlags& order);

// A tick orders the alternative (SizeChoice 2); an untick chooses the standard explicitly (1).
void ChooseSize(AssayOrder& a, bool ticked);
void ChooseSize(CalibOrder& c, bool ticked);

// The user's choice on the box of a reagent or calibrator slot: the alternative when `alternative`,
// else the standard explicitly.
enum class SizedProduct { Reagent, Calibrator };
void ChooseAlternativeSize(OrderFlags& order, SizedProduct product, int slot, bool alternative);

// The colour group of a reagent's box: the VEX reagents, whose names begin with the family word,
// take the VEX rows' colour of the scheme (group V), the others the ORLAN rows' (group O).
ColourGroup ReagSizeBoxGroup(std::string_view caption);

}  // namespace tovimar
