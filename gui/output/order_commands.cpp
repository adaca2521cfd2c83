#include "gui/output/order_commands.h"

#include "core/output/order_export.h"
#include "core/output/order_file.h"
#include "gui/output/frmPrint.h"
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

std::optional<SaveFailure> WriteOrderList(const Order& order, const QString& path, SaveFor who) {
    return SaveFile(QStringLiteral("The order list"), path, bytesOf(OrderListText(order)), who);
}

std::optional<SaveFailure> WriteOrderCsv(const Order& order, const QString& path, SaveFor who) {
    return SaveFile(QStringLiteral("The order"), path, bytesOf(OrderCsv(order)), who);
}

bool SelectionOnScreen(const Order& order) {
    if (order.plan.HasTyped() || order.plan.HasFigures())
        return true;
    for (const AssayRowDef& def : AssayRows())
        if (order.state.ticked(def.key))
            return true;
    const Selection now = SelectionOf(order);
    return !now.bottleSizes.empty() || !now.added.empty();
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
    menu.addSeparator();
    add(QStringLiteral("Copy order"), QKeySequence(Qt::CTRL | Qt::Key_C), commands.copy);
    add(QStringLiteral("Export order as CSV..."), {}, commands.exportCsv);
    add(QStringLiteral("Export order as PDF..."), {}, commands.exportPdf);
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

bool OrderCommands::ask(const QString& title, const QString& text, DialogHooks::Default answer) const {
    return hooks_.ask(parent_, title, text, answer);
}

void OrderCommands::saveOrderList() {
    const QString path = chooseFile(true, QStringLiteral("Save the order list"), QStringLiteral("OrderList"),
                                    QStringLiteral("Text File (*.txt)"), QString());
    if (!path.isEmpty())
        report(QStringLiteral("Not saved"), WriteOrderList(order_, path));
}

void OrderCommands::exportCsv() {
    const QString path =
        chooseFile(true, QStringLiteral("Export order as CSV"), QStringLiteral("OrderList.csv"),
                   QStringLiteral("CSV File (*.csv)"), QStringLiteral("csv"));
    if (!path.isEmpty())
        report(QStringLiteral("Order not exported"), WriteOrderCsv(order_, path));
}

void OrderCommands::exportPdf(const QString& failureTitle) {
    const QString path =
        chooseFile(true, QStringLiteral("Export order as PDF"), QStringLiteral("OrderList.pdf"),
                   QStringLiteral("PDF File (*.pdf)"), QStringLiteral("pdf"));
    if (!path.isEmpty())
        report(failureTitle, SavePrintoutPdf(order_, path));
}

void OrderCommands::copyOrder() const {
    auto* mime = new QMimeData;
    mime->setText(QString::fromLatin1(OrderListText(order_)));
    mime->setHtml(QString::fromStdString(OrderHtml(order_)));
    QApplication::clipboard()->setMimeData(mime);
}

QString OrderCommands::saveSelection(const Selection& now) {
    const QString path =
        chooseFile(true, QStringLiteral("Save selection"), QStringLiteral("Selection.tovimar"),
                   kSelectionFilter, QStringLiteral("tovimar"));
    if (path.isEmpty() ||
        !report(QStringLiteral("Selection not saved"),
                SaveFile(QStringLiteral("The selection"), path, bytesOf(SelectionText(now)))))
        return {};
    return path;
}

QString OrderCommands::chooseSelection() {
    return chooseFile(false, QStringLiteral("Open selection"), QString(), kSelectionFilter,
                      QStringLiteral("tovimar"));
}

std::optional<Selection> OrderCommands::selectionToOpen(const QString& path, bool replaces) {
    SelectionFromFile read = ReadSelectionFile(path);
    if (!read.selection) {
        hooks_.warn(parent_, QStringLiteral("Selection not opened"),
                    QStringLiteral("The selection could not be opened from\n%1\n\n%2\n\nNothing on the "
                                   "screen was changed.")
                        .arg(QDir::toNativeSeparators(QFileInfo(path).absoluteFilePath()), read.problem));
        return std::nullopt;
    }
    if (replaces &&
        !ask(QStringLiteral("Open selection"),
             QStringLiteral("Replace the selection on the screen with the one in %1?\n\nThe assays "
                            "ticked, the bottle sizes chosen and the items added now are replaced.")
                 .arg(QFileInfo(path).fileName()),
             DialogHooks::Default::No))
        return std::nullopt;
    return std::move(read.selection);
}

}  // namespace tovimar
