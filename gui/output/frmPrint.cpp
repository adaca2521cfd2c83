#include "gui/output/frmPrint.h"

#include "gui/widgets/fonts.h"

#include <QFontMetricsF>
#include <QIODevice>
#include <QPaintEngine>
#include <QPainter>
#include <QPdfWriter>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <cmath>

namespace tovimar {

namespace {

constexpr double kTwipsPerPoint = 20.0;
constexpr int kTwipsPerInch = 1440;
constexpr int kPdfResolution = 1200;  // dots per inch, as a high-resolution printer

QString creator() {
    return QStringLiteral("Tovimar " TOVIMAR_VERSION);
}

int pageHeightTwips(const QPagedPaintDevice& device) {
    const double points = device.pageLayout().fullRectPoints().height();
    return points > 0 ? static_cast<int>(std::lround(points * kTwipsPerPoint)) : PrintGeometry::kA4Height;
}

struct Painted {
    enum { All, NotBegun, PageNotBegun, NotEnded } outcome;
    std::size_t page = 0;  // the page that could not be begun, counted from 1
};

// Paints every page of the order on a printer or PDF writer whose origin is the paper's corner.
Painted paintPages(const Order& order, QPagedPaintDevice& device) {
    const std::vector<PrintPage> pages = BuildPrintLayout(order, pageHeightTwips(device), TodayIso());
    QPainter painter;
    if (!painter.begin(&device))
        return {Painted::NotBegun};
    const double scale = double(device.logicalDpiY()) / kTwipsPerInch;
    for (std::size_t i = 0; i < pages.size(); ++i) {
        if (i > 0 && !device.newPage()) {
            painter.end();
            return {Painted::PageNotBegun, i + 1};
        }
        painter.save();
        painter.scale(scale, scale);
        PaintPrintPage(painter, pages[i]);
        painter.restore();
    }
    return {painter.end() ? Painted::All : Painted::NotEnded};
}

// The preview dialog keeps the printer it shows the pages for, and lets it go with itself.
class PreviewDialog : public QPrintPreviewDialog {
public:
    PreviewDialog(std::unique_ptr<QPrinter> printer, QWidget* parent)
        : QPrintPreviewDialog(printer.get(), parent), printer_(std::move(printer)) {}

private:
    std::unique_ptr<QPrinter> printer_;
};

}  // namespace

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

QString BuildPrintout(const Order& order, QPrinter& printer) {
    printer.setFullPage(true);  // positions count from the paper's corner
    printer.setDocName(QString::fromStdString(PdfTitle(order, TodayIso())));
    printer.setCreator(creator());
    const Painted painted = paintPages(order, printer);
    switch (painted.outcome) {
    case Painted::NotBegun:
        return QStringLiteral("the printer could not be started");
    case Painted::PageNotBegun:
        return QStringLiteral("page %1 could not be started").arg(painted.page);
    case Painted::NotEnded:
        return QStringLiteral("the printer reported an error");
    case Painted::All:
        break;
    }
    return printer.printerState() == QPrinter::Error ? QStringLiteral("the printer reported an error")
                                                     : QString();
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
        pdf.setCreator(creator());
        pdf.setPageLayout(paper);
        const Painted painted = paintPages(order, pdf);
        switch (painted.outcome) {
        case Painted::All:
            return QString();
        case Painted::NotBegun:
            return QStringLiteral("The PDF could not be started.");
        case Painted::PageNotBegun:
            return QStringLiteral("Page %1 of the PDF could not be started.").arg(painted.page);
        case Painted::NotEnded:
            break;
        }
        return QStringLiteral("The PDF could not be finished.");
    };
    return SaveFile(QStringLiteral("The PDF of the printout"), path, paint, who);
}

bool WritesPdfFile(QPrinter& printer) {
    // A preview swaps the printer's engine for one that records pages.
    return printer.outputFormat() == QPrinter::PdfFormat && printer.paintEngine() &&
           printer.paintEngine()->type() == QPaintEngine::Pdf;
}

QPrintPreviewDialog* OpenPrintPreview(std::unique_ptr<QPrinter> printer, QWidget* parent,
                                      std::function<void(QPrinter&)> paint) {
    printer->setFullPage(true);  // the page shown whole, as the printout counts from its corner
    auto* dialog = new PreviewDialog(std::move(printer), parent);
    dialog->setObjectName(QStringLiteral("PrintPreview"));
    dialog->setWindowTitle(QStringLiteral("Print preview"));
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    if (parent)  // a page large enough to read, as the window it stands over
        dialog->resize(parent->window()->size());
    QObject::connect(dialog, &QPrintPreviewDialog::paintRequested, dialog,
                     [paint = std::move(paint)](QPrinter* p) { paint(*p); });
    dialog->open();
    return dialog;
}

}  // namespace tovimar
