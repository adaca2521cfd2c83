// The main window's modes: what each shows, enables and where the focus goes.
#include "core/selection/assay_rows.h"
#include "gui/mainwindow/focus_first.h"
#include "gui/mainwindow/frmMain.h"
#include "gui/mainwindow/help_overlay.h"
#include "gui/mainwindow/start_screen.h"
#include "gui/refinement/adding_view.h"
#include "gui/refinement/bottle_size_view.h"
#include "gui/selection/assay_panel.h"
#include "gui/selection/result_lists_view.h"
#include "gui/widgets/picture_box.h"
#include "gui/widgets/twips.h"

#include <QPushButton>

namespace tovimar {

namespace {}  // namespace

void frmMain::setMode(Mode mode) {
    const Mode from = mode_;
    if (mode != from) {
        // Let go of the focus before its control may be hidden: the toolkit would pass it on to
        // the next control in line (a hidden list's entry, EXIT) and a screen reader would say so.
        if (QWidget* had = focusWidget()) {
            if (mode == Mode::Help)
                focusBeforeHelp_ = had;
            had->clearFocus();
        } else if (mode == Mode::Help) {
            focusBeforeHelp_ = nullptr;
        }
    }
    mode_ = mode;
    applyLook();
    followFocus(from);
}

void frmMain::applyLook() {
    const ModeLook& look = LookOf(mode_);
    const auto showAs = [this](Look l, auto&& set) { set(Shows(l, lists_)); };
    showAs(look[Part::StartPicture], [this](bool on) {
        if (!on)
            start_->Hide();
        else if (!start_->IsShown())
            start_->Show();
    });
    showAs(look[Part::HelpPanel], [this](bool on) {
        if (on)  // the example row takes the ORLAN colour the panel shows
            help_->ShowHelp(panel_->row(AssayRow::OrlanAmphXtc).select->palette().color(QPalette::Window));
        else
            help_->Hide();
    });
    if (!panel_) {  // the rest is built once the start screen was first shown
        applyListLook();
        return;
    }
    for (std::size_t i = 0; i < kCommandCount; ++i) {
        const ButtonLook& b = look.buttons[i];
        if (b.left != 0)
            buttons_[i]->move(px(b.left), buttons_[i]->y());
        buttons_[i]->setEnabled(b.enabled);
        buttons_[i]->setVisible(b.shown);
    }
    showAs(look[Part::AssayFrames], [this](bool on) { panel_->SetFramesVisible(on); });
    showAs(look[Part::AssayHeadings], [this](bool on) { panel_->SetHeadingsVisible(on); });
    showAs(look[Part::BottleSizeFrames], [this](bool on) {
        if (on)
            bottleSizes_->Show(ColourScheme);
        else
            bottleSizes_->Hide();
    });
    showAs(look[Part::AddingLists], [this](bool on) {
        if (on)
            adding_->Show();
        else
            adding_->Hide();
    });
    applyListLook();
}

void frmMain::applyListLook() {
    const ModeLook& look = LookOf(mode_);
    banner_->setVisible(Shows(look[Part::Banner], lists_));
    icon1_->setVisible(Shows(look[Part::Icon], lists_));
    if (!panel_)
        return;
    listsView_->SetListsVisible(Shows(look[Part::ResultLists], lists_));
    listsView_->SetCalibHeadingVisible(Shows(look[Part::CalibHeading], lists_));
    listsView_->SetCtrlHeadingVisible(Shows(look[Part::CtrlHeading], lists_));
}

void frmMain::followFocus(Mode from) {
    if (mode_ == from && mode_ != Mode::Start)
        return;  // help again over help, or the look applied afresh: the focus stays
    switch (mode_) {
    case Mode::Start:
        focusFirst({builtControl(QStringLiteral("picStart"))});
        return;
    case Mode::Help:
        focusFirst({builtControl(QStringLiteral("picHelp"))});
        return;
    case Mode::BottleSizes:
        focusFirst({bottleSizes_->FirstSizeBox(), button(Command::BottleSizesBack)});
        return;
    case Mode::Adding:
        focusFirst({adding_->FirstList(), button(Command::AddingBack)});
        return;
    case Mode::Main:
        break;
    }
    switch (from) {
    case Mode::Start:  // the first box of the panel, as the eye reads it, its focus mark shown
        // The toolkit draws the mark only once the keyboard has moved the focus in the window.
        setAttribute(Qt::WA_KeyboardFocusChange);
        focusFirst({panel_->row(AssayRows().front().key).select}, Qt::TabFocusReason);
        return;
    case Mode::Help:  // once the lists are back: picHelp_Click
        return;
    case Mode::BottleSizes:
        focusFirst({button(Command::BottleSizes)});
        return;
    case Mode::Adding:
        focusFirst({button(Command::Adding)});
        return;
    case Mode::Main:
        return;
    }
}

}  // namespace tovimar
