// The bottle-size boxes: which ordered reagents and calibrators offer a second variant, where their
// boxes stand, what they say and what a tick does to the record. The window only shows them.
#pragma once

#include "core/appearance/palette.h"
#include "core/catalogue/records.h"

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
std::string SizeCaption(const mAssay& a);
std::string SizeCaption(const mCalib& c);

// One box per ordered product with an alternative, in slot order.
std::vector<SizeBox> ReagSizeBoxes(const Catalogue& cat);
std::vector<SizeBox> CalSizeBoxes(const Catalogue& cat);

// A tick orders the alternative (SizeChoice 2); an untick chooses the standard explicitly (1).
void ChooseSize(mAssay& a, bool ticked);
void ChooseSize(mCalib& c, bool ticked);

// The user's choice on the box of a reagent or calibrator slot: the alternative when `alternative`,
// else the standard explicitly.
enum class SizedProduct { Reagent, Calibrator };
void ChooseAlternativeSize(Catalogue& cat, SizedProduct product, int slot, bool alternative);

// Background of a reagent box (0x00BBGGRR) in colour scheme 1, 2 or 3: in schemes 2 and 3 the
// VEX reagents, whose names begin with the family word, stand out from the others.
std::uint32_t ReagSizeBoxColour(int scheme, std::string_view caption);
// Calibrator boxes are grey in every scheme.
inline constexpr std::uint32_t kCalSizeBoxColour = palette::kGrey;

}  // namespace tovimar
