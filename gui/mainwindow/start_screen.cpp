#include "gui/mainwindow/start_screen.h"

#include "gui/widgets/picture_box.h"
#include "gui/widgets/twips.h"

#include <QEvent>
#include <QResource>
#include <QTimer>
#include <cstdint>
#include <cstring>

#ifdef Q_OS_LINUX
#include <sys/mman.h>
#include <unistd.h>
#endif

namespace tovimar {

namespace {

// A picture that a build step decoded into raw pixels (tools/picture_pixels.cpp): a header of
// magic, width and height, then the rows of Format_RGB32 ("TVPX") or Format_ARGB32 ("TVPA"). Null
// where the bytes are not such a picture. The image reads the resource in place (it lasts as long as the
// program), which spares the start a copy of 2.6 MB and its page faults; only rows that happen not to lie on
// a 4-byte boundary, as an image needs them, are copied out.
QImage rawPixels(const QString& name) {
    const QResource resource(name);
    std::uint32_t header[3] = {};
    const auto size = std::size_t(resource.size());
    if (resource.compressionAlgorithm() != QResource::NoCompression || size < sizeof header)
        return {};
    const uchar* bytes = resource.data();
    std::memcpy(header, bytes, sizeof header);
    const std::size_t width = header[1], height = header[2];
    const bool opaque = header[0] == 0x58505654u;
    if ((!opaque && header[0] != 0x41505654u) || width == 0 || height == 0 ||
        size != sizeof header + width * height * 4)
        return {};
    const QImage::Format format = opaque ? QImage::Format_RGB32 : QImage::Format_ARGB32;
    const uchar* pixels = bytes + sizeof header;
    if (reinterpret_cast<std::uintptr_t>(pixels) % alignof(std::uint32_t) == 0)
        return QImage(pixels, int(width), int(height), qsizetype(width * 4), format);
    QImage image(int(width), int(height), format);
    for (std::size_t y = 0; y < height; ++y)
        std::memcpy(image.scanLine(int(y)), pixels + y * width * 4, width * 4);
    return image;
}

const QString kStartPixels = QStringLiteral(":/pixels/start.px");

// Gives the pages of a compiled-in picture back to the system. They are read-only pages of the
// program's file, never written: the next read, if a repaint comes, finds the same bytes in the
// file's cache. Whole pages inside the picture only.
void releasePages(const QString& name) {
#ifdef Q_OS_LINUX
    const QResource resource(name);
    if (resource.compressionAlgorithm() != QResource::NoCompression || resource.size() <= 0)
        return;
    const auto page = static_cast<std::uintptr_t>(::sysconf(_SC_PAGESIZE));
    const auto begin = reinterpret_cast<std::uintptr_t>(resource.data());
    const std::uintptr_t from = (begin + page - 1) / page * page;
    const std::uintptr_t to = (begin + std::uintptr_t(resource.size())) / page * page;
    if (to > from)
        ::madvise(reinterpret_cast<void*>(from), to - from, MADV_DONTNEED);
#else
    Q_UNUSED(name);
#endif
}

}  // namespace

StartPictures LoadStartPictures() {
    return StartPictures{rawPixels(kStartPixels), rawPixels(QStringLiteral(":/pixels/banner.px")),
                         rawPixels(QStringLiteral(":/pixels/app_icon_48.px"))};
}

StartScreen::StartScreen(QWidget* window, ControlCollection& controls) : QObject(window) {
    picStart_ = controls.add(new PictureBox(QStringLiteral("picStart"), window), QStringLiteral("picStart"));
    picStart_->setGeometry(twipsRect(9000, 8160, 1920, 1080));
    picStart_->setCursor(Qt::PointingHandCursor);
    picStart_->setAttribute(Qt::WA_OpaquePaintEvent);  // the picture covers it all but a strip
    picStart_->hide();
    // The picture holds the focus while it shows, so that a screen reader says what to do.
    picStart_->setFocusPolicy(Qt::TabFocus);
    picStart_->setAccessibleName(QStringLiteral("Tovimar"));
    picStart_->setAccessibleDescription(QStringLiteral("Press S or click the picture to begin."));
    connect(picStart_, &PictureBox::clicked, this, &StartScreen::clicked);
    picStart_->installEventFilter(this);
}

// Once painted, the picture is in the window's backing store, which is what the screen shows; its
// own 2.6 MB need not stay resident while the window waits on the start screen.
bool StartScreen::eventFilter(QObject* watched, QEvent* event) {
    if (watched == picStart_ && event->type() == QEvent::Paint)
        QTimer::singleShot(0, this, [] { releasePages(kStartPixels); });
    return QObject::eventFilter(watched, event);
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
