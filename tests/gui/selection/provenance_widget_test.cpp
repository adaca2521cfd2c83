// "Why is it in the order?" as the user meets it: every line of REQUIRED CALIBRATORS and SUGGESTED
// CONTROLS carries the sentence naming what put it there as its tooltip, refreshed on every fill,
// while the lines and the order file stay exactly what they are without it.
#include "core/output/order_file.h"
#include "core/selection/provenance.h"
#include "core/selection/result_lists.h"
#include "core/selection/rules.h"
#include "gui/mainwindow/frmMain.h"
#include "gui/widgets/app_style.h"
#include "gui/widgets/fonts.h"
#include "gui/widgets/tab_stop_list.h"
#include "tests/support/order_lines.h"
#include "tests/support/window_harness.h"

#include <QApplication>
#include <QCheckBox>
#include <QHelpEvent>
#include <QListWidget>
#include <QRadioButton>
#include <QToolTip>
#include <QtTest>

using namespace tovimar;
using testing::clickBox;

namespace {

struct Harness : testing::Harness {
    Harness() : testing::Harness(MainView) {}

    TabStopList* calibList() const { return get<TabStopList>("CalibList"); }
    TabStopList* ctrlList() const { return get<TabStopList>("CtrlList"); }

    void tick(const char* box) const { clickBox(get<QCheckBox>(box)); }
    void choose(const char* option) const { clickBox(get<QRadioButton>(option)); }

    // The tooltip of the line that shows slot `slot` (lines are in slot order).
    template <typename Table>
    QString tipOf(TabStopList* list, const Table& table, int slot) const {
        int line = 0;
        for (int k = 1; k < slot; ++k)
            line += table[k].Selected == 1;
        if (table[slot].Selected != 1 || line >= list->count())
            return QStringLiteral("<slot %1 not listed>").arg(slot);
        return list->item(line)->data(Qt::ToolTipRole).toString();
    }
    QString calTip(int slot) const { return tipOf(calibList(), order().Calibs, slot); }
    QString ctrlTip(int slot) const { return tipOf(ctrlList(), order().Ctrls, slot); }
};

QStringList tips(const TabStopList* list) {
    QStringList out;
    for (int i = 0; i < list->count(); ++i)
        out << list->item(i)->toolTip();
    return out;
}

QStringList qStrings(const std::vector<std::string>& v) {
    QStringList out;
    for (const std::string& s : v)
        out << QString::fromLatin1(s);
    return out;
}

// Every line has a sentence, and the sentence is the one recorded for that line's slot.
void expectEveryLineExplained(const Harness& h) {
    std::vector<std::string> cal, ctl;
    CalibListReasons(h.order(), cal);
    CtrlListReasons(h.order(), ctl);
    HELPER_COMPARE(tips(h.calibList()), qStrings(cal));
    HELPER_COMPARE(tips(h.ctrlList()), qStrings(ctl));
    for (const QString& tip : tips(h.calibList()) + tips(h.ctrlList()))
        HELPER_VERIFY2(!tip.isEmpty(), "a listed line without a reason");
}

// The lines and the file as the plain run of the rules makes them for the window's assay state.
void expectOutputsAsWithoutRecording(const Harness& h) {
    Order plain;
    update(h.order().state, static_cast<OrderFlags&>(plain));
    HELPER_COMPARE(h.calibList()->lines(), qStrings(testing::calibLines(plain)));
    HELPER_COMPARE(h.ctrlList()->lines(), qStrings(testing::ctrlLines(plain)));
    HELPER_COMPARE(OrderListText(h.order()), OrderListText(plain));
}

bool nothingRecorded(const Provenance& p) {
    for (int k = 1; k <= CalibTable::kFilled; ++k)
        if (!p.Of(OrderTable::Calibs, k).empty())
            return false;
    for (int k = 1; k <= CtrlTable::kFilled; ++k)
        if (!p.Of(OrderTable::Ctrls, k).empty())
            return false;
    for (int k = 1; k <= AssayTable::kFilled; ++k)
        if (!p.Of(OrderTable::Assays, k).empty())
            return false;
    return true;
}

}  // namespace

class ProvenanceWidgetTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() {
        installApplicationStyle();
        installFontSubstitutes();
    }

    void sharedLinesNameBothRowsAndFollowEveryChange() {
        Harness h;
        h.tick("Check1");  // ORLAN AMPH / XTC
        h.choose("Option5");
        h.tick("Check34");  // VEX AMPHETAMINES
        h.choose("Option15");
        h.tick("Check36");  // its QUAL box
        const QString both =
            QStringLiteral("ORLAN AMPH / XTC (cut-off 500, full) and VEX AMPHETAMINES (cut-off 500, QUAL)");
        QCOMPARE(h.calTip(1), QStringLiteral("Required by ") + both);
        QCOMPARE(h.ctrlTip(1), QStringLiteral("Suggested for ") + both);
        QCOMPARE(h.calTip(44), QStringLiteral("Required by VEX AMPHETAMINES (cut-off 500, QUAL)"));
        expectEveryLineExplained(h);
        expectOutputsAsWithoutRecording(h);

        // Resting the pointer on the first line shows the sentence.
        TabStopList* list = h.calibList();
        const QPoint at = list->visualItemRect(list->item(0)).center();
        QHelpEvent hover(QEvent::ToolTip, at, list->viewport()->mapToGlobal(at));
        QApplication::sendEvent(list->viewport(), &hover);
        QTRY_COMPARE(QToolTip::text(), QStringLiteral("Required by ") + both);
        QToolTip::hideText();

        // The next fill keeps the unchanged line but not its old tooltip.
        const QString firstLine = list->item(0)->text();
        h.tick("Check34");  // VEX AMPHETAMINES unticked: C 1 stays, now for ORLAN alone
        QCOMPARE(list->item(0)->text(), firstLine);
        QCOMPARE(h.calTip(1), QStringLiteral("Required by ORLAN AMPH / XTC (cut-off 500, full)"));
        h.tick("Check21");  // ORLAN's QUAL box
        QCOMPARE(h.calTip(1), QStringLiteral("Required by ORLAN AMPH / XTC (cut-off 500, QUAL)"));
        expectEveryLineExplained(h);
    }

    void handAdditionsSayAddedByHandUntilTheNextClick() {
        Harness h;
        h.tick("Check13");  // VEX ETHYL ALCOHOL: C 24, 25 and K 17, 18
        h.click("Command4");
        auto* calMiss = h.get<QListWidget>("CalMissList");
        auto* ctrlMiss = h.get<QListWidget>("CtrlMissList");
        calMiss->item(0)->setCheckState(Qt::Checked);
        ctrlMiss->item(1)->setCheckState(Qt::Checked);
        const int calAdded = h.w->adding().CalMissSlot[0];
        const int ctrlAdded = h.w->adding().CtrlMissSlot[1];
        h.click("Command4Back");

        QCOMPARE(h.calTip(calAdded), QStringLiteral("Added by hand"));
        QCOMPARE(h.ctrlTip(ctrlAdded), QStringLiteral("Added by hand"));
        QCOMPARE(h.calTip(24), QStringLiteral("Required by VEX ETHYL ALCOHOL (no cut-off)"));
        QCOMPARE(h.ctrlTip(18), QStringLiteral("Suggested for VEX ETHYL ALCOHOL (no cut-off)"));
        QCOMPARE(h.calibList()->count(), 3);
        expectEveryLineExplained(h);

        h.tick("Check19");  // CREATININE: the rules run, the hand additions are gone
        QVERIFY(!tips(h.calibList()).contains(QStringLiteral("Added by hand")));
        QVERIFY(!tips(h.ctrlList()).contains(QStringLiteral("Added by hand")));
        QCOMPARE(h.calTip(31), QStringLiteral("Required by Adulteration CREATININE (no cut-off)"));
        expectEveryLineExplained(h);
        expectOutputsAsWithoutRecording(h);
    }

    void selectAllSaysSoWhereItAddedTheLine() {
        Harness h;
        h.tick("Check13");
        h.key(Qt::Key_A, Qt::ShiftModifier);
        QCOMPARE(h.calTip(24), QStringLiteral("Required by VEX ETHYL ALCOHOL (no cut-off)"));
        QCOMPARE(h.calTip(1), QStringLiteral("Added by select all"));
        QCOMPARE(h.ctrlTip(1), QStringLiteral("Added by select all"));
        const QStringList calTips = tips(h.calibList());
        QCOMPARE(calTips.count(QStringLiteral("Added by select all")), h.calibList()->count() - 2);
        expectEveryLineExplained(h);
        QCOMPARE(h.calibList()->lines(), qStrings(testing::calibLines(h.order())));
    }

    void resetForgetsEveryReason() {
        Harness h;
        // Select all with no row ticked: the reset then runs no rules, and must forget by itself.
        h.key(Qt::Key_A, Qt::ShiftModifier);
        QVERIFY(!nothingRecorded(h.order().provenance));
        h.click("Command2");
        QVERIFY(nothingRecorded(h.order().provenance));
        QCOMPARE(h.calibList()->count(), 0);

        // After the reset a select all says select all everywhere: nothing from before lingers.
        h.key(Qt::Key_A, Qt::ShiftModifier);
        for (const QString& tip : tips(h.calibList()) + tips(h.ctrlList()))
            QCOMPARE(tip, QStringLiteral("Added by select all"));
    }
};

QTEST_MAIN(ProvenanceWidgetTest)
#include "provenance_widget_test.moc"
