// Twips (1/1440 inch) to logical pixels, and the 0x00BBGGRR colour values of the layout.
// 15 twips are one logical pixel at 96 dpi; Qt scales logical pixels on high-dpi screens.
#pragma once

#include <QColor>
#include <QRect>
#include <cstdint>

namespace tovimar {

inline constexpr int kTwipsPerPixel = 15;

inline constexpr int px(int twips) {
    // Round half away from zero so that -50 and 50 twips map symmetrically.
    return twips >= 0 ? (twips + kTwipsPerPixel / 2) / kTwipsPerPixel
                      : -((-twips + kTwipsPerPixel / 2) / kTwipsPerPixel);
}

inline constexpr int twips(int pixels) {
    return pixels * kTwipsPerPixel;
}

// Left, top, width, height in twips.
inline QRect twipsRect(int left, int top, int width, int height) {
    return QRect(px(left), px(top), px(width), px(height));
}

// 0x00BBGGRR, red in the low byte.
inline QColor bgr(std::uint32_t value) {
    return QColor(static_cast<int>(value & 0xFF), static_cast<int>((value >> 8) & 0xFF),
                  static_cast<int>((value >> 16) & 0xFF));
}

inline std::uint32_t toBgr(const QColor& c) {
    return static_cast<std::uint32_t>(c.red()) | (static_cast<std::uint32_t>(c.green()) << 8) |
           (static_cast<std::uint32_t>(c.blue()) << 16);
}

namespace colours {
inline constexpr std::uint32_t kDark = 0x121212;          // the window and every control but the boxes
inline constexpr std::uint32_t kFrameCaption = 0x3140DD;  // red 221, green 64, blue 49
inline constexpr std::uint32_t kGrey = 0xB2B3B4;          // red 180, green 179, blue 178
inline constexpr std::uint32_t kWarmGrey = 0xB2B3BD;      // red 189, green 179, blue 178
inline constexpr std::uint32_t kLightBlue = 0xE2C3A9;     // red 169, green 195, blue 226
inline constexpr std::uint32_t kLightYellow = 0xACEDFD;   // red 253, green 237, blue 172
}  // namespace colours

}  // namespace tovimar
