// The window's command keys. They reach the window wherever the focus is (a check box, an
// option, a list), but not while a modal dialog is open over it.
#include "gui/mainwindow/command_keys.h"
#include "gui/mainwindow/frmMain.h"
#include "gui/refinement/adding_view.h"
#include "gui/refinement/bottle_size_view.h"

#include <QApplication>
#include <QKeyEvent>

namespace tovimar {

bool frmMain::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::KeyPress || !keyPreview_)
        return QWidget::eventFilter(watched, event);
    auto* target = qobject_cast<QWidget*>(watched);
    if (!target || (target != this && !isAncestorOf(target)))
        return QWidget::eventFilter(watched, event);
    if (QApplication::activeModalWidget() && QApplication::activeModalWidget() != this)
        return QWidget::eventFilter(watched, event);
    auto* key = static_cast<QKeyEvent*>(event);
    return Form_KeyDown(CommandKeyCode(*key, QGuiApplication::platformName()), key->modifiers()) ||
           QWidget::eventFilter(watched, event);
}

bool frmMain::Form_KeyDown(int key, Qt::KeyboardModifiers modifiers) {
    const Qt::KeyboardModifiers held = modifiers & ~Qt::KeypadModifier;
    // The file commands of the main view; everywhere else these keys act as they always have.
    if (mode_ == Mode::Main && held == Qt::ControlModifier) {
        switch (key) {
        case Qt::Key_O:
            OpenSelection_Click();
            return true;
        case Qt::Key_S:
            SaveSelection_Click();
            return true;
        case Qt::Key_C:
            CopyOrder_Click();
            return true;
        default:
            break;
        }
    }
    switch (key) {
    case Qt::Key_A:
        // Select all: Shift alone, and only outside the start screen and help.
        if (held != Qt::ShiftModifier)
            return false;
        switch (mode_) {
        case Mode::Start:
        case Mode::Help:
            break;
        case Mode::BottleSizes:
            bottleSizes_->SetAllSizeBoxes(true);
            break;
        case Mode::Adding:
            adding_->SetAllMissEntries(true);
            break;
        case Mode::Main:
            SelectAllItems();
            FillCalibList();
            FillCtrlList();
            break;
        }
        return true;
    case Qt::Key_Escape:
        switch (mode_) {
        case Mode::Help:
            picHelp_Click();
            break;
        case Mode::BottleSizes:
            bottleSizes_->SetAllSizeBoxes(false);
            break;
        case Mode::Adding:
            adding_->SetAllMissEntries(false);
            break;
        case Mode::Start:
        case Mode::Main:
            ResetSelection();
            break;
        }
        return true;
    case Qt::Key_1:
    case Qt::Key_2:
    case Qt::Key_3: {
        const int scheme = key - Qt::Key_0;
        // The number is kept even on the start screen, where the panels are not recoloured.
        if (mode_ != Mode::Start)
            ApplyColourScheme(scheme);
        ColourScheme = static_cast<std::int16_t>(scheme);
        return true;
    }
    case Qt::Key_B:
        if (mode_ == Mode::BottleSizes)
            cmdBottleBack_Click();
        else if (mode_ == Mode::Adding)
            Command4Back_Click();
        return true;
    case Qt::Key_R:
        // Reload: leave a refinement view first, so that no size box, enabled back button or
        // ticked adding entry outlives the fresh start.
        if (mode_ == Mode::BottleSizes)
            cmdBottleBack_Click();
        else if (mode_ == Mode::Adding)
            Command4Back_Click();
        adding_->Clear();
        Form_Load();
        return true;
    case Qt::Key_S:
        if (mode_ == Mode::Start)
            ShowMainView();
        return true;
    case Qt::Key_X:
        hooks_.endProgram();
        return true;
    case Qt::Key_F1:
        if (mode_ == Mode::Main || mode_ == Mode::Help)
            cmdHelp_Click();
        return true;
    default:
        return false;
    }
}

}  // namespace tovimar
