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

// Besides shown and hidden, what the main view shows depends on the lists: Listed parts show while
// the lists show the order (from their first filling, or help left, to the next reset), Unlisted
// ones until then (the banner stands in the lists' place), and Headed ones once the lists were
// headed (a filling, or a refinement view left) until the next reset. The window keeps those two
// facts, and this table alone turns them into what is shown.
enum class Look : unsigned char { Hidden, Shown, Listed, Unlisted, Headed };

// What the main view's lists have been since the last reset.
struct ListsState {
    bool listed = false;
    bool headed = false;
    bool operator==(const ListsState&) const = default;
};

// Whether a part of look `look` shows.
constexpr bool Shows(Look look, ListsState lists) {
    switch (look) {
    case Look::Shown:
        return true;
    case Look::Listed:
        return lists.listed;
    case Look::Unlisted:
        return !lists.listed;
    case Look::Headed:
        return lists.headed;
    case Look::Hidden:
        break;
    }
    return false;
}

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
