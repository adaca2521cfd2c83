// The lab's selection as a file, and the order leaving the program: opening and saving a
// selection, copying the order, exporting it as CSV or PDF. The main view offers them on a
// right-click and on Ctrl+O, Ctrl+S and Ctrl+C; a selection file dropped on the window opens.
#include "core/output/order_export.h"
#include "core/output/order_file.h"
#include "core/output/selection_file.h"
#include "gui/mainwindow/frmMain.h"
#include "gui/output/frmPrint.h"
#include "gui/output/safe_file.h"
#include "gui/output/selection_file_reading.h"
#include "gui/selection/assay_panel.h"

#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QDir>
#include <QDropEvent>
#include <QFileInfo>
#include <QMenu>
#include <QMimeData>
#include <QStandardPaths>

namespace tovimar {

namespace {

const QString kSelectionFilter = QStringLiteral("Tovimar selection (*.tovimar)");

// The one local .tovimar file a drop carries, or an empty text.
QString droppedSelection(const QMimeData* mime) {
    if (!mime || !mime->hasUrls() || mime->urls().size() != 1)
        return {};
    const QUrl url = mime->urls().constFirst();
    const QString path = url.toLocalFile();
    return url.isLocalFile() && path.endsWith(QLatin1String(".tovimar"), Qt::CaseInsensitive) ? path
                                                                                              : QString();
}

}  // namespace

QString frmMain::chooseFile(bool save, const QString& title, const QString& name, const QString& filter,
                            const QString& suffix) {
    if (lastFolder_.isEmpty() || !QFileInfo(lastFolder_).isDir())
        lastFolder_ = ChooseStartFolder(QCoreApplication::applicationDirPath(),
                                        QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation),
                                        QDir::homePath());
    const QString chosen =
        hooks_.chooseFile(this, save, title, QDir(lastFolder_).filePath(name), filter, suffix);
    if (!chosen.isEmpty())
        lastFolder_ = QFileInfo(chosen).absolutePath();
    return chosen;
}

bool frmMain::selectionOnScreen() const {
    for (const AssayRowDef& def : AssayRows())
        if (state_.ticked(def.key))
            return true;
    const Selection now = SelectionOf(state_, cat_);
    return !now.bottleSizes.empty() || !now.added.empty();
}

bool frmMain::OpenSelectionFile(const QString& path) {
    const QString title = QStringLiteral("Selection not opened");
    const auto refuse = [&](const QString& problem) {
        hooks_.warn(
            this, title,
            QStringLiteral("The selection could not be opened from\n%1\n\n%2\n\nNothing on the screen "
                           "was changed.")
                .arg(QDir::toNativeSeparators(QFileInfo(path).absoluteFilePath()), problem));
        return false;
    };
    const SelectionFromFile read = ReadSelectionFile(path, cat_);
    if (!read.selection)
        return refuse(read.problem);
    const Selection& selection = *read.selection;

    if (selectionOnScreen() &&
        !hooks_.ask(this, QStringLiteral("Open selection"),
                    QStringLiteral("Replace the selection on the screen with the one in %1?\n\nThe assays "
                                   "ticked, the bottle sizes chosen and the items added now are replaced.")
                        .arg(QFileInfo(path).fileName())))
        return false;

    // As the clicks would give it: the reset, each row ticked with its cut-off and QUAL (the
    // rules run for each), then the bottle sizes, then the additions, then both lists.
    ResetSelection();
    for (const SelectedAssay& a : selection.assays)
        panel_->TickAsClicks(a.row, a.cut, a.qual);
    ApplySizesAndAdditions(selection, cat_, provenance_);
    FillCalibList();
    FillCtrlList();
    return true;
}

void frmMain::OpenSelection_Click() {
    const QString path = chooseFile(false, QStringLiteral("Open selection"), QString(), kSelectionFilter,
                                    QStringLiteral("tovimar"));
    if (!path.isEmpty())
        OpenSelectionFile(path);
}

