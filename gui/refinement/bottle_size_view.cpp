#include "gui/refinement/bottle_size_view.h"

#include "core/refinement/size_boxes.h"
#include "gui/widgets/captioned_frame.h"
#include "gui/widgets/fonts.h"
#include "gui/widgets/twips.h"
#include "gui/widgets/view_headings.h"
#include "gui/widgets/whole_box.h"
#include "gui/widgets/widget_colours.h"

#include <QStyle>
#include <QStyleOptionGroupBox>
#include <algorithm>

namespace tovimar {

namespace {

constexpr int kBoxLeft = 255;
constexpr int kBoxHeight = 255;
constexpr int kReagBoxWidth = 5000;
constexpr int kCalBoxWidth = 4800;
// The gap the layout leaves between a frame's title line and its first box.
constexpr int kTitleGap = 2;

QString text(const std::string& s) {
    return QString::fromStdString(s);
}

// Elements 1 and up; element 0 is the template, which stays.
template <std::size_t N>
void destroyElements(std::array<QPointer<QCheckBox>, N>& elements) {
    for (std::size_t i = 1; i < N; ++i)
        delete elements[i];
}

// How far the boxes move down so that the first one clears the frame's title: the toolkit's title
// line is taller than the classic one the positions were laid out for. The spacing stays.
int titleClearance(const QGroupBox* frame) {
    QStyleOptionGroupBox opt;
    opt.initFrom(frame);
    opt.text = frame->title();
    opt.subControls = QStyle::SC_GroupBoxLabel | QStyle::SC_GroupBoxFrame;
    const QRect label =
        frame->style()->subControlRect(QStyle::CC_GroupBox, &opt, QStyle::SC_GroupBoxLabel, frame);
    const int firstTop = px(kSizeBoxTopBase + kSizeBoxStep);
    return std::max(0, label.bottom() + 1 + kTitleGap - firstTop);
}

}  // namespace

BottleSizeView::BottleSizeView(OrderFlags& order, QWidget* window, ControlCollection& controls)
    : QObject(window), order_(order) {
    const auto frame = [&](const char* name, const char* caption, int l, int w) {
        QGroupBox* f =
            controls.add(new CaptionedFrame(QString::fromLatin1(caption), window), QString::fromLatin1(name));
        f->setGeometry(twipsRect(l, 8160, w, 1215));
        f->setFont(narrowFont(13, true));
        return f;
    };
    reagFrame_ = frame("ReagBottleSizeFrame", "Reagents", 240, 1695);
    calFrame_ = frame("CalBottleSizeFrame", "Calibrators", 6360, 1935);
    // Element 0 of each array: the hidden template that the view copies.
    check20_[0] = controls.add(makeSizeBox(reagFrame_, QStringLiteral("Check20"), 0, kReagBoxWidth),
                               QStringLiteral("Check20"));
    check71_[0] = controls.add(makeSizeBox(calFrame_, QStringLiteral("Check71"), 0, kCalBoxWidth),
                               QStringLiteral("Check71"));
}

// A box as the template is: hidden, in the view's font, with the toolkit's text colours.
QCheckBox* BottleSizeView::makeSizeBox(QGroupBox* frame, const QString& name, int index, int widthTwips) {
    auto* box = new WholeCheckBox(frame);
    box->hide();
    box->setObjectName(name);
    box->setProperty("index", index);
    box->setGeometry(twipsRect(kBoxLeft, kSizeBoxTopBase + kSizeBoxStep, widthTwips, kBoxHeight));
    box->setFont(narrowFont(11, true));
    keepToolkitText(box);
    // The view's heading first, read with the box the focus lands on; then which frame it is in,
    // as a reagent and a calibrator may show the same size text.
    box->setAccessibleDescription(QString::fromLatin1(kBottleSizeHeading) + QStringLiteral(", ") +
                                  frame->accessibleName());
    const bool reagent = name == QLatin1String("Check20");
    connect(box, &QCheckBox::toggled, this, [this, reagent, index] {
        if (reagent)
            Check20_Click(index);
        else
            Check71_Click(index);
    });
    return box;
}

QCheckBox* BottleSizeView::Check20(int Index) const {
    return Index >= 0 && Index <= kCheck20Count ? check20_[static_cast<std::size_t>(Index)].data() : nullptr;
}

QCheckBox* BottleSizeView::Check71(int Index) const {
    return Index >= 0 && Index <= kCheck71Count ? check71_[static_cast<std::size_t>(Index)].data() : nullptr;
}

// The boxes stand in slot order, so the lowest slot with a box is the top one.
QCheckBox* BottleSizeView::FirstSizeBox() const {
    for (int i = 1; i <= kCheck20Count; ++i)
        if (QCheckBox* box = Check20(i))
            return box;
    for (int i = 1; i <= kCheck71Count; ++i)
        if (QCheckBox* box = Check71(i))
            return box;
    return nullptr;
}

void BottleSizeView::Show(int colourScheme) {
    reagFrame_->setGeometry(twipsRect(120, 500, 5500, 10850));
    reagFrame_->show();
    ShowReagBottleSizes(colourScheme);
    calFrame_->setGeometry(twipsRect(5900, 500, 5200, 5400));
    calFrame_->show();
    ShowCalBottleSizes();
}

void BottleSizeView::Hide() {
    calFrame_->hide();
    reagFrame_->hide();
    destroyElements(check71_);
    destroyElements(check20_);
}

// One box of a size-box array, made from the template and put in place.
QCheckBox* BottleSizeView::placeSizeBox(QGroupBox* frame, const QString& name, const SizeBox& b,
                                        int widthTwips, std::uint32_t colour) {
    QCheckBox* box = makeSizeBox(frame, name, b.slot, widthTwips);
    box->setEnabled(true);
    box->move(px(kBoxLeft), px(b.top) + titleClearance(frame));
    box->setText(text(b.caption));
    box->setChecked(b.ticked);
    setBackground(box, colour);
    box->show();
    return box;
}

void BottleSizeView::ShowReagBottleSizes(int colourScheme) {
    // Boxes left over from a view that was never left would stand twice under one index.
    destroyElements(check20_);
    for (const SizeBox& b : ReagSizeBoxes(order_))
        check20_[static_cast<std::size_t>(b.slot)] =
            placeSizeBox(reagFrame_, QStringLiteral("Check20"), b, kReagBoxWidth,
                         ReagSizeBoxColour(colourScheme, ReagSizeBoxGroup(b.caption)));
}

void BottleSizeView::ShowCalBottleSizes() {
    destroyElements(check71_);
    for (const SizeBox& b : CalSizeBoxes(order_))
        check71_[static_cast<std::size_t>(b.slot)] =
            placeSizeBox(calFrame_, QStringLiteral("Check71"), b, kCalBoxWidth, kCalSizeBoxColour);
}

// Element 0 is the template and stands for no slot: its tick changes no record.
void BottleSizeView::Check20_Click(int Index) {
    QCheckBox* box = Index >= 1 ? Check20(Index) : nullptr;
    if (!box)
        return;
    ChooseAlternativeSize(order_, SizedProduct::Reagent, Index, box->isChecked());
    box->setText(text(SizeCaption(TheCatalogue().Assays[Index], order_.Assays[Index])));
    emit changed();
}

void BottleSizeView::Check71_Click(int Index) {
    QCheckBox* box = Index >= 1 ? Check71(Index) : nullptr;
    if (!box)
        return;
    ChooseAlternativeSize(order_, SizedProduct::Calibrator, Index, box->isChecked());
    box->setText(text(SizeCaption(TheCatalogue().Calibs[Index], order_.Calibs[Index])));
    emit changed();
}

void BottleSizeView::SetAllSizeBoxes(bool ticked) {
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
