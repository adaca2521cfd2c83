#include "gui/mainwindow/frmMain.h"

#include "core/output/selection_file.h"
#include "core/selection/assay_rows.h"
#include "core/selection/result_lists.h"
#include "core/selection/rules.h"
#include "gui/mainwindow/colour_schemes.h"
#include "gui/mainwindow/command_keys.h"
#include "gui/mainwindow/help_overlay.h"
#include "gui/mainwindow/start_screen.h"
#include "gui/planning/frmOrder.h"
#include "gui/refinement/adding_view.h"
#include "gui/refinement/bottle_size_view.h"
#include "gui/selection/assay_panel.h"
#include "gui/selection/result_lists_view.h"
#include "gui/widgets/button_face.h"
#include "gui/widgets/picture_box.h"
#include "gui/widgets/twips.h"
#include "gui/widgets/widget_colours.h"

#include <QAccessibleWidget>
#include <QApplication>
#include <QCheckBox>
#include <QContextMenuEvent>
#include <QDropEvent>
#include <QElapsedTimer>
#include <QKeyEvent>
#include <QPushButton>
#include <QRadioButton>
#include <QThread>
#include <QTimer>

namespace tovimar {

namespace {

const QString kCaption =
    QStringLiteral("Nordvale Tovimar Vers. 2011  - assay order builder, Nordvale Diagnostics");

// The tick boxes and option buttons (the assay boxes, the size-box templates, the help's example
// row) keep their own colours through the dark pass.
bool isBox(const QWidget* w) {
    return qobject_cast<const QCheckBox*>(w) || qobject_cast<const QRadioButton*>(w);
}

// Qt gives a top-level widget of no class it knows the role of a pane inside a window, which
// the screen reader bridge reports as a filler: the user would not hear that a window opened, nor
// its title. The main window is a window, named by its title.
QAccessibleInterface* windowAccessible(const QString& classname, QObject* object) {
    if (object && object->isWidgetType() && classname == QLatin1String(frmMain::staticMetaObject.className()))
        return new QAccessibleWidget(static_cast<QWidget*>(object), QAccessible::Window);
    return nullptr;
}

}  // namespace

frmMainHooks frmMainHooks::real() {
    static QElapsedTimer clock;
    if (!clock.isValid())
        clock.start();
    return {[](int ms) { QThread::msleep(static_cast<unsigned long>(ms)); },
            [] { return static_cast<std::int64_t>(clock.elapsed()); }, [] { QCoreApplication::exit(0); },
            DialogHooks::real()};
}

frmMain::frmMain(frmMainHooks hooks, QWidget* parent)
    : QWidget(parent), hooks_(std::move(hooks)), commands_(cat_, plan_, std::move(hooks_.dialogs), this) {
    setObjectName(QStringLiteral("frmMain"));
    [[maybe_unused]] static const bool announcedAsWindow =
        (QAccessible::installFactory(windowAccessible), true);
    setWindowTitle(kCaption);
    setFixedSize(px(15510), px(11445));
    setAcceptDrops(true);  // a selection file dropped on the window opens
    buildControls();
    qApp->installEventFilter(this);
    Form_Load();
    const StartPictures pictures = LoadStartPictures();
    setWindowIcon(QIcon(QPixmap::fromImage(pictures.icon)));
    start_->SetPicture(pictures.start);
    banner_->setPixmap(QPixmap::fromImage(pictures.banner));
}

frmMain::~frmMain() {
    // The order window, a child, reads the plan as it hides; the plan, a member, would be gone
    // before the base class destroys the children.
    delete orderWindow_;
}

QPushButton* frmMain::makeButton(const char* name, const char* tooltip, const char* picture, int l, int t) {
    auto* b = controls_.add(new QPushButton(this), QString::fromLatin1(name));
    b->setGeometry(twipsRect(l, t, 735, 735));
    b->setToolTip(QString::fromLatin1(tooltip));
    b->setAccessibleName(b->toolTip());
    b->setIcon(ButtonFace(QStringLiteral(":/pictures/") + QString::fromLatin1(picture)));
    b->setIconSize(QSize(32, 32));
    b->setFocusPolicy(Qt::TabFocus);
    return b;
}

void frmMain::buildControls() {
    // Creation order is the collection order that the reset and the load walk.
    start_ = new StartScreen(this, controls_);
    connect(start_, &StartScreen::clicked, this, &frmMain::picStart_Click);

    banner_ = controls_.add(new PictureBox(QStringLiteral("NV_Banner"), this), QStringLiteral("NV_Banner"));
    banner_->setGeometry(twipsRect(240, 9600, 15255, 1635));
    connect(banner_, &PictureBox::clicked, this, &frmMain::NV_Banner_Click);

    help_ = new HelpOverlay(this, controls_);
    connect(help_, &HelpOverlay::clicked, this, [this](int index) {
        if (index < 0)
            picHelp_Click();
        else
            Label13_Click(index);
    });

    icon1_ = controls_.add(new PictureBox(QStringLiteral("ICON1"), this), QStringLiteral("ICON1"));
    icon1_->setGeometry(twipsRect(13560, 10440, 1950, 1035));
    icon1_->hide();
}

// The assay panel, the lists, the refinement views and the buttons: built right after the start
// screen is first painted, or earlier where something needs them, in the state the load and the
// resets so far have left the window in.
void frmMain::ensureViews() {
    if (panel_)
        return;
    const std::size_t first = controls_.all().size();
    panel_ = new AssayPanel(state_, this, controls_);
    connect(panel_, &AssayPanel::changed, this, &frmMain::runRules);
    lists_ = new ResultListsView(this, controls_);
    bottleSizes_ = new BottleSizeView(cat_, this, controls_);
    connect(bottleSizes_, &BottleSizeView::changed, this, &frmMain::orderChanged);
    adding_ = new AddingView(cat_, provenance_, this, controls_);
    connect(adding_, &AddingView::changed, this, &frmMain::orderChanged);

    panel_->PrepareFrames();
    panel_->ClearRows();
    lists_->Reset();
    if (appliedScheme_ != 3)  // the boxes are made in the colours of scheme 3
        ApplyColourScheme(appliedScheme_);

    // The buttons come after the views, as they stand on the screen: the keyboard reaches the
    // panel first. They are hidden until the transition shows them.
    icon1_->setPixmap(QPixmap(QStringLiteral(":/pictures/icon1.png")));  // shown from the main view on
    struct Face {
        const char* tooltip;
        const char* picture;
        int left, top;
        void (frmMain::*click)();
    };
    static constexpr std::array<Face, kCommandCount> faces{{
        {"RESET SELECTION", "btn_reset.png", 14640, 7080, &frmMain::Command2_Click},
        {"PRINT Selection", "btn_output.png", 14640, 7920, &frmMain::Command3_Click},
        {"EXIT Tovimar", "btn_exit.png", 14640, 8760, &frmMain::Command1_Click},
        {"CHOOSE BOTTLE SIZE", "btn_bottle.png", 13800, 7080, &frmMain::cmdBottle_Click},
        {"ADD ADDITIONAL CAL & CTRLS", "btn_add.png", 13800, 7920, &frmMain::Command4_Click},
        {"SHOW HELP", "btn_help.png", 13800, 8760, &frmMain::cmdHelp_Click},
        {"CHOOSE BOTTLE SIZE", "btn_bottle.png", 12960, 7080, &frmMain::cmdBottleBack_Click},
        {"ADD ADDITIONAL CAL & CTRLS", "btn_add.png", 12960, 7920, &frmMain::Command4Back_Click},
    }};
    for (std::size_t i = 0; i < kCommandCount; ++i) {
        const Face& f = faces[i];
        buttons_[i] =
            makeButton(CommandButtonName(static_cast<Command>(i)), f.tooltip, f.picture, f.left, f.top);
        connect(buttons_[i], &QPushButton::clicked, this, f.click);
    }
    // A back button wears its entry button's picture and tooltip; a screen reader says where it
    // leads and what becomes of the ticks.
    button(Command::BottleSizesBack)->setAccessibleName(QStringLiteral("Back to the assays"));
    button(Command::BottleSizesBack)
        ->setAccessibleDescription(QStringLiteral("Keeps the sizes ticked and goes back to the assays"));
    button(Command::AddingBack)->setAccessibleName(QStringLiteral("Back to the assays"));
    button(Command::AddingBack)
        ->setAccessibleDescription(QStringLiteral("Adds the ticked items and goes back to the assays"));
    setMode(mode_);

    for (std::size_t i = first; i < controls_.all().size(); ++i)
        if (QWidget* w = controls_.all()[i]; !isBox(w))
            w->setAutoFillBackground(true);  // in the window's dark colours, as the load's pass has it
}

bool frmMain::focusNextPrevChild(bool next) {
    if (mode_ == Mode::Help)
        return true;
    return QWidget::focusNextPrevChild(next);
}

bool frmMain::event(QEvent* e) {
    if (e->type() == QEvent::Paint && !panel_)
        QTimer::singleShot(0, this, &frmMain::ensureViews);  // once the start screen is on the screen
    return QWidget::event(e);
}

// ---- Load and transition ---------------------------------------------------------------------

void frmMain::Form_Load() {
    // Dark pass: the window's colours, which every control but the assay boxes and options
    // (whose own colours stay) takes from it; each fills its background with them.
    setColours(this, palette::kDark, darkPassText());
    for (QWidget* w : controls_.all())
        if (!isBox(w))
            w->setAutoFillBackground(true);
    if (panel_)
        panel_->PrepareFrames();

    banner_->setGeometry(twipsRect(0, 9840, 15255, 1620));
    setMode(Mode::Start);  // the start picture in front of the banner

    ApplyColourScheme(3);
    ColourScheme = 3;
    ResetSelection();
}

void frmMain::picStart_Click() {
    ShowMainView();
}

void frmMain::ShowMainView() {
    enterMainView(true);
}

void frmMain::ShowMainViewAtOnce() {
    enterMainView(false);
}

// The transition, or its end state at once.
void frmMain::enterMainView(bool animated) {
    ensureViews();
    panel_->SetOptionContainersVisible(false);
    panel_->SetHeadingsVisible(true);
    panel_->PlaceForGrowth();

    if (animated)
        growFrames();
    else
        panel_->Grow(20 * 315);

    panel_->SetOptionContainersVisible(true);
    // Reset, output, exit, bottle sizes, add, help: one after the other.
    for (Command c : {Command::Reset, Command::Output, Command::Exit, Command::BottleSizes, Command::Adding,
                      Command::Help}) {
        if (animated)
            hooks_.pause(300);
        button(c)->setEnabled(true);
        button(c)->show();
        button(c)->repaint();
    }
    banner_->show();  // as the start screen left it: nothing is listed yet
    setMode(Mode::Main);
}

// The frames grow in 301 steps of 20 twips, one step a millisecond. Repainting four frames takes
// longer than that on a slow display, so each step is paced to the clock: a step that is already
// late is set but not painted, and the next painted step shows it. The path and the end are the
// same either way; only the number of paints adapts.
void frmMain::growFrames() {
    const std::int64_t start = hooks_.clockMs();
    for (int step = 15; step <= 315; ++step) {
        panel_->Grow(20 * step);
        const std::int64_t deadline = start + (step - 14);
        if (step < 315 && hooks_.clockMs() >= deadline)
            continue;
        panel_->RepaintFrames();
        const std::int64_t left = deadline - hooks_.clockMs();
        if (left > 0)
            hooks_.pause(static_cast<int>(left));
    }
}

// ---- Modes -----------------------------------------------------------------------------------

namespace {

// Shows or hides a part as the mode's look says; a Kept part stays as it is.
template <typename Set>
void showAs(Look look, Set&& set) {
    if (look != Look::Kept)
        set(look == Look::Shown);
}

}  // namespace

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
    showAs(look[Part::Banner], [this](bool on) { banner_->setVisible(on); });
    showAs(look[Part::Icon], [this](bool on) { icon1_->setVisible(on); });
    if (!panel_)  // the rest is built once the start screen was first shown
        return;
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
    showAs(look[Part::ResultLists], [this](bool on) {
        if (on)
            lists_->ShowListsNow();
        else
            lists_->HideLists();
    });
    showAs(look[Part::CalibHeading], [this](bool on) { lists_->SetCalibHeadingVisible(on); });
    showAs(look[Part::CtrlHeading], [this](bool on) { lists_->SetCtrlHeadingVisible(on); });
}

