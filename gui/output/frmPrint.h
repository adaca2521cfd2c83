// Painting the printed order: the labels of the print layout, in twips, on a printer or a PDF.
#pragma once

#include "core/catalogue/records.h"
#include "core/output/print_layout.h"

#include <QString>
#include <vector>

class QPrinter;
class QPainter;

namespace tovimar {

// Lays the order out for the printer's paper and paints every page. Returns an empty text on
// success, else the reason in words; nothing is reported as printed that was not.
QString BuildPrintout(const Catalogue& cat, QPrinter& printer);

// Paints the labels of one page; the painter's unit must be one twip.
void PaintPrintPage(QPainter& painter, const PrintPage& page);

}  // namespace tovimar
