#include "gui/output/order_commands.h"

#include "core/output/order_export.h"
#include "core/output/order_file.h"
#include "gui/output/frmPrint.h"
#include "gui/output/recent_selections.h"
#include "gui/output/selection_file_reading.h"

#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QDropEvent>
#include <QFileDialog>
#include <QFileInfo>
#include <QIdentityProxyModel>
#include <QImage>
#include <QMenu>
#include <QMessageBox>
#include <QMimeData>
#include <QPrinter>
#include <QStandardPaths>

namespace tovimar {

namespace {

const QString kSelectionFilter = QStringLiteral("Tovimar selection (*.tovimar)");

// The file list of the toolkit's own file dialog, with one blank picture at the head of its name
// column. The toolkit's model makes a new one (a strip that lines the header up with the icons)
// at every paint of the header, and each went into the image cache under a key never asked for
// again: about a dozen entries a save, let go only once the cache holds ten thousand.
class SteadyHeaderModel : public QIdentityProxyModel {
public:
    using QIdentityProxyModel::QIdentityProxyModel;

    QVariant headerData(int section, Qt::Orientation orientation, int role) const override {
        const QVariant data = QIdentityProxyModel::headerData(section, orientation, role);
        if (role != Qt::DecorationRole || data.typeId() != QMetaType::QImage)
            return data;
        static const QPixmap blank = QPixmap::fromImage(data.value<QImage>());
        return blank;
    }
};

QByteArray bytesOf(const std::string& text) {
    return QByteArray(text.data(), qsizetype(text.size()));
}

// "Open recent", disabled while the list is empty. An entry shows the file's name with its folder,
// the full path in its tip; a menu would take a "&" in a file name for a mnemonic.
void addRecentMenu(QMenu& menu, const OrderMenu& commands) {
    QMenu* recent = menu.addMenu(QStringLiteral("Open recent"));
    recent->setToolTipsVisible(true);
    for (const QString& path : commands.recent) {
        const QFileInfo file(path);
        const QString text =
            QStringLiteral("%1 (%2)").arg(file.fileName(), QDir::toNativeSeparators(file.path()));
        QAction* a = recent->addAction(QString(text).replace(QLatin1Char('&'), QStringLiteral("&&")),
                                       [open = commands.openRecent, path] { open(path); });
        a->setToolTip(QDir::toNativeSeparators(path));
        a->setStatusTip(a->toolTip());
    }
    recent->addSeparator();
    recent->addAction(QStringLiteral("Clear recent"), commands.clearRecent);
    recent->setEnabled(!commands.recent.isEmpty());
}

}  // namespace

DialogHooks DialogHooks::real() {
    DialogHooks h;
    h.chooseFile = [](QWidget* parent, bool save, const QString& title, const QString& startPath,
                      const QString& filter, const QString& suffix) {
        // The toolkit's dialog opens in the start path's folder with its name preset, and asks
        // before it replaces an existing file.
        QFileDialog dialog(parent, title, startPath, filter);
        dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
        dialog.setFileMode(save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
        dialog.setDefaultSuffix(suffix);
        if (!QFileInfo(startPath).isDir())
            dialog.selectFile(QFileInfo(startPath).fileName());
        dialog.setProxyModel(new SteadyHeaderModel(&dialog));
        return dialog.exec() == QDialog::Accepted ? dialog.selectedFiles().value(0) : QString();
    };
    h.ask = [](QWidget* parent, const QString& title, const QString& text, Default answer) {
        const QMessageBox::StandardButton enter = answer == Default::Yes ? QMessageBox::Yes : QMessageBox::No;
        return QMessageBox::question(parent, title, text, QMessageBox::Yes | QMessageBox::No, enter) ==
               QMessageBox::Yes;
    };
    h.warn = [](QWidget* parent, const QString& title, const QString& text) {
        QMessageBox::warning(parent, title, text);
    };
    return h;
}

QString ReplacedOnScreen(const Order& order) {
    const Selection now = SelectionOf(order);
    QStringList parts;
    if (!now.assays.empty())
        parts << QStringLiteral("the assays ticked");
    if (!now.bottleSizes.empty())
        parts << QStringLiteral("the bottle sizes chosen");
    if (!now.added.empty())
        parts << QStringLiteral("the items added");
    if (order.plan.HasTyped())
        parts << QStringLiteral("the quantities typed");
    if (order.plan.HasFigures())
        parts << QStringLiteral("the planning figures");
    if (parts.isEmpty())
        return {};
    QString text = parts.size() == 1 ? parts.front()
                                     : parts.mid(0, parts.size() - 1).join(QStringLiteral(", ")) +
                                           QStringLiteral(" and ") + parts.back();
    text[0] = text[0].toUpper();
    return text + QStringLiteral(" now are replaced.");
}

void ShowOrderMenu(QWidget* parent, const QPoint& at, const OrderMenu& commands) {
    QMenu menu(parent);
    const auto add = [&menu](const QString& text, const QKeySequence& keys,
                             const std::function<void()>& command) {
        QAction* a = menu.addAction(text, command);
        a->setShortcut(keys);  // shown beside the entry; the keys themselves are the window's
        a->setShortcutVisibleInContextMenu(true);
        return a;
    };
    add(QStringLiteral("Order and quantities..."), QKeySequence(Qt::Key_Q), commands.quantities);
    menu.addSeparator();
    add(QStringLiteral("Open selection..."), QKeySequence(Qt::CTRL | Qt::Key_O), commands.open);
    add(QStringLiteral("Save selection..."), QKeySequence(Qt::CTRL | Qt::Key_S), commands.save);
    addRecentMenu(menu, commands);
    menu.addSeparator();
    add(QStringLiteral("Copy order"), QKeySequence(Qt::CTRL | Qt::Key_C), commands.copy);
    add(QStringLiteral("Export order as CSV..."), {}, commands.exportCsv);
    add(QStringLiteral("Export order as PDF..."), {}, commands.exportPdf);
    menu.addSeparator();
    add(QStringLiteral("Laboratory details..."), QKeySequence(Qt::CTRL | Qt::Key_L), commands.details);
    add(QStringLiteral("Print preview..."), QKeySequence(Qt::CTRL | Qt::Key_P), commands.preview);
    // Last, so that the entries above keep their places.
    menu.addSeparator();
    const auto history = [&add](const QString& text, const QString& bare, const QKeySequence& keys,
                                const std::function<void()>& command) {
        add(text.isEmpty() ? bare : text, keys, command)->setEnabled(!text.isEmpty());
    };
    history(commands.undoText, QStringLiteral("Undo"), QKeySequence(Qt::CTRL | Qt::Key_Z), commands.undo);
    history(commands.redoText, QStringLiteral("Redo"), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z),
            commands.redo);
    menu.exec(at);
}

QString DroppedSelection(const QMimeData* mime) {
    if (!mime || !mime->hasUrls() || mime->urls().size() != 1)
        return {};
    const QUrl url = mime->urls().constFirst();
    const QString path = url.toLocalFile();
    return url.isLocalFile() && path.endsWith(QLatin1String(".tovimar"), Qt::CaseInsensitive) ? path
                                                                                              : QString();
}

bool TakeSelectionDrop(QDropEvent* e) {
    if (!(e->possibleActions() & Qt::CopyAction) || DroppedSelection(e->mimeData()).isEmpty())
        return false;
    e->setDropAction(Qt::CopyAction);
    e->accept();
    return true;
}

OrderCommands::OrderCommands(const Order& order, DialogHooks hooks, QWidget* parent)
    : order_(order), hooks_(std::move(hooks)), parent_(parent) {}

QString OrderCommands::DefaultStartFolder() {
    return ChooseStartFolder(QCoreApplication::applicationDirPath(),
                             QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation),
                             QDir::homePath());
}

