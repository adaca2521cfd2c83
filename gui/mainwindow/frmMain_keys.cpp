// The main window's command keys: one table of which key does what in which mode.
#include "gui/mainwindow/command_keys.h"
#include "gui/mainwindow/frmMain.h"
#include "gui/refinement/adding_view.h"
#include "gui/refinement/bottle_size_view.h"

#include <QApplication>
#include <QKeyEvent>

namespace tovimar {

// They reach the window wherever the focus is (a check box, an option, a list), but not while a
// modal dialog is open over it.
bool frmMain::eventFilter(QObject* watched, QEvent* event) {
    const bool press = event->type() == QEvent::KeyPress || event->type() == QEvent::MouseButtonPress;
    auto* target = qobject_cast<QWidget*>(watched);
    if (!press || !target || (target != this && !isAncestorOf(target)))
        return QWidget::eventFilter(watched, event);
    ensureViews();      // whatever the action reaches, before it does
    document_.Touch();  // a user's action begins here
    if (event->type() != QEvent::KeyPress || !keyPreview_)
        return QWidget::eventFilter(watched, event);
    if (QApplication::activeModalWidget() && QApplication::activeModalWidget() != this)
        return QWidget::eventFilter(watched, event);
    auto* key = static_cast<QKeyEvent*>(event);
    return Form_KeyDown(CommandKeyCode(*key, QGuiApplication::platformName()), key->modifiers()) ||
           QWidget::eventFilter(watched, event);
}

namespace {

constexpr unsigned in(std::initializer_list<Mode> modes) {
    unsigned bits = 0;
    for (Mode m : modes)
        bits |= 1u << static_cast<unsigned>(m);
    return bits;
}

constexpr unsigned kEveryMode = in({Mode::Start, Mode::Main, Mode::Help, Mode::BottleSizes, Mode::Adding});
constexpr unsigned kButStart = kEveryMode & ~in({Mode::Start});
constexpr unsigned kChanging = in({Mode::Main, Mode::BottleSizes, Mode::Adding});

}  // namespace

// Tried in this order; the first that fits the mode, the key and the modifiers is taken.
std::span<const frmMain::KeyCommand> frmMain::keyCommands() {
    using M = Mode;
    using W = frmMain;
    static const KeyCommand commands[] = {
        // The file commands of the main view; everywhere else these keys act as they always have.
        {in({M::Main}), Qt::Key_O, Held::Ctrl, [](W& w) { w.OpenSelection_Click(); }},
        {in({M::Main}), Qt::Key_S, Held::Ctrl, [](W& w) { w.SaveSelection_Click(); }},
        {in({M::Main}), Qt::Key_C, Held::Ctrl, [](W& w) { w.CopyOrder_Click(); }},
        {in({M::Main}), Qt::Key_Q, Held::None, [](W& w) { w.ShowOrderWindow(); }},
        {in({M::Main}), Qt::Key_L, Held::Ctrl, [](W& w) { w.ShowLaboratoryDetails(); }},
        {in({M::Main}), Qt::Key_P, Held::Ctrl, [](W& w) { w.ShowPrintPreview(); }},
        // Undo and redo wherever the order can be changed.
        {kChanging, Qt::Key_Z, Held::Ctrl, [](W& w) { w.UndoLast(); }},
        {kChanging, Qt::Key_Z, Held::CtrlShift, [](W& w) { w.RedoLast(); }},
        {kChanging, Qt::Key_Y, Held::Ctrl, [](W& w) { w.RedoLast(); }},
        // Select all: Shift alone, and only outside the start screen and help.
        {in({M::Main}), Qt::Key_A, Held::Shift, [](W& w) { w.selectAllAsOneStep(); }},
        {in({M::BottleSizes}), Qt::Key_A, Held::Shift, [](W& w) { w.setAllSizesAsOneStep(true); }},
        {in({M::Adding}), Qt::Key_A, Held::Shift, [](W& w) { w.adding_->SetAllMissEntries(true); }},
        {in({M::Start, M::Help}), Qt::Key_A, Held::Shift, nullptr},
        // Clear: what the mode shows.
        {in({M::Help}), Qt::Key_Escape, Held::Any, [](W& w) { w.picHelp_Click(); }},
        {in({M::BottleSizes}), Qt::Key_Escape, Held::Any, [](W& w) { w.setAllSizesAsOneStep(false); }},
        {in({M::Adding}), Qt::Key_Escape, Held::Any, [](W& w) { w.adding_->SetAllMissEntries(false); }},
        {in({M::Start, M::Main}), Qt::Key_Escape, Held::Any, [](W& w) { w.ResetSelection(); }},
        // The number is kept even on the start screen, where the panels are not recoloured.
        {in({M::Start}), Qt::Key_1, Held::Any, [](W& w) { w.ColourScheme = 1; }},
        {in({M::Start}), Qt::Key_2, Held::Any, [](W& w) { w.ColourScheme = 2; }},
        {in({M::Start}), Qt::Key_3, Held::Any, [](W& w) { w.ColourScheme = 3; }},
        {kButStart, Qt::Key_1, Held::Any, [](W& w) { w.ApplyColourScheme(w.ColourScheme = 1); }},
        {kButStart, Qt::Key_2, Held::Any, [](W& w) { w.ApplyColourScheme(w.ColourScheme = 2); }},
        {kButStart, Qt::Key_3, Held::Any, [](W& w) { w.ApplyColourScheme(w.ColourScheme = 3); }},
        // Back from a refinement view.
        {in({M::BottleSizes}), Qt::Key_B, Held::Any, [](W& w) { w.cmdBottleBack_Click(); }},
        {in({M::Adding}), Qt::Key_B, Held::Any, [](W& w) { w.Command4Back_Click(); }},
        {in({M::Start, M::Main, M::Help}), Qt::Key_B, Held::Any, nullptr},
        // Reload: leave a refinement view first, so that no size box, enabled back button or
        // ticked adding entry outlives the fresh start.
        {in({M::BottleSizes}), Qt::Key_R, Held::Any, [](W& w) { w.reloadLeaving(&W::cmdBottleBack_Click); }},
        {in({M::Adding}), Qt::Key_R, Held::Any, [](W& w) { w.reloadLeaving(&W::Command4Back_Click); }},
        {in({M::Start, M::Main, M::Help}), Qt::Key_R, Held::Any, [](W& w) { w.reload(); }},
        {in({M::Start}), Qt::Key_S, Held::Any, [](W& w) { w.ShowMainView(); }},
        // What a keyboard user presses first on a picture that asks to be clicked.
        {in({M::Start}), Qt::Key_Return, Held::None, [](W& w) { w.ShowMainView(); }},
        {in({M::Start}), Qt::Key_Enter, Held::Any, [](W& w) { w.ShowMainView(); }},
        {in({M::Start}), Qt::Key_Space, Held::None, [](W& w) { w.ShowMainView(); }},
        {kButStart, Qt::Key_S, Held::Any, nullptr},
        {kEveryMode, Qt::Key_X, Held::Any, [](W& w) { w.hooks_.endProgram(); }},
        {in({M::Main, M::Help}), Qt::Key_F1, Held::Any, [](W& w) { w.cmdHelp_Click(); }},
        {in({M::Start, M::BottleSizes, M::Adding}), Qt::Key_F1, Held::Any, nullptr},
        {in({M::Main}), Qt::Key_Menu, Held::Any, [](W& w) { w.ShowContextMenuFromKeyboard(); }},
        {in({M::Main}), Qt::Key_F10, Held::Shift, [](W& w) { w.ShowContextMenuFromKeyboard(); }},
        {kEveryMode, Qt::Key_Menu, Held::Any, nullptr},  // the right-click menu: main view only
        {kEveryMode, Qt::Key_F10, Held::Shift, nullptr},
    };
    return commands;
}

void frmMain::selectAllAsOneStep() {
    const OrderDocument::Group step(document_, QStringLiteral("select all"));
    SelectAllItems();
    orderChanged();
}

void frmMain::setAllSizesAsOneStep(bool ticked) {
    const OrderDocument::Group step(document_, ticked ? QStringLiteral("ticking every bottle size")
                                                      : QStringLiteral("unticking every bottle size"));
    bottleSizes_->SetAllSizeBoxes(ticked);
}

void frmMain::reloadLeaving(void (frmMain::*leave)()) {
    const OrderDocument::Group step(document_, QStringLiteral("reset"));
    (this->*leave)();
    reload();
}

bool frmMain::Form_KeyDown(int key, Qt::KeyboardModifiers modifiers) {
    const Qt::KeyboardModifiers held = modifiers & ~Qt::KeypadModifier;
    const auto fits = [held](Held h) {
        return h == Held::Any || (h == Held::None && held == Qt::NoModifier) ||
               (h == Held::Shift && held == Qt::ShiftModifier) ||
               (h == Held::Ctrl && held == Qt::ControlModifier) ||
               (h == Held::CtrlShift && held == (Qt::ControlModifier | Qt::ShiftModifier));
    };
    for (const KeyCommand& c : keyCommands()) {
        if (c.key != key || !(c.modes & in({mode_})) || !fits(c.held))
            continue;
        if (c.action)
            c.action(*this);
        return true;
    }
    return false;
}

void frmMain::reload() {
    const OrderDocument::Group step(document_, QStringLiteral("reset"));
    adding_->Clear();
    Form_Load();
}

}  // namespace tovimar