namespace {

bool canTakeFocus(const QWidget* w) {
    return w && !w->isHidden() && w->isEnabled() && w->isVisibleTo(w->window());
}

// The first control of a view takes the focus; the others are tried in turn where it cannot.
void focusFirst(std::initializer_list<QWidget*> candidates) {
    for (QWidget* w : candidates)
        if (canTakeFocus(w)) {
            w->setFocus(Qt::OtherFocusReason);
            return;
        }
}

}  // namespace

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
    case Mode::Start:  // the first box of the panel, as the eye reads it
        focusFirst({panel_->row(AssayRows().front().key).select});
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

// ---- Commands --------------------------------------------------------------------------------

void frmMain::Command1_Click() {
    hooks_.endProgram();
}

void frmMain::Command2_Click() {
    ResetSelection();
}

void frmMain::Command3_Click() {
    if (outputAction_)
        outputAction_();
}

void frmMain::SelectAllItems() {
    AddToOrder(cat_, provenance_, Addition::SelectAll, [](Catalogue& c) { tovimar::SelectAllItems(c); });
}

void frmMain::runRules() {
    tovimar::update(state_, cat_, provenance_);
    orderChanged();
}

// The one place the lists are refilled. Where the mode hides them (the start screen, help and the
// refinement views) they are not: they show the order again as that mode is left.
void frmMain::planChanged() {
    // After a reset the banner stands where the lists will be until something is listed; a
    // quantity or figure lists nothing new.
    if (banner_->isHidden())
        orderChanged();
}

