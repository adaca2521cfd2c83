// The main window's file commands: the selection as a file, and the order leaving the program.
#include "core/output/selection_file.h"
#include "gui/mainwindow/frmMain.h"
#include "gui/output/frmLaboratory.h"
#include "gui/output/laboratory_settings.h"
#include "gui/output/recent_selections.h"
#include "gui/planning/frmOrder.h"
#include "gui/selection/assay_panel.h"

#include <QContextMenuEvent>
#include <QDir>
#include <QDropEvent>
#include <QFileInfo>
#include <QPrinter>

namespace tovimar {

bool frmMain::OpenSelectionFile(const QString& path) {
    const std::optional<Selection> selection = commands_.selectionToOpen(path, ReplacedOnScreen(order()));
    if (!selection)
        return false;
    openSelection(*selection, QStringLiteral("opening ") + QFileInfo(path).fileName());
    document_.SetSaved(QFileInfo(path).absoluteFilePath());
    RememberRecentSelection(path);
    return true;
}

// As the clicks would give it: the reset, each row ticked with its cut-off and QUAL (the rules run
// for each), then the bottle sizes, then the additions; the file's quantities and figures replace
// the plan, and its reference and date the reset's; its laboratory the one kept in the settings
// where it names one. Then both lists. One step.
void frmMain::openSelection(const Selection& selection, const QString& what) {
    ensureViews();  // a file dropped on the start screen ticks the panel's boxes
    const OrderDocument::Group step(document_, what);
    ResetSelection();
    for (const SelectedAssay& a : selection.assays)
        panel_->TickAsClicks(a.row, a.cut, a.qual);
    ApplySizesAndAdditions(selection, document_.edit());
    document_.edit().plan = selection.plan;
    OrderDetails& details = document_.edit().details;
    const Laboratory kept = details.laboratory;
    details = selection.details;
    if (!details.laboratory.given())
        details.laboratory = kept;
    orderChanged();
}

void frmMain::OpenSelection_Click() {
    if (const QString path = commands_.chooseSelection(); !path.isEmpty())
        OpenSelectionFile(path);
}

void frmMain::SaveSelection_Click() {
    if (const QString path = commands_.saveSelection(SelectionOf(order())); !path.isEmpty()) {
        document_.SetSaved(QFileInfo(path).absoluteFilePath());
        RememberRecentSelection(path);
        keepWork();  // saved: no copy is needed any more
    }
}

void frmMain::CopyOrder_Click() {
    commands_.copyOrder();
}

void frmMain::ExportCsv_Click() {
    commands_.exportCsv();
}

void frmMain::ExportPdf_Click() {
    commands_.exportPdf(QStringLiteral("Order not exported"));
}

void frmMain::ShowOrderWindow() {
    if (!orderWindow_) {
        orderWindow_ = new frmOrder(document_, this);
    }
    orderWindow_->Open();
}

void frmMain::ShowLaboratoryDetails() {
    if (!detailsWindow_)
        detailsWindow_ = new frmLaboratory(document_, this);
    detailsWindow_->Open();
}

void frmMain::ShowPrintPreview() {
    const frmOutputHooks hooks = outputHooks_ ? outputHooks_() : frmOutputHooks::real();
    std::unique_ptr<QPrinter> printer = hooks.defaultPrinter();
    if (!printer) {
        printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
        printer->setOutputFormat(QPrinter::PdfFormat);
        printer->setPageSize(QPageSize(QPageSize::A4));
        // Printed from the preview, the PDF is offered under the export's name and folder.
        printer->setOutputFileName(
            QDir(OrderCommands::DefaultStartFolder()).filePath(QStringLiteral("OrderList.pdf")));
    }
    commands_.printPreview(std::move(printer));
}

void frmMain::contextMenuEvent(QContextMenuEvent* e) {
    // The menu keys are the window's own key commands, which open the menu at the focus.
    if (e->reason() != QContextMenuEvent::Keyboard)
        ShowContextMenu(e->globalPos());
}

void frmMain::ShowContextMenu(const QPoint& at) {
    if (mode_ == Mode::Main)
        ShowOrderMenu(this, at,
                      {[this] { ShowOrderWindow(); }, [this] { OpenSelection_Click(); },
                       [this] { SaveSelection_Click(); }, [this] { CopyOrder_Click(); },
                       [this] { ExportCsv_Click(); }, [this] { ExportPdf_Click(); },
                       [this] { ShowLaboratoryDetails(); }, [this] { ShowPrintPreview(); },
                       document_.UndoText(), document_.RedoText(), [this] { UndoLast(); },
                       [this] { RedoLast(); }, RecentSelections(),
                       [this](const QString& path) {
                           if (commands_.recentStillThere(path))
                               OpenSelectionFile(path);
                       },
                       [] { ClearRecentSelections(); }});
}

// At the middle of the control with the focus, or of the window where none has it.
void frmMain::ShowContextMenuFromKeyboard() {
    QWidget* f = focusWidget();
    if (!f || !f->isVisible())
        f = this;
    ShowContextMenu(f->mapToGlobal(f->rect().center()));
}

// A selection file dropped on the start screen or the main view opens.
bool frmMain::takesDropAsCopy(QDropEvent* e) const {
    return (mode_ == Mode::Start || mode_ == Mode::Main) && TakeSelectionDrop(e);
}

void frmMain::dragEnterEvent(QDragEnterEvent* e) {
    takesDropAsCopy(e);
}

void frmMain::dragMoveEvent(QDragMoveEvent* e) {
    takesDropAsCopy(e);
}

void frmMain::dropEvent(QDropEvent* e) {
    if (!takesDropAsCopy(e))
        return;
    if (mode_ == Mode::Start)
        ShowMainViewAtOnce();
    OpenSelectionFile(DroppedSelection(e->mimeData()));
}

}  // namespace tovimar
