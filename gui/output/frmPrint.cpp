#include "gui/output/frmPrint.h"

#include <QPaintEngine>
#include <QPrintPreviewDialog>
#include <QPrinter>

namespace tovimar {

namespace {

// The preview dialog keeps the printer it shows the pages for, and lets it go with itself.
class PreviewDialog : public QPrintPreviewDialog {
public:
    PreviewDialog(std::unique_ptr<QPrinter> printer, QWidget* parent)
        : QPrintPreviewDialog(printer.get(), parent), printer_(std::move(printer)) {}

private:
    std::unique_ptr<QPrinter> printer_;
};

}  // namespace

QString BuildPrintout(const Order& order, QPrinter& printer) {
    printer.setFullPage(true);  // positions count from the paper's corner
    printer.setDocName(QString::fromStdString(PdfTitle(order, TodayIso())));
    printer.setCreator(PrintoutCreator());
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
