#include "gui/mainwindow/start_screen.h"

#include "gui/widgets/picture_box.h"
#include "gui/widgets/twips.h"

#include <QResource>
#include <cstdint>
#include <cstring>

namespace tovimar {

namespace {

// A picture that a build step decoded into raw pixels (tools/picture_pixels.cpp): a header of
// magic, width and height, then the rows of Format_RGB32. Null where the bytes are not such a
// picture. The image reads the resource in place (it lasts as long as the program), which spares
// the start a copy of 2.6 MB and its page faults; only rows that happen not to lie on a 4-byte
// boundary, as an image needs them, are copied out.
QImage rawPixels(const QString& name) {
    const QResource resource(name);
    std::uint32_t header[3] = {};
    const auto size = std::size_t(resource.size());
    if (resource.compressionAlgorithm() != QResource::NoCompression || size < sizeof header)
        return {};
    const uchar* bytes = resource.data();
    std::memcpy(header, bytes, sizeof header);
    const std::size_t width = header[1], height = header[2];
    if (header[0] != 0x58505654u || width == 0 || height == 0 || size != sizeof header + width * height * 4)
        return {};
    const uchar* pixels = bytes + sizeof header;
    if (reinterpret_cast<std::uintptr_t>(pixels) % alignof(std::uint32_t) == 0)
        return QImage(pixels, int(width), int(height), qsizetype(width * 4), QImage::Format_RGB32);
    QImage image(int(width), int(height), QImage::Format_RGB32);
    for (std::size_t y = 0; y < height; ++y)
        std::memcpy(image.scanLine(int(y)), pixels + y * width * 4, width * 4);
    return image;
}

}  // namespace

StartPictures LoadStartPictures() {
    return StartPictures{rawPixels(QStringLiteral(":/pixels/start.px")),
                         rawPixels(QStringLiteral(":/pixels/banner.px")),
                         QImage(QStringLiteral(":/pictures/app_icon_48.png"))};
}

StartScreen::StartScreen(QWidget* window, ControlCollection& controls) : QObject(window) {
    picStart_ = controls.add(new PictureBox(QStringLiteral("picStart"), window), QStringLiteral("picStart"));
    picStart_->setGeometry(twipsRect(9000, 8160, 1920, 1080));
    picStart_->setCursor(Qt::PointingHandCursor);
    picStart_->hide();
    // The picture holds the focus while it shows, so that a screen reader says what to do.
    picStart_->setFocusPolicy(Qt::TabFocus);
    picStart_->setAccessibleName(QStringLiteral("Tovimar"));
    picStart_->setAccessibleDescription(QStringLiteral("Press S or click the picture to begin."));
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

bool StartScreen::IsShown() const {
    return !picStart_->isHidden();
}

}  // namespace tovimar
