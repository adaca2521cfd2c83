// Printing the order on a printer: the pages of the printout (gui/output/printout.h) on the
// printer's paper.
#pragma once

#include "gui/output/printout.h"

#include <QString>

class QPrinter;

namespace tovimar {

// Lays the order out for the printer's paper and paints every page. Returns an empty text on
// success, else the reason in words; nothing is reported as printed that was not.
QString BuildPrintout(const Order& order, QPrinter& printer);

}  // namespace tovimar
