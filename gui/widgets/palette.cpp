#include "gui/widgets/palette.h"

namespace tovimar {

SchemeColours SchemeColoursOf(int scheme) {
    switch (scheme) {
    case 1:
        return {palette::kGrey, palette::kGrey};
    case 2:
        return {palette::kLightBlue, palette::kWarmGrey};
    default:
        return {palette::kLightBlue, palette::kLightYellow};
    }
}

}  // namespace tovimar
