// What a screen reader and a keyboard-only user meet: the names the accessibility tree gives each
// control, and the assay panel worked with Tab, Space and the arrow keys alone, through real key
// presses into the window.
#include "core/selection/assay_rows.h"
#include "gui/mainwindow/frmMain.h"
#include "gui/planning/frmOrder.h"
#include "gui/planning/order_table_model.h"
#include "gui/selection/assay_panel.h"
#include "gui/widgets/app_style.h"
#include "gui/widgets/fonts.h"
#include "gui/widgets/tab_stop_list.h"
#include "tests/support/window_harness.h"

#include <QAccessible>
#include <QApplication>
#include <QCheckBox>
#include <QGroupBox>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QTableView>
#include <QtTest>
#include <algorithm>
#include <array>
#include <map>
#include <set>
#include <tuple>

using namespace tovimar;
using testing::Harness;

namespace {

// The name (or another text) assistive technology reads out, as it asks for it.
QString spokenText(QObject* o, QAccessible::Text t) {
    QAccessibleInterface* i = QAccessible::queryAccessibleInterface(o);
    return i ? i->text(t) : QString();
}
QString spokenName(QWidget* w) {
    return spokenText(w, QAccessible::Name);
}

const std::array<const char*, 4> kAssayFrames = {"ORLAN_Frame", "VEX_Frame", "TOX_Frame", "ADULT_FRAME"};

int frameIndex(const Harness& h, const QWidget* w) {
    for (std::size_t i = 0; i < kAssayFrames.size(); ++i)
        if (h.get(kAssayFrames[i])->isAncestorOf(w))
            return static_cast<int>(i);
    return -1;
}

// Every control of the assay frames that Tab can reach now, in the order the eye reads them:
// frame by frame, then row by row from the top, then from left to right within a row.
QList<QWidget*> screenOrder(const Harness& h) {
    QList<QWidget*> out;
    for (const char* name : kAssayFrames)
        for (QAbstractButton* b : h.get(name)->findChildren<QAbstractButton*>())
            if (b->isVisible() && b->isEnabled() && (b->focusPolicy() & Qt::TabFocus))
                out << b;
    const auto key = [&h](QWidget* w) {
        const QPoint p = w->mapTo(w->window(), QPoint(0, 0));
        return std::tuple(frameIndex(h, w), p.y(), p.x());
    };
    std::stable_sort(out.begin(), out.end(), [&key](QWidget* a, QWidget* b) { return key(a) < key(b); });
    return out;
}

QStringList names(const QList<QWidget*>& widgets) {
    QStringList out;
    for (QWidget* w : widgets)
        out << w->objectName();
    return out;
}

bool isSelectBox(const QWidget* w) {
    for (const AssayRowDef& def : AssayRows())
        if (w->objectName() == QLatin1String(def.selectBox.data(), qsizetype(def.selectBox.size())))
            return true;
    return false;
}

QWidget* focused() {
    return QApplication::focusWidget();
}

// Ticks a row and chooses its first cut-off, as the handlers of two clicks would.
void tickRow(Harness& h, AssayRow r) {
    const AssayPanel::RowWidgets& w = h.w->panel().row(r);
    w.select->setChecked(true);
    if (w.options[0])
        w.options[0]->setChecked(true);
}

QString spokenDescription(QWidget* w) {
    QAccessibleInterface* i = QAccessible::queryAccessibleInterface(w);
    return i ? i->text(QAccessible::Description) : QString();
}

// The first two shown controls of `window` that a reader would say alike (name and description),
// walking the accessibility tree as assistive technology does; empty when all differ. A table's
// cells are told apart by their row and column, so they are left out.
QString sameSounding(QWidget* window) {
    std::map<std::pair<QString, QString>, int> seen;
    QString clash;
    const std::set<QAccessible::Role> controls = {
        QAccessible::CheckBox, QAccessible::RadioButton, QAccessible::Button,  QAccessible::List,
        QAccessible::ListItem, QAccessible::Table,       QAccessible::SpinBox,
    };
    const std::function<void(QAccessibleInterface*)> walk = [&](QAccessibleInterface* i) {
        if (!i || i->state().invisible || !clash.isEmpty())
            return;
        if (controls.count(i->role())) {
            const auto key = std::pair(i->text(QAccessible::Name), i->text(QAccessible::Description));
            if (++seen[key] == 2)
                clash = key.first + QStringLiteral(" / ") + key.second;
        }
        if (i->role() == QAccessible::Table)
            return;
        for (int c = 0; c < i->childCount(); ++c)
            walk(i->child(c));
    };
    walk(QAccessible::queryAccessibleInterface(window));
    return clash;
}

}  // namespace

class AccessibilityTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() {
        installApplicationStyle();
        installFontSubstitutes();
    }

    // A picture button shows no text; its name is what its tooltip says, in every mode. A back
    // button wears its entry button's picture and tooltip, but is named for where it leads.
    void pictureButtonsAreNamedByTheirTooltips() {
        Harness h(Harness::MainView);
        const QList<QPushButton*> buttons = h.w->findChildren<QPushButton*>();
        QCOMPARE(buttons.size(), 8);
        const std::map<QString, std::pair<QString, QString>> backs = {
            {QStringLiteral("cmdBottleBack"),
             {QStringLiteral("CHOOSE BOTTLE SIZE"),
              QStringLiteral("Keeps the sizes ticked and goes back to the assays")}},
            {QStringLiteral("Command4Back"),
             {QStringLiteral("ADD ADDITIONAL CAL & CTRLS"),
              QStringLiteral("Adds the ticked items and goes back to the assays")}},
        };
        for (QPushButton* b : buttons) {
            QVERIFY2(b->text().isEmpty(), qPrintable(b->objectName()));
            QVERIFY2(!b->toolTip().isEmpty(), qPrintable(b->objectName()));
            QVERIFY2(!b->icon().isNull(), qPrintable(b->objectName()));
            if (const auto back = backs.find(b->objectName()); back != backs.end()) {
                QCOMPARE(b->toolTip(), back->second.first);
                QCOMPARE(spokenName(b), QStringLiteral("Back to the assays"));
                QCOMPARE(spokenText(b, QAccessible::Description), back->second.second);
            } else {
                QCOMPARE(spokenName(b), b->toolTip());
            }
        }
        QCOMPARE(spokenName(h.get("Command2")), QStringLiteral("RESET SELECTION"));
        QCOMPARE(spokenName(h.get("Command3")), QStringLiteral("PRINT Selection"));
        QCOMPARE(spokenName(h.get("Command1")), QStringLiteral("EXIT Tovimar"));
        QCOMPARE(spokenName(h.get("cmdBottle")), QStringLiteral("CHOOSE BOTTLE SIZE"));
        QCOMPARE(spokenName(h.get("Command4")), QStringLiteral("ADD ADDITIONAL CAL & CTRLS"));
        QCOMPARE(spokenName(h.get("cmdHelp")), QStringLiteral("SHOW HELP"));
    }

    // The start picture holds the focus and says what to do; the main view then starts on the
    // panel's first box, and a fresh start gives the picture the focus again. The window itself
    // is announced as a window, by its title.
    void startPictureAndWindowAreAnnounced() {
        Harness h;
        QWidget* picture = h.get("picStart");
        QCOMPARE(focused(), picture);
        QCOMPARE(spokenName(picture), QStringLiteral("Tovimar"));
        QCOMPARE(spokenText(picture, QAccessible::Description),
                 QStringLiteral("Press S or click the picture to begin."));
        QAccessibleInterface* window = QAccessible::queryAccessibleInterface(h.w.get());
        QVERIFY(window);
        QCOMPARE(window->role(), QAccessible::Window);
        QCOMPARE(window->text(QAccessible::Name), h.w->windowTitle());
        h.key(Qt::Key_S);
        QCOMPARE(focused(), h.get("Check1"));
        h.key(Qt::Key_R);
        QCOMPARE(focused(), picture);
    }

    // Entering a refinement view, by a click or by Space on its button, puts the focus on the
    // view's first control: the top size box, the first list with entries (its first entry
    // current), or the back button where the view has nothing to tick. Leaving, by a click or by
    // B, gives it back to the entry button. The focus is never on a hidden or disabled control.
    void focusFollowsTheRefinementViews_data() {
        QTest::addColumn<QString>("entry");
        QTest::addColumn<QString>("back");
        QTest::addColumn<bool>("byKeyboard");
        QTest::addColumn<bool>("ordered");  // something in the order
        QTest::addColumn<QString>("first");
        QTest::newRow("sizes, mouse") << "cmdBottle"
                                      << "cmdBottleBack" << false << true << "Check20";
        QTest::newRow("sizes, keys") << "cmdBottle"
                                     << "cmdBottleBack" << true << true << "Check20";
        QTest::newRow("no sizes") << "cmdBottle"
                                  << "cmdBottleBack" << false << false << "cmdBottleBack";
        QTest::newRow("adding, mouse") << "Command4"
                                       << "Command4Back" << false << true << "CalMissList";
        QTest::newRow("adding, keys") << "Command4"
                                      << "Command4Back" << true << false << "CalMissList";
    }
    void focusFollowsTheRefinementViews() {
        QFETCH(QString, entry);
        QFETCH(QString, back);
        QFETCH(bool, byKeyboard);
        QFETCH(bool, ordered);
        QFETCH(QString, first);
        Harness h(Harness::MainView);
        const auto focusIsUsable = [] {
            QWidget* f = focused();
            return f && f->isVisible() && f->isEnabled();
        };
        if (ordered) {
            h.key(Qt::Key_Space);  // ticks the first box, which has the focus
            h.get("CalibList")->setFocus(Qt::MouseFocusReason);
        }
        QWidget* entryButton = h.get(qPrintable(entry));
        if (byKeyboard) {
            entryButton->setFocus(Qt::TabFocusReason);
            h.key(Qt::Key_Space);
        } else {
            h.click(qPrintable(entry));
        }
        QVERIFY(h.get(qPrintable(back))->isVisible());
        QVERIFY(focusIsUsable());
        QCOMPARE(focused()->objectName(), first);
        if (first == QLatin1String("Check20")) {
            // The top one of the boxes shown.
            for (QCheckBox* b : focused()->parentWidget()->findChildren<QCheckBox*>())
                QVERIFY(!b->isVisible() || b->y() >= focused()->y());
        } else if (auto* list = qobject_cast<QListWidget*>(focused())) {
            QVERIFY(list->count() > 0);
            QCOMPARE(list->currentRow(), 0);
        }
        if (byKeyboard)
            h.key(Qt::Key_B);
        else
            h.click(qPrintable(back));
        QVERIFY(focusIsUsable());
        QCOMPARE(focused(), entryButton);
    }

    // Help takes the focus as a whole, its texts read in the order the eye reads them, and gives
    // it back where it was when help ends, by Esc or by a click; F1 over help keeps that place.
    void helpTakesTheFocusAndGivesItBack() {
        Harness h(Harness::MainView);
        QWidget* box = focused();
        QVERIFY(box);
        h.key(Qt::Key_F1);
        QWidget* help = h.get("picHelp");
        QCOMPARE(focused(), help);
        QCOMPARE(spokenName(help), QStringLiteral("Help"));
        QCOMPARE(
            spokenText(help, QAccessible::Description),
            QStringLiteral("PARAMETER. QUAL. DESIRED CUTOFF. Check here to select this Assay. Choose your "
                           "desired Cut-Off here. Check here to choose Qual Mode. Click to reset your "
                           "selection. Click to send your selection to a file or printer. Click to Exit "
                           "Tovimar. Click to chose between available bottle sizes. Click to add more "
                           "Calibrators or Controls to your selection. Press 'ESC' or click anywhere to "
                           "exit Help"));
        h.key(Qt::Key_F1);
        QCOMPARE(focused(), help);
        // Tab and Shift+Tab do not leave help for the controls it lies over.
        h.key(Qt::Key_Tab);
        QCOMPARE(focused(), help);
        h.key(Qt::Key_Backtab, Qt::ShiftModifier);
        QCOMPARE(focused(), help);
        h.key(Qt::Key_Escape);
        QCOMPARE(focused(), box);

        // From a list, which help hides, by the button and a click on the panel.
        h.key(Qt::Key_Space);
        QWidget* list = h.get("CalibList");
        list->setFocus(Qt::MouseFocusReason);
        h.click("cmdHelp");
        QCOMPARE(focused(), help);
        QTest::mouseClick(help, Qt::LeftButton, {}, QPoint(600, 300));
        QCOMPARE(focused(), list);
    }

    // Frames and lists are named by the heading the eye reads above them; no two controls a
    // reader can land on in one assay frame sound the same (the frame's name tells ORLAN COCAINE
    // from VEX COCAINE), and none is silent (a QUAL box's caption is a blank, an option's a bare
    // number).
    void framesListsAndAssayControlsHaveNames() {
        Harness h(Harness::MainView);
        const std::map<QString, QString> expected = {
            {QStringLiteral("ORLAN_Frame"), QStringLiteral("ORLAN Assays")},
            {QStringLiteral("VEX_Frame"), QStringLiteral("VEX Assays")},
            {QStringLiteral("TOX_Frame"), QStringLiteral("Serum TOX Assays")},
            {QStringLiteral("ADULT_FRAME"), QStringLiteral("Adulteration Assays")},
            {QStringLiteral("ReagBottleSizeFrame"), QStringLiteral("Reagents")},
            {QStringLiteral("CalBottleSizeFrame"), QStringLiteral("Calibrators")},
            {QStringLiteral("CalibList"), QStringLiteral("REQUIRED CALIBRATORS")},
            {QStringLiteral("CtrlList"), QStringLiteral("SUGGESTED CONTROLS")},
            {QStringLiteral("CalMissList"), QStringLiteral("SELECT CALIBRATORS")},
            {QStringLiteral("CtrlMissList"), QStringLiteral("SELECT CONTROLS")},
        };
        QList<QWidget*> framesAndLists;
        for (QGroupBox* f : h.w->findChildren<QGroupBox*>())
            framesAndLists << f;
        for (QListWidget* l : h.w->findChildren<QListWidget*>())
            framesAndLists << l;
        QCOMPARE(framesAndLists.size(), int(expected.size()));
        for (QWidget* w : framesAndLists) {
            const auto it = expected.find(w->objectName());
            QVERIFY2(it != expected.end(), qPrintable(w->objectName()));
            QCOMPARE(spokenName(w), it->second);
        }

        std::map<std::pair<Frame, QString>, QString> seen;  // frame and name -> control
        for (const AssayRowDef& def : AssayRows()) {
            const AssayPanel::RowWidgets& row = h.w->panel().row(def.key);
            const QString caption = QString::fromLatin1(def.caption.data(), qsizetype(def.caption.size()));
            QList<QAbstractButton*> boxes{row.select, row.qual};
            for (QRadioButton* o : row.options)
                boxes << o;
            for (QAbstractButton* b : boxes) {
                if (!b)
                    continue;
                const QString name = spokenName(b);
                QVERIFY2(name.contains(caption.trimmed()), qPrintable(b->objectName() + ": " + name));
                const auto [at, fresh] = seen.emplace(std::pair(def.frame, name), b->objectName());
                QVERIFY2(fresh, qPrintable(name + " for both " + at->second + " and " + b->objectName()));
            }
            if (row.qual)
                QCOMPARE(spokenName(row.qual), caption.trimmed() + QStringLiteral(" QUAL"));
            // The option still reads its own number, after the row it belongs to.
            for (std::size_t i = 0; i < def.optionCount; ++i)
                QVERIFY(spokenName(row.options[i]).endsWith(QLatin1Char(' ') + row.options[i]->text()));
        }
    }

    // From the first Tab on, the focus visits the assay panel as the eye reads it, and Space on a
    // select box ticks its row, whose QUAL box and options then join the walk right after it.
    // Shift+Tab walks the same way back.
    void tabWalksTheRowsInScreenOrderAndSpaceTicksThem() {
        Harness h(Harness::MainView);
        QStringList visited;
        for (int presses = 0; presses < 300; ++presses) {
            QWidget* f = focused();  // the main view starts on the panel's first box
            QVERIFY(f);
            if (frameIndex(h, f) < 0)
                break;  // past its last control
            QVERIFY2(!visited.contains(f->objectName()), qPrintable(f->objectName() + " visited twice"));
            visited << f->objectName();
            if (isSelectBox(f))
                h.key(Qt::Key_Space);
            h.key(Qt::Key_Tab);
        }
        // Every row a user can see is ticked, and only by the key presses above.
        int shownRows = 0;
        for (const AssayRowDef& def : AssayRows()) {
            const bool shown = !def.secondColumn;
            shownRows += shown;
            QCOMPARE(h.order().state.ticked(def.key), shown);
        }
        QCOMPARE(shownRows, 37);
        const QStringList expected = names(screenOrder(h));
        QCOMPARE(visited, expected);
        // A ticked row brings its QUAL box and its options into the walk; the options of a row
        // are one stop, as a group of option buttons is everywhere: the arrows go on from there.
        QCOMPARE(visited.mid(0, 5),
                 (QStringList{QStringLiteral("Check1"), QStringLiteral("Check21"), QStringLiteral("Option4"),
                              QStringLiteral("Check4"), QStringLiteral("Check25")}));
        QVERIFY(h.get("CalibList")->isVisible());

        // Back from the control after the panel's last one.
        QStringList back;
        for (qsizetype i = 0; i < expected.size(); ++i) {
            h.key(Qt::Key_Backtab, Qt::ShiftModifier);
            back.prepend(focused()->objectName());
        }
        QCOMPARE(back, expected);
    }

    // Within a row the arrows move between its options, and the chosen cut-off moves with the
    // focus once the row has one; they never leave the row. Space ticks a QUAL box and chooses an
    // option.
    void arrowsMoveBetweenTheOptionsOfOneRow() {
        Harness h(Harness::MainView);
        const AssayPanel::RowWidgets& amph = h.w->panel().row(AssayRow::OrlanAmphXtc);
        QCOMPARE(focused(), amph.select);
        h.key(Qt::Key_Space);
        h.key(Qt::Key_Tab);
        QCOMPARE(focused(), amph.qual);
        h.key(Qt::Key_Space);
        QVERIFY(h.order().state[AssayRow::OrlanAmphXtc].Qual);
        h.key(Qt::Key_Tab);
        QCOMPARE(focused(), amph.options[0]);
        // Moving before anything is chosen chooses nothing.
        h.key(Qt::Key_Right);
        QCOMPARE(focused(), amph.options[1]);
        QCOMPARE(h.order().state[AssayRow::OrlanAmphXtc].Cut, 0.0);
        h.key(Qt::Key_Space);
        QVERIFY(amph.options[1]->isChecked());
        QCOMPARE(h.order().state[AssayRow::OrlanAmphXtc].Cut, 500.0);

        const std::vector<std::pair<Qt::Key, int>> moves = {
            {Qt::Key_Right, 2}, {Qt::Key_Right, 2},                     // the last option: nowhere further
            {Qt::Key_Left, 1},  {Qt::Key_Left, 0},  {Qt::Key_Left, 0},  // nor into the QUAL box
            {Qt::Key_Down, 0},  {Qt::Key_Up, 0},                        // nor into the rows above and below
            {Qt::Key_Right, 1},
        };
        const std::array<double, 3> cuts = {300, 500, 1000};
        for (const auto& [key, option] : moves) {
            h.key(key);
            QCOMPARE(focused(), amph.options[std::size_t(option)]);
            QVERIFY(amph.options[std::size_t(option)]->isChecked());
            QCOMPARE(h.order().state[AssayRow::OrlanAmphXtc].Cut, cuts[std::size_t(option)]);
        }
        // The next row is untouched. Coming back into the row, the focus lands on the chosen option.
        QVERIFY(!h.order().state.ticked(AssayRow::OrlanBarb));
        h.key(Qt::Key_Tab);
        QCOMPARE(focused(), h.w->panel().row(AssayRow::OrlanBarb).select);
        h.key(Qt::Key_Backtab, Qt::ShiftModifier);
        QCOMPARE(focused(), amph.options[1]);
        h.key(Qt::Key_Backtab, Qt::ShiftModifier);
        QCOMPARE(focused(), amph.qual);
        h.key(Qt::Key_Tab);
        QCOMPARE(focused(), amph.options[1]);
    }

    // Every box says where it stands, from the row table: frame for a select box, frame and row for
    // a QUAL box and an option. The captions' trailing blanks are not read.
    void assayBoxesAreDescribedByFrameAndRow() {
        Harness h(Harness::MainView);
        struct Case {
            AssayRow row;
            const char* select;
            const char* qual;  // null: the row has none
            std::size_t option;
            const char* cut;  // null: the row has no options
        };
        const std::vector<Case> cases = {
            {AssayRow::OrlanAmphXtc, "ORLAN assay", "ORLAN assay, AMPH / XTC run qualitatively", 1,
             "ORLAN assay, AMPH / XTC cut-off 500"},
            {AssayRow::OrlanLsd, "ORLAN assay", "ORLAN assay, LSD run qualitatively", 0,
             "ORLAN assay, LSD cut-off 0.5"},
            {AssayRow::VexBarb, "VEX assay", "VEX assay, BARBITURATES run qualitatively", 0,
             "VEX assay, BARBITURATES cut-off 200"},
            {AssayRow::VexEtoh, "VEX assay", nullptr, 0, nullptr},
            {AssayRow::ToxBenzo, "Serum TOX assay", "Serum TOX assay, BENZODIAZEPINE TOX run qualitatively",
             0, nullptr},
            {AssayRow::AdultSampleCheck, "Adulteration assay", nullptr, 0, nullptr},
        };
        for (const Case& c : cases) {
            const AssayPanel::RowWidgets& row = h.w->panel().row(c.row);
            QCOMPARE(spokenDescription(row.select), QString::fromLatin1(c.select));
            QCOMPARE(row.qual ? spokenDescription(row.qual) : QString(), QString::fromLatin1(c.qual));
            QCOMPARE(row.options[c.option] ? spokenDescription(row.options[c.option]) : QString(),
                     QString::fromLatin1(c.cut));
        }
        // With every row ticked, no two controls of the main view sound alike; the names are
        // those of before (the other tests check them).
        for (const AssayRowDef& def : AssayRows())
            if (!def.secondColumn)
                tickRow(h, def.key);
        QCOMPARE(sameSounding(h.w.get()), QString());
    }

    // The refinement views' boxes carry the heading the view shows (and the frame, where one
    // heading stands over two), and the order window's controls all differ as well.
    void refinementViewsAndOrderWindowTellTheirControlsApart() {
        Harness h(Harness::MainView);
        for (const AssayRowDef& def : AssayRows())
            if (!def.secondColumn)
                tickRow(h, def.key);

        h.click("cmdBottle");
        const QString heading = h.get<QLabel>("Label4")->text();
        QCOMPARE(heading, QStringLiteral("PLEASE TAG THE CHECKBOXES FOR ALTERNATIVE BOTTLE SIZES"));
        int shown = 0;
        for (const auto& [frame, list] :
             {std::pair("ReagBottleSizeFrame", "Reagents"), std::pair("CalBottleSizeFrame", "Calibrators")})
            for (QCheckBox* box : h.get(frame)->findChildren<QCheckBox*>())
                if (box->isVisible()) {
                    ++shown;
                    QCOMPARE(spokenDescription(box), heading + QStringLiteral(", ") + QLatin1String(list));
                }
        QVERIFY(shown > 10);
        QCOMPARE(sameSounding(h.w.get()), QString());
        h.click("cmdBottleBack");

        h.click("Command4");
        for (const auto& [list, label] :
             {std::pair("CalMissList", "Label4"), std::pair("CtrlMissList", "Label5")}) {
            auto* entries = h.get<QListWidget>(list);
            QVERIFY(entries->count() > 0);
            QAccessibleInterface* first = QAccessible::queryAccessibleInterface(entries)->child(0);
            QCOMPARE(first->text(QAccessible::Name), entries->item(0)->text());
            QCOMPARE(first->text(QAccessible::Description), h.get<QLabel>(label)->text());
        }
        QCOMPARE(sameSounding(h.w.get()), QString());
        h.click("Command4Back");

        h.key(Qt::Key_Q);
        QVERIFY(h.w->orderWindow() && h.w->orderWindow()->isVisible());
        QCOMPARE(sameSounding(h.w->orderWindow()), QString());
    }

    // The lists say how many lines they hold, and say it again when the count changes, never when
    // a refill changes nothing (setting the description is what sends the event a screen reader
    // hears); the focus stays where it is.
    void listDescriptionsFollowTheOrder() {
        Harness h(Harness::MainView);
        auto* calib = h.get<TabStopList>("CalibList");
        auto* ctrl = h.get<TabStopList>("CtrlList");
        QCOMPARE(spokenDescription(calib), QStringLiteral("No calibrators"));
        QCOMPARE(spokenDescription(ctrl), QStringLiteral("No controls"));
        const auto said = [](int n, const char* one, const char* many) {
            return n == 0 ? QStringLiteral("No ") + QLatin1String(many)
                          : QString::number(n) + QLatin1Char(' ') + QLatin1String(n == 1 ? one : many);
        };
        QSignalSpy calibSaid(calib, &TabStopList::described), ctrlSaid(ctrl, &TabStopList::described);
        std::set<int> calibCounts, ctrlCounts;
        QStringList calibBefore, ctrlBefore;
        // Told exactly when the lines changed, their count or not.
        const auto check = [&](const char* step) {
            QCOMPARE(spokenDescription(calib), said(calib->count(), "calibrator", "calibrators"));
            QCOMPARE(spokenDescription(ctrl), said(ctrl->count(), "control", "controls"));
            QVERIFY2(!calibSaid.isEmpty() == (calib->lines() != calibBefore), step);
            QVERIFY2(!ctrlSaid.isEmpty() == (ctrl->lines() != ctrlBefore), step);
            calibCounts.insert(calib->count());
            ctrlCounts.insert(ctrl->count());
            calibBefore = calib->lines();
            ctrlBefore = ctrl->lines();
            calibSaid.clear();
            ctrlSaid.clear();
        };
        // Ticked with the keyboard, from the box the main view starts on: the focus stays there.
        QWidget* box = focused();
        QCOMPARE(box, h.w->panel().row(AssayRow::OrlanAmphXtc).select);
        h.key(Qt::Key_Space);
        QCOMPARE(focused(), box);
        check("AMPH / XTC");
        for (const AssayRowDef& def : AssayRows())
            if (!def.secondColumn) {
                h.w->panel().row(def.key).select->setChecked(true);
                QCOMPARE(focused(), box);
                check(def.keyName.data());
            }
        QVERIFY(calibCounts.count(1) && calibCounts.size() > 3 && ctrlCounts.size() > 3);

        // Leaving the bottle-size view refills the calibrators with as many lines: nothing said.
        h.click("cmdBottle");
        calibSaid.clear();
        ctrlSaid.clear();
        h.click("cmdBottleBack");
        check("back from the bottle sizes");
        for (const AssayRowDef& def : AssayRows())
            if (!def.secondColumn) {
                h.w->panel().row(def.key).select->setChecked(false);
                check(def.keyName.data());
            }
        QCOMPARE(spokenDescription(calib), QStringLiteral("No calibrators"));
        QCOMPARE(spokenDescription(ctrl), QStringLiteral("No controls"));

        // Cocaine run qualitatively: another cut-off swaps its one calibrator for another.
        const AssayPanel::RowWidgets& coc = h.w->panel().row(AssayRow::OrlanCoc);
        coc.select->setChecked(true);
        coc.qual->setChecked(true);
        coc.options[0]->setChecked(true);
        check("COCAINE QUAL 150");
        const int n = calib->count();
        coc.options[1]->setChecked(true);
        QCOMPARE(calib->count(), n);
        QVERIFY(calib->lines() != calibBefore);
        check("COCAINE QUAL 300");
    }

    // A changed quantity or suggestion shows at once in its cell's name, which the window
    // announces from the cell.
    void orderWindowCellsSayTheirNewFigures() {
        Harness h(Harness::MainView);
        tickRow(h, AssayRow::OrlanCoc);
        h.key(Qt::Key_Q);
        frmOrder* window = h.w->orderWindow();
        QVERIFY(window);
        QAccessibleTableInterface* table =
            QAccessible::queryAccessibleInterface(window->table())->tableInterface();
        OrderTableModel& model = window->model();
        const int last = model.rowCount() - 1;
        const auto cell = [&](int column) { return table->cellAt(last, column)->text(QAccessible::Name); };
        QVERIFY(model.setData(model.index(last, OrderTableModel::Quantity), 7));
        QCOMPARE(cell(OrderTableModel::Quantity), QStringLiteral("7"));
        QVERIFY(model.setData(model.index(last, OrderTableModel::Quantity), QVariant()));
        QCOMPARE(cell(OrderTableModel::Quantity),
                 model.index(last, OrderTableModel::Quantity).data().toString());
        QVERIFY(cell(OrderTableModel::Quantity) != QStringLiteral("7"));
    }
};

QTEST_MAIN(AccessibilityTest)
#include "accessibility_test.moc"