QString OrderCommands::chooseFile(bool save, const QString& title, const QString& name, const QString& filter,
                                  const QString& suffix) {
    if (lastFolder_.isEmpty() || !QFileInfo(lastFolder_).isDir())
        lastFolder_ = DefaultStartFolder();
    const QString chosen =
        hooks_.chooseFile(parent_, save, title, QDir(lastFolder_).filePath(name), filter, suffix);
    if (!chosen.isEmpty())
        lastFolder_ = QFileInfo(chosen).absolutePath();
    return chosen;
}

bool OrderCommands::report(const QString& title, const std::optional<SaveFailure>& failure) const {
    if (failure)
        hooks_.warn(parent_, title, SaveFailureMessage(*failure));
    return !failure;
}

bool OrderCommands::recentStillThere(const QString& path) {
    if (QFileInfo::exists(path))
        return true;
    ForgetRecentSelection(path);
    hooks_.warn(
        parent_, QStringLiteral("Selection not opened"),
        QStringLiteral("The selection file\n%1\nis no longer there. It was taken off the recent list.")
            .arg(QDir::toNativeSeparators(QFileInfo(path).absoluteFilePath())));
    return false;
}

void OrderCommands::tellSaved(const char* done, const QString& path) const {
    const QFileInfo file(path);
    tell(QStringLiteral("%1 %2 in %3")
             .arg(QLatin1String(done), file.fileName(), QDir::toNativeSeparators(file.absolutePath())));
}

