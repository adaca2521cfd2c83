// Painting the printed order: the labels of the print layout, in twips, on a printer or a PDF.
#pragma once

#include "core/order/order.h"
#include "core/output/print_layout.h"
#include "gui/output/safe_file.h"

#include <QPageLayout>
#include <QString>
#include <functional>
#include <memory>

class QPagedPaintDevice;
class QPainter;
class QPrintPreviewDialog;
class QPrinter;
class QWidget;

namespace tovimar {

// Lays the order out for the printer's paper and paints every page. Returns an empty text on
// success, else the reason in words; nothing is reported as printed that was not. The print job
// is named by the PDF's title, so a printer that writes PDF titles it too.
QString BuildPrintout(const Order& order, QPrinter& printer);

// Whether painting on `printer` now writes a PDF file (not a preview of one): such a file is
// saved through SavePrintoutPdf instead, whole or not at all, as every file the program writes.
bool WritesPdfFile(QPrinter& printer);

// Print preview over `parent`, window-modal without a nested event loop, gone when closed: the
// pages for `printer`'s paper, painted by `paint` (with BuildPrintout, as PRINT paints them) for the
// preview and again when the user prints from it. The dialog owns the printer.
QPrintPreviewDialog* OpenPrintPreview(std::unique_ptr<QPrinter> printer, QWidget* parent,
                                      std::function<void(QPrinter&)> paint);

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
