#include "gui/mainwindow/window_modes.h"

namespace tovimar {

namespace {

constexpr Look H = Look::Hidden;
constexpr Look S = Look::Shown;
constexpr Look L = Look::Listed;
constexpr Look U = Look::Unlisted;
constexpr Look E = Look::Headed;

constexpr ButtonLook hidden{false, true};   // waits behind the start screen
constexpr ButtonLook off{false, false};     // a back button whose view is not showing
constexpr ButtonLook on{true, true};        // shown and working
constexpr ButtonLook waiting{true, false};  // shown, waiting until the view is left
constexpr ButtonLook gone{false, false};    // the entry button of the view showing
constexpr int kEntryLeft = 13800;           // a back button stands in its entry button's place

// clang-format off
constexpr std::array<ModeLook, kModeCount> kLooks{{
    //                          start help frames heads bottle adding lists calib ctrl banner icon
    {Mode::Start,       "start screen", {S, H, H, H, H, H, H, H, H, S, H},
    //   reset    output   exit  bottle  adding   help     bottle back         adding back
        {hidden,  hidden,  hidden, hidden, hidden, hidden, off,                off}},
    {Mode::Main,        "main view",    {H, H, S, S, H, H, L, E, E, U, L},
        {on,      on,      on,   on,     on,      on,      off,                off}},
    // Help lies over the main view; the exit button stays in front of it.
    {Mode::Help,        "help",         {H, S, S, S, H, H, H, E, E, S, H},
        {on,      on,      on,   on,     on,      on,      off,                off}},
    {Mode::BottleSizes, "bottle sizes", {H, H, H, H, S, H, H, S, H, H, S},
        {waiting, waiting, on,   gone,   waiting, waiting, {true, true, kEntryLeft}, off}},
    {Mode::Adding,      "adding items", {H, H, H, H, H, S, H, S, S, H, S},
        {waiting, waiting, on,   waiting, gone,   waiting, off, {true, true, kEntryLeft}}},
}};
// clang-format on

constexpr bool modesInOrder() {
    for (std::size_t i = 0; i < kLooks.size(); ++i)
        if (static_cast<std::size_t>(kLooks[i].mode) != i)
            return false;
    return true;
}
static_assert(modesInOrder(), "the mode table must be indexed by its modes");

}  // namespace

const std::array<ModeLook, kModeCount>& ModeLooks() {
    return kLooks;
}

const char* PartControlName(Part p) {
    static constexpr std::array<const char*, kPartCount> names{
        "picStart", "picHelp", "ORLAN_Frame", "Label1", "CalBottleSizeFrame", "CalMissList", "CalibList",
        "Label4",   "Label5",  "NV_Banner",   "ICON1"};
    return names[static_cast<std::size_t>(p)];
}

const char* CommandButtonName(Command c) {
    static constexpr std::array<const char*, kCommandCount> names{"Command2",      "Command3",    "Command1",
                                                                  "cmdBottle",     "Command4",    "cmdHelp",
                                                                  "cmdBottleBack", "Command4Back"};
    return names[static_cast<std::size_t>(c)];
}

}  // namespace tovimar