void frmMain::SaveSelection_Click() {
    const QString path =
        chooseFile(true, QStringLiteral("Save selection"), QStringLiteral("Selection.tovimar"),
                   kSelectionFilter, QStringLiteral("tovimar"));
    if (path.isEmpty())
        return;
    const std::string text = SelectionText(SelectionOf(state_, cat_), cat_);
    if (const auto failure =
            SaveFile(QStringLiteral("The selection"), path, QByteArray(text.data(), qsizetype(text.size()))))
        hooks_.warn(this, QStringLiteral("Selection not saved"), SaveFailureMessage(*failure));
}

void frmMain::CopyOrder_Click() {
    auto* mime = new QMimeData;
    mime->setText(QString::fromLatin1(OrderListText(cat_)));
    mime->setHtml(QString::fromStdString(OrderHtml(cat_)));
    QApplication::clipboard()->setMimeData(mime);
}

void frmMain::ExportCsv_Click() {
    const QString path =
        chooseFile(true, QStringLiteral("Export order as CSV"), QStringLiteral("OrderList.csv"),
                   QStringLiteral("CSV File (*.csv)"), QStringLiteral("csv"));
    if (path.isEmpty())
        return;
    const std::string csv = OrderCsv(cat_);
    if (const auto failure =
            SaveFile(QStringLiteral("The order"), path, QByteArray(csv.data(), qsizetype(csv.size()))))
        hooks_.warn(this, QStringLiteral("Order not exported"), SaveFailureMessage(*failure));
}

void frmMain::ExportPdf_Click() {
    const QString path =
        chooseFile(true, QStringLiteral("Export order as PDF"), QStringLiteral("OrderList.pdf"),
                   QStringLiteral("PDF File (*.pdf)"), QStringLiteral("pdf"));
    if (path.isEmpty())
        return;
    if (const auto failure = SavePrintoutPdf(cat_, path))
        hooks_.warn(this, QStringLiteral("Order not exported"), SaveFailureMessage(*failure));
}

void frmMain::contextMenuEvent(QContextMenuEvent* e) {
    if (mode_ != Mode::Main)
        return;
    QMenu menu(this);
    const auto add = [&](const QString& text, const QKeySequence& keys, void (frmMain::*command)()) {
        QAction* a = menu.addAction(text, this, command);
        a->setShortcut(keys);  // shown beside the entry; the keys themselves are the window's
        a->setShortcutVisibleInContextMenu(true);
    };
    add(QStringLiteral("Open selection..."), QKeySequence(Qt::CTRL | Qt::Key_O),
        &frmMain::OpenSelection_Click);
    add(QStringLiteral("Save selection..."), QKeySequence(Qt::CTRL | Qt::Key_S),
        &frmMain::SaveSelection_Click);
    menu.addSeparator();
    add(QStringLiteral("Copy order"), QKeySequence(Qt::CTRL | Qt::Key_C), &frmMain::CopyOrder_Click);
    add(QStringLiteral("Export order as CSV..."), {}, &frmMain::ExportCsv_Click);
    add(QStringLiteral("Export order as PDF..."), {}, &frmMain::ExportPdf_Click);
    menu.exec(e->globalPos());
}

// A dropped file is only read: the drop is always a copy, whatever the source proposes, for a
// source that honours a move deletes its file. A source that offers no copy is turned away.
bool frmMain::takesDropAsCopy(QDropEvent* e) const {
    if ((mode_ != Mode::Start && mode_ != Mode::Main) || !(e->possibleActions() & Qt::CopyAction) ||
        droppedSelection(e->mimeData()).isEmpty())
        return false;
    e->setDropAction(Qt::CopyAction);
    e->accept();
    return true;
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
    const QString path = droppedSelection(e->mimeData());
    if (mode_ == Mode::Start)
        ShowMainViewAtOnce();
    OpenSelectionFile(path);
}

}  // namespace tovimar
