#include "mainwindow/frmMain.h"

#include "mainwindow/colour_schemes.h"
#include "mainwindow/fonts.h"
#include "mainwindow/picture_box.h"
#include "mainwindow/tab_stop_list.h"
#include "mainwindow/twips.h"
#include "selection/assay_panel.h"
#include "selection/result_lists.h"
#include "selection/rules.h"

#include <QApplication>
#include <QCheckBox>
#include <QElapsedTimer>
#include <QPainter>
#include <QRadioButton>
#include <QThread>

namespace tovimar {

namespace {

const QString kCaption =
    QStringLiteral("Nordvale Tovimar Vers. 2011  - assay order builder, Nordvale Diagnostics");

// The ADULT frame's top during the transition; it grows once the others pass it.
constexpr int kAdultTop = 4000;

void setColours(QWidget* w, std::uint32_t back, const QColor& fore) {
    QPalette p = w->palette();
    for (QPalette::ColorRole r : {QPalette::Window, QPalette::Base, QPalette::Button})
        p.setColor(r, bgr(back));
    for (QPalette::ColorRole r : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText})
        p.setColor(r, fore);
    w->setPalette(p);
    w->setAutoFillBackground(true);
}

void setTextColour(QWidget* w, std::uint32_t colour) {
    QPalette p = w->palette();
    p.setColor(QPalette::WindowText, bgr(colour));
    w->setPalette(p);
}

// A button face, and a faded copy for while the button is disabled: the light faces otherwise
// look the same in both states on the dark buttons.
QIcon buttonFace(const QString& path) {
    const QPixmap face(path);
    QPixmap faded(face.size());
    faded.fill(Qt::transparent);
    QPainter p(&faded);
    p.setOpacity(0.3);
    p.drawPixmap(0, 0, face);
    p.end();
    QIcon icon;
    icon.addPixmap(face, QIcon::Normal);
    icon.addPixmap(faded, QIcon::Disabled);
    return icon;
}

bool isBox(const QString& name) {
    return name.startsWith(QLatin1String("Check")) || name.startsWith(QLatin1String("Optio"));
}

}  // namespace

frmMainHooks frmMainHooks::real() {
    static QElapsedTimer clock;
    if (!clock.isValid())
        clock.start();
    return {[](int ms) { QThread::msleep(static_cast<unsigned long>(ms)); },
            [] { return static_cast<std::int64_t>(clock.elapsed()); }, [] { QCoreApplication::exit(0); }};
}

frmMain::frmMain(frmMainHooks hooks, QWidget* parent) : QWidget(parent), hooks_(std::move(hooks)) {
    setObjectName(QStringLiteral("frmMain"));
    setWindowTitle(kCaption);
    setWindowIcon(QIcon(QStringLiteral(":/pictures/app_icon_48.png")));
    setFixedSize(px(15510), px(11445));
    buildControls();
    qApp->installEventFilter(this);
    Form_Load();
}

frmMain::~frmMain() = default;

template <typename W>
W* frmMain::add(W* widget, const QString& name) {
    widget->setObjectName(name);
    controls_.push_back(widget);
    return widget;
}

QWidget* frmMain::control(const QString& name) const {
    for (QWidget* w : controls_)
        if (w->objectName() == name)
            return w;
    return nullptr;
}

QGroupBox* frmMain::makeFrame(const QString& name, const QString& caption, int l, int t, int w, int h) {
    auto* f = add(new QGroupBox(caption, this), name);
    f->setGeometry(twipsRect(l, t, w, h));
    f->setFont(narrowFont(13, true));
    return f;
}

QLabel* frmMain::makeLabel(QWidget* parent, const QString& name, const QString& text, int l, int t, int w,
                           int h, double pointSize, bool bold) {
    auto* label = add(new QLabel(text, parent), name);
    label->setGeometry(twipsRect(l, t, w, h));
    label->setFont(narrowFont(pointSize, bold));
    return label;
}

QPushButton* frmMain::makeButton(const QString& name, const QString& tooltip, const QString& picture, int l,
                                 int t) {
    auto* b = add(new QPushButton(this), name);
    b->setGeometry(twipsRect(l, t, 735, 735));
    b->setToolTip(tooltip);
    b->setAccessibleName(tooltip);
    b->setIcon(buttonFace(QStringLiteral(":/pictures/") + picture));
    b->setIconSize(QSize(32, 32));
    b->setFocusPolicy(Qt::TabFocus);
    return b;
}

