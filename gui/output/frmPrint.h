// Painting the printed order: the labels of the print layout, in twips, on a printer or a PDF.
#pragma once

#include "core/order/order.h"
#include "core/output/print_layout.h"
#include "gui/output/safe_file.h"

#include <QString>

class QPagedPaintDevice;
class QPainter;
class QPrinter;

namespace tovimar {

// Lays the order out for the printer's paper and paints every page. Returns an empty text on
// success, else the reason in words; nothing is reported as printed that was not.
QString BuildPrintout(const Order& order, QPrinter& printer);

// The same pages as a PDF file on A4, saved through SaveFile. Empty on success.
[[nodiscard]] std::optional<SaveFailure> SavePrintoutPdf(const Order& order, const QString& path,
                                                         SaveFor who = SaveFor::Window);

// Paints the labels of one page; the painter's unit must be one twip.
void PaintPrintPage(QPainter& painter, const PrintPage& page);

}  // namespace tovimar
