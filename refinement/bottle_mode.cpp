// The bottle-size mode of the main window: the assay frames and result lists give way to two
// frames of size boxes, one per ordered product with a second variant. The core decides which
// boxes there are and what they say; this file places them and keeps the records in step with
// the ticks.
#include "mainwindow/fonts.h"
#include "mainwindow/frmMain.h"
#include "mainwindow/picture_box.h"
#include "mainwindow/tab_stop_list.h"
#include "mainwindow/twips.h"
#include "refinement/size_boxes.h"

#include <QApplication>

namespace tovimar {

namespace {

constexpr int kBoxLeft = 255;
constexpr int kBoxHeight = 255;
constexpr int kReagBoxWidth = 5000;
constexpr int kCalBoxWidth = 4800;

QString text(const std::string& s) {
    return QString::fromStdString(s);
}

void setBackground(QCheckBox* box, std::uint32_t colour) {
    QPalette p = box->palette();
    p.setColor(QPalette::Window, bgr(colour));
    p.setColor(QPalette::Button, bgr(colour));
    box->setPalette(p);
    box->setAutoFillBackground(true);
}

// Elements 1 and up; element 0 is the template, which stays.
template <std::size_t N>
void destroyElements(std::array<QPointer<QCheckBox>, N>& elements) {
    for (std::size_t i = 1; i < N; ++i)
        delete elements[i];
}

}  // namespace

// A box as the template is: hidden, in the mode's font, with the toolkit's text colours (the
// frame it sits in is dark, and its colours would otherwise flow down to the caption).
// Both refinement modes take the window over alike: the entry button gives way to the back button
// in its place, the assay frames, headings, lists and banner give way to the mode's own controls,
// and every command but exit waits until the mode is left.
void frmMain::enterRefinementMode(const char* entry, const char* back, const char* otherEntry) {
    QWidget* in = control(QString::fromLatin1(entry));
    in->setEnabled(false);
    in->hide();
    QWidget* out = control(QString::fromLatin1(back));
    out->move(px(13800), out->y());
    out->setEnabled(true);
    out->show();

    for (QGroupBox* f : {orlan_, vex_, tox_, adult_})
        f->hide();
    banner_->hide();
    icon1_->show();
    for (const char* name : {"Command2", "Command3", otherEntry, "cmdHelp"})
        control(QString::fromLatin1(name))->setEnabled(false);

    for (int n = 1; n <= 9; ++n)
        control(QStringLiteral("Label") + QString::number(n))->hide();
    ctrlList_->hide();
    calibList_->hide();
}

void frmMain::leaveRefinementMode(const char* entry, const char* back, const char* otherEntry) {
    QWidget* in = control(QString::fromLatin1(entry));
    in->setEnabled(true);
    in->show();
    QWidget* out = control(QString::fromLatin1(back));
    out->setEnabled(false);
    out->hide();

    for (QGroupBox* f : {orlan_, vex_, tox_, adult_})
        f->show();
    for (const char* name : {"Command2", "Command3", otherEntry, "cmdHelp"})
        control(QString::fromLatin1(name))->setEnabled(true);
    for (int n = 1; n <= 9; ++n)
        control(QStringLiteral("Label") + QString::number(n))->show();
}

QCheckBox* frmMain::makeSizeBox(QGroupBox* frame, const QString& name, int index, int widthTwips) {
    auto* box = new QCheckBox(frame);
    box->hide();
    box->setObjectName(name);
    box->setProperty("index", index);
    box->setGeometry(twipsRect(kBoxLeft, kSizeBoxTopBase + kSizeBoxStep, widthTwips, kBoxHeight));
    box->setFont(narrowFont(11, true));
    const QPalette app = QApplication::palette();
    QPalette p = box->palette();
    for (QPalette::ColorRole r : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText, QPalette::Base})
        p.setColor(r, app.color(r));
    box->setPalette(p);
    const bool reagent = name == QLatin1String("Check20");
    connect(box, &QCheckBox::toggled, this, [this, reagent, index] {
        if (reagent)
            Check20_Click(index);
        else
            Check71_Click(index);
    });
    return box;
}

QCheckBox* frmMain::Check20(int Index) const {
    return Index >= 0 && Index <= kCheck20Count ? check20_[static_cast<std::size_t>(Index)].data() : nullptr;
}

