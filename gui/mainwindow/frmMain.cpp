#include "gui/mainwindow/frmMain.h"

#include "core/output/selection_file.h"
#include "core/selection/assay_rows.h"
#include "core/selection/result_lists.h"
#include "core/selection/rules.h"
#include "gui/mainwindow/colour_schemes.h"
#include "gui/mainwindow/focus_first.h"
#include "gui/mainwindow/help_overlay.h"
#include "gui/mainwindow/start_screen.h"
#include "gui/output/frmOutput.h"
#include "gui/output/laboratory_settings.h"
#include "gui/planning/frmOrder.h"
#include "gui/refinement/adding_view.h"
#include "gui/refinement/bottle_size_view.h"
#include "gui/selection/assay_panel.h"
#include "gui/selection/result_lists_view.h"
#include "gui/widgets/button_face.h"
#include "gui/widgets/confirmation_note.h"
#include "gui/widgets/picture_box.h"
#include "gui/widgets/twips.h"
#include "gui/widgets/widget_colours.h"

#include <QAccessibleWidget>
#include <QApplication>
#include <QCheckBox>
#include <QContextMenuEvent>
#include <QDropEvent>
#include <QElapsedTimer>
#include <QFileInfo>
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

// The file commands' dialogs, with what a save did said through `told`.
DialogHooks telling(DialogHooks hooks, std::function<void(const QString&)> told) {
    hooks.told = std::move(told);
    return hooks;
}

}  // namespace

frmMainHooks frmMainHooks::real() {
    static QElapsedTimer clock;
    if (!clock.isValid())
        clock.start();
    return {[](int ms) { QThread::msleep(static_cast<unsigned long>(ms)); },
            [] { return static_cast<std::int64_t>(clock.elapsed()); },
            [] { QCoreApplication::exit(0); },
            DialogHooks::real(),
            RecoveryCopy::DefaultFolder(),
            AskRestore};
}

frmMain::frmMain(frmMainHooks hooks, QWidget* parent)
    : QWidget(parent), hooks_(std::move(hooks)), recovery_(hooks_.recoveryFolder),
      commands_(document_.order(),
                telling(std::move(hooks_.dialogs), [this](const QString& what) { told_->Tell(what); }),
                this) {
    setObjectName(QStringLiteral("frmMain"));
    [[maybe_unused]] static const bool announcedAsWindow =
        (QAccessible::installFactory(windowAccessible), true);
    setWindowTitle(kCaption);
    setFixedSize(px(15510), px(11445));
    setAcceptDrops(true);  // a selection file dropped on the window opens
    buildControls();
    // Where the history starts: with the laboratory kept, which the load's reset gives the order.
    document_.edit().details.laboratory = SavedLaboratory();
    document_.SetScreen([this] { return screenNow(); });
    connect(&document_, &OrderDocument::restored, this, &frmMain::showRestored);
    connect(&document_, &OrderDocument::planChanged, this, &frmMain::planChanged);
    connect(&document_, &OrderDocument::fileChanged, this, &frmMain::showTitle);
    keepTimer_ = new QTimer(this);
    keepTimer_->setSingleShot(true);
    keepTimer_->setInterval(1000);
    connect(keepTimer_, &QTimer::timeout, this, &frmMain::keepWork);
    for (auto changed :
         {&OrderDocument::orderChanged, &OrderDocument::planChanged, &OrderDocument::fileChanged})
        connect(&document_, changed, this, &frmMain::scheduleKeeping);
    connect(&document_, &OrderDocument::restored, this, &frmMain::scheduleKeeping);
    // The desktop's logout may end the program without closing the window.
    connect(qApp, &QGuiApplication::commitDataRequest, this, &frmMain::keepWork);
    qApp->installEventFilter(this);
    Form_Load();
    const StartPictures pictures = LoadStartPictures();
    setWindowIcon(QIcon(QPixmap::fromImage(pictures.icon)));
    start_->SetPicture(pictures.start);
    banner_->setPixmap(QPixmap::fromImage(pictures.banner));
}

