// A short line that says what a save, an export or a copy did and where it went. It shows for a
// few seconds in a free corner of its window, covering no control, and a screen reader hears it
// as an alert; nothing has to be dismissed.
#pragma once

#include <QLabel>
#include <QTimer>

namespace tovimar {

class ConfirmationNote : public QLabel {
public:
    static constexpr int kShownMs = 4000;

    // Hidden until told; `area` is where it stands in `window`.
    ConfirmationNote(QWidget* window, const QRect& area);

    // Shows `text` (the whole of it for the screen reader, as much as fits on two lines on the
    // screen) and hides it again after kShownMs.
    void Tell(const QString& text);

private:
    QTimer hide_;
};

}  // namespace tovimar
