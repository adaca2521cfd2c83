#include "gui/output/printout.h"

#include "gui/widgets/fonts.h"

#include <QFontMetricsF>
#include <QIODevice>
#include <QPainter>
#include <QPdfWriter>

namespace tovimar {

namespace {

constexpr double kTwipsPerPoint = 20.0;
constexpr int kTwipsPerInch = 1440;
constexpr int kPdfResolution = 1200;  // dots per inch, as a high-resolution printer

PaperFit paperFit(const QPagedPaintDevice& device) {
    const QRectF paper = device.pageLayout().fullRectPoints();
    return FitToPaper(paper.width() * kTwipsPerPoint, paper.height() * kTwipsPerPoint);
}

}  // namespace

PaintedPages PaintPrintPages(const Order& order, QPagedPaintDevice& device) {
    const PaperFit fit = paperFit(device);
    const std::vector<PrintPage> pages = BuildPrintLayout(order, fit.pageHeight, TodayIso());
    QPainter painter;
    if (!painter.begin(&device))
        return {PaintedPages::NotBegun};
    const double scale = double(device.logicalDpiY()) / kTwipsPerInch * fit.scale;
    for (std::size_t i = 0; i < pages.size(); ++i) {
        if (i > 0 && !device.newPage()) {
            painter.end();
            return {PaintedPages::PageNotBegun, i + 1};
        }
        painter.save();
        painter.scale(scale, scale);
        PaintPrintPage(painter, pages[i]);
        painter.restore();
    }
    return {painter.end() ? PaintedPages::All : PaintedPages::NotEnded};
}

// The least room between a label's text and the next label: a narrow space of 3 points.
constexpr qreal kLabelGap = 60;

void PaintPrintPage(QPainter& painter, const PrintPage& page) {
    QFont font = narrowFont(PrintGeometry::kFontPoints, false);
    font.setPixelSize(static_cast<int>(PrintGeometry::kFontPoints * kTwipsPerPoint));  // one unit is a twip
    painter.setPen(Qt::black);
    for (const PrintLabel& l : page.labels) {
        const QRectF box(l.left, l.top, l.width, l.height);
        const QString text = l.utf8 ? QString::fromStdString(l.caption) : QString::fromLatin1(l.caption);
        const int flags = Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine | Qt::TextDontClip;
        painter.setFont(font);
        painter.fillRect(box, Qt::white);
        // A text longer than its label is drawn narrower to fit rather than cut off: the whole
        // number and product name must reach the paper, and a long number must not run into its
        // name. The glyphs are compressed, so the face stays the one of every other line.
        const qreal room = l.width - kLabelGap;
        const qreal advance = QFontMetricsF(font, painter.device()).horizontalAdvance(text);
        if (advance <= room) {
            painter.drawText(box, flags, text);
            continue;
        }
        painter.save();
        painter.translate(box.left(), 0);
        painter.scale(room / advance, 1.0);
        painter.drawText(QRectF(0, box.top(), advance, box.height()), flags, text);
        painter.restore();
    }
}

QString PrintoutCreator() {
    return QStringLiteral("Tovimar " TOVIMAR_VERSION);
}

QPageLayout PdfPaper(const QPageSize& size, QPageLayout::Orientation orientation) {
    return QPageLayout(size, orientation, QMarginsF());
}

std::optional<SaveFailure> SavePrintoutPdf(const Order& order, const QString& path, SaveFor who,
                                           const QPageLayout& paper) {
    // Painted on the save file's device, not by a printer pointed at the path: a printer writes
    // straight to the target and reports no failed write.
    const ContentsWriter paint = [&order, &paper](QIODevice& device) {
        QPdfWriter pdf(&device);
        pdf.setResolution(kPdfResolution);
        // A mail client or a document system names the file by these, not "untitled".
        pdf.setTitle(QString::fromStdString(PdfTitle(order, TodayIso())));
        pdf.setCreator(PrintoutCreator());
        pdf.setPageLayout(paper);
        const PaintedPages painted = PaintPrintPages(order, pdf);
        switch (painted.outcome) {
        case PaintedPages::All:
            return QString();
        case PaintedPages::NotBegun:
            return QStringLiteral("The PDF could not be started.");
        case PaintedPages::PageNotBegun:
            return QStringLiteral("Page %1 of the PDF could not be started.").arg(painted.page);
        case PaintedPages::NotEnded:
            break;
        }
        return QStringLiteral("The PDF could not be finished.");
    };
    return SaveFile(QStringLiteral("The PDF of the printout"), path, paint, who);
}

}  // namespace tovimar