void frmMain::orderChanged() {
    if (LookOf(mode_)[Part::ResultLists] == Look::Hidden)
        return;
    FillCalibList();
    FillCtrlList();
}

// Views not built yet take the scheme when they are; so does the help's example row.
void frmMain::ApplyColourScheme(int scheme) {
    std::vector<ColouredBox> boxes = help_->ColouredBoxes();
    if (panel_) {
        const std::vector<ColouredBox> rows = panel_->ColouredBoxes();
        boxes.insert(boxes.begin(), rows.begin(), rows.end());
    }
    if (scheme == 1)
        ApplyColourScheme1(boxes);
    else if (scheme == 2)
        ApplyColourScheme2(boxes);
    else
        ApplyColourScheme3(boxes);
    appliedScheme_ = scheme;
}

// ---- Result lists ----------------------------------------------------------------------------

void frmMain::FillCalibList() {
    banner_->hide();
    icon1_->show();
    CalibListLines(cat_, plan_, calibLines_);
    CalibListReasons(cat_, provenance_, plan_, calibTips_);
    lists_->FillCalibList(calibLines_, calibTips_);
}

void frmMain::FillCtrlList() {
    banner_->hide();
    icon1_->show();
    CtrlListLines(cat_, plan_, ctrlLines_);
    CtrlListReasons(cat_, provenance_, plan_, ctrlTips_);
    lists_->FillCtrlList(ctrlLines_, ctrlTips_);
}