frmMain::~frmMain() {
    keepWork();  // however the program ends, what is not saved is kept
    // The order window, a child, reads the plan as it hides; the document, a member, would be gone
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
    banner_->setAttribute(Qt::WA_OpaquePaintEvent);  // the picture covers it
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
    // Right of the lists, between the frames and the command buttons: the strip below the buttons
    // is the banner's while nothing is listed.
    told_ = new ConfirmationNote(this, twipsRect(12240, 6465, 3210, 570));
}

// The assay panel, the lists, the refinement views and the buttons: built at the user's first
// action on the window (a key or a click, the start picture's included) or wherever something needs
// them, in the state the load and the resets so far have left the window in. The start screen
// shows none of them, and a window left on it holds none of their memory.
void frmMain::ensureViews() {
    if (panel_)
        return;
    const std::size_t first = controls_.all().size();
    panel_ = new AssayPanel(document_.edit().state, this, controls_);
    connect(panel_, &AssayPanel::changed, this, [this](const QString& what) {
        runRules();
        document_.Commit(what);
    });
    listsView_ = new ResultListsView(this, controls_);
    bottleSizes_ = new BottleSizeView(document_.edit(), this, controls_);
    connect(bottleSizes_, &BottleSizeView::changed, this,
            [this] { changedBy(QStringLiteral("bottle size")); });
    adding_ = new AddingView(document_.edit(), this, controls_);
    connect(adding_, &AddingView::changed, this, [this] { changedBy(QStringLiteral("adding items")); });

    panel_->PrepareFrames();
    panel_->ClearRows();
    listsView_->Reset();
    if (appliedScheme_ != 3)  // the boxes are made in the colours of scheme 3
        ApplyColourScheme(appliedScheme_);

    buildButtons();
    setMode(mode_);

    for (std::size_t i = first; i < controls_.all().size(); ++i)
        if (QWidget* w = controls_.all()[i]; !isBox(w))
            w->setAutoFillBackground(true);  // in the window's dark colours, as the load's pass has it
    if (!document_.CanUndo() && !document_.CanRedo())
        document_.Rebase();  // the boxes as built are where the history starts
}

// The buttons come after the views, as they stand on the screen: the keyboard reaches the panel
// first. They are hidden until the transition shows them.
void frmMain::buildButtons() {
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
}

bool frmMain::focusNextPrevChild(bool next) {
    if (mode_ == Mode::Help)
        return true;
    return QWidget::focusNextPrevChild(next);
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
    setMode(Mode::Main);
    if (animated)  // a start that opens a file keeps the copy for the next start
        offerRecovery();
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
    frmOutputHooks hooks = outputHooks_ ? outputHooks_() : frmOutputHooks::real();
    hooks.dialogs.told = [this](const QString& what) { told_->Tell(what); };
    frmOutput dialog(order(), std::move(hooks), this);
    dialog.exec();
}

void frmMain::SelectAllItems() {
    AddToOrder(document_.edit(), Addition::SelectAll, [](Order& o) { tovimar::SelectAllItems(o); });
}

void frmMain::changedBy(const QString& what) {
    orderChanged();
    document_.Commit(what);
}

void frmMain::runRules() {
    tovimar::update(document_.edit());
    orderChanged();
}

// The caption alone until a selection file is opened or saved; then the file's name after it, marked
// while the order differs from what the file holds.
void frmMain::showTitle() {
    const QString& path = document_.FilePath();
    setWindowTitle(path.isEmpty() ? kCaption
                                  : kCaption + QStringLiteral(" - ") + QFileInfo(path).fileName() +
                                        QStringLiteral("[*]"));
    setWindowModified(document_.IsModified());
}

void frmMain::UndoLast() {
    document_.Undo();
}

void frmMain::RedoLast() {
    document_.Redo();
}

ScreenState frmMain::screenNow() const {
    return {panel_ ? panel_->Boxes() : std::vector<std::uint8_t>{}, lists_.listed, lists_.headed};
}

