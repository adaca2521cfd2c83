// The file and export commands, one room for the main window and the output dialog alike: the
// order list, CSV and PDF exports, copying the order, saving and opening a selection, the
// right-click menu that offers them and the test for a dropped selection file. The room owns the
// folder its file dialogs start in and asks the desktop through one set of hooks.
#pragma once

#include "core/order/order.h"
#include "core/output/selection_file.h"
#include "gui/output/order_files.h"
#include "gui/output/safe_file.h"

#include <QString>
#include <QStringList>
#include <functional>
#include <memory>
#include <optional>

class QDropEvent;
class QMimeData;
class QPoint;
class QPrinter;
class QWidget;

namespace tovimar {

// What the file commands need from the desktop, replaceable in tests.
struct DialogHooks {
    // A file chosen in the desktop's dialog, starting at `startPath` (folder and name), or an
    // empty text when cancelled. For saving, the dialog asks before it replaces a file and adds
    // `suffix` (where not empty) to a name typed without one; the name comes back as chosen.
    std::function<QString(QWidget* parent, bool save, const QString& title, const QString& startPath,
                          const QString& filter, const QString& suffix)>
        chooseFile;
    // A yes-or-no question, with the answer Enter gives; a question whose Yes replaces something
    // the user made defaults to No.
    enum class Default { Yes, No };
    std::function<bool(QWidget* parent, const QString& title, const QString& text, Default answer)> ask;
    // A message about something that could not be done.
    std::function<void(QWidget* parent, const QString& title, const QString& text)> warn;
    // What a save, an export or a copy did, once it succeeded: "Saved OrderList in /home/lab".
    // Unset, nothing is said.
    std::function<void(const QString& what)> told;

    static DialogHooks real();
};

// What opening a selection file would replace of the screen, in words: "The assays ticked, the
// quantities typed and the planning figures now are replaced." Empty where the screen holds none of
// them (ticks, sizes chosen, items added, quantities typed, figures).
QString ReplacedOnScreen(const Order& order);

// The entries of the right-click menu, each the window's own command.
struct OrderMenu {
    std::function<void()> quantities, open, save, copy, exportCsv, exportPdf;
    // "Laboratory details..." and "Print preview...".
    std::function<void()> details, preview;
    // "Undo tick ORLAN assay AMPH / XTC"; an empty text shows the entry disabled.
    QString undoText, redoText;
    std::function<void()> undo, redo;
    // "Open recent": the files, newest first, each opened through `openRecent`; "Clear recent".
    QStringList recent;
    std::function<void(const QString& path)> openRecent;
    std::function<void()> clearRecent;
};
void ShowOrderMenu(QWidget* parent, const QPoint& at, const OrderMenu& commands);

// A drop of one local .tovimar file is taken, always as a copy: the file is only read, and a
// source that honours a move deletes its file. A source that offers no copy is turned away.
// Returns whether the drop was taken.
bool TakeSelectionDrop(QDropEvent* e);
// The one local .tovimar file a drop carries, or an empty text.
QString DroppedSelection(const QMimeData* mime);

class OrderCommands {
public:
    OrderCommands(const Order& order, DialogHooks hooks, QWidget* parent);

    // The folder a save dialog starts in before any was chosen here (ChooseStartFolder for this
    // program and user).
    static QString DefaultStartFolder();

    // FILE: the order-list file, under the name exactly as chosen (no suffix added).
    void saveOrderList();
    void exportCsv();
    // The printout as a PDF; a failure is reported under `failureTitle`, in the caller's words.
    void exportPdf(const QString& failureTitle);
    // The order on the clipboard, as the file's text and as a table.
    void copyOrder() const;
    // The pages as PRINT will have them on `printer`'s paper, over the window, with printing from
    // there: on the printer, or where it writes PDF, to the file chosen, saved as an export is.
    void printPreview(std::unique_ptr<QPrinter> printer);

    // The path saved to, or empty where the user cancelled or the save failed (and was reported).
    QString saveSelection(const Selection& now);
    // The selection file chosen to open, or an empty text when cancelled.
    QString chooseSelection();
    // The selection in `path`, where it can be read and, where the screen holds something (`replaced`
    // names it, see ReplacedOnScreen), the user agrees to replace it. A file that cannot be read or
    // is wrong is reported and gives none.
    std::optional<Selection> selectionToOpen(const QString& path, const QString& replaced);

    // Whether the recent file `path` is still there; one that is gone is taken off the recent
    // list, and the user told.
    bool recentStillThere(const QString& path);

    // A question in the room's dialogs, for the caller's own commands.
    bool ask(const QString& title, const QString& text, DialogHooks::Default answer) const;

private:
    // A name from the file dialog, starting in the folder chosen last through this room.
    QString chooseFile(bool save, const QString& title, const QString& name, const QString& filter,
                       const QString& suffix);
    // The one form of every failed save: the title in the command's words, the failure's message.
    // Warns of a failure; returns whether the save succeeded.
    bool report(const QString& title, const std::optional<SaveFailure>& failure) const;
    // A save that succeeded, said as "<done> <file name> in <folder>".
    void tellSaved(const char* done, const QString& path) const;
    void tell(const QString& what) const;
    // The preview's pages, or printing from it; a failure is reported.
    void printOn(QPrinter& printer);

    const Order& order_;
    DialogHooks hooks_;
    QWidget* parent_;
    QString lastFolder_;
};

}  // namespace tovimar
