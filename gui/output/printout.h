// The printed order's pages: the labels of the print layout, in twips, on any paged device, and
// as a PDF file. Needs the toolkit's painting but no widget and no printer, so that a script's PDF
// export loads neither.
#pragma once

#include "core/order/order.h"
#include "core/output/print_layout.h"
#include "gui/output/safe_file.h"

#include <QPageLayout>
#include <QString>
#include <optional>

class QPagedPaintDevice;
class QPainter;

namespace tovimar {

struct PaintedPages {
    enum { All, NotBegun, PageNotBegun, NotEnded } outcome;
    std::size_t page = 0;  // the page that could not be begun, counted from 1
};

// Paints every page of the order on a printer or PDF writer whose origin is the paper's corner.
PaintedPages PaintPrintPages(const Order& order, QPagedPaintDevice& device);

// The program's name and version, as a PDF and a print job name their creator.
QString PrintoutCreator();

// A4 upright, or a printer's paper, without margins: positions count from the paper's corner, as
// on a printer's full page.
QPageLayout PdfPaper(const QPageSize& size = QPageSize(QPageSize::A4),
                     QPageLayout::Orientation orientation = QPageLayout::Portrait);

// The same pages as a PDF file on A4 upright (or on the paper of the printer printed to), saved
// through SaveFile. Empty on success.
[[nodiscard]] std::optional<SaveFailure> SavePrintoutPdf(const Order& order, const QString& path,
                                                         SaveFor who = SaveFor::Window,
                                                         const QPageLayout& paper = PdfPaper());

// Paints the labels of one page; the painter's unit must be one twip.
void PaintPrintPage(QPainter& painter, const PrintPage& page);

}  // namespace tovimar
