// What each mode of the main window shows and enables, as one table: the window's setMode applies
// a row of it and nothing else decides these parts; the tests check the window against it.
#pragma once

#include <array>
#include <cstddef>

namespace tovimar {

// What the window shows and which commands it takes: the start screen, the main view with the
// assay panel and the lists, help over the main view, and the two refinement views.
enum class Mode { Start, Main, Help, BottleSizes, Adding };
inline constexpr std::size_t kModeCount = 5;

// The parts of the window that come and go with the mode.
enum class Part {
    StartPicture,
    HelpPanel,
    AssayFrames,    // with their rows
    AssayHeadings,  // the column headings inside the frames
    BottleSizeFrames,
    AddingLists,
    ResultLists,  // REQUIRED CALIBRATORS and SUGGESTED CONTROLS
    CalibHeading,
    CtrlHeading,
    Banner,
    Icon,  // the small picture that stands in for the banner
};
inline constexpr std::size_t kPartCount = 11;

// Kept: not the mode's to decide. In the main view the lists show once something was listed since
// the last reset (until then the banner shows instead of the small picture), and their headings
// once a list was filled or a refinement view was left; the window sets them where that happens.
enum class Look : unsigned char { Hidden, Shown, Kept };

// The command buttons, in the order the start transition shows the first six.
enum class Command { Reset, Output, Exit, BottleSizes, Adding, Help, BottleSizesBack, AddingBack };
inline constexpr std::size_t kCommandCount = 8;

struct ButtonLook {
    bool shown;
    bool enabled;
    int left = 0;  // twips from the window's left edge; 0 leaves the button where it stands
};

struct ModeLook {
    Mode mode;
    const char* name;
    std::array<Look, kPartCount> parts;
    std::array<ButtonLook, kCommandCount> buttons;

    Look operator[](Part p) const { return parts[static_cast<std::size_t>(p)]; }
    const ButtonLook& operator[](Command c) const { return buttons[static_cast<std::size_t>(c)]; }
};

// One row per mode, indexed by Mode.
const std::array<ModeLook, kModeCount>& ModeLooks();
inline const ModeLook& LookOf(Mode m) {
    return ModeLooks()[static_cast<std::size_t>(m)];
}

// The name of the control that shows each part and each button.
const char* PartControlName(Part p);
const char* CommandButtonName(Command c);

}  // namespace tovimar