void frmMain::buildControls() {
    // Creation order is the collection order that the reset and the load walk.
    picStart_ = add(new PictureBox(QStringLiteral("picStart"), this), QStringLiteral("picStart"));
    picStart_->setPixmap(QPixmap(QStringLiteral(":/pictures/start.jpg")));
    picStart_->setGeometry(twipsRect(9000, 8160, 1920, 1080));
    picStart_->setCursor(Qt::PointingHandCursor);
    picStart_->hide();
    connect(picStart_, &PictureBox::clicked, this, &frmMain::picStart_Click);

    banner_ = add(new PictureBox(QStringLiteral("NV_Banner"), this), QStringLiteral("NV_Banner"));
    banner_->setPixmap(QPixmap(QStringLiteral(":/pictures/banner.jpg")));
    banner_->setGeometry(twipsRect(240, 9600, 15255, 1635));

    orlan_ = makeFrame(QStringLiteral("ORLAN_Frame"), QStringLiteral("ORLAN Assays"), 120, 0, 6300, 6375);
    vex_ = makeFrame(QStringLiteral("VEX_Frame"), QStringLiteral("VEX Assays"), 6555, 0, 5580, 6375);
    tox_ = makeFrame(QStringLiteral("TOX_Frame"), QStringLiteral("Serum TOX Assays"), 12320, 0, 3080, 2775);
    adult_ = makeFrame(QStringLiteral("ADULT_FRAME"), QStringLiteral("Adulteration Assays"), 12360, 3960,
                       3080, 2415);

    // Column headings of the frames.
    makeLabel(orlan_, QStringLiteral("Label3"), QStringLiteral("PARAMETER"), 240, 360, 1800, 300, 12);
    makeLabel(orlan_, QStringLiteral("Label2"), QStringLiteral("QUAL"), 2280, 360, 720, 300, 12);
    makeLabel(orlan_, QStringLiteral("Label1"), QStringLiteral("DESIRED CUTOFF"), 3360, 360, 2400, 300, 12);
    makeLabel(vex_, QStringLiteral("Label6"), QStringLiteral("PARAMETER"), 240, 360, 1800, 300, 12);
    makeLabel(vex_, QStringLiteral("Label7"), QStringLiteral("QUAL"), 2280, 360, 720, 300, 12);
    makeLabel(vex_, QStringLiteral("Label8"), QStringLiteral("DESIRED CUTOFF"), 3480, 360, 2000, 300, 12);
    makeLabel(tox_, QStringLiteral("Label9"), QStringLiteral("PARAMETER"), 240, 360, 1800, 300, 12);
    makeLabel(tox_, QStringLiteral("Label10"), QStringLiteral("QUAL"), 2280, 360, 720, 300, 12);
    makeLabel(adult_, QStringLiteral("Label14"), QStringLiteral("PARAMETER"), 240, 360, 1800, 300, 12);

    panel_ = new AssayPanel(
        state_,
        [this](Frame f) -> QWidget* {
            switch (f) {
            case Frame::Orlan:
                return orlan_;
            case Frame::Vex:
                return vex_;
            case Frame::Tox:
                return tox_;
            case Frame::Adult:
                return adult_;
            }
            return orlan_;
        },
        this);
    for (const AssayRowDef& def : AssayRows()) {
        const AssayPanel::RowWidgets& w = panel_->row(def.key);
        controls_.push_back(w.select);
        if (w.qual)
            controls_.push_back(w.qual);
        if (w.container) {
            controls_.push_back(w.container);
            for (QRadioButton* b : w.options)
                if (b)
                    controls_.push_back(b);
        }
    }
    connect(panel_, &AssayPanel::changed, this, &frmMain::runRules);

    label4_ = makeLabel(this, QStringLiteral("Label4"), QStringLiteral("REQUIRED CALIBRATORS"), 360, 6600,
                        3100, 375, 13.5);
    label5_ = makeLabel(this, QStringLiteral("Label5"), QStringLiteral("SUGGESTED CONTROLS"), 6340, 6600,
                        2895, 375, 13.5);
    calibList_ = add(new TabStopList(QStringLiteral("CalibList"), this), QStringLiteral("CalibList"));
    calibList_->setAccessibleName(QStringLiteral("REQUIRED CALIBRATORS"));
    ctrlList_ = add(new TabStopList(QStringLiteral("CtrlList"), this), QStringLiteral("CtrlList"));
    ctrlList_->setAccessibleName(QStringLiteral("SUGGESTED CONTROLS"));
    for (TabStopList* l : {calibList_, ctrlList_})
        l->setFont(narrowFont(10, true));

    reagBottleSizeFrame_ =
        makeFrame(QStringLiteral("ReagBottleSizeFrame"), QStringLiteral("Reagents"), 240, 8160, 1695, 1215);
    calBottleSizeFrame_ = makeFrame(QStringLiteral("CalBottleSizeFrame"), QStringLiteral("Calibrators"), 6360,
                                    8160, 1935, 1215);
    // Element 0 of each size-box array: the hidden template that the bottle-size mode copies.
    check20_[0] =
        add(makeSizeBox(reagBottleSizeFrame_, QStringLiteral("Check20"), 0, 5000), QStringLiteral("Check20"));
    check71_[0] =
        add(makeSizeBox(calBottleSizeFrame_, QStringLiteral("Check71"), 0, 4800), QStringLiteral("Check71"));
    calMissList_ = add(new QListWidget(this), QStringLiteral("CalMissList"));
    calMissList_->setGeometry(twipsRect(1920, 7080, 1725, 735));
    ctrlMissList_ = add(new QListWidget(this), QStringLiteral("CtrlMissList"));
    ctrlMissList_->setGeometry(twipsRect(8280, 7080, 1245, 735));
    calMissList_->setAccessibleName(QStringLiteral("SELECT CALIBRATORS"));
    ctrlMissList_->setAccessibleName(QStringLiteral("SELECT CONTROLS"));
    makeTickList(calMissList_);
    makeTickList(ctrlMissList_);

    auto* command2 = makeButton(QStringLiteral("Command2"), QStringLiteral("RESET SELECTION"),
                                QStringLiteral("btn_reset.png"), 14640, 7080);
    auto* command3 = makeButton(QStringLiteral("Command3"), QStringLiteral("PRINT Selection"),
                                QStringLiteral("btn_output.png"), 14640, 7920);
    auto* command1 = makeButton(QStringLiteral("Command1"), QStringLiteral("EXIT Tovimar"),
                                QStringLiteral("btn_exit.png"), 14640, 8760);
    makeButton(QStringLiteral("cmdBottle"), QStringLiteral("CHOOSE BOTTLE SIZE"),
               QStringLiteral("btn_bottle.png"), 13800, 7080);
    makeButton(QStringLiteral("Command4"), QStringLiteral("ADD ADDITIONAL CAL & CTRLS"),
               QStringLiteral("btn_add.png"), 13800, 7920);
    makeButton(QStringLiteral("cmdHelp"), QStringLiteral("SHOW HELP"), QStringLiteral("btn_help.png"), 13800,
               8760);
    for (const char* name : {"cmdBottleBack", "Command4Back"}) {
        const bool bottle = QLatin1String(name) == QLatin1String("cmdBottleBack");
        auto* b = makeButton(QString::fromLatin1(name),
                             bottle ? QStringLiteral("CHOOSE BOTTLE SIZE")
                                    : QStringLiteral("ADD ADDITIONAL CAL & CTRLS"),
                             bottle ? QStringLiteral("btn_bottle.png") : QStringLiteral("btn_add.png"), 12960,
                             bottle ? 7080 : 7920);
        b->setEnabled(false);
        b->hide();
    }
    connect(command1, &QPushButton::clicked, this, &frmMain::Command1_Click);
    connect(command2, &QPushButton::clicked, this, &frmMain::Command2_Click);
    connect(command3, &QPushButton::clicked, this, &frmMain::Command3_Click);
    const auto onClick = [this](const char* name, void (frmMain::*handler)()) {
        connect(qobject_cast<QPushButton*>(control(QString::fromLatin1(name))), &QPushButton::clicked, this,
                handler);
    };
    onClick("cmdBottle", &frmMain::cmdBottle_Click);
    onClick("cmdBottleBack", &frmMain::cmdBottleBack_Click);
    onClick("Command4", &frmMain::Command4_Click);
    onClick("Command4Back", &frmMain::Command4Back_Click);

    picHelp_ = add(new PictureBox(QStringLiteral("picHelp"), this), QStringLiteral("picHelp"));
    picHelp_->setGeometry(twipsRect(2040, 8040, 3480, 1335));
    buildHelpPanel();
    connect(banner_, &PictureBox::clicked, this, &frmMain::NV_Banner_Click);
    auto* help = qobject_cast<QPushButton*>(control(QStringLiteral("cmdHelp")));
    connect(help, &QPushButton::clicked, this, &frmMain::cmdHelp_Click);

    icon1_ = add(new PictureBox(QStringLiteral("ICON1"), this), QStringLiteral("ICON1"));
    icon1_->setPixmap(QPixmap(QStringLiteral(":/pictures/icon1.png")));
    icon1_->setGeometry(twipsRect(13560, 10440, 1950, 1035));
    icon1_->hide();
    setRowPalettes();  // last: every box of the window exists now
}

