// The start screen: the start picture over most of the dark window. A click on it enters the
// main view.
#pragma once

#include "gui/widgets/control_collection.h"

#include <QImage>
#include <QObject>

namespace tovimar {

class PictureBox;

// The pictures the start screen shows (the start picture, the banner and the window's icon),
// decoded on a thread of their own. Decoding takes about as long as building the window and needs
// nothing of the toolkit, so the program begins it first thing, before the application object
// exists; the window takes them when it needs them (beginning then, where nobody began before).
struct StartPictures {
    QImage start;
    QImage banner;
    QImage icon;
};
void BeginDecodingStartPictures();
StartPictures TakeStartPictures();

class StartScreen : public QObject {
    Q_OBJECT

public:
    StartScreen(QWidget* window, ControlCollection& controls);

    // The start picture, decoded by the window while it builds its controls.
    void SetPicture(const QImage& picture);

    // The picture over the whole window but for a strip at the right, in front of the banner.
    void Show();
    void Hide();

signals:
    void clicked();

private:
    PictureBox* picStart_ = nullptr;
};

}  // namespace tovimar
