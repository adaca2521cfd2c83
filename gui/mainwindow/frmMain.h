// The main window. It owns the open order (the document, with its undo history) and the number of
// the colour scheme in force; it composes the views and holds the mode they are in. The handlers
// keep the names the behaviour is described in and forward to the views; each user action ends
// with one commit to the document, which keeps it as one undo step.
#pragma once

#include "gui/mainwindow/window_modes.h"
#include "gui/order/order_document.h"
#include "gui/order/recovery_copy.h"
#include "gui/output/frmOutput.h"
#include "gui/output/order_commands.h"
#include "gui/widgets/control_collection.h"

#include <QPointer>
#include <QString>
#include <QWidget>
#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <span>
#include <string>
#include <vector>

class QPushButton;
class QTimer;

namespace tovimar {

class AddingView;
class ConfirmationNote;
class AssayPanel;
class BottleSizeView;
class HelpOverlay;
class frmLaboratory;
class frmOrder;
class PictureBox;
class ResultListsView;
class StartScreen;

// What the window needs from the outside world, replaceable in tests: the pauses of the start
// transition, the clock that paces it, ending the program, and the file commands' dialogs.
struct frmMainHooks {
    std::function<void(int ms)> pause;
    std::function<std::int64_t()> clockMs;
    std::function<void()> endProgram;
    DialogHooks dialogs;
    // Where the work left unsaved is kept (empty: nowhere), and the question offering it back at
    // the next start: true to restore it, false to discard it, none to decide at a later start.
    QString recoveryFolder;
    std::function<std::optional<bool>(QWidget* parent, const QString& text)> offerRestore;

    static frmMainHooks real();
};

// The real question offering the work back: Restore (the default) or Discard.
std::optional<bool> AskRestore(QWidget* parent, const QString& text);

class frmMain : public QWidget {
    Q_OBJECT

public:
    explicit frmMain(frmMainHooks hooks = frmMainHooks::real(), QWidget* parent = nullptr);
    ~frmMain() override;

    Mode mode() const { return mode_; }
    // The order on the screen: what is in it and at which size, the assays ticked, why each item is
    // in it (the lists' tooltips), and the quantities and figures.
    const Order& order() const { return document_.order(); }
    OrderDocument& document() { return document_; }
    // The colour scheme last chosen (1, 2 or 3), also where the start screen kept it from showing.
    std::int16_t colourScheme() const { return ColourScheme; }

    // Every named control of the window in creation order, and one of them by name.
    const std::vector<QWidget*>& controls() {
        ensureViews();
        return controls_.all();
    }
    QWidget* control(const QString& name) {
        ensureViews();
        return controls_.find(name);
    }
    // The same without building what the start screen does not show yet: null for a control of
    // a view not built.
    QWidget* builtControl(const QString& name) const { return controls_.find(name); }

    // Opens a selection file as the user's clicks would give it: from the open command, a file
    // dropped on the window or the command line. Asks first where something on the screen would
    // be replaced; a file that cannot be read or is wrong changes nothing and is reported.
    // Returns whether the selection was opened.
    bool OpenSelectionFile(const QString& path);
    // The main view at once, without the start transition: a program started with a file.
    void ShowMainViewAtOnce();

    // Replaces the output dialog's desktop, its file dialogs and printer (tests plug in here).
    void setOutputHooks(std::function<frmOutputHooks()> hooks) { outputHooks_ = std::move(hooks); }

    // The views, for tests that look at what one shows or drive one alone.
    const AssayPanel& panel() {
        ensureViews();
        return *panel_;
    }
    BottleSizeView& bottleSizes() {
        ensureViews();
        return *bottleSizes_;
    }
    AddingView& adding() {
        ensureViews();
        return *adding_;
    }
    const HelpOverlay& help() const { return *help_; }
    // The order window, once it was first opened (null before).
    frmOrder* orderWindow() const { return orderWindow_; }
    // "Laboratory details...", once it was first opened (null before).
    frmLaboratory* detailsWindow() const { return detailsWindow_; }

protected:
    // Sees key presses and clicks meant for any control of the window before the control does.
    bool eventFilter(QObject* watched, QEvent* event) override;
    // Help lies over the window: Tab stays on it rather than going to the controls beneath.
    bool focusNextPrevChild(bool next) override;
    // The selection and export commands on a right-click, and a selection file dropped on it.
    void contextMenuEvent(QContextMenuEvent* e) override;
    void dragEnterEvent(QDragEnterEvent* e) override;
    void dragMoveEvent(QDragMoveEvent* e) override;
    void dropEvent(QDropEvent* e) override;

private:
    bool takesDropAsCopy(QDropEvent* e) const;

    // ---- Procedures ----------------------------------------------------------------------------
    void Form_Load();
    void ShowMainView();
    void ResetSelection();
    void FillCalibList();
    void FillCtrlList();
    void SelectAllItems();
    // Runs the requirement rules and refills both lists. The rules keep the name `update` in
    // the core; here it would hide QWidget::update().
    void runRules();
    // Ctrl+Z and Ctrl+Shift+Z (or Ctrl+Y): the last step taken back or done again.
    void UndoLast();
    void RedoLast();
    // An undo or redo put an earlier state back: every view shows it, the screen reader says it.
    void showRestored(const ScreenState& screen, const QString& said);
    ScreenState screenNow() const;

