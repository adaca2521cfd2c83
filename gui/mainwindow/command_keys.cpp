#include "gui/mainwindow/command_keys.h"

#include <QKeyEvent>
#include <array>

namespace tovimar {

namespace {

// The number row's 1, 2 and 3 by the platform's own code for the physical key: Key_1 to Key_3,
// 0 for another key, -1 where the platform gave no such code.
int digitAt(const QKeyEvent& e, const QString& platform) {
    std::array<quint32, 3> codes{};
    quint32 code = e.nativeScanCode();
    if (platform == QLatin1String("xcb") || platform.startsWith(QLatin1String("wayland"))) {
        codes = {10, 11, 12};  // X key codes: evdev's 2, 3, 4 plus 8
    } else if (platform == QLatin1String("windows")) {
        codes = {2, 3, 4};  // set-1 scan codes
    } else if (platform == QLatin1String("cocoa")) {
        codes = {0x12, 0x13, 0x14};  // kVK_ANSI_1 to kVK_ANSI_3
        code = e.nativeVirtualKey();
    } else {
        return -1;
    }
    if (code == 0)
        return -1;
    for (std::size_t i = 0; i < codes.size(); ++i)
        if (code == codes[i])
            return Qt::Key_1 + static_cast<int>(i);
    return 0;
}

}  // namespace

int CommandKeyCode(const QKeyEvent& e, const QString& platform) {
    const int key = e.key();
    if ((key >= Qt::Key_1 && key <= Qt::Key_3) || e.modifiers().testFlag(Qt::KeypadModifier))
        return key;
    const int digit = digitAt(e, platform);
    if (digit > 0)
        return digit;
    if (digit == 0)
        return key;
    // Where the platform gives no physical code, Shift with the US number row.
    switch (key) {
    case Qt::Key_Exclam:
        return Qt::Key_1;
    case Qt::Key_At:
        return Qt::Key_2;
    case Qt::Key_NumberSign:
        return Qt::Key_3;
    default:
        return key;
    }
}

}  // namespace tovimar
