// The headings the refinement views show above their boxes. The views' boxes repeat them in their
// accessible descriptions, so that a screen reader reads the heading with the box it lands on.
#pragma once

namespace tovimar {

inline constexpr char kBottleSizeHeading[] = "PLEASE TAG THE CHECKBOXES FOR ALTERNATIVE BOTTLE SIZES";
inline constexpr char kAddCalibratorsHeading[] = "SELECT CALIBRATORS";
inline constexpr char kAddControlsHeading[] = "SELECT CONTROLS";

}  // namespace tovimar
