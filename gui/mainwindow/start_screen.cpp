#include "gui/mainwindow/start_screen.h"

#include "gui/widgets/picture_box.h"
#include "gui/widgets/twips.h"

#include <future>

namespace tovimar {

namespace {

std::future<StartPictures>& decoding() {
    static std::future<StartPictures> pictures;
    return pictures;
}

}  // namespace

void BeginDecodingStartPictures() {
    if (!decoding().valid())
        decoding() = std::async(std::launch::async, [] {
            return StartPictures{QImage(QStringLiteral(":/pictures/start.jpg")),
                                 QImage(QStringLiteral(":/pictures/banner.jpg")),
                                 QImage(QStringLiteral(":/pictures/app_icon_48.png"))};
        });
}

StartPictures TakeStartPictures() {
    BeginDecodingStartPictures();
    return decoding().get();
}

StartScreen::StartScreen(QWidget* window, ControlCollection& controls) : QObject(window) {
    picStart_ = controls.add(new PictureBox(QStringLiteral("picStart"), window), QStringLiteral("picStart"));
    picStart_->setGeometry(twipsRect(9000, 8160, 1920, 1080));
    picStart_->setCursor(Qt::PointingHandCursor);
    picStart_->hide();
    connect(picStart_, &PictureBox::clicked, this, &StartScreen::clicked);
}

void StartScreen::SetPicture(const QImage& picture) {
    picStart_->setPixmap(QPixmap::fromImage(picture));
}

void StartScreen::Show() {
    picStart_->setGeometry(twipsRect(0, 0, 13140, 11955));
    picStart_->setEnabled(true);
    picStart_->show();
    picStart_->raise();
}

void StartScreen::Hide() {
    picStart_->hide();
}

}  // namespace tovimar
