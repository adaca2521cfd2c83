#include "gui/output/frmPrint.h"

#include <QPrinter>

namespace tovimar {

QString BuildPrintout(const Order& order, QPrinter& printer) {
    printer.setFullPage(true);  // positions count from the paper's corner
    const PaintedPages painted = PaintPrintPages(order, printer);
    switch (painted.outcome) {
    case PaintedPages::NotBegun:
        return QStringLiteral("the printer could not be started");
    case PaintedPages::PageNotBegun:
        return QStringLiteral("page %1 could not be started").arg(painted.page);
    case PaintedPages::NotEnded:
        return QStringLiteral("the printer reported an error");
    case PaintedPages::All:
        break;
    }
    return printer.printerState() == QPrinter::Error ? QStringLiteral("the printer reported an error")
                                                     : QString();
}

}  // namespace tovimar
