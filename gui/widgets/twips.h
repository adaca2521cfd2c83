// Twips (1/1440 inch) to logical pixels. 15 twips are one logical pixel at 96 dpi; Qt scales
// logical pixels on high-dpi screens.
#pragma once

#include <QRect>

namespace tovimar {

inline constexpr int kTwipsPerPixel = 15;

inline constexpr int px(int twips) {
    // Round half away from zero so that -50 and 50 twips map symmetrically.
    return twips >= 0 ? (twips + kTwipsPerPixel / 2) / kTwipsPerPixel
                      : -((-twips + kTwipsPerPixel / 2) / kTwipsPerPixel);
}

// Left, top, width, height in twips.
inline QRect twipsRect(int left, int top, int width, int height) {
    return QRect(px(left), px(top), px(width), px(height));
}

}  // namespace tovimar