// The views show the order put back; a refinement view is built again from it, the lists show it
// as they did then, or the banner where they had been reset.
void frmMain::showRestored(const ScreenState& screen, const QString& said) {
    if (panel_)
        panel_->ShowBoxes(screen.boxes);
    lists_ = {screen.listed, screen.headed};
    // A refinement view is built again; the focus goes to its first control, as on entering it,
    // rather than to whatever follows the box it was on.
    if (mode_ == Mode::BottleSizes) {
        bottleSizes_->Show(ColourScheme);
        focusFirst({bottleSizes_->FirstSizeBox(), button(Command::BottleSizesBack)});
    } else if (mode_ == Mode::Adding) {
        adding_->Show();
        focusFirst({adding_->FirstList(), button(Command::AddingBack)});
    }
    if (lists_.listed)
        orderChanged();
    else if (panel_)
        listsView_->Reset();
    applyListLook();
    setAccessibleDescription(said);
    QAccessibleEvent told(this, QAccessible::DescriptionChanged);
    QAccessible::updateAccessibility(&told);
}

// The one place the lists are refilled. Where the mode hides them (the start screen, help and the
// refinement views) they are not: they show the order again as that mode is left.
void frmMain::planChanged() {
    // After a reset the banner stands where the lists will be until something is listed; a
    // quantity or figure lists nothing new.
    if (lists_.listed)
        orderChanged();
}

void frmMain::orderChanged() {
    if (LookOf(mode_)[Part::ResultLists] == Look::Hidden)
        return;
    FillCalibList();
    FillCtrlList();
    applyListLook();
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
    lists_ = {true, true};
    CalibListLines(order(), calibLines_);
    CalibListReasons(order(), calibTips_);
    listsView_->FillCalibList(calibLines_, calibTips_);
}

void frmMain::FillCtrlList() {
    lists_ = {true, true};
    CtrlListLines(order(), ctrlLines_);
    CtrlListReasons(order(), ctrlTips_);
    listsView_->FillCtrlList(ctrlLines_, ctrlTips_);
}

// ---- Reset -----------------------------------------------------------------------------------

void frmMain::ResetSelection() {
    const OrderDocument::Group step(document_, QStringLiteral("reset"));
    // From the first reset on, the window sees its command keys wherever the focus is.
    keyPreview_ = true;

    icon1_->setGeometry(twipsRect(13680, 10440, 1950, 1080));

    // Before the panel is built nothing can have been ticked: the state is as the reset leaves it.
    if (panel_)
        panel_->ClearRows();
    Order& order = document_.edit();
    static_cast<OrderFlags&>(order) = OrderFlags{};  // nothing ordered, every size the standard
    order.provenance.Clear();                        // also when no ticked row below runs the rules
    order.plan.ClearTyped();                         // the lab's figures stay
    order.details = {SavedLaboratory(), {}, {}};     // a new order of the laboratory kept
    // Every tick box unticked through its own handling, so each row clears what it holds.
    for (QWidget* w : controls_.all())
        if (auto* box = qobject_cast<QCheckBox*>(w))
            box->setChecked(false);
    if (panel_)
        listsView_->Reset();

    // Every reset ends as the start does: the banner shown, the small picture hidden.
    lists_ = {};
    applyListLook();
}

// ---- Refinement views ------------------------------------------------------------------------

// The entry button gives way to the back button in its place, the assay frames, headings, lists
// and banner give way to the view's own controls, and every command but exit waits until the
// view is left (the mode table). On leaving, the lists are headed for the order again.
void frmMain::leaveRefinement() {
    lists_.headed = true;
    setMode(Mode::Main);
    listsView_->HeadForOrder();
}

void frmMain::cmdBottle_Click() {
    setMode(Mode::BottleSizes);
    listsView_->HeadForBottleSizes();
}

void frmMain::cmdBottleBack_Click() {
    leaveRefinement();
    orderChanged();  // the sizes chosen
}

void frmMain::Command4_Click() {
    setMode(Mode::Adding);
    listsView_->HeadForAdding();
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
    // The lists come back, listed or not, and the small picture with them.
    lists_.listed = true;
    setMode(Mode::Main);
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

}  // namespace tovimar
