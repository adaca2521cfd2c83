#include "gui/selection/result_lists_view.h"

#include "gui/widgets/fonts.h"
#include "gui/widgets/tab_stop_list.h"
#include "gui/widgets/twips.h"
#include "gui/widgets/view_headings.h"

namespace tovimar {

ResultListsView::ResultListsView(QWidget* window, ControlCollection& controls) : QObject(window) {
    const auto heading = [&](const char* name, const char* text, int l, int w) {
        auto* label = controls.add(new QLabel(QString::fromLatin1(text), window), QString::fromLatin1(name));
        label->setGeometry(twipsRect(l, 6600, w, 375));
        label->setFont(narrowFont(13.5, true));
        return label;
    };
    label4_ = heading("Label4", "REQUIRED CALIBRATORS", 360, 3100);
    label5_ = heading("Label5", "SUGGESTED CONTROLS", 6340, 2895);
    calibList_ =
        controls.add(new TabStopList(QStringLiteral("CalibList"), window), QStringLiteral("CalibList"));
    calibList_->setAccessibleName(QStringLiteral("REQUIRED CALIBRATORS"));
    ctrlList_ = controls.add(new TabStopList(QStringLiteral("CtrlList"), window), QStringLiteral("CtrlList"));
    ctrlList_->setAccessibleName(QStringLiteral("SUGGESTED CONTROLS"));
    for (TabStopList* l : {calibList_, ctrlList_})
        l->setFont(narrowFont(10, true));
    describeCounts();
}

namespace {
QString countText(int n, const char* one, const char* many) {
    if (n == 0)
        return QStringLiteral("No ") + QLatin1String(many);
    if (n == 1)
        return QStringLiteral("1 ") + QLatin1String(one);
    return QString::number(n) + QLatin1Char(' ') + QLatin1String(many);
}
}  // namespace

// A screen reader hears how many lines each list holds, and hears it again whenever the lines
// change (a calibrator swapped for another keeps the count): the description's change event is
// what the accessibility bridge passes on. A refill that changes nothing costs a comparison and
// no allocation.
void ResultListsView::describeCounts(bool calibChanged, bool ctrlChanged) {
    if (calibChanged || calibList_->count() != calibCount_) {
        calibCount_ = calibList_->count();
        calibList_->describe(countText(calibCount_, "calibrator", "calibrators"));
    }
    if (ctrlChanged || ctrlList_->count() != ctrlCount_) {
        ctrlCount_ = ctrlList_->count();
        ctrlList_->describe(countText(ctrlCount_, "control", "controls"));
    }
}

void ResultListsView::FillCalibList(const std::vector<std::string>& lines,
                                    const std::vector<std::string>& tips) {
    describeCounts(calibList_->setLines(lines, tips), false);
}

void ResultListsView::FillCtrlList(const std::vector<std::string>& lines,
                                   const std::vector<std::string>& tips) {
    label5_->move(px(6700), label5_->y());
    describeCounts(false, ctrlList_->setLines(lines, tips));
}

void ResultListsView::Reset() {
    calibList_->clear();
    calibList_->setGeometry(twipsRect(120, 7080, 6300, 3960));
    ctrlList_->clear();
    ctrlList_->setGeometry(twipsRect(6555, 7080, 5580, 3960));
    describeCounts();
}

void ResultListsView::SetListsVisible(bool visible) {
    if (visible == !calibList_->isHidden() && visible == !ctrlList_->isHidden())
        return;
    if (visible)
        ShowListsNow();
    else
        HideLists();
}

void ResultListsView::ShowListsNow() {
    ctrlList_->show();
    ctrlList_->repaint();
    calibList_->show();
    calibList_->repaint();
}

void ResultListsView::HideLists() {
    ctrlList_->hide();
    calibList_->hide();
}

void ResultListsView::SetCalibHeadingVisible(bool visible) {
    label4_->setVisible(visible);
}

void ResultListsView::SetCtrlHeadingVisible(bool visible) {
    label5_->setVisible(visible);
}

void ResultListsView::HeadForOrder() {
    label4_->setGeometry(label4_->x(), px(6600), px(3100), label4_->height());
    label4_->setText(QStringLiteral("REQUIRED CALIBRATORS"));
    label5_->move(px(6700), px(6600));
    label5_->setText(QStringLiteral("SUGGESTED CONTROLS"));
}

void ResultListsView::HeadForBottleSizes() {
    label4_->setGeometry(label4_->x(), px(120), px(7500), label4_->height());
    label4_->setText(QString::fromLatin1(kBottleSizeHeading));
}

void ResultListsView::HeadForAdding() {
    label4_->move(label4_->x(), px(120));
    label4_->setText(QString::fromLatin1(kAddCalibratorsHeading));
    label5_->move(px(6000), px(120));
    label5_->setText(QString::fromLatin1(kAddControlsHeading));
}

}  // namespace tovimar
