// The window's colours on widgets. The numbers themselves are the core's (0x00BBGGRR).
#pragma once

#include "gui/widgets/palette.h"

#include <QApplication>
#include <QColor>
#include <QPalette>
#include <QWidget>
#include <cstdint>

namespace tovimar {

// 0x00BBGGRR, red in the low byte.
inline QColor bgr(std::uint32_t value) {
    return QColor(static_cast<int>(value & 0xFF), static_cast<int>((value >> 8) & 0xFF),
                  static_cast<int>((value >> 16) & 0xFF));
}

// The text colour the load's dark pass gives the window's controls: the desktop's colour of window
// backgrounds, light on the dark window.
QColor darkPassText();

// Background and text of a control, as the classic BackColor and ForeColor set them.
void setColours(QWidget* w, std::uint32_t back, const QColor& fore);
// The background alone: the box colours of the schemes and the size boxes. A control that
// already shows the colour is left alone.
void setBackground(QWidget* w, std::uint32_t back);
void setTextColour(QWidget* w, std::uint32_t colour);
// A text in a colour of its own with no background: whatever lies behind shows through, even
// where the control is told to fill its background (as the dark pass tells every control).
void setSeeThroughText(QWidget* w, const QColor& text);
// A check box or option button keeps the toolkit's text colours whatever its container gets: the
// dark pass leaves the boxes alone, and a container's colours would otherwise flow down to them.
void keepToolkitText(QWidget* box);
// Both at once, for a box as it is made.
void setBoxColours(QWidget* box, const QColor& back);
inline void setBoxColours(QWidget* box, std::uint32_t back) {
    setBoxColours(box, bgr(back));
}

// A palette of a kind of window, `adjust` applied to the desktop's, kept for the whole run and
// rebuilt only when the desktop's changes. The style caches each button image under its
// palette's key: a palette made afresh for every dialog added a new set of images each time
// until the cache was full. Each call site (each `adjust`) keeps a palette of its own.
template <typename Adjust>
const QPalette& sharedPalette(Adjust adjust) {
    static QPalette palette;
    static qint64 builtFrom = -1;
    const QPalette desktop = QApplication::palette();
    if (qint64(desktop.cacheKey()) != builtFrom) {
        builtFrom = qint64(desktop.cacheKey());
        palette = desktop;
        adjust(palette, desktop);
    }
    return palette;
}

// A box the colour schemes colour, and the group whose colour it takes.
struct ColouredBox {
    QWidget* box;
    ColourGroup group;
};

}  // namespace tovimar