// ---- Reset -----------------------------------------------------------------------------------

void frmMain::ResetSelection() {
    // From the first reset on, the window sees its command keys wherever the focus is.
    keyPreview_ = true;

    // Leave no refinement view showing.
    if (panel_) {
        bottleSizes_->Hide();
        adding_->Hide();
    }

    icon1_->setGeometry(twipsRect(13680, 10440, 1950, 1080));
    icon1_->hide();
    banner_->show();

    // Before the panel is built nothing can have been ticked: the state is as the reset leaves it.
    if (panel_)
        panel_->ClearRows();
    LoadCatalogue(cat_);
    ClearOrderFlags(cat_);
    provenance_.Clear();  // also when no ticked row below runs the rules
    plan_.ClearTyped();   // the lab's figures stay
    // Every tick box unticked through its own handling, so each row clears what it holds.
    for (QWidget* w : controls_.all())
        if (auto* box = qobject_cast<QCheckBox*>(w))
            box->setChecked(false);
    if (panel_)
        lists_->Reset();

    // Every reset ends as the start does: the banner shown, the small picture hidden.
    banner_->show();
    icon1_->hide();
}

// ---- Refinement views ------------------------------------------------------------------------

// The entry button gives way to the back button in its place, the assay frames, headings, lists
// and banner give way to the view's own controls, and every command but exit waits until the
// view is left (the mode table). On leaving, the lists are headed for the order again.
void frmMain::leaveRefinement() {
    setMode(Mode::Main);
    lists_->HeadForOrder();
    lists_->SetHeadingsVisible(true);
}

void frmMain::cmdBottle_Click() {
    setMode(Mode::BottleSizes);
    lists_->HeadForBottleSizes();
}

void frmMain::cmdBottleBack_Click() {
    leaveRefinement();
    lists_->ShowListsNow();
    orderChanged();  // the sizes chosen
}

void frmMain::Command4_Click() {
    setMode(Mode::Adding);
    lists_->HeadForAdding();
}

void frmMain::Command4Back_Click() {
    leaveRefinement();
    adding_->AddTicked();  // the lists show what was added
}

// ---- Help ------------------------------------------------------------------------------------

void frmMain::cmdHelp_Click() {
    ShowHelp();
}

void frmMain::ShowHelp() {
    setMode(Mode::Help);
    // The exit button works in every view: it stays in front of the help panel.
    button(Command::Exit)->raise();
}