QCheckBox* frmMain::Check71(int Index) const {
    return Index >= 0 && Index <= kCheck71Count ? check71_[static_cast<std::size_t>(Index)].data() : nullptr;
}

void frmMain::cmdBottle_Click() {
    enterRefinementMode("cmdBottle", "cmdBottleBack", "Command4");

    label4_->move(label4_->x(), px(120));
    label4_->setText(QStringLiteral("PLEASE TAG THE CHECKBOXES FOR ALTERNATIVE BOTTLE SIZES"));
    label4_->resize(px(7500), label4_->height());
    label4_->show();

    reagBottleSizeFrame_->setGeometry(twipsRect(120, 500, 5500, 10850));
    reagBottleSizeFrame_->show();
    ShowReagBottleSizes();
    calBottleSizeFrame_->setGeometry(twipsRect(5900, 500, 5200, 5400));
    calBottleSizeFrame_->show();
    ShowCalBottleSizes();
}

// One box of a size-box array, made from the template and put in place.
QCheckBox* frmMain::placeSizeBox(QGroupBox* frame, const QString& name, const SizeBox& b, int widthTwips,
                                 std::uint32_t colour) {
    QCheckBox* box = makeSizeBox(frame, name, b.slot, widthTwips);
    box->setEnabled(true);
    box->move(px(kBoxLeft), px(b.top));
    box->setText(text(b.caption));
    box->setChecked(b.ticked);
    setBackground(box, colour);
    box->show();
    return box;
}

void frmMain::ShowReagBottleSizes() {
    // Boxes left over from an entry that was never left would stand twice under one index.
    destroyElements(check20_);
    for (const SizeBox& b : ReagSizeBoxes(cat_))
        check20_[static_cast<std::size_t>(b.slot)] =
            placeSizeBox(reagBottleSizeFrame_, QStringLiteral("Check20"), b, kReagBoxWidth,
                         ReagSizeBoxColour(ColourScheme, b.caption));
}

void frmMain::ShowCalBottleSizes() {
    destroyElements(check71_);
    for (const SizeBox& b : CalSizeBoxes(cat_))
        check71_[static_cast<std::size_t>(b.slot)] =
            placeSizeBox(calBottleSizeFrame_, QStringLiteral("Check71"), b, kCalBoxWidth, kCalSizeBoxColour);
}

// Element 0 is the template and stands for no slot: its tick changes no record.
void frmMain::Check20_Click(int Index) {
    QCheckBox* box = Index >= 1 ? Check20(Index) : nullptr;
    if (!box)
        return;
    mAssay& a = cat_.Assays[Index];
    ChooseSize(a, box->isChecked());
    box->setText(text(SizeCaption(a)));
}

void frmMain::Check71_Click(int Index) {
    QCheckBox* box = Index >= 1 ? Check71(Index) : nullptr;
    if (!box)
        return;
    mCalib& c = cat_.Calibs[Index];
    ChooseSize(c, box->isChecked());
    box->setText(text(SizeCaption(c)));
}

void frmMain::destroySizeBoxes() {
    destroyElements(check71_);
    destroyElements(check20_);
}

void frmMain::cmdBottleBack_Click() {
    leaveRefinementMode("cmdBottle", "cmdBottleBack", "Command4");
    calBottleSizeFrame_->hide();
    reagBottleSizeFrame_->hide();

    destroySizeBoxes();

    label4_->move(label4_->x(), px(6600));
    label4_->resize(px(3100), label4_->height());
    label4_->setText(QStringLiteral("REQUIRED CALIBRATORS"));
    label5_->move(px(6700), px(6600));
    label5_->setText(QStringLiteral("SUGGESTED CONTROLS"));

    ctrlList_->show();
    // Controls have no size variants: only the calibrator list changes.
    FillCalibList();
    calibList_->show();
}

void frmMain::SetAllSizeBoxes(bool ticked) {
    // A box already in that state still records the choice, as the handler would.
    for (int i = 1; i <= kCheck20Count; ++i) {
        QCheckBox* box = Check20(i);
        if (box && box->isChecked() == ticked)
            Check20_Click(i);
        else if (box)
            box->setChecked(ticked);
    }
    for (int i = 1; i <= kCheck71Count; ++i) {
        QCheckBox* box = Check71(i);
        if (box && box->isChecked() == ticked)
            Check71_Click(i);
        else if (box)
            box->setChecked(ticked);
    }
}

}  // namespace tovimar
