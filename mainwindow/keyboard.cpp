// The window's command keys. They reach the window wherever the focus is (a check box, an
// option, a list), but not while a modal dialog is open over it.
#include "mainwindow/colour_schemes.h"
#include "mainwindow/frmMain.h"
#include "mainwindow/picture_box.h"

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
    return Form_KeyDown(key->key(), key->modifiers()) || QWidget::eventFilter(watched, event);
}

bool frmMain::Form_KeyDown(int key, Qt::KeyboardModifiers modifiers) {
    const bool startShowing = !picStart_->isHidden();
    const bool helpShowing = !picHelp_->isHidden();
    const bool bottleMode = !calBottleSizeFrame_->isHidden();
    const bool addingMode = !calMissList_->isHidden();
    auto enabled = [this](const char* name) { return control(QString::fromLatin1(name))->isEnabled(); };
    const Qt::KeyboardModifiers held = modifiers & ~Qt::KeypadModifier;

    switch (key) {
    case Qt::Key_A:
        // Select all: Shift alone, and only outside the start screen and help.
        if (held != Qt::ShiftModifier)
            return false;
        if (startShowing || helpShowing)
            return true;
        if (bottleMode) {
            SetAllSizeBoxes(true);
        } else if (addingMode) {
            SetAllMissEntries(true);
        } else {
            SelectAllItems();
            FillCalibList();
            FillCtrlList();
        }
        return true;
    case Qt::Key_Escape:
        if (helpShowing)
            picHelp_Click();
        else if (bottleMode)
            SetAllSizeBoxes(false);
        else if (addingMode)
            SetAllMissEntries(false);
        else
            ResetSelection();
        return true;
    case Qt::Key_1:
    case Qt::Key_2:
    case Qt::Key_3: {
        const int scheme = key - Qt::Key_0;
        // The number is kept even on the start screen, where the panels are not recoloured.
        if (!startShowing) {
            if (scheme == 1)
                ApplyColourScheme1(*this);
            else if (scheme == 2)
                ApplyColourScheme2(*this);
            else
                ApplyColourScheme3(*this);
        }
        ColourScheme = static_cast<std::int16_t>(scheme);
        return true;
    }
    case Qt::Key_B:
        if (enabled("cmdBottleBack"))
            cmdBottleBack_Click();
        if (enabled("Command4Back"))
            Command4Back_Click();
        return true;
    case Qt::Key_R:
        // Reload: leave a refinement mode first, so that no size box, enabled back button or
        // ticked adding entry outlives the fresh start.
        if (enabled("cmdBottleBack"))
            cmdBottleBack_Click();
        if (enabled("Command4Back"))
            Command4Back_Click();
        calMissList_->clear();
        ctrlMissList_->clear();
        CalMissSlot.clear();
        CtrlMissSlot.clear();
        Form_Load();
        return true;
    case Qt::Key_S:
        if (startShowing)
            ShowMainView();
        return true;
    case Qt::Key_X:
        hooks_.endProgram();
        return true;
    case Qt::Key_F1:
        if (!startShowing && !enabled("cmdBottleBack") && !enabled("Command4Back"))
            cmdHelp_Click();
        return true;
    default:
        return false;
    }
}

}  // namespace tovimar
