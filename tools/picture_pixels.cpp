// A build step: decodes a picture and writes its pixels raw, so that the program can show it
// without an image reader. The start screen's pictures are shown this way: the readers are plugins,
// and loading one costs time on the way to the first paint.
//
// Usage: picture_pixels PICTURE OUT
// OUT holds the magic, the width and the height (32-bit, the building machine's byte order, which
// is the running machine's), then the rows without padding: "TVPX" and QImage::Format_RGB32 for an
// opaque picture, "TVPA" and QImage::Format_ARGB32 for one with transparency (the window's icon).
#include <QCoreApplication>
#include <QFile>
#include <QImage>
#include <cstdint>
#include <cstdio>

int main(int argc, char** argv) {
    // The image readers are found through the application's library paths.
    QCoreApplication app(argc, argv);
    if (argc != 3) {
        std::fprintf(stderr, "usage: picture_pixels PICTURE OUT\n");
        return 2;
    }
    const QImage read(QString::fromLocal8Bit(argv[1]));
    if (read.isNull()) {
        std::fprintf(stderr, "picture_pixels: cannot read %s\n", argv[1]);
        return 1;
    }
    const bool alpha = read.hasAlphaChannel();
    const QImage image = read.convertToFormat(alpha ? QImage::Format_ARGB32 : QImage::Format_RGB32);
    const std::uint32_t header[3] = {alpha ? 0x41505654u /* "TVPA" */ : 0x58505654u /* "TVPX" */,
                                     std::uint32_t(image.width()), std::uint32_t(image.height())};
    QFile out(QString::fromLocal8Bit(argv[2]));
    bool ok = out.open(QIODevice::WriteOnly | QIODevice::Truncate) &&
              out.write(reinterpret_cast<const char*>(header), sizeof header) == qint64(sizeof header);
    const qint64 row = qint64(image.width()) * 4;
    for (int y = 0; ok && y < image.height(); ++y)
        ok = out.write(reinterpret_cast<const char*>(image.constScanLine(y)), row) == row;
    if (!ok || !out.flush()) {
        std::fprintf(stderr, "picture_pixels: cannot write %s\n", argv[2]);
        out.remove();
        return 1;
    }
    return 0;
}