void frmMain::picHelp_Click() {
    setMode(Mode::Main);
    // The lists come back, listed or not, and the small picture with them.
    banner_->hide();
    lists_->ShowListsNow();
    icon1_->show();
    // Where it was before help, now that the lists are back; the help button where that is gone.
    focusFirst({focusBeforeHelp_.data(), button(Command::Help)});
    focusBeforeHelp_ = nullptr;
}

void frmMain::Label13_Click(int) {
    picHelp_Click();
}

void frmMain::NV_Banner_Click() {
    if (mode_ == Mode::Help)
        picHelp_Click();
}

// ---- Command keys ----------------------------------------------------------------------------

// They reach the window wherever the focus is (a check box, an option, a list), but not while a
// modal dialog is open over it.
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

namespace {

constexpr unsigned in(std::initializer_list<Mode> modes) {
    unsigned bits = 0;
    for (Mode m : modes)
        bits |= 1u << static_cast<unsigned>(m);
    return bits;
}

constexpr unsigned kEveryMode = in({Mode::Start, Mode::Main, Mode::Help, Mode::BottleSizes, Mode::Adding});
constexpr unsigned kButStart = kEveryMode & ~in({Mode::Start});

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
        // Select all: Shift alone, and only outside the start screen and help.
        {in({M::Main}), Qt::Key_A, Held::Shift,
         [](W& w) {
             w.SelectAllItems();
             w.orderChanged();
         }},
        {in({M::BottleSizes}), Qt::Key_A, Held::Shift, [](W& w) { w.bottleSizes_->SetAllSizeBoxes(true); }},
        {in({M::Adding}), Qt::Key_A, Held::Shift, [](W& w) { w.adding_->SetAllMissEntries(true); }},
        {in({M::Start, M::Help}), Qt::Key_A, Held::Shift, nullptr},
        // Clear: what the mode shows.
        {in({M::Help}), Qt::Key_Escape, Held::Any, [](W& w) { w.picHelp_Click(); }},
        {in({M::BottleSizes}), Qt::Key_Escape, Held::Any,
         [](W& w) { w.bottleSizes_->SetAllSizeBoxes(false); }},
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
        {in({M::BottleSizes}), Qt::Key_R, Held::Any,
         [](W& w) {
             w.cmdBottleBack_Click();
             w.reload();
         }},
        {in({M::Adding}), Qt::Key_R, Held::Any,
         [](W& w) {
             w.Command4Back_Click();
             w.reload();
         }},
        {in({M::Start, M::Main, M::Help}), Qt::Key_R, Held::Any, [](W& w) { w.reload(); }},
        {in({M::Start}), Qt::Key_S, Held::Any, [](W& w) { w.ShowMainView(); }},
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

bool frmMain::Form_KeyDown(int key, Qt::KeyboardModifiers modifiers) {
    const Qt::KeyboardModifiers held = modifiers & ~Qt::KeypadModifier;
    const auto fits = [held](Held h) {
        return h == Held::Any || (h == Held::None && held == Qt::NoModifier) ||
               (h == Held::Shift && held == Qt::ShiftModifier) ||
               (h == Held::Ctrl && held == Qt::ControlModifier);
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
    adding_->Clear();
    Form_Load();
}

// ---- The selection as a file, and the order leaving the program: the file commands' room ------

bool frmMain::OpenSelectionFile(const QString& path) {
    const std::optional<Selection> selection =
        commands_.selectionToOpen(path, SelectionOnScreen(state_, cat_, plan_));
    if (!selection)
        return false;
    // As the clicks would give it: the reset, each row ticked with its cut-off and QUAL (the
    // rules run for each), then the bottle sizes, then the additions; the file's quantities and
    // figures replace the plan, then both lists.
    ResetSelection();
    for (const SelectedAssay& a : selection->assays)
        panel_->TickAsClicks(a.row, a.cut, a.qual);
    ApplySizesAndAdditions(*selection, cat_, provenance_);
    plan_ = selection->plan;
    orderChanged();
    return true;
}

void frmMain::OpenSelection_Click() {
    if (const QString path = commands_.chooseSelection(); !path.isEmpty())
        OpenSelectionFile(path);
}

void frmMain::SaveSelection_Click() {
    commands_.saveSelection(SelectionOf(state_, cat_, plan_));
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
        orderWindow_ = new frmOrder(cat_, plan_, this);
        connect(orderWindow_, &frmOrder::changed, this, &frmMain::planChanged);
    }
    orderWindow_->Open();
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
                       [this] { ExportCsv_Click(); }, [this] { ExportPdf_Click(); }});
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
