// The start screen: the start picture over most of the dark window. A click on it enters the
// main view.
#pragma once

#include "gui/widgets/control_collection.h"

#include <QImage>
#include <QObject>

namespace tovimar {

class PictureBox;

// The pictures the start screen shows: the start picture, the banner and the window's icon,
// compiled in as raw pixels that need no image reader (a reader is a plugin, and even a PNG, which
// the toolkit reads itself, is read only after the plugins' index has been loaded from disk on the
// way to the first paint).
struct StartPictures {
    QImage start;
    QImage banner;
    QImage icon;
};
StartPictures LoadStartPictures();

class StartScreen : public QObject {
    Q_OBJECT

public:
    StartScreen(QWidget* window, ControlCollection& controls);

    // The start picture, decoded by the window while it builds its controls.
    void SetPicture(const QImage& picture);

    // The picture over the whole window but for a strip at the right, in front of the banner.
    void Show();
    void Hide();
    bool IsShown() const;

signals:
    void clicked();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    PictureBox* picStart_ = nullptr;
};

}  // namespace tovimar