// The boxes keep the toolkit's text colour whatever their containers get: the dark pass leaves
// them alone, and a container's colours would otherwise flow down to its options.
void frmMain::setRowPalettes() {
    const QPalette app = QApplication::palette();
    for (QWidget* w : controls_) {
        if (!isBox(w->objectName()))
            continue;
        QPalette p = w->palette();
        for (QPalette::ColorRole r :
             {QPalette::WindowText, QPalette::Text, QPalette::ButtonText, QPalette::Base})
            p.setColor(r, app.color(r));
        w->setPalette(p);
    }
}

// ---- Load and transition ---------------------------------------------------------------------

void frmMain::Form_Load() {
    picHelp_->hide();
    for (const char* name : {"Command1", "Command2", "Command3", "Command4", "Command4Back", "cmdBottle",
                             "cmdBottleBack", "cmdHelp"})
        control(QString::fromLatin1(name))->hide();
    for (const char* name : {"Label1", "Label2", "Label3", "Label6", "Label7", "Label8", "Label9"})
        control(QString::fromLatin1(name))->hide();

    // Dark pass: every control but the assay boxes and options.
    const QColor windowBackground = QApplication::palette().color(QPalette::Base);
    for (QWidget* w : controls_)
        if (!isBox(w->objectName()))
            setColours(w, colours::kDark, windowBackground);

    for (QGroupBox* f : {orlan_, vex_, tox_, adult_}) {
        f->hide();
        f->resize(f->width(), px(350));
        setTextColour(f, colours::kFrameCaption);
        QFont font = f->font();
        font.setPointSizeF(13);
        f->setFont(font);
    }
    setColours(this, colours::kDark, windowBackground);

    picStart_->setGeometry(twipsRect(0, 0, 13140, 11955));
    picStart_->setEnabled(true);
    picStart_->show();
    banner_->setGeometry(twipsRect(0, 9840, 15255, 1620));
    banner_->hide();
    picStart_->raise();  // the start picture lies in front of the banner

    ApplyColourScheme3(*this);
    ColourScheme = 3;
    ResetSelection();
}

