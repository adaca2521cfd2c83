// Printing the order on a printer, and its preview: the pages of the printout
// (gui/output/printout.h) on the printer's paper.
#pragma once

#include "gui/output/printout.h"

#include <QString>
#include <functional>
#include <memory>

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

}  // namespace tovimar