    // ---- The work kept across the program's end: frmMain_recovery.cpp --------------------------
    // Work worth keeping: a figure or typed quantity, or any change since a file was opened or
    // saved. Ticks alone on a selection never saved are not.
    bool holdsUnsavedWork() const;
    void scheduleKeeping();
    // Writes the recovery copy now, or removes it where nothing is left to keep.
    void keepWork();
    // After a start, the work a program left unsaved is offered back.
    void offerRecovery();
    void restoreWork(const RecoveryCopy::Left& left);
    void openSelection(const Selection& selection, const QString& what);
    void showTitle();
    // The order changed: the lists show it.
    void orderChanged();
    // A view changed the order: the lists show it and it is one step.
    void changedBy(const QString& what);
    // A quantity or figure changed: the lists refill where they show.
    void planChanged();
    void ApplyColourScheme(int scheme);

    // ---- Handlers ------------------------------------------------------------------------------
    void picStart_Click();
    void Command1_Click();
    void Command2_Click();
    void Command3_Click();
    void cmdBottle_Click();
    void cmdBottleBack_Click();
    void Command4_Click();
    void Command4Back_Click();
    void cmdHelp_Click();
    void ShowHelp();
    void picHelp_Click();
    void Label13_Click(int Index);
    void NV_Banner_Click();
    // One command key, as the window's key commands take it; returns whether it was one, so that
    // the control with the focus does not act on it as well.
    bool Form_KeyDown(int key, Qt::KeyboardModifiers modifiers);
    // R: a fresh start, as the program loads; from a refinement view, left first by `leave`. One step.
    void reload();
    void reloadLeaving(void (frmMain::*leave)());
    // Shift+A in the main view, Shift+A and Esc in the bottle-size view: one step each.
    void selectAllAsOneStep();
    void setAllSizesAsOneStep(bool ticked);

    // ---- Modes ---------------------------------------------------------------------------------
    // The only writer of the mode: applies the mode's row of the mode table to the window. What
    // the table leaves Kept stays as it is.
    void setMode(Mode mode);
    // Shows, hides, enables and places what the mode table says for the mode in force.
    void applyLook();
    // The parts that follow the lists: the lists, their headings, the banner and the small picture.
    void applyListLook();
    // Where the keyboard focus goes as the window passes from mode `from` to the mode now in force:
    // into the view entered, back to the button that entered the view left, back to where it was
    // before help; never to a control the mode hides or disables.
    void followFocus(Mode from);
    QPushButton* button(Command c) const { return buttons_[static_cast<std::size_t>(c)]; }

    // A key command: in which modes, which key with which modifiers (none, Shift or Ctrl alone, or
    // any), and what it does; no action is a key taken without effect, so that the control
    // with the focus does not act on it either.
    enum class Held { Any, None, Shift, Ctrl, CtrlShift };
    struct KeyCommand {
        unsigned modes;  // one bit per Mode
        int key;
        Held held;
        void (*action)(frmMain&);
    };
    static std::span<const KeyCommand> keyCommands();

    // ---- The selection as a file, and the order leaving the program (main view only) -----------
    void OpenSelection_Click();
    void SaveSelection_Click();
    void CopyOrder_Click();
    void ExportCsv_Click();
    void ExportPdf_Click();
    // "Order and quantities": the order with its quantities and planning figures, over the window.
    void ShowOrderWindow();
    // "Laboratory details...": who orders, the reference and the date, over the window.
    void ShowLaboratoryDetails();
    // "Print preview...": the pages PRINT gives, on the default printer's paper or, where there is
    // none, on the A4 of the PDF offered instead.
    void ShowPrintPreview();
    // The right-click menu at `at` (global), or from the keyboard at the control with the focus.
    void ShowContextMenu(const QPoint& at);
    void ShowContextMenuFromKeyboard();
    void enterMainView(bool animated);

    // ---- Both refinement views take the window over alike ----------------------------------------
    void leaveRefinement();

    void buildControls();
    void buildButtons();
    void ensureViews();
    void growFrames();
    QPushButton* makeButton(const char* name, const char* tooltip, const char* picture, int l, int t);

    frmMainHooks hooks_;
    OrderDocument document_;
    // What the lists have been since the last reset, which the mode table turns into the lists,
    // their headings, the banner and the small picture shown.
    ListsState lists_;
    std::int16_t ColourScheme = 3;
    int appliedScheme_ = 3;  // what the boxes show: on the start screen a chosen scheme waits
    Mode mode_ = Mode::Start;
    // Set by the reset: from then on the window sees its keys wherever the focus is.
    bool keyPreview_ = false;
    // The control that had the focus when help was entered, to have it back when help ends.
    QPointer<QWidget> focusBeforeHelp_;
    ControlCollection controls_;
    std::vector<std::string> calibLines_, ctrlLines_;
    std::vector<std::string> calibTips_, ctrlTips_;
    std::function<frmOutputHooks()> outputHooks_;
    RecoveryCopy recovery_;
    QTimer* keepTimer_ = nullptr;  // a change is kept within a second, not on every key
    // The file commands; their dialogs start where the user last was in this session.
    OrderCommands commands_;
    // What the last save, export or copy did, in the free strip below the command buttons.
    ConfirmationNote* told_ = nullptr;

    StartScreen* start_ = nullptr;
    AssayPanel* panel_ = nullptr;
    ResultListsView* listsView_ = nullptr;
    BottleSizeView* bottleSizes_ = nullptr;
    AddingView* adding_ = nullptr;
    HelpOverlay* help_ = nullptr;
    frmOrder* orderWindow_ = nullptr;         // made at its first opening, kept for the next
    frmLaboratory* detailsWindow_ = nullptr;  // likewise
    PictureBox* banner_ = nullptr;
    PictureBox* icon1_ = nullptr;
    std::array<QPushButton*, kCommandCount> buttons_{};  // by Command
};

}  // namespace tovimar