void frmMain::picStart_Click() {
    ShowMainView();
}

void frmMain::ShowMainView() {
    for (QWidget* w : controls_)
        if (w->objectName().startsWith(QLatin1String("Pict")))
            w->hide();
    for (const char* name : {"Label1", "Label2", "Label3", "Label6", "Label7", "Label8", "Label9"})
        control(QString::fromLatin1(name))->show();
    vex_->move(vex_->x(), px(100));
    vex_->show();
    orlan_->move(orlan_->x(), px(100));
    orlan_->show();
    tox_->move(px(12280), px(100));
    tox_->show();
    adult_->move(px(12280), px(kAdultTop));

    growFrames();

    for (QWidget* w : controls_)
        if (w->objectName().startsWith(QLatin1String("Pict")))
            w->show();
    for (const char* name : {"Command2", "Command3", "Command1", "cmdBottle", "Command4", "cmdHelp"}) {
        hooks_.pause(300);
        QWidget* b = control(QString::fromLatin1(name));
        b->setEnabled(true);
        b->show();
        b->repaint();
    }
    picStart_->hide();
    banner_->show();
}

// The frames grow in 301 steps of 20 twips, one step a millisecond. Repainting four frames takes
// longer than that on a slow display, so each step is paced to the clock: a step that is already
// late is set but not painted, and the next painted step shows it. The path and the end are the
// same either way; only the number of paints adapts.
void frmMain::growFrames() {
    const std::int64_t start = hooks_.clockMs();
    for (int step = 15; step <= 315; ++step) {
        const int h = 20 * step;
        orlan_->resize(orlan_->width(), px(h));
        vex_->resize(vex_->width(), px(h));
        tox_->resize(tox_->width(), px(h > 2775 ? 2775 : h));
        if (h >= kAdultTop) {
            adult_->resize(adult_->width(), px(h - 3900));
            adult_->show();
        }
        const std::int64_t deadline = start + (step - 14);
        if (step < 315 && hooks_.clockMs() >= deadline)
            continue;
        for (QGroupBox* f : {orlan_, vex_, tox_, adult_})
            f->repaint();
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
    const OrderSnapshot before(cat_);
    tovimar::SelectAllItems(cat_);
    provenance_.MarkAdded(before, cat_, Addition::SelectAll);
}

void frmMain::ClearOrderFlags() {
    tovimar::ClearOrderFlags(cat_);
    provenance_.Clear();
}

void frmMain::runRules() {
    tovimar::update(state_, cat_, provenance_);
    FillCalibList();
    FillCtrlList();
}

// ---- Result lists ----------------------------------------------------------------------------

void frmMain::FillCalibList() {
    calibList_->show();
    label4_->show();
    banner_->hide();
    icon1_->show();
    CalibListLines(cat_, calibLines_);
    CalibListReasons(cat_, provenance_, calibTips_);
    calibList_->setLines(calibLines_, calibTips_);
}

void frmMain::FillCtrlList() {
    ctrlList_->show();
    label5_->show();
    label5_->move(px(6700), label5_->y());
    banner_->hide();
    icon1_->show();
    CtrlListLines(cat_, ctrlLines_);
    CtrlListReasons(cat_, provenance_, ctrlTips_);
    ctrlList_->setLines(ctrlLines_, ctrlTips_);
}

// ---- Reset -----------------------------------------------------------------------------------

void frmMain::ResetSelection() {
    // From the first reset on, the window sees its command keys wherever the focus is.
    keyPreview_ = true;

    // 1. Leave no refinement view showing.
    reagBottleSizeFrame_->hide();
    calBottleSizeFrame_->hide();
    calMissList_->hide();
    ctrlMissList_->hide();

    // 2.
    icon1_->setGeometry(twipsRect(13680, 10440, 1950, 1080));
    icon1_->hide();
    banner_->show();

    // 3. Clear the assay state directly; the single-option rows' cut-offs follow in step 8.
    for (const AssayRowDef& def : AssayRows()) {
        RowState& s = state_[def.key];
        s.Sel = false;
        s.Qual = false;
        if (def.optionCount >= 2)
            s.Cut = 0.0;
    }

    // 4. and 5. Options unchosen (without their handlers) and hidden.
    for (const AssayRowDef& def : AssayRows()) {
        const AssayPanel::RowWidgets& w = panel_->row(def.key);
        for (QRadioButton* b : w.options) {
            if (!b)
                continue;
            const int n = b->objectName().mid(6).toInt();
            if (n >= 1 && n <= 18)
                AssayPanel::clearOption(b);
            b->hide();
        }
    }

    // 6. QUAL boxes hidden, and the three rows that are never shown.
    for (const AssayRowDef& def : AssayRows()) {
        const AssayPanel::RowWidgets& w = panel_->row(def.key);
        if (w.qual)
            w.qual->hide();
        if (def.secondColumn)
            w.select->hide();
    }

    // 7.
    LoadCatalogue(cat_);
    tovimar::ClearOrderFlags(cat_);
    provenance_.Clear();  // also when no ticked row below runs the rules

    // 8. Untick every ticked box through its own handling, so each row clears what it holds.
    for (QWidget* w : controls_)
        if (auto* box = qobject_cast<QCheckBox*>(w);
            box && box->objectName().startsWith(QLatin1String("Check")))
            box->setChecked(false);

    // 9. to 11.
    calibList_->clear();
    calibList_->hide();
    calibList_->setGeometry(twipsRect(120, 7080, 6300, 3960));
    ctrlList_->clear();
    ctrlList_->hide();
    ctrlList_->setGeometry(twipsRect(6555, 7080, 5580, 3960));
    label4_->hide();
    label5_->hide();

    // Every reset ends as the start does: the banner shown, the small picture hidden.
    banner_->show();
    icon1_->hide();
}

}  // namespace tovimar
