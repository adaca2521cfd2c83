// The main window as a user meets it: start screen, transition, the assay panel driven by real
// clicks, the two result lists, the reset and the colour schemes.
#include "core/output/order_file.h"
#include "core/selection/result_lists.h"
#include "core/selection/rules.h"
#include "gui/mainwindow/colour_schemes.h"
#include "gui/mainwindow/frmMain.h"
#include "gui/planning/frmOrder.h"
#include "gui/selection/assay_panel.h"
#include "gui/widgets/app_style.h"
#include "gui/widgets/fonts.h"
#include "gui/widgets/tab_stop_list.h"
#include "gui/widgets/twips.h"
#include "gui/widgets/widget_colours.h"
#include "tests/support/order_lines.h"
#include "tests/support/window_harness.h"

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QGroupBox>
#include <QHelpEvent>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QSpinBox>
#include <QStyleOptionButton>
#include <QTemporaryDir>
#include <QToolTip>
#include <QtTest>
#include <memory>
#include <optional>

using namespace tovimar;
using tovimar::testing::clickBox;
using tovimar::testing::Harness;

namespace {

QColor background(QWidget* w) {
    return w->palette().color(QPalette::Window);
}

QStringList qLines(const std::vector<std::string>& lines) {
    QStringList out;
    for (const std::string& l : lines)
        out << QString::fromLatin1(l);
    return out;
}

}  // namespace

class MainWindowTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() {
        installApplicationStyle();
        installFontSubstitutes();
    }

    void startScreenAfterLoad() {
        Harness h;
        // The start screen holds only what it shows: the views wait for the user's first action.
        QCoreApplication::processEvents();
        QVERIFY(!h.w->builtControl(QStringLiteral("ORLAN_Frame")));
        QTest::keyClick(h.w->windowHandle(), Qt::Key_Shift);
        QVERIFY(h.w->builtControl(QStringLiteral("ORLAN_Frame")));
        QCOMPARE(h.w->mode(), Mode::Start);
        auto* pic = h.get("picStart");
        QVERIFY(pic->isVisible());
        QCOMPARE(pic->geometry(), twipsRect(0, 0, 13140, 11955));
        // The start picture and the banner are compiled in as raw pixels: exactly the pictures.
        for (const auto& [label, file] :
             {std::pair{"picStart", "start.jpg"}, std::pair{"NV_Banner", "banner.jpg"}}) {
            const QImage shown = qobject_cast<QLabel*>(h.get(label))->pixmap().toImage();
            const QImage picture(QStringLiteral(TOVIMAR_RESOURCES "/") + QLatin1String(file));
            QVERIFY(!picture.isNull());
            QCOMPARE(shown.convertToFormat(QImage::Format_RGB32),
                     picture.convertToFormat(QImage::Format_RGB32));
        }
        // The icon too, transparency included.
        const QImage icon(QStringLiteral(TOVIMAR_RESOURCES "/app_icon_48.png"));
        QCOMPARE(h.w->windowIcon().pixmap(48).toImage().convertToFormat(QImage::Format_ARGB32_Premultiplied),
                 icon.convertToFormat(QImage::Format_ARGB32_Premultiplied));
        QVERIFY(h.get("NV_Banner")->isVisible());
        QCOMPARE(h.get("NV_Banner")->geometry(), twipsRect(0, 9840, 15255, 1620));
        for (const char* f : {"ORLAN_Frame", "VEX_Frame", "TOX_Frame", "ADULT_FRAME"}) {
            QVERIFY(!h.get(f)->isVisible());
            QCOMPARE(h.get(f)->height(), px(350));
            QCOMPARE(h.get(f)->palette().color(QPalette::WindowText), bgr(0x3140DD));
        }
        for (const char* b : {"Command1", "Command2", "Command3", "Command4", "cmdBottle", "cmdHelp",
                              "cmdBottleBack", "Command4Back"})
            QVERIFY(!h.get(b)->isVisible());
        for (const char* l : {"CalibList", "CtrlList", "Label4", "Label5", "ICON1", "picHelp"})
            QVERIFY(!h.get(l)->isVisible());
        QCOMPARE(h.w->size(), QSize(px(15510), px(11445)));
        QCOMPARE(h.w->palette().color(QPalette::Window), bgr(0x121212));
        QCOMPARE(h.get("Label4")->palette().color(QPalette::Window), bgr(0x121212));
        QCOMPARE(h.w->colourScheme(), 3);
        QVERIFY(h.w->windowTitle().startsWith(QStringLiteral("Nordvale Tovimar Vers. 2011  ")));
        QVERIFY(h.pauses.empty());
    }

    void transitionGrowsFramesAndShowsButtonsInOrder() {
        Harness h;
        auto* tox = h.get("TOX_Frame");
        auto* adult = h.get("ADULT_FRAME");
        auto* orlan = h.get("ORLAN_Frame");
        int growthPauses = 0;
        int adultFirstHeight = -1;
        bool toxCapped = true;
        QStringList buttonOrder;
        bool framesInFront = true;
        bool pictureOverBanner = true;
        const QPoint bannerPoint = h.get("NV_Banner")->geometry().topLeft() + QPoint(40, 10);
        // What a pointer at a frame's lower part hits: the growing frame, not the start picture
        // (which stays in front of the banner).
        const auto frontAt = [&](QWidget* frame) {
            const QPoint p = frame->mapTo(h.w.get(), QPoint(frame->width() / 2, frame->height() - 4));
            QWidget* top = h.w->childAt(p);
            return top == frame || frame->isAncestorOf(top);
        };
        h.onPause = [&] {
            if (h.pauses.back() != 300) {
                ++growthPauses;
                for (QWidget* f : {orlan, h.get("VEX_Frame"), tox})
                    framesInFront = framesInFront && frontAt(f);
                pictureOverBanner = pictureOverBanner && h.w->childAt(bannerPoint) == h.get("picStart");
                if (adult->isVisible() && adultFirstHeight < 0)
                    adultFirstHeight = adult->height();
                // The validity frame appears only once the others reach its top.
                if (adult->isVisible())
                    QVERIFY(orlan->height() >= px(4000) - 1);
                toxCapped = toxCapped && tox->height() <= px(2775);
                return;
            }
            for (const char* b : {"Command2", "Command3", "Command1", "cmdBottle", "Command4", "cmdHelp"})
                if (h.get(b)->isVisible() && !buttonOrder.contains(QLatin1String(b)))
                    buttonOrder << QLatin1String(b);
        };
        h.enterMainView();
        // With a clock that never runs late, every one of the 301 steps is painted and paced.
        QCOMPARE(growthPauses, 301);
        QCOMPARE(std::count(h.pauses.begin(), h.pauses.end(), 300), 6);
        QCOMPARE(adultFirstHeight, px(100));
        QVERIFY(toxCapped);
        QVERIFY2(framesInFront, "the start picture hides the growing frames");
        QVERIFY2(pictureOverBanner, "the banner lies over the start picture");
        // Each button appears only after the pause before it: at the n-th pause n-1 are shown.
        QCOMPARE(buttonOrder, (QStringList{"Command2", "Command3", "Command1", "cmdBottle", "Command4"}));
        for (const char* b : {"Command2", "Command3", "Command1", "cmdBottle", "Command4", "cmdHelp"}) {
            QVERIFY(h.get(b)->isVisible());
            QVERIFY(h.get(b)->isEnabled());
        }
        QCOMPARE(orlan->geometry(), QRect(px(120), px(100), px(6300), px(6300)));
        QCOMPARE(h.get("VEX_Frame")->geometry(), QRect(px(6555), px(100), px(5580), px(6300)));
        QCOMPARE(tox->geometry(), QRect(px(12280), px(100), px(3080), px(2775)));
        QCOMPARE(adult->geometry(), QRect(px(12280), px(4000), px(3080), px(2400)));
        QVERIFY(!h.get("picStart")->isVisible());
        QVERIFY(h.get("NV_Banner")->isVisible());
        QVERIFY(h.get("Picture1")->isVisible());  // containers shown, options not
        QVERIFY(!h.get("Option4")->isVisible());
        QVERIFY(h.get("Label1")->isVisible());
        QVERIFY(!h.get("Check50")->isVisible());  // METHADONE METABOLITE never shows
    }

    void lateStepsAreSetButNotPainted() {
        Harness h;
        // A display so slow that every step is late: only the last growth step pauses, and the
        // frames still end where they must.
        h.w->hide();
        frmMainHooks slow;
        std::int64_t now = 0;
        int growthPauses = 0;
        slow.clockMs = [&] { return now += 5; };
        slow.pause = [&](int ms) {
            if (ms != 300)
                ++growthPauses;
        };
        slow.endProgram = [] {};
        frmMain w(slow);
        w.show();
        QTest::mouseClick(w.control("picStart"), Qt::LeftButton, {}, QPoint(200, 200));
        QVERIFY(growthPauses <= 1);
        QCOMPARE(w.control("ORLAN_Frame")->height(), px(6300));
        QCOMPARE(w.control("ADULT_FRAME")->height(), px(2400));
    }

    void tickingShowsOptionsAndUntickingClears() {
        Harness h;
        h.enterMainView();
        auto* amph = h.get<QCheckBox>("Check1");
        auto* qual = h.get<QCheckBox>("Check21");
        QVERIFY(!qual->isVisible());
        clickBox(amph);
        QVERIFY(amph->isChecked());
        QVERIFY(qual->isVisible());
        for (const char* o : {"Option4", "Option5", "Option6"}) {
            QVERIFY(h.get(o)->isVisible());
            QVERIFY(!h.get<QRadioButton>(o)->isChecked());  // no default cut-off
        }
        const AssayState& s = h.w->order().state;
        QCOMPARE(s[AssayRow::OrlanAmphXtc].Cut, 0.0);
        // Ticked without a cut-off: the negative calibrator and the reagent only.
        QCOMPARE(h.get<TabStopList>("CalibList")->lines(), qLines(testing::calibLines(h.w->order())));
        QCOMPARE(h.get<TabStopList>("CalibList")->count(), 1);
        QCOMPARE(h.get<TabStopList>("CtrlList")->count(), 0);

        clickBox(h.get<QRadioButton>("Option5"));
        clickBox(qual);
        QCOMPARE(s[AssayRow::OrlanAmphXtc].Cut, 500.0);
        QVERIFY(s[AssayRow::OrlanAmphXtc].Qual);

        clickBox(amph);  // untick: QUAL and cut-off go, options hide unchosen
        QVERIFY(!s[AssayRow::OrlanAmphXtc].Sel);
        QVERIFY(!s[AssayRow::OrlanAmphXtc].Qual);
        QCOMPARE(s[AssayRow::OrlanAmphXtc].Cut, 0.0);
        QVERIFY(!qual->isChecked());
        QVERIFY(!qual->isVisible());
        QVERIFY(!h.get<QRadioButton>("Option5")->isChecked());
        QVERIFY(!h.get("Option5")->isVisible());
        QCOMPARE(h.get<TabStopList>("CalibList")->count(), 0);

        clickBox(amph);  // ticked again: fresh
        QVERIFY(!qual->isChecked());
        QVERIFY(!h.get<QRadioButton>("Option5")->isChecked());
    }

    void lsdAndBuprenorphineCutOffs() {
        Harness h;
        h.enterMainView();
        clickBox(h.get<QCheckBox>("Check8"));
        clickBox(h.get<QRadioButton>("Option24"));
        QCOMPARE(h.w->order().state[AssayRow::OrlanLsd].Cut, 0.5);
        clickBox(h.get<QCheckBox>("Check11"));
        QCOMPARE(h.w->order().state[AssayRow::OrlanBup].Cut, 0.0);
        clickBox(h.get<QRadioButton>("Option22"));
        QCOMPARE(h.w->order().state[AssayRow::OrlanBup].Cut, 5.0);
        // A single chosen option cannot be un-chosen by clicking it again.
        clickBox(h.get<QRadioButton>("Option22"));
        QVERIFY(h.get<QRadioButton>("Option22")->isChecked());
        QCOMPARE(h.w->order().state[AssayRow::OrlanBup].Cut, 5.0);
    }

    void untickingTcaKeepsItsQual() {
        Harness h;
        h.enterMainView();
        auto* tca = h.get<QCheckBox>("Check18");
        auto* qual = h.get<QCheckBox>("Check39");
        clickBox(tca);
        clickBox(qual);
        clickBox(tca);
        QVERIFY(!qual->isVisible());
        QVERIFY(qual->isChecked());
        QVERIFY(h.w->order().state[AssayRow::ToxTca].Qual);
        clickBox(tca);
        QVERIFY(qual->isVisible());
        QVERIFY(qual->isChecked());
        // TCA in QUAL mode: negative, C 36, K 46.
        const Catalogue& cat = TheCatalogue();
        QCOMPARE(
            h.get<TabStopList>("CalibList")->lines(),
            QStringList(
                {QString::fromStdString(testing::listLine(cat.Calibs[34].OrderNo1, cat.Calibs[34].Name)),
                 QString::fromStdString(testing::listLine(cat.Calibs[36].OrderNo1, cat.Calibs[36].Name))}));
        QCOMPARE(h.get<TabStopList>("CtrlList")->lines(),
                 QStringList(
                     {QString::fromStdString(testing::listLine(cat.Ctrls[46].OrderNo, cat.Ctrls[46].Name))}));
    }

    void optionsOfOneRowLeaveOtherRowsAlone() {
        Harness h;
        h.enterMainView();
        // ORLAN BARBITURATES and BENZODIAZEPINES both offer 200 and 300.
        clickBox(h.get<QCheckBox>("Check4"));
        clickBox(h.get<QCheckBox>("Check3"));
        clickBox(h.get<QRadioButton>("Option9"));   // barb 200
        clickBox(h.get<QRadioButton>("Option10"));  // benzo 300
        QVERIFY(h.get<QRadioButton>("Option9")->isChecked());
        QVERIFY(h.get<QRadioButton>("Option10")->isChecked());
        clickBox(h.get<QRadioButton>("Option8"));  // barb 300
        QVERIFY(!h.get<QRadioButton>("Option9")->isChecked());
        QVERIFY(h.get<QRadioButton>("Option10")->isChecked());
        QCOMPARE(h.w->order().state[AssayRow::OrlanBarb].Cut, 300.0);
        QCOMPARE(h.w->order().state[AssayRow::OrlanBenzo].Cut, 300.0);
    }

    // Every box and option is a coloured bar of a fixed size: a click on the bar 2 px from its
    // right edge, far past a short caption such as "pH" or "10", acts as a click on the caption.
    void everyBoxTakesAClickAnywhereOnItsBar() {
        Harness h(Harness::MainView);
        const AssayState& s = h.w->order().state;
        const auto get = [&h](std::string_view name) { return h.w->control(QString::fromLatin1(name)); };
        for (const AssayRowDef& def : AssayRows()) {
            if (def.secondColumn)
                continue;  // never shown
            const QString row = QString::fromLatin1(def.caption);
            h.clickNearRightEdge(get(def.selectBox));
            QVERIFY2(s[def.key].Sel, qPrintable(row));
            if (def.hasQual()) {
                h.clickNearRightEdge(get(def.qualBox));
                QVERIFY2(s[def.key].Qual, qPrintable(row));
            }
            for (const CutOption& o : def.options()) {
                h.clickNearRightEdge(get(o.control));
                QVERIFY2(qobject_cast<QRadioButton*>(get(o.control))->isChecked(), qPrintable(row));
                QCOMPARE(s[def.key].Cut, o.value);
            }
            h.clickNearRightEdge(get(def.selectBox));
            QVERIFY2(!s[def.key].Sel, qPrintable(row));
        }
    }

    void listsFollowARealisticSelection() {
        Harness h;
        h.enterMainView();
        // VEX amphetamines at 500 alone: C 30, 44..47, K 1; with ORLAN LSD C 1 replaces C 30.
        clickBox(h.get<QCheckBox>("Check34"));
        clickBox(h.get<QRadioButton>("Option15"));
        const Catalogue& cat = TheCatalogue();
        auto slotsOf = [&](const QStringList& lines, bool calib) {
            QList<int> found;
            for (const QString& line : lines) {
                const std::string number = line.section(QLatin1Char('\t'), 0, 0).toStdString();
                for (int s = 1; s <= (calib ? 72 : 49); ++s)
                    if ((calib ? cat.Calibs[s].OrderNo1 : cat.Ctrls[s].OrderNo) == number)
                        found << s;
            }
            return found;
        };
        QCOMPARE(slotsOf(h.get<TabStopList>("CalibList")->lines(), true), (QList<int>{30, 44, 45, 46, 47}));
        QCOMPARE(slotsOf(h.get<TabStopList>("CtrlList")->lines(), false), (QList<int>{1}));
        clickBox(h.get<QCheckBox>("Check8"));
        QCOMPARE(slotsOf(h.get<TabStopList>("CalibList")->lines(), true), (QList<int>{1, 44, 45, 46, 47}));
        // Serum tox: acetaminophen puts in the TDM controls, so TCA adds no K 46.
        clickBox(h.get<QCheckBox>("Check16"));
        clickBox(h.get<QCheckBox>("Check18"));
        QCOMPARE(slotsOf(h.get<TabStopList>("CtrlList")->lines(), false), (QList<int>{1, 43, 44, 45}));
        QVERIFY(h.get("CalibList")->isVisible());
        QVERIFY(h.get("Label5")->isVisible());
        QCOMPARE(h.get("Label5")->x(), px(6700));
        QVERIFY(!h.get("NV_Banner")->isVisible());
        QVERIFY(h.get("ICON1")->isVisible());

        // Every numbered item, the longest names of the catalogue among them: the lists keep their
        // width and never scroll sideways; a name too long ends in an ellipsis, and resting the
        // pointer on it shows the whole name above the reason.
        h.key(Qt::Key_A, Qt::ShiftModifier);
        auto* ctrl = h.get<TabStopList>("CtrlList");
        QCOMPARE(ctrl->count(), 47);
        QCoreApplication::processEvents();
        for (const char* name : {"CalibList", "CtrlList"}) {
            auto* list = h.get<TabStopList>(name);
            QVERIFY2(!list->horizontalScrollBar()->isVisible(), name);
            QCOMPARE(list->horizontalScrollBar()->maximum(), 0);
        }
        QCOMPARE(ctrl->geometry(), twipsRect(6555, 7080, 5580, 3960));
        const std::string& longest = cat.Ctrls[49].Name;
        QListWidgetItem* last = ctrl->item(ctrl->count() - 1);
        QVERIFY(last->text().endsWith(QString::fromStdString(longest)));  // the item keeps its text
        ctrl->scrollToItem(last);
        const QPoint at = ctrl->visualItemRect(last).center();
        QHelpEvent hover(QEvent::ToolTip, at, ctrl->viewport()->mapToGlobal(at));
        QApplication::sendEvent(ctrl->viewport(), &hover);
        QTRY_COMPARE(QToolTip::text(), QString::fromStdString(longest) + QLatin1Char('\n') + last->toolTip());
        QToolTip::hideText();
    }

    void tabsShowAsAlignedColumns() {
        Harness h;
        auto* list = h.get<TabStopList>("CalibList");
        const QFontMetricsF fm(list->font());
        const qreal stop = list->tabStop();
        const Catalogue& cat = TheCatalogue();
        std::vector<std::string> numbers;
        for (const mCalib& c : cat.Calibs)
            numbers.push_back(c.OrderNo1);
        for (const mCTRL& c : cat.Ctrls)
            numbers.push_back(c.OrderNo);
        for (const std::string& n : numbers) {
            if (n.empty())
                continue;
            const auto runs =
                TabStopList::layout(QString::fromStdString(testing::listLine(n, "Name")), fm, stop);
            QCOMPARE(runs.size(), 2);
            QCOMPARE(runs[1].text, QStringLiteral("Name"));
            QCOMPARE(runs[1].x, 2 * stop);
        }
        // Cut to a width, the name keeps its stop and ends in an ellipsis within the width; a
        // width that ends before the stop leaves the name out.
        const QString line =
            QString::fromStdString(testing::listLine(cat.Ctrls[49].OrderNo, cat.Ctrls[49].Name));
        const qreal width = 2 * stop + fm.horizontalAdvance(QString::fromStdString(cat.Ctrls[49].Name)) / 2;
        const auto cut = TabStopList::layout(line, fm, stop, width);
        QCOMPARE(cut.size(), 2);
        QCOMPARE(cut[1].x, 2 * stop);
        QVERIFY2(cut[1].text.endsWith(QChar(0x2026)), qPrintable(cut[1].text));
        QVERIFY(cut[1].x + fm.horizontalAdvance(cut[1].text) <= width);
        QCOMPARE(TabStopList::layout(line, fm, stop, stop).size(), 1);
    }

    void resetAfterSelectionReturnsToTheStartState() {
        Harness h;
        h.enterMainView();
        clickBox(h.get<QCheckBox>("Check1"));
        clickBox(h.get<QRadioButton>("Option4"));
        clickBox(h.get<QCheckBox>("Check21"));
        clickBox(h.get<QCheckBox>("Check2"));
        clickBox(h.get<QRadioButton>("Option27"));  // 6-AM, single option
        clickBox(h.get<QCheckBox>("Check18"));
        clickBox(h.get<QCheckBox>("Check39"));
        h.edit().Calibs[1].SizeChoice = 2;
        QTest::mouseClick(h.get("Command2"), Qt::LeftButton);

        const AssayState& s = h.w->order().state;
        QCOMPARE(s, AssayState{});
        for (const QWidget* w : h.w->controls())
            if (auto* box = qobject_cast<const QAbstractButton*>(w); box && box->isCheckable())
                QVERIFY2(!box->isChecked(), qPrintable(box->objectName()));
        QVERIFY(!h.get("Option27")->isVisible());
        QVERIFY(!h.get("Check21")->isVisible());
        QVERIFY(!h.get("Check39")->isVisible());
        QCOMPARE(h.order().Calibs[1].SizeChoice, 0);
        for (const CalibOrder& c : h.order().Calibs)
            QCOMPARE(c.Selected, 0);
        for (const char* l : {"CalibList", "CtrlList", "Label4", "Label5", "ICON1"})
            QVERIFY(!h.get(l)->isVisible());
        QVERIFY(h.get("NV_Banner")->isVisible());
        QCOMPARE(h.get<QListWidget>("CalibList")->count(), 0);
        QCOMPARE(h.get("CalibList")->geometry(), twipsRect(120, 7080, 6300, 3960));
        QCOMPARE(h.get("CtrlList")->geometry(), twipsRect(6555, 7080, 5580, 3960));
        // The frames and buttons stay; the panel works again at once.
        QVERIFY(h.get("ORLAN_Frame")->isVisible());
        QVERIFY(h.get("Command2")->isEnabled());
        clickBox(h.get<QCheckBox>("Check2"));
        QVERIFY(h.get("Option27")->isVisible());
        QVERIFY(!h.get<QRadioButton>("Option27")->isChecked());
    }

    void coloursAfterStartUpAndSchemes() {
        Harness h;
        QCOMPARE(background(h.get("Check1")), bgr(0xE2C3A9));
        QCOMPARE(background(h.get("Option4")), bgr(0xE2C3A9));
        QCOMPARE(background(h.get("Check60")), bgr(0xE2C3A9));  // SAMPLE CHECK takes the ORLAN colour
        QCOMPARE(background(h.get("Check34")), bgr(0xACEDFD));
        QCOMPARE(background(h.get("Check19")), bgr(0xACEDFD));
        QCOMPARE(background(h.get("Option13")), bgr(0xACEDFD));
        QCOMPARE(background(h.get("Picture1")), bgr(0x121212));  // containers stay dark
        ApplyColourScheme2(h.w->panel().ColouredBoxes());
        QCOMPARE(background(h.get("Check1")), bgr(0xE2C3A9));
        QCOMPARE(background(h.get("Check16")), bgr(0xB2B3BD));
        ApplyColourScheme1(h.w->panel().ColouredBoxes());
        // The help's example row is built on first use, in the colour the panel shows.
        h.enterMainView();
        h.click("cmdHelp");
        h.key(Qt::Key_Escape);
        QCOMPARE(background(h.get("Check72")), bgr(0xB2B3B4));
        // Scheme 2 tells the groups apart. Group O: the ORLAN rows, SAMPLE CHECK and the example
        // row; every other box of the panel is group V. The size-box templates, which the
        // bottle-size view colours itself, belong to neither.
        h.key(Qt::Key_2);
        QStringList groupO{"Check14", "Check21", "Check35", "Check60", "Check72", "Check73"};
        for (int n = 1; n <= 12; ++n)
            groupO << QStringLiteral("Check%1").arg(n) << QStringLiteral("Option%1").arg(n);
        for (int n = 23; n <= 33; ++n)
            groupO << QStringLiteral("Check%1").arg(n);
        for (int n = 19; n <= 29; ++n)
            groupO << QStringLiteral("Option%1").arg(n);
        int boxes = 0, orlan = 0;
        for (QWidget* w : h.w->controls()) {
            const QString name = w->objectName();
            if (!qobject_cast<const QAbstractButton*>(w) || qobject_cast<const QPushButton*>(w))
                continue;
            if (name == QLatin1String("Check20") || name == QLatin1String("Check71")) {
                QVERIFY(background(w) != bgr(0xE2C3A9) && background(w) != bgr(0xB2B3BD));
                continue;
            }
            ++boxes;
            orlan += groupO.contains(name) ? 1 : 0;
            QVERIFY2(background(w) == bgr(groupO.contains(name) ? 0xE2C3A9 : 0xB2B3BD), qPrintable(name));
        }
        QCOMPARE(boxes, 114);  // the panel and the example row of the help overlay: both groups whole
        QCOMPARE(orlan, int(groupO.size()));
    }

    // Only the frames' captions are red; the column headings inside are white, and they leave the
    // frame's top line whole where they stand on it.
    void headingsAreWhiteOnAWholeFrameLine() {
        Harness h(Harness::MainView);
        const std::pair<const char*, std::vector<const char*>> frames[] = {
            {"ORLAN_Frame", {"Label3", "Label2", "Label1"}},
            {"VEX_Frame", {"Label6", "Label7", "Label8"}},
            {"TOX_Frame", {"Label9", "Label10"}},
            {"ADULT_FRAME", {"Label14"}}};
        for (const auto& [frameName, headings] : frames) {
            QWidget* frame = h.get(frameName);
            QCOMPARE(frame->palette().color(QPalette::WindowText), bgr(palette::kRed));
            for (const char* heading : headings)
                QCOMPARE(h.get(heading)->palette().color(QPalette::WindowText), QColor(Qt::white));

            // The frame's top line: the first row, down from the headings' top, that differs from
            // the frame's background at its right end, where no heading stands.
            const QImage img = frame->grab().toImage();
            const int top = h.get(headings.front())->y();
            const int probe = img.width() - 8;
            int line = top - 12;
            while (line < top + 4 && img.pixel(probe, line) == img.pixel(probe, top - 12))
                ++line;
            QVERIFY2(line < top + 4, frameName);
            for (const char* heading : headings) {
                const QRect r = h.get(heading)->geometry();
                for (int x = r.left(); x <= r.right(); ++x)
                    QVERIFY2(img.pixel(x, line) == img.pixel(probe, line),
                             qPrintable(QStringLiteral("%1 blanks the line at x %2").arg(heading).arg(x)));
            }
        }
    }

    void disabledButtonsLookFaded() {
        Harness h;
        for (const char* name : {"Command1", "Command2", "Command3", "Command4", "cmdBottle", "cmdHelp"}) {
            const QIcon icon = h.get<QPushButton>(name)->icon();
            const QImage normal = icon.pixmap(QSize(32, 32), QIcon::Normal).toImage();
            const QImage disabled = icon.pixmap(QSize(32, 32), QIcon::Disabled).toImage();
            QVERIFY2(!normal.isNull(), name);  // the face was found in the resources
            qint64 normalAlpha = 0, disabledAlpha = 0;
            for (int y = 0; y < normal.height(); ++y)
                for (int x = 0; x < normal.width(); ++x) {
                    normalAlpha += qAlpha(normal.pixel(x, y));
                    disabledAlpha += qAlpha(disabled.pixel(x, y));
                }
            QVERIFY2(normalAlpha > 0 && disabledAlpha * 2 < normalAlpha, name);
        }
    }

    void exitButtonEndsTheProgram() {
        Harness h;
        h.enterMainView();
        QTest::mouseClick(h.get("Command1"), Qt::LeftButton);
        QCOMPARE(h.exits, 1);
    }

    // Work not saved is kept in a copy as it changes and as the window ends, and offered back at
    // the next start: restored as it was, or discarded. Ticks alone are no work; saved work leaves
    // no copy; two windows at once keep a copy each.
    void unsavedWorkIsKeptAndOfferedBack() {
        QTemporaryDir folder, files;
        QStringList asked;
        std::optional<bool> answer;
        const auto start = [&](Harness& h) {
            h.w.reset();
            frmMainHooks hooks = h.hooks();
            hooks.recoveryFolder = folder.path();
            hooks.offerRestore = [&](QWidget*, const QString& text) {
                asked << text;
                return answer;
            };
            h.w = std::make_unique<frmMain>(hooks);
            h.w->show();
            h.enterMainView();
        };
        const auto copies = [&] { return QDir(folder.path()).entryList({QStringLiteral("*.tovimar")}); };
        const auto typeMonths = [](Harness& h, int months) {
            h.key(Qt::Key_Q);
            h.w->orderWindow()->workloadBox(0)->setValue(months);
            h.w->orderWindow()->reject();
        };

        Harness a, b;
        start(a);
        QVERIFY(asked.isEmpty());  // nothing left: nothing asked
        clickBox(a.get<QCheckBox>("Check1"));
        QTest::qWait(1200);
        QVERIFY(copies().isEmpty());  // ticks alone are no work
        typeMonths(a, 3);
        QTRY_COMPARE_WITH_TIMEOUT(copies().size(), 1, 1500);
        const std::string file = OrderListText(a.order());
        const OrderPlan plan = a.order().plan;
        // A second window keeps its own copy beside the first.
        start(b);
        QVERIFY(asked.isEmpty());  // the first window's copy is its own while it runs
        typeMonths(b, 5);
        QTRY_COMPARE_WITH_TIMEOUT(copies().size(), 2, 1500);
        b.w.reset();
        a.w.reset();  // as X ends a program: the copies stay
        QCOMPARE(copies().size(), 2);

        answer = true;
        Harness c;
        start(c);
        QCOMPARE(asked.size(), 1);
        QVERIFY2(asked[0].startsWith(QLatin1String("Restore the work left unsaved on ")),
                 qPrintable(asked[0]));
        // The newest copy first: the first window's, written again as it ended.
        QCOMPARE(OrderListText(c.order()), file);
        QVERIFY(c.order().plan == plan);
        QVERIFY(c.get<QCheckBox>("Check1")->isChecked());
        QVERIFY(!c.w->windowTitle().endsWith(QLatin1String("[*]")));  // the work had no file
        // Saved, the work needs no copy; the one left over is offered at the next start.
        c.nextFile = QDir(files.path()).filePath(QStringLiteral("saved.tovimar"));
        c.key(Qt::Key_S, Qt::ControlModifier);
        QCOMPARE(copies().size(), 1);  // the second window's, still left
        c.w.reset();
        answer = false;
        Harness d;
        start(d);
        QCOMPARE(asked.size(), 2);
        QVERIFY(copies().isEmpty());  // discarded
        QVERIFY(!d.order().plan.HasFigures());
        d.w.reset();
        Harness e;
        start(e);
        QCOMPARE(asked.size(), 2);
        // A change to a saved file comes back named as that file, still unsaved.
        e.nextFile = QDir(files.path()).filePath(QStringLiteral("lab.tovimar"));
        typeMonths(e, 4);
        e.key(Qt::Key_S, Qt::ControlModifier);
        typeMonths(e, 6);
        QTRY_COMPARE_WITH_TIMEOUT(copies().size(), 1, 1500);
        e.w.reset();
        answer = true;
        Harness f;
        start(f);
        QCOMPARE(f.order().plan.workload().months, 6);
        QVERIFY2(f.w->windowTitle().endsWith(QLatin1String(" - lab.tovimar[*]")),
                 qPrintable(f.w->windowTitle()));
        QVERIFY(f.w->isWindowModified());
    }
};

QTEST_MAIN(MainWindowTest)
#include "mainwindow_test.moc"