void OrderCommands::tell(const QString& what) const {
    if (hooks_.told)
        hooks_.told(what);
}

bool OrderCommands::ask(const QString& title, const QString& text, DialogHooks::Default answer) const {
    return hooks_.ask(parent_, title, text, answer);
}

void OrderCommands::saveOrderList() {
    const QString path = chooseFile(true, QStringLiteral("Save the order list"), QStringLiteral("OrderList"),
                                    QStringLiteral("Text File (*.txt)"), QString());
    if (!path.isEmpty() && report(QStringLiteral("Not saved"), WriteOrderList(order_, path)))
        tellSaved("Saved", path);
}

void OrderCommands::exportCsv() {
    const QString path =
        chooseFile(true, QStringLiteral("Export order as CSV"), QStringLiteral("OrderList.csv"),
                   QStringLiteral("CSV File (*.csv)"), QStringLiteral("csv"));
    if (!path.isEmpty() && report(QStringLiteral("Order not exported"), WriteOrderCsv(order_, path)))
        tellSaved("Exported", path);
}

void OrderCommands::exportPdf(const QString& failureTitle) {
    const QString path =
        chooseFile(true, QStringLiteral("Export order as PDF"), QStringLiteral("OrderList.pdf"),
                   QStringLiteral("PDF File (*.pdf)"), QStringLiteral("pdf"));
    if (!path.isEmpty() && report(failureTitle, SavePrintoutPdf(order_, path)))
        tellSaved("Exported", path);
}

void OrderCommands::copyOrder() const {
    auto* mime = new QMimeData;
    mime->setText(QString::fromLatin1(OrderListText(order_)));
    mime->setHtml(QString::fromStdString(OrderHtml(order_)));
    QApplication::clipboard()->setMimeData(mime);
    int lines = 0;
    ForEachOrderLine(order_, [&lines](const OrderLine&) { ++lines; });
    tell(lines == 1 ? QStringLiteral("Copied the order: 1 line")
                    : QStringLiteral("Copied the order: %1 lines").arg(lines));
}

void OrderCommands::printPreview(std::unique_ptr<QPrinter> printer) {
    OpenPrintPreview(std::move(printer), parent_, [this](QPrinter& p) { printOn(p); });
}

void OrderCommands::printOn(QPrinter& printer) {
    if (WritesPdfFile(printer)) {
        const QString path = printer.outputFileName();
        if (report(QStringLiteral("Not printed"),
                   SavePrintoutPdf(
                       order_, path, SaveFor::Window,
                       PdfPaper(printer.pageLayout().pageSize(), printer.pageLayout().orientation()))))
            tellSaved("Exported", path);
        return;
    }
    if (const QString reason = BuildPrintout(order_, printer); !reason.isEmpty())
        hooks_.warn(parent_, QStringLiteral("Not printed"),
                    QStringLiteral("The order could not be printed on %1 because %2.")
                        .arg(printer.printerName(), reason));
}

QString OrderCommands::saveSelection(const Selection& now) {
    const QString path =
        chooseFile(true, QStringLiteral("Save selection"), QStringLiteral("Selection.tovimar"),
                   kSelectionFilter, QStringLiteral("tovimar"));
    if (path.isEmpty() ||
        !report(QStringLiteral("Selection not saved"),
                SaveFile(QStringLiteral("The selection"), path, bytesOf(SelectionText(now)))))
        return {};
    tellSaved("Saved", path);
    return path;
}

QString OrderCommands::chooseSelection() {
    return chooseFile(false, QStringLiteral("Open selection"), QString(), kSelectionFilter,
                      QStringLiteral("tovimar"));
}

std::optional<Selection> OrderCommands::selectionToOpen(const QString& path, const QString& replaced) {
    SelectionFromFile read = ReadSelectionFile(path);
    if (!read.selection) {
        hooks_.warn(parent_, QStringLiteral("Selection not opened"),
                    QStringLiteral("The selection could not be opened from\n%1\n\n%2\n\nNothing on the "
                                   "screen was changed.")
                        .arg(QDir::toNativeSeparators(QFileInfo(path).absoluteFilePath()), read.problem));
        return std::nullopt;
    }
    if (!replaced.isEmpty() &&
        !ask(QStringLiteral("Open selection"),
             QStringLiteral("Replace the selection on the screen with the one in %1?\n\n%2 Ctrl+Z takes the "
                            "opening back.")
                 .arg(QFileInfo(path).fileName(), replaced),
             DialogHooks::Default::No))
        return std::nullopt;
    return std::move(read.selection);
}

}  // namespace tovimar
