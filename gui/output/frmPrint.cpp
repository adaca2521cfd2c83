#include "gui/output/frmPrint.h"

#include "gui/widgets/fonts.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QPrinter>
#include <cmath>

namespace tovimar {

namespace {

constexpr double kTwipsPerPoint = 20.0;

int pageHeightTwips(const QPrinter& printer) {
    const double points = printer.pageLayout().fullRectPoints().height();
    return points > 0 ? static_cast<int>(std::lround(points * kTwipsPerPoint)) : PrintGeometry::kA4Height;
}

}  // namespace

void PaintPrintPage(QPainter& painter, const PrintPage& page) {
    QFont font = narrowFont(PrintGeometry::kFontPoints, false);
    font.setPixelSize(static_cast<int>(PrintGeometry::kFontPoints * kTwipsPerPoint));  // one unit is a twip
    painter.setPen(Qt::black);
    for (const PrintLabel& l : page.labels) {
        const QRectF box(l.left, l.top, l.width, l.height);
        const QString text = QString::fromLatin1(l.caption);
        QFont f = font;
        // A description longer than its label is narrowed to fit rather than cut off: the whole
        // product name must reach the paper.
        const qreal advance = QFontMetricsF(f, painter.device()).horizontalAdvance(text);
        if (advance > l.width)
            f.setStretch(std::max(50, static_cast<int>(std::floor(100.0 * l.width / advance))));
        painter.setFont(f);
        painter.fillRect(box, Qt::white);
        painter.drawText(box, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine | Qt::TextDontClip, text);
    }
}

QString BuildPrintout(const Catalogue& cat, QPrinter& printer) {
    printer.setFullPage(true);  // positions count from the paper's corner
    const std::vector<PrintPage> pages = BuildPrintLayout(cat, pageHeightTwips(printer));
    QPainter painter;
    if (!painter.begin(&printer))
        return QStringLiteral("the printer could not be started");
    const double scale = printer.resolution() / 1440.0;
    for (std::size_t i = 0; i < pages.size(); ++i) {
        if (i > 0 && !printer.newPage()) {
            painter.end();
            return QStringLiteral("page %1 could not be started").arg(i + 1);
        }
        painter.save();
        painter.scale(scale, scale);
        PaintPrintPage(painter, pages[i]);
        painter.restore();
    }
    if (!painter.end() || printer.printerState() == QPrinter::Error)
        return QStringLiteral("the printer reported an error");
    return {};
}

}  // namespace tovimar
