#include "gui/mainwindow/frmMain.h"

#include "core/output/selection_file.h"
#include "core/selection/result_lists.h"
#include "core/selection/rules.h"
#include "gui/mainwindow/colour_schemes.h"
#include "gui/mainwindow/command_keys.h"
#include "gui/mainwindow/help_overlay.h"
#include "gui/mainwindow/start_screen.h"
#include "gui/refinement/adding_view.h"
#include "gui/refinement/bottle_size_view.h"
#include "gui/selection/assay_panel.h"
#include "gui/selection/result_lists_view.h"
#include "gui/widgets/button_face.h"
#include "gui/widgets/picture_box.h"
#include "gui/widgets/twips.h"
#include "gui/widgets/widget_colours.h"

#include <QApplication>
#include <QCheckBox>
#include <QContextMenuEvent>
#include <QDropEvent>
#include <QElapsedTimer>
#include <QKeyEvent>
#include <QPushButton>
#include <QThread>
#include <QTimer>

namespace tovimar {

namespace {

const QString kCaption =
    QStringLiteral("Nordvale Tovimar Vers. 2011  - assay order builder, Nordvale Diagnostics");

// The assay check boxes and option buttons keep their own colours through the dark pass.
bool isBox(const QString& name) {
    return name.startsWith(QLatin1String("Check")) || name.startsWith(QLatin1String("Optio"));
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
    : QWidget(parent), hooks_(std::move(hooks)), commands_(cat_, std::move(hooks_.dialogs), this) {
    setObjectName(QStringLiteral("frmMain"));
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

frmMain::~frmMain() = default;

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
    adding_ = new AddingView(cat_, provenance_, this, controls_);

    panel_->PrepareFrames();
    panel_->SetHeadingsVisible(false);
    panel_->ClearRows();
    lists_->Reset();
    bottleSizes_->Hide();
    adding_->Hide();
    if (appliedScheme_ != 3)  // the boxes are made in the colours of scheme 3
        ApplyColourScheme(appliedScheme_);

    // The buttons come after the views, as they stand on the screen: the keyboard reaches the
    // panel first. They are hidden until the transition shows them.
    icon1_->setPixmap(QPixmap(QStringLiteral(":/pictures/icon1.png")));  // shown from the main view on

    command2_ = makeButton("Command2", "RESET SELECTION", "btn_reset.png", 14640, 7080);
    command3_ = makeButton("Command3", "PRINT Selection", "btn_output.png", 14640, 7920);
    command1_ = makeButton("Command1", "EXIT Tovimar", "btn_exit.png", 14640, 8760);
    cmdBottle_ = makeButton("cmdBottle", "CHOOSE BOTTLE SIZE", "btn_bottle.png", 13800, 7080);
    command4_ = makeButton("Command4", "ADD ADDITIONAL CAL & CTRLS", "btn_add.png", 13800, 7920);
    cmdHelp_ = makeButton("cmdHelp", "SHOW HELP", "btn_help.png", 13800, 8760);
    cmdBottleBack_ = makeButton("cmdBottleBack", "CHOOSE BOTTLE SIZE", "btn_bottle.png", 12960, 7080);
    command4Back_ = makeButton("Command4Back", "ADD ADDITIONAL CAL & CTRLS", "btn_add.png", 12960, 7920);
    for (QPushButton* b : {cmdBottleBack_, command4Back_}) {
        b->setEnabled(false);
        b->hide();
    }
    connect(command1_, &QPushButton::clicked, this, &frmMain::Command1_Click);
    connect(command2_, &QPushButton::clicked, this, &frmMain::Command2_Click);
    connect(command3_, &QPushButton::clicked, this, &frmMain::Command3_Click);
    connect(cmdBottle_, &QPushButton::clicked, this, &frmMain::cmdBottle_Click);
    connect(cmdBottleBack_, &QPushButton::clicked, this, &frmMain::cmdBottleBack_Click);
    connect(command4_, &QPushButton::clicked, this, &frmMain::Command4_Click);
    connect(command4Back_, &QPushButton::clicked, this, &frmMain::Command4Back_Click);
    connect(cmdHelp_, &QPushButton::clicked, this, &frmMain::cmdHelp_Click);

    for (std::size_t i = first; i < controls_.all().size(); ++i)
        if (QWidget* w = controls_.all()[i]; !isBox(w->objectName()))
            w->setAutoFillBackground(true);  // in the window's dark colours, as the load's pass has it
}

bool frmMain::event(QEvent* e) {
    if (e->type() == QEvent::Paint && !panel_)
        QTimer::singleShot(0, this, &frmMain::ensureViews);  // once the start screen is on the screen
    return QWidget::event(e);
}

// ---- Load and transition ---------------------------------------------------------------------

void frmMain::Form_Load() {
    mode_ = Mode::Start;
    help_->Hide();
    if (panel_) {  // built once the start screen was first shown
        for (QPushButton* b : {command1_, command2_, command3_, command4_, command4Back_, cmdBottle_,
                               cmdBottleBack_, cmdHelp_})
            b->hide();
        panel_->SetHeadingsVisible(false);
    }

    // Dark pass: the window's colours, which every control but the assay boxes and options
    // (whose own colours stay) takes from it; each fills its background with them.
    setColours(this, palette::kDark, darkPassText());
    for (QWidget* w : controls_.all())
        if (!isBox(w->objectName()))
            w->setAutoFillBackground(true);
    if (panel_)
        panel_->PrepareFrames();

    start_->Show();  // in front of the banner
    banner_->setGeometry(twipsRect(0, 9840, 15255, 1620));
    banner_->hide();

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
    for (QWidget* w : controls_.all())
        if (w->objectName().startsWith(QLatin1String("Pict")))
            w->hide();
    panel_->SetHeadingsVisible(true);
    panel_->PlaceForGrowth();

    if (animated)
        growFrames();
    else
        panel_->Grow(20 * 315);

    for (QWidget* w : controls_.all())
        if (w->objectName().startsWith(QLatin1String("Pict")))
            w->show();
    // Reset, output, exit, bottle sizes, add, help: one after the other.
    for (QPushButton* b : {command2_, command3_, command1_, cmdBottle_, command4_, cmdHelp_}) {
        if (animated)
            hooks_.pause(300);
        b->setEnabled(true);
        b->show();
        b->repaint();
    }
    start_->Hide();
    banner_->show();
    mode_ = Mode::Main;
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
    FillCalibList();
    FillCtrlList();
}

void frmMain::ApplyColourScheme(int scheme) {
    if (scheme == 1)
        ApplyColourScheme1(*this);
    else if (scheme == 2)
        ApplyColourScheme2(*this);
    else
        ApplyColourScheme3(*this);
    appliedScheme_ = scheme;
}

// ---- Result lists ----------------------------------------------------------------------------

void frmMain::FillCalibList() {
    banner_->hide();
    icon1_->show();
    CalibListLines(cat_, calibLines_);
    CalibListReasons(cat_, provenance_, calibTips_);
    lists_->FillCalibList(calibLines_, calibTips_);
}

void frmMain::FillCtrlList() {
    banner_->hide();
    icon1_->show();
    CtrlListLines(cat_, ctrlLines_);
    CtrlListReasons(cat_, provenance_, ctrlTips_);
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
    // Every tick box unticked through its own handling, so each row clears what it holds.
    for (QWidget* w : controls_.all())
        if (auto* box = qobject_cast<QCheckBox*>(w);
            box && box->objectName().startsWith(QLatin1String("Check")))
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
// view is left.
void frmMain::enterRefinement(QPushButton* entry, QPushButton* back, QPushButton* otherEntry, Mode mode) {
    entry->setEnabled(false);
    entry->hide();
    back->move(px(13800), back->y());
    back->setEnabled(true);
    back->show();
    panel_->SetFramesVisible(false);
    banner_->hide();
    icon1_->show();
    for (QPushButton* b : {command2_, command3_, otherEntry, cmdHelp_})
        b->setEnabled(false);
    panel_->SetHeadingsVisible(false);
    lists_->SetHeadingsVisible(false);
    lists_->HideLists();
    mode_ = mode;
}

void frmMain::leaveRefinement(QPushButton* entry, QPushButton* back, QPushButton* otherEntry) {
    entry->setEnabled(true);
    entry->show();
    back->setEnabled(false);
    back->hide();
    panel_->SetFramesVisible(true);
    for (QPushButton* b : {command2_, command3_, otherEntry, cmdHelp_})
        b->setEnabled(true);
    lists_->HeadForOrder();
    panel_->SetHeadingsVisible(true);
    lists_->SetHeadingsVisible(true);
    mode_ = Mode::Main;
}

void frmMain::cmdBottle_Click() {
    enterRefinement(cmdBottle_, cmdBottleBack_, command4_, Mode::BottleSizes);
    lists_->HeadForBottleSizes();
    bottleSizes_->Show(ColourScheme);
}

void frmMain::cmdBottleBack_Click() {
    leaveRefinement(cmdBottle_, cmdBottleBack_, command4_);
    bottleSizes_->Hide();
    // Controls have no size variants: only the calibrator list changes.
    lists_->ShowListsNow();
    FillCalibList();
}

void frmMain::Command4_Click() {
    enterRefinement(command4_, command4Back_, cmdBottle_, Mode::Adding);
    lists_->HeadForAdding();
    adding_->Show();
}

void frmMain::Command4Back_Click() {
    leaveRefinement(command4_, command4Back_, cmdBottle_);
    adding_->Hide();
    adding_->ReadCalMissList();
    FillCalibList();
    adding_->ReadCtrlMissList();
    FillCtrlList();
}

// ---- Help ------------------------------------------------------------------------------------

void frmMain::cmdHelp_Click() {
    ShowHelp();
}

void frmMain::ShowHelp() {
    lists_->HideLists();
    icon1_->hide();
    banner_->show();
    // The example row takes the ORLAN colour the panel shows.
    help_->ShowHelp(builtControl(QStringLiteral("Check1"))->palette().color(QPalette::Window));
    // The exit button works in every view: it stays in front of the help panel.
    command1_->raise();
    mode_ = Mode::Help;
}

void frmMain::picHelp_Click() {
    help_->Hide();
    banner_->hide();
    lists_->ShowListsNow();
    icon1_->show();
    mode_ = Mode::Main;
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

// ---- The selection as a file, and the order leaving the program: the file commands' room ------

bool frmMain::OpenSelectionFile(const QString& path) {
    const std::optional<Selection> selection =
        commands_.selectionToOpen(path, SelectionOnScreen(state_, cat_));
    if (!selection)
        return false;
    // As the clicks would give it: the reset, each row ticked with its cut-off and QUAL (the
    // rules run for each), then the bottle sizes, then the additions, then both lists.
    ResetSelection();
    for (const SelectedAssay& a : selection->assays)
        panel_->TickAsClicks(a.row, a.cut, a.qual);
    ApplySizesAndAdditions(*selection, cat_, provenance_);
    FillCalibList();
    FillCtrlList();
    return true;
}

void frmMain::OpenSelection_Click() {
    if (const QString path = commands_.chooseSelection(); !path.isEmpty())
        OpenSelectionFile(path);
}

void frmMain::SaveSelection_Click() {
    commands_.saveSelection(SelectionOf(state_, cat_));
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

void frmMain::contextMenuEvent(QContextMenuEvent* e) {
    if (mode_ == Mode::Main)
        ShowOrderMenu(this, e->globalPos(),
                      {[this] { OpenSelection_Click(); }, [this] { SaveSelection_Click(); },
                       [this] { CopyOrder_Click(); }, [this] { ExportCsv_Click(); },
                       [this] { ExportPdf_Click(); }});
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
