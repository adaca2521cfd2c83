// Every colour of the window, as 0x00BBGGRR values (red in the low byte), and the three colour
// schemes of the assay panel: the background of every assay check box and option button, ORLAN
// rows (group O) apart from the VEX, serum tox and validity rows (group V).
#pragma once

#include "core/selection/colour_group.h"

#include <cstdint>

namespace tovimar {

namespace palette {
inline constexpr std::uint32_t kDark = 0x121212;         // the window and every control but the boxes
inline constexpr std::uint32_t kRed = 0x3140DD;          // red 221, green 64, blue 49: frame captions
inline constexpr std::uint32_t kGrey = 0xB2B3B4;         // red 180, green 179, blue 178
inline constexpr std::uint32_t kWarmGrey = 0xB2B3BD;     // red 189, green 179, blue 178
inline constexpr std::uint32_t kLightBlue = 0xE2C3A9;    // red 169, green 195, blue 226
inline constexpr std::uint32_t kLightYellow = 0xACEDFD;  // red 253, green 237, blue 172
inline constexpr std::uint32_t kWhite = 0xFFFFFF;        // the output dialog and the printout
}  // namespace palette

struct SchemeColours {
    std::uint32_t groupO;
    std::uint32_t groupV;

    std::uint32_t of(ColourGroup g) const { return g == ColourGroup::O ? groupO : groupV; }
};
// Scheme 1, 2 or 3; any other number gives scheme 3, the one of the start.
SchemeColours SchemeColoursOf(int scheme);

// Background of a reagent's bottle-size box in colour scheme 1, 2 or 3, by the box's group.
inline std::uint32_t ReagSizeBoxColour(int scheme, ColourGroup group) {
    return SchemeColoursOf(scheme).of(group);
}
// Calibrator boxes are grey in every scheme.
inline constexpr std::uint32_t kCalSizeBoxColour = palette::kGrey;

}  // namespace tovimar
