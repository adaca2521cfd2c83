// The bottle-size mode and the adding mode as a user meets them: real clicks on the buttons, the
// size boxes and the list entries, and what the result lists and the order file show afterwards.
#include "core/output/order_file.h"
#include "core/refinement/miss_lists.h"
#include "core/selection/result_lists.h"
#include "gui/mainwindow/frmMain.h"
#include "gui/widgets/app_style.h"
#include "gui/widgets/fonts.h"
#include "gui/widgets/tab_stop_list.h"
#include "gui/widgets/twips.h"
#include "gui/widgets/widget_colours.h"
#include "tests/support/order_lines.h"
#include "tests/support/window_harness.h"

#include <QApplication>
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QListWidget>
#include <QRadioButton>
#include <QStyleOptionButton>
#include <QStyleOptionGroupBox>
#include <QStyleOptionViewItem>
#include <QtTest>
#include <algorithm>
#include <memory>

using namespace tovimar;

namespace {

// The window in its main view.
struct Harness : testing::Harness {
    Harness() : testing::Harness(MainView) {}
};

using testing::clickBox;

// Where entry `row` of a tick list shows its tick box, in the list's viewport.
QRect tickBoxOf(QListWidget* list, int row) {
    QListWidgetItem* item = list->item(row);
    list->scrollToItem(item);
    QStyleOptionViewItem opt;
    opt.initFrom(list);
    opt.rect = list->visualItemRect(item);
    opt.features = QStyleOptionViewItem::HasCheckIndicator | QStyleOptionViewItem::HasDisplay;
    opt.text = item->text();
    opt.font = list->font();
    return list->style()->subElementRect(QStyle::SE_ItemViewItemCheckIndicator, &opt, list);
}

// Clicks entry `row` of a tick list: on its tick box, or on its text.
void clickEntry(QListWidget* list, int row, bool onTickBox) {
    HELPER_VERIFY(list->item(row));
    const QRect tick = tickBoxOf(list, row);
    const QRect entry = list->visualItemRect(list->item(row));
    const QPoint at = onTickBox ? tick.center() : QPoint(entry.center().x(), tick.center().y());
    HELPER_VERIFY(onTickBox || !tick.contains(at));
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, at);
}

// The size boxes of one array as the user sees them, top to bottom; the template is never shown.
QList<QCheckBox*> shownBoxes(QWidget* frame, const char* name) {
    QList<QCheckBox*> boxes;
    for (QCheckBox* b : frame->findChildren<QCheckBox*>(QString::fromLatin1(name)))
        if (b->isVisible())
            boxes << b;
    std::sort(boxes.begin(), boxes.end(), [](QCheckBox* a, QCheckBox* b) { return a->y() < b->y(); });
    return boxes;
}

QList<int> indexes(const QList<QCheckBox*>& boxes) {
    QList<int> out;
    for (QCheckBox* b : boxes)
        out << b->property("index").toInt();
    return out;
}

QString q(const std::string& s) {
    return QString::fromStdString(s);
}

QColor background(QWidget* w) {
    return w->palette().color(QPalette::Window);
}

// The buttons a mode disables; the exit stays.
const char* const kBlockedInBottleMode[] = {"Command2", "Command3", "Command4", "cmdHelp"};
const char* const kBlockedInAddingMode[] = {"Command2", "Command3", "cmdBottle", "cmdHelp"};

}  // namespace

class RefinementTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() {
        installApplicationStyle();
        installFontSubstitutes();
    }

    // ---- Bottle sizes ------------------------------------------------------------------------

    void bottleModeShowsBoxesOnlyForOrderedAlternatives() {
        Harness h;
        // ORLAN AMPH / XTC (reagent 1), ORLAN BENZO (3), VEX BENZO (17), and SAMPLE CHECK (14)
        // and VEX ECSTASY (21), whose two numbers are one product.
        for (const char* box : {"Check1", "Check3", "Check42", "Check60", "Check111"})
            clickBox(h.get<QCheckBox>(box));
        h.click("cmdBottle");

        auto* reagFrame = h.get("ReagBottleSizeFrame");
        auto* calFrame = h.get("CalBottleSizeFrame");
        QVERIFY(reagFrame->isVisible());
        QCOMPARE(reagFrame->geometry(), twipsRect(120, 500, 5500, 10850));
        QCOMPARE(calFrame->geometry(), twipsRect(5900, 500, 5200, 5400));
        QCOMPARE(h.get<QLabel>("Label4")->text(),
                 QStringLiteral("PLEASE TAG THE CHECKBOXES FOR ALTERNATIVE BOTTLE SIZES"));
        QCOMPARE(h.get("Label4")->geometry().top(), px(120));

        const QList<QCheckBox*> reag = shownBoxes(reagFrame, "Check20");
        QCOMPARE(indexes(reag), (QList<int>{1, 3, 17}));
        // The third box is element 17; the boxes stand 340 twips apart, the first below the
        // frame's title line, however tall the toolkit draws it.
        QCOMPARE(reag[2]->geometry().size(), twipsRect(255, 970, 5000, 255).size());
        QCOMPARE(reag[2]->x(), px(255));
        QCOMPARE(reag[2]->y() - reag[0]->y(), px(970) - px(290));
        QVERIFY(reag[0]->y() >= px(290));
        QStyleOptionGroupBox title;
        title.initFrom(qobject_cast<QGroupBox*>(reagFrame));
        title.text = qobject_cast<QGroupBox*>(reagFrame)->title();
        title.subControls = QStyle::SC_GroupBoxLabel;
        const QRect titleRect = reagFrame->style()->subControlRect(QStyle::CC_GroupBox, &title,
                                                                   QStyle::SC_GroupBoxLabel, reagFrame);
        QVERIFY2(reag[0]->y() > titleRect.bottom(), "the first size box lies on the frame's title");
        for (QCheckBox* b : reag) {
            QVERIFY(!b->isChecked());
            QCOMPARE(b->text(), q(TheCatalogue().Assays[b->property("index").toInt()].Name1));
        }
        QCOMPARE(background(reag[2]), bgr(0xACEDFD));  // scheme 3: VEX yellow, ORLAN blue
        QCOMPARE(background(reag[0]), bgr(0xE2C3A9));
        // Readable on its light background, though the frame around it is dark.
        QVERIFY(reag[0]->palette().color(QPalette::WindowText).lightness() < 128);
        QCOMPARE(h.w->bottleSizes().Check20(17), reag[2]);
        QCOMPARE(h.w->bottleSizes().Check20(14), nullptr);

        // Every ordered calibrator with a second pack, and no other.
        QList<int> expectedCal;
        for (int s = 1; s <= CalibTable::kFilled; ++s)
            if (h.order().Calibs[s].Selected == 1 &&
                TheCatalogue().Calibs[s].OrderNo2 != TheCatalogue().Calibs[s].OrderNo1)
                expectedCal << s;
        QVERIFY(expectedCal.contains(1));
        const QList<QCheckBox*> cal = shownBoxes(calFrame, "Check71");
        QCOMPARE(indexes(cal), expectedCal);
        QCOMPARE(cal[0]->text(), QStringLiteral("5 ml  Negative Urine Calibrator"));
        QCOMPARE(cal[0]->width(), px(4800));
        QCOMPARE(background(cal[0]), bgr(0xB2B3B4));
    }

    void bottleModeBlocksTheOtherCommandsAndCanBeLeft() {
        Harness h;
        clickBox(h.get<QCheckBox>("Check34"));
        h.click("cmdBottle");
        QVERIFY(!h.get("cmdBottle")->isVisible());
        auto* back = h.get("cmdBottleBack");
        QVERIFY(back->isVisible() && back->isEnabled());
        QCOMPARE(back->pos(), twipsRect(13800, 7080, 0, 0).topLeft());  // in the entry button's place
        for (const char* b : kBlockedInBottleMode)
            QVERIFY2(!h.get(b)->isEnabled(), b);
        for (const char* f : {"ORLAN_Frame", "VEX_Frame", "TOX_Frame", "ADULT_FRAME", "NV_Banner",
                              "CalibList", "CtrlList", "Label1", "Label5", "Label9"})
            QVERIFY2(!h.get(f)->isVisible(), f);
        QVERIFY(h.get("ICON1")->isVisible());
        QVERIFY(h.get("Command1")->isEnabled());

        h.click("cmdBottleBack");
        QVERIFY(h.get("cmdBottle")->isVisible() && h.get("cmdBottle")->isEnabled());
        QVERIFY(!back->isVisible() && !back->isEnabled());
        for (const char* b : kBlockedInBottleMode)
            QVERIFY2(h.get(b)->isEnabled(), b);
        for (const char* f : {"ORLAN_Frame", "VEX_Frame", "TOX_Frame", "ADULT_FRAME", "CalibList", "CtrlList",
                              "Label1", "Label4", "Label5", "Label9"})
            QVERIFY2(h.get(f)->isVisible(), f);
        QVERIFY(!h.get("ReagBottleSizeFrame")->isVisible());
        QVERIFY(!h.get("CalBottleSizeFrame")->isVisible());
        QCOMPARE(h.get<QLabel>("Label4")->text(), QStringLiteral("REQUIRED CALIBRATORS"));
        QCOMPARE(h.get("Label4")->geometry(), twipsRect(360, 6600, 3100, 375));
        QCOMPARE(h.get("Label5")->pos(), twipsRect(6700, 6600, 0, 0).topLeft());

        h.click("cmdBottle");
        h.click("Command1");  // the exit works in the mode
        QCOMPARE(h.exits, 1);
    }

    void ticksChooseTheVariantAndTheListsAndFileShowIt() {
        Harness h;
        clickBox(h.get<QCheckBox>("Check34"));  // VEX AMPHETAMINES at 500: C 30, 44..47
        clickBox(h.get<QRadioButton>("Option15"));
        const QStringList ctrlBefore = h.get<TabStopList>("CtrlList")->lines();
        h.click("cmdBottle");

        QCheckBox* reagent = h.w->bottleSizes().Check20(15);
        QCheckBox* cal44 = h.w->bottleSizes().Check71(44);
        QVERIFY(reagent && cal44);
        // On the bar far right of the caption, as on the caption itself.
        h.clickNearRightEdge(reagent);
        QCOMPARE(h.order().Assays[15].SizeChoice, 2);
        QCOMPARE(reagent->text(), QStringLiteral("VEX Amphetamines Assay 500 ml"));
        h.clickNearRightEdge(cal44);
        QCOMPARE(h.order().Calibs[44].SizeChoice, 2);
        QCOMPARE(cal44->text(), QStringLiteral("25 ml  VEX Multi-Drug Urine Calibrator 1"));
        clickBox(h.w->bottleSizes().Check71(45));
        clickBox(
            h.w->bottleSizes().Check71(45));  // ticked and unticked again: the standard, chosen explicitly
        QCOMPARE(h.order().Calibs[45].SizeChoice, 1);
        QCOMPARE(h.w->bottleSizes().Check71(45)->text(),
                 QStringLiteral("10 ml  VEX Multi-Drug Urine Calibrator 2"));
        // Nothing shows before the mode is left.
        QVERIFY(!h.get<TabStopList>("CalibList")
                     ->lines()
                     .contains(QStringLiteral("6445\t\tVEX Multi-Drug Urine Calibrator 1")));

        h.click("cmdBottleBack");
        const QStringList lines = h.get<TabStopList>("CalibList")->lines();
        QVERIFY(lines.contains(QStringLiteral("6445\t\tVEX Multi-Drug Urine Calibrator 1")));
        QVERIFY(lines.contains(QStringLiteral("6450\t\tVEX Multi-Drug Urine Calibrator 2")));
        QCOMPARE(h.get<TabStopList>("CtrlList")->lines(), ctrlBefore);
        const QString file = q(OrderListText(h.order()));
        QVERIFY(file.contains(QStringLiteral("4155")));  // the 500 ml reagent
        QVERIFY(!file.contains(QStringLiteral("4150")));
        QVERIFY(file.contains(QStringLiteral("6445")));
    }

    void aStoredChoiceOutlivesTheRulesAndShowsOnReEntry() {
        Harness h;
        clickBox(h.get<QCheckBox>("Check1"));
        clickBox(h.get<QCheckBox>("Check3"));
        h.click("cmdBottle");
        clickBox(h.w->bottleSizes().Check20(3));
        clickBox(h.w->bottleSizes().Check71(1));
        h.click("cmdBottleBack");

        clickBox(h.get<QCheckBox>("Check3"));  // benzo out: its reagent leaves the order
        h.click("cmdBottle");
        QCOMPARE(indexes(shownBoxes(h.get("ReagBottleSizeFrame"), "Check20")), (QList<int>{1}));
        QCOMPARE(h.order().Assays[3].SizeChoice, 2);  // kept while out of the order
        QVERIFY(h.w->bottleSizes().Check71(1)->isChecked());
        QCOMPARE(h.w->bottleSizes().Check71(1)->text(), QStringLiteral("15 ml  Negative Urine Calibrator"));
        h.click("cmdBottleBack");

        clickBox(h.get<QCheckBox>("Check3"));  // back in: the choice applies again
        h.click("cmdBottle");
        QVERIFY(h.w->bottleSizes().Check20(3)->isChecked());
        QCOMPARE(h.w->bottleSizes().Check20(3)->text(), q(TheCatalogue().Assays[3].Name2));
        QVERIFY(!h.w->bottleSizes().Check20(1)->isChecked());
    }

    void aResetClearsTheChosenSizes() {
        Harness h;
        clickBox(h.get<QCheckBox>("Check1"));
        h.click("cmdBottle");
        clickBox(h.w->bottleSizes().Check20(1));
        clickBox(h.w->bottleSizes().Check71(1));
        h.click("cmdBottleBack");
        h.click("Command2");
        QCOMPARE(h.order().Assays[1].SizeChoice, 0);
        QCOMPARE(h.order().Calibs[1].SizeChoice, 0);
        clickBox(h.get<QCheckBox>("Check1"));
        h.click("cmdBottle");
        QVERIFY(!h.w->bottleSizes().Check20(1)->isChecked());
        QVERIFY(!h.w->bottleSizes().Check71(1)->isChecked());
        QCOMPARE(h.w->bottleSizes().Check20(1)->text(), q(TheCatalogue().Assays[1].Name1));
    }

    void enteringAndLeavingAThousandTimesLeavesNoBoxBehind() {
        Harness h;
        h.key(Qt::Key_A, Qt::ShiftModifier);  // every box there can be: 27 reagents, 13 calibrators
        auto* reagFrame = h.get("ReagBottleSizeFrame");
        auto* calFrame = h.get("CalBottleSizeFrame");
        const auto count = [](QWidget* frame) { return frame->findChildren<QCheckBox*>().size(); };
        for (int i = 0; i < 1000; ++i) {
            h.click("cmdBottle");
            if (i == 0) {
                QCOMPARE(count(reagFrame), 27 + 1);  // and the template
                QCOMPARE(count(calFrame), 13 + 1);
                // Filling again replaces the boxes: never two elements under one index.
                h.w->bottleSizes().ShowReagBottleSizes(3);
                h.w->bottleSizes().ShowCalBottleSizes();
                QCOMPARE(count(reagFrame), 27 + 1);
                QCOMPARE(count(calFrame), 13 + 1);
            }
            h.click("cmdBottleBack");
            // The event loop runs between a user's clicks; here now and then is enough to keep
            // the posted events of 40,000 boxes from piling up, and spares 1,000 repaints.
            if (i % 50 == 49)
                QCoreApplication::processEvents();
        }
        QCOMPARE(count(reagFrame), 1);
        QCOMPARE(count(calFrame), 1);
        QCOMPARE(h.w->findChildren<QCheckBox*>(QStringLiteral("Check20")).size(), 1);
        QCOMPARE(h.w->bottleSizes().Check20(0)->property("index").toInt(), 0);
        QVERIFY(!h.w->bottleSizes().Check20(0)->isVisible());
        for (int s = 1; s <= 40; ++s)
            QCOMPARE(h.w->bottleSizes().Check20(s), nullptr);
    }

    void everyBoxTickedOrUntickedAtOnce() {
        Harness h;
        h.key(Qt::Key_A, Qt::ShiftModifier);
        h.key(Qt::Key_2);  // the boxes take the scheme in force at entry
        h.click("cmdBottle");
        QCOMPARE(background(h.w->bottleSizes().Check20(15)), bgr(0xB2B3BD));
        QCOMPARE(background(h.w->bottleSizes().Check20(1)), bgr(0xE2C3A9));
        clickBox(h.w->bottleSizes().Check20(2));
        h.key(Qt::Key_A, Qt::ShiftModifier);
        for (QCheckBox* b : shownBoxes(h.get("ReagBottleSizeFrame"), "Check20")) {
            const int slot = b->property("index").toInt();
            QVERIFY(b->isChecked());
            QCOMPARE(h.order().Assays[slot].SizeChoice, 2);
            QCOMPARE(b->text(), q(TheCatalogue().Assays[slot].Name2));
        }
        QCOMPARE(h.order().Calibs[72].SizeChoice, 2);
        h.key(Qt::Key_Escape);
        for (int s : {1, 2, 39})
            QCOMPARE(h.order().Assays[s].SizeChoice, 1);
        QCOMPARE(h.w->bottleSizes().Check71(72)->text(),
                 QStringLiteral("5 ml  VEX THC Calibrator 200 ng/ml"));
        QCOMPARE(h.order().Assays[14].SizeChoice, 0);  // no box, no choice
    }

    void theTemplatesStandForNoProduct() {
        Harness h;
        clickBox(h.get<QCheckBox>("Check1"));
        // A tick on a template reaches no record, and the reset unticks it like every box.
        h.w->bottleSizes().Check20(0)->setChecked(true);
        h.w->bottleSizes().Check71(0)->setChecked(true);
        QCOMPARE(h.order().Assays[1].SizeChoice, 0);
        h.click("Command2");
        QVERIFY(!h.w->bottleSizes().Check20(0)->isChecked());
        QVERIFY(!h.w->bottleSizes().Check71(0)->isChecked());
    }

    // ---- Adding calibrators and controls -------------------------------------------------------

    void addingModeListsWhatIsNotInTheOrder() {
        Harness h;
        clickBox(h.get<QCheckBox>("Check1"));  // orders the negative calibrator, slot 1
        h.click("Command4");
        auto* calMiss = h.get<QListWidget>("CalMissList");
        auto* ctrlMiss = h.get<QListWidget>("CtrlMissList");
        QVERIFY(calMiss->isVisible() && ctrlMiss->isVisible());
        QCOMPARE(calMiss->geometry(), twipsRect(120, 500, 5400, 10000));
        QCOMPARE(ctrlMiss->geometry(), twipsRect(5800, 500, 5400, 10000));
        QCOMPARE(h.get<QLabel>("Label4")->text(), QStringLiteral("SELECT CALIBRATORS"));
        QCOMPARE(h.get<QLabel>("Label5")->text(), QStringLiteral("SELECT CONTROLS"));
        QCOMPARE(h.get("Label5")->pos(), twipsRect(6000, 120, 0, 0).topLeft());

        QCOMPARE(calMiss->count(), 61);
        QCOMPARE(static_cast<int>(h.w->adding().CalMissSlot.size()), calMiss->count());
        QCOMPARE(h.w->adding().CalMissSlot[0], 2);
        QCOMPARE(ctrlMiss->count(), 43);
        h.w->adding().FillCalMissList();  // a fill on its own starts afresh, so the map still fits the list
        QCOMPARE(calMiss->count(), 61);
        for (int p = 0; p < calMiss->count(); ++p) {
            QListWidgetItem* item = calMiss->item(p);
            QCOMPARE(item->text(),
                     q(TheCatalogue().Calibs[h.w->adding().CalMissSlot[static_cast<std::size_t>(p)]].Name));
            QCOMPARE(item->checkState(), Qt::Unchecked);
            QVERIFY(item->flags().testFlag(Qt::ItemIsUserCheckable));
        }
        // An unticked box must show on the dark list, not dark on dark.
        const QPoint tickCentre = tickBoxOf(calMiss, 0).center();
        const QImage shot = calMiss->viewport()->grab().toImage();
        QVERIFY(shot.pixelColor(tickCentre * shot.devicePixelRatio()).lightness() > 200);
        QVERIFY(background(calMiss).lightness() < 50);
    }

    void addingModeBlocksTheOtherCommandsAndCanBeLeft() {
        Harness h;
        h.click("Command4");
        QVERIFY(!h.get("Command4")->isVisible());
        auto* back = h.get("Command4Back");
        QVERIFY(back->isVisible() && back->isEnabled());
        QCOMPARE(back->pos(), twipsRect(13800, 7920, 0, 0).topLeft());
        for (const char* b : kBlockedInAddingMode)
            QVERIFY2(!h.get(b)->isEnabled(), b);
        QVERIFY(h.get("Command1")->isEnabled());
        for (const char* f : {"ORLAN_Frame", "VEX_Frame", "NV_Banner", "CalibList", "CtrlList", "Label1"})
            QVERIFY2(!h.get(f)->isVisible(), f);

        h.click("Command4Back");
        QVERIFY(h.get("Command4")->isVisible() && h.get("Command4")->isEnabled());
        QVERIFY(!back->isVisible() && !back->isEnabled());
        for (const char* b : kBlockedInAddingMode)
            QVERIFY2(h.get(b)->isEnabled(), b);
        QVERIFY(!h.get("CalMissList")->isVisible());
        QVERIFY(!h.get("CtrlMissList")->isVisible());
        // Nothing ticked: nothing added, but both lists rebuilt and shown.
        QVERIFY(h.get("CalibList")->isVisible() && h.get("CtrlList")->isVisible());
        QCOMPARE(h.get<TabStopList>("CalibList")->count(), 0);
        QCOMPARE(h.get<QLabel>("Label4")->text(), QStringLiteral("REQUIRED CALIBRATORS"));
        QCOMPARE(h.get("Label5")->pos(), twipsRect(6700, 6600, 0, 0).topLeft());
    }

    void tickedEntriesJoinTheOrderUntilTheNextClickInThePanel() {
        Harness h;
        clickBox(h.get<QCheckBox>("Check1"));
        h.click("Command4");
        auto* calMiss = h.get<QListWidget>("CalMissList");
        auto* ctrlMiss = h.get<QListWidget>("CtrlMissList");
        clickEntry(calMiss, 1, true);  // the second entry: slot 3, since slot 1 is ordered
        QCOMPARE(calMiss->item(1)->checkState(), Qt::Checked);
        clickEntry(ctrlMiss, 20, false);  // on the name: slot 22, past the unnamed slot 21
        QCOMPARE(ctrlMiss->item(20)->checkState(), Qt::Checked);
        clickEntry(ctrlMiss, 0, false);  // ticked and unticked again
        clickEntry(ctrlMiss, 0, true);
        QCOMPARE(ctrlMiss->item(0)->checkState(), Qt::Unchecked);
        QCOMPARE(h.order().Calibs[3].Selected, 0);  // nothing joins before the mode is left

        h.click("Command4Back");
        const Order& order = h.order();
        const Catalogue& cat = TheCatalogue();
        QCOMPARE(order.Calibs[3].Selected, 1);
        QCOMPARE(order.Calibs[2].Selected, 0);
        QCOMPARE(order.Ctrls[22].Selected, 1);
        QCOMPARE(order.Ctrls[1].Selected, 0);
        QVERIFY(order.state[AssayRow::OrlanAmphXtc].Sel);  // no rules ran
        QCOMPARE(h.get<TabStopList>("CalibList")->lines(),
                 (QStringList{q(testing::listLine(cat.Calibs[1].OrderNo1, cat.Calibs[1].Name)),
                              q(testing::listLine(cat.Calibs[3].OrderNo1, cat.Calibs[3].Name))}));
        QCOMPARE(h.get<TabStopList>("CtrlList")->lines(),
                 (QStringList{q(testing::listLine(cat.Ctrls[22].OrderNo, cat.Ctrls[22].Name))}));
        QVERIFY(q(OrderListText(order)).contains(q(cat.Ctrls[22].OrderNo)));

        // Once in the order, they are no longer offered.
        h.click("Command4");
        QCOMPARE(calMiss->count(), 60);
        QVERIFY(std::find(h.w->adding().CalMissSlot.begin(), h.w->adding().CalMissSlot.end(), 3) ==
                h.w->adding().CalMissSlot.end());
        h.click("Command4Back");

        clickBox(h.get<QCheckBox>("Check3"));  // any click in the panel re-derives the order
        QCOMPARE(order.Calibs[3].Selected, 0);
        QCOMPARE(order.Ctrls[22].Selected, 0);
        QCOMPARE(h.get<TabStopList>("CalibList")->count(), 1);
    }

    void anAddedCalibratorTakesItsChosenSize() {
        Harness h;
        h.click("Command4");
        const auto& map = h.w->adding().CalMissSlot;
        const auto at = std::find(map.begin(), map.end(), 44);
        QVERIFY(at != map.end());
        clickEntry(h.get<QListWidget>("CalMissList"), static_cast<int>(at - map.begin()), false);
        h.click("Command4Back");
        h.click("cmdBottle");
        QCOMPARE(indexes(shownBoxes(h.get("CalBottleSizeFrame"), "Check71")), (QList<int>{44}));
        clickBox(h.w->bottleSizes().Check71(44));
        h.click("cmdBottleBack");
        QCOMPARE(h.get<TabStopList>("CalibList")->lines(),
                 (QStringList{QStringLiteral("6445\t\tVEX Multi-Drug Urine Calibrator 1")}));
    }

    void everyEntryTickedAtOnceAndNothingLeftToAdd() {
        Harness h;
        h.click("Command4");
        h.key(Qt::Key_A, Qt::ShiftModifier);
        h.key(Qt::Key_Escape);
        h.click("Command4Back");
        QCOMPARE(h.get<TabStopList>("CalibList")->count(), 0);

        h.click("Command4");
        h.key(Qt::Key_A, Qt::ShiftModifier);
        h.click("Command4Back");
        QCOMPARE(h.get<TabStopList>("CalibList")->count(), 62);
        QCOMPARE(h.get<TabStopList>("CtrlList")->count(), 43);
        h.click("Command4");
        QCOMPARE(h.get<QListWidget>("CalMissList")->count(), 0);
        QCOMPARE(h.get<QListWidget>("CtrlMissList")->count(), 0);
        h.click("Command4Back");
        QCOMPARE(h.get<TabStopList>("CalibList")->count(), 62);

        h.click("Command2");  // a reset takes the hand-added items out again
        for (const CalibOrder& c : h.order().Calibs)
            QCOMPARE(c.Selected, 0);
    }
};

QTEST_MAIN(RefinementTest)
#include "refinement_widget_test.moc"
