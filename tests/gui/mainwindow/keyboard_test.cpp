// The help overlay and the command keys, with real key presses through the focused control.
#include "core/output/order_file.h"
#include "core/output/selection_file.h"
#include "core/selection/result_lists.h"
#include "gui/mainwindow/command_keys.h"
#include "gui/mainwindow/frmMain.h"
#include "gui/planning/frmOrder.h"
#include "gui/planning/order_table_model.h"
#include "gui/refinement/adding_view.h"
#include "gui/refinement/bottle_size_view.h"
#include "gui/selection/assay_panel.h"
#include "gui/widgets/app_style.h"
#include "gui/widgets/fonts.h"
#include "gui/widgets/tab_stop_list.h"
#include "gui/widgets/twips.h"
#include "gui/widgets/widget_colours.h"
#include "tests/support/ink.h"
#include "tests/support/order_lines.h"
#include "tests/support/window_harness.h"

#include <QApplication>
#include <QCheckBox>
#include <QDialog>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QStandardPaths>
#include <QTableView>
#include <QTextLayout>
#include <QTimer>
#include <QtTest>

using namespace tovimar;
using testing::clickBox;
using testing::Harness;

namespace {

QColor background(QWidget* w) {
    return w->palette().color(QPalette::Window);
}

bool helpShowing(const Harness& h) {
    return !h.get("picHelp")->isHidden();
}

int sizeBoxes(const Harness& h) {
    int n = 0;
    for (QCheckBox* b : h.w->findChildren<QCheckBox*>())
        if ((b->objectName() == QLatin1String("Check20") || b->objectName() == QLatin1String("Check71")) &&
            b->property("index").toInt() > 0)
            ++n;
    return n;
}

// VEX amphetamines at 500 and ORLAN AMPH / XTC: products with alternative sizes in the order.
void tickSomeAssays(Harness& h) {
    clickBox(h.get<QCheckBox>("Check34"));
    clickBox(h.get<QRadioButton>("Option15"));
    clickBox(h.get<QCheckBox>("Check1"));
}

}  // namespace

class KeyboardTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() {
        QStandardPaths::setTestModeEnabled(true);  // the recent files: never the user's settings
        installApplicationStyle();
        installFontSubstitutes();
    }

    void helpOverlayShowsItsTextsAndAnyClickEndsIt() {
        Harness h(Harness::MainView);
        tickSomeAssays(h);
        h.click("cmdHelp");
        QVERIFY(helpShowing(h));
        QCOMPARE(h.get("picHelp")->geometry(), twipsRect(0, 0, 15630, 9840));
        QVERIFY(!h.get("CalibList")->isVisible());
        QVERIFY(!h.get("ICON1")->isVisible());
        QVERIFY(h.get("NV_Banner")->isVisible());
        QCOMPARE(h.w->help().Label13(0)->text(), QStringLiteral("Click to reset your selection"));
        QCOMPARE(h.w->help().Label13(3)->text(),
                 QStringLiteral("Click to chose between available bottle sizes"));
        QCOMPARE(h.w->help().Label13(8)->text(),
                 QStringLiteral("Press 'ESC' or click anywhere to exit Help"));
        QCOMPARE(h.w->help().Label13(8)->palette().color(QPalette::WindowText), bgr(0x3140DD));
        QCOMPARE(h.w->help().Label13(1)->palette().color(QPalette::WindowText), bgr(0xB2B3B4));
        QCOMPARE(h.w->help().Label13(8)->font().pointSize(), 16);
        QVERIFY(h.w->help().Label13(4)->alignment() & Qt::AlignRight);
        QVERIFY(h.w->help().Label13(6)->alignment() & Qt::AlignHCenter);
        QCOMPARE(h.w->help().Label13(4)->geometry(), twipsRect(1800, 7920, 7095, 735));
        // The example row takes the ORLAN colour of the scheme in force.
        QCOMPARE(background(h.get("Check72")), bgr(0xE2C3A9));
        QCOMPARE(background(h.get("Option21")), bgr(0xE2C3A9));
        const std::string before = testing::calibLines(h.order()).front();

        // A click on a help text ends help and brings both lists and the small picture back.
        QTest::mouseClick(h.w->help().Label13(8), Qt::LeftButton);
        QVERIFY(!helpShowing(h));
        QVERIFY(h.get("CalibList")->isVisible());
        QVERIFY(h.get("CtrlList")->isVisible());
        QVERIFY(h.get("ICON1")->isVisible());
        QVERIFY(!h.get("NV_Banner")->isVisible());
        QCOMPARE(testing::calibLines(h.order()).front(), before);  // nothing of the order changed

        // A click on the panel, or on the banner, ends it too; the example row is not clickable.
        h.click("cmdHelp");
        QTest::mouseClick(h.get("picHelp"), Qt::LeftButton, {}, QPoint(600, 300));
        QVERIFY(!helpShowing(h));
        h.click("cmdHelp");
        // Clicked through the window, as the pointer would, not delivered to the box itself.
        QTest::mouseClick(h.w->windowHandle(), Qt::LeftButton, {},
                          h.get("Check72")->mapTo(h.w.get(), QPoint(6, 8)));
        QVERIFY(!helpShowing(h));
        QVERIFY(!h.get<QCheckBox>("Check72")->isChecked());
        h.click("cmdHelp");
        QTest::mouseClick(h.get("NV_Banner"), Qt::LeftButton, {}, QPoint(50, 50));
        QVERIFY(!helpShowing(h));
    }

    // The exit button works in every view, help included; the other buttons lie under the help
    // panel, whose click only ends help.
    void exitButtonWorksOverHelp() {
        Harness h(Harness::MainView);
        tickSomeAssays(h);
        const auto clickAt = [&](const char* name) {
            QWidget* b = h.get(name);
            QTest::mouseClick(h.w->windowHandle(), Qt::LeftButton, {},
                              b->mapTo(h.w.get(), b->rect().center()));
        };
        h.click("cmdHelp");
        clickAt("Command2");
        QVERIFY(!helpShowing(h));
        QVERIFY(h.order().state.ticked(AssayRow::VexAmph));  // not reset
        h.click("cmdHelp");
        clickAt("Command1");
        QCOMPARE(h.exits, 1);
    }

    // The help picture keeps every pointer inside the window and level with its text; the texts
    // start at the top of their boxes and wrap between words.
    void helpPictureAndTextsFitTheWindow() {
        const QImage help(QStringLiteral(":/pictures/help.jpg"));
        QVERIFY(!help.isNull());
        const int windowWidth = px(15510);
        int brightOutside = 0, brightNearEdge = 0;
        for (int y = 0; y < help.height(); ++y)
            for (int x = windowWidth - 8; x < help.width(); ++x)
                if (qGray(help.pixel(x, y)) > 150)
                    ++(x >= windowWidth ? brightOutside : brightNearEdge);
        QCOMPARE(brightOutside, 0);
        QVERIFY(brightNearEdge > 20);  // the output pointer's rail runs there

        Harness h(Harness::MainView);
        h.click("cmdHelp");
        const auto lines = [](const QLabel* l, const QString& text) {
            QTextLayout layout(text, l->font());
            QTextOption option;
            option.setWrapMode(QTextOption::WordWrap);
            layout.setTextOption(option);
            layout.beginLayout();
            QStringList out;
            for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
                line.setLineWidth(l->contentsRect().width());
                out << text.mid(line.textStart(), line.textLength()).trimmed();
            }
            layout.endLayout();
            return out;
        };
        // Every text starts at the top of its box, as a label draws: its first capitals begin
        // where a line set at the top has them (centred, even the two-line texts begin lower).
        // The pointers of the button texts leave level with the middle of that line.
        for (int i = 0; i < 9; ++i) {
            QLabel* l = h.w->help().Label13(i);
            const QFontMetrics fm(l->font());
            const int inkTop = testing::firstInkRow(l->grab().toImage());
            QVERIFY2(inkTop <= fm.ascent() - fm.capHeight() + 1,
                     qPrintable(QStringLiteral("text %1 begins at %2").arg(i).arg(inkTop)));
            if (i >= 5)
                continue;
            const QRect r = l->geometry();        // the panel and its picture start at the window's corner
            const int x = r.x() + r.width() + 7;  // the pointer's dot
            int rows = 0, sum = 0;
            for (int y = r.top(); y <= r.bottom(); ++y)
                if (qGray(help.pixel(x, y)) > 150) {
                    ++rows;
                    sum += y;
                }
            QVERIFY2(rows > 0, qPrintable(QStringLiteral("no pointer beside text %1").arg(i)));
            const double dot = double(sum) / rows, middle = r.top() + fm.height() / 2.0;
            QVERIFY2(
                std::abs(dot - middle) <= 2.0,
                qPrintable(
                    QStringLiteral("text %1: pointer at %2, line middle %3").arg(i).arg(dot).arg(middle)));
        }

        const QLabel* cutOff = h.w->help().Label13(7);
        QCOMPARE(cutOff->text(), QStringLiteral("Choose your desired Cut-Off here"));
        QVERIFY(lines(cutOff, cutOff->text()).size() > 1);  // it does wrap at this width
        for (const QString& line : lines(cutOff, HelpOverlay::WrappedText(cutOff->text())))
            QVERIFY2(!line.endsWith(QLatin1Char('-')), qPrintable(line));
    }

    void bannerClickOutsideHelpDoesNothing() {
        Harness h(Harness::MainView);
        QTest::mouseClick(h.get("NV_Banner"), Qt::LeftButton, {}, QPoint(50, 50));
        QVERIFY(h.get("NV_Banner")->isVisible());
        QVERIFY(!h.get("CalibList")->isVisible());
    }

    void f1AndEscapeRunHelpFromWhereverTheFocusIs() {
        Harness h(Harness::MainView);
        clickBox(h.get<QCheckBox>("Check1"));  // the focus is on a check box now
        QCOMPARE(QApplication::focusWidget(), h.get("Check1"));
        h.key(Qt::Key_F1);
        QVERIFY(helpShowing(h));
        h.key(Qt::Key_F1);  // again: the same picture
        QVERIFY(helpShowing(h));
        QCOMPARE(h.get("picHelp")->geometry(), twipsRect(0, 0, 15630, 9840));
        h.key(Qt::Key_A, Qt::ShiftModifier);  // select all does nothing in help
        QCOMPARE(h.get<QListWidget>("CalibList")->count(), 1);
        h.key(Qt::Key_Escape);
        QVERIFY(!helpShowing(h));
        QVERIFY(h.order().state.ticked(AssayRow::OrlanAmphXtc));  // Esc ended help, nothing else
    }

    void selectAllInTheMainViewListsEveryNumberedItem() {
        Harness h(Harness::MainView);
        h.get<QListWidget>("CalibList")->setFocus();
        h.key(Qt::Key_A, Qt::ShiftModifier);
        QCOMPARE(h.get<QListWidget>("CalibList")->count(), 70);
        QCOMPARE(h.get<QListWidget>("CtrlList")->count(), 47);
        QCOMPARE(h.get<TabStopList>("CalibList")->lines().front(),
                 QString::fromStdString(
                     testing::listLine(TheCatalogue().Calibs[1].OrderNo1, TheCatalogue().Calibs[1].Name)));
        QCOMPARE(h.order().Assays[15].Selected, 1);
        QCOMPARE(h.order().state, AssayState{});  // the assay boxes stay as they were
        for (const char* box : {"Check1", "Check34", "Check60"})
            QVERIFY(!h.get<QCheckBox>(box)->isChecked());
    }

    void selectAllNeedsExactlyShift() {
        Harness h(Harness::MainView);
        h.key(Qt::Key_A);
        h.key(Qt::Key_A, Qt::ShiftModifier | Qt::ControlModifier);
        h.key(Qt::Key_A, Qt::ShiftModifier | Qt::AltModifier);
        QCOMPARE(h.get<QListWidget>("CalibList")->count(), 0);
        QVERIFY(!h.get("CalibList")->isVisible());
    }

    void escapeInTheMainViewResetsAsTheButtonDoes() {
        Harness h(Harness::MainView);
        tickSomeAssays(h);
        h.key(Qt::Key_Escape);
        QCOMPARE(h.order().state, AssayState{});
        QVERIFY(!h.get("CalibList")->isVisible());
        QVERIFY(h.get("NV_Banner")->isVisible());
        for (const CalibOrder& c : h.order().Calibs)
            QCOMPARE(c.Selected, 0);
    }

    void colourKeysIncludingTheKeypad() {
        Harness h;
        h.key(Qt::Key_2);  // start screen: the number is kept, the colours are not changed
        QCOMPARE(h.w->colourScheme(), 2);
        QCOMPARE(background(h.get("Check1")), bgr(0xE2C3A9));
        QCOMPARE(background(h.get("Check34")), bgr(0xACEDFD));
        h.key(Qt::Key_S);
        QVERIFY(h.get("picStart")->isHidden());
        QCOMPARE(background(h.get("Check34")), bgr(0xACEDFD));  // still the colours in force
        h.key(Qt::Key_1, Qt::KeypadModifier);
        QCOMPARE(h.w->colourScheme(), 1);
        QCOMPARE(background(h.get("Check1")), bgr(0xB2B3B4));
        QCOMPARE(background(h.get("Check34")), bgr(0xB2B3B4));
        h.key(Qt::Key_2, Qt::ShiftModifier);
        QCOMPARE(background(h.get("Check34")), bgr(0xB2B3BD));
        h.key(Qt::Key_3, Qt::KeypadModifier);
        QCOMPARE(h.w->colourScheme(), 3);
        QCOMPARE(background(h.get("Check34")), bgr(0xACEDFD));
        QCOMPARE(background(h.get("Check1")), bgr(0xE2C3A9));
        // With Shift the toolkit names the number-row keys by their characters.
        h.key(Qt::Key_Exclam, Qt::ShiftModifier);
        QCOMPARE(h.w->colourScheme(), 1);
        h.key(Qt::Key_At, Qt::ShiftModifier | Qt::ControlModifier);
        QCOMPARE(h.w->colourScheme(), 2);
        QCOMPARE(background(h.get("Check34")), bgr(0xB2B3BD));
        h.key(Qt::Key_NumberSign, Qt::ShiftModifier);
        QCOMPARE(h.w->colourScheme(), 3);
    }

    // The physical key decides, on each platform's own key codes: AZERTY's unshifted number row
    // types &, é and "; a UK keyboard has a # key of its own, which is no digit.
    void digitKeysByTheirPlace_data() {
        QTest::addColumn<QString>("platform");
        QTest::addColumn<int>("key");
        QTest::addColumn<int>("modifiers");
        QTest::addColumn<quint32>("scanCode");
        QTest::addColumn<int>("expected");
        const int shift = Qt::ShiftModifier, none = Qt::NoModifier, keypad = Qt::KeypadModifier;
        QTest::newRow("X11 AZERTY &") << "xcb" << int(Qt::Key_Ampersand) << none << 10u << int(Qt::Key_1);
        QTest::newRow("X11 AZERTY e acute") << "xcb" << int(Qt::Key_Eacute) << none << 11u << int(Qt::Key_2);
        QTest::newRow("X11 AZERTY quote") << "xcb" << int(Qt::Key_QuoteDbl) << none << 12u << int(Qt::Key_3);
        QTest::newRow("X11 shift 2 as @") << "xcb" << int(Qt::Key_At) << shift << 11u << int(Qt::Key_2);
        QTest::newRow("X11 UK # key")
            << "xcb" << int(Qt::Key_NumberSign) << none << 51u << int(Qt::Key_NumberSign);
        QTest::newRow("X11 keypad 3") << "xcb" << int(Qt::Key_3) << keypad << 89u << int(Qt::Key_3);
        QTest::newRow("X11 letter") << "xcb" << int(Qt::Key_B) << none << 56u << int(Qt::Key_B);
        QTest::newRow("Windows shift 1") << "windows" << int(Qt::Key_Exclam) << shift << 2u << int(Qt::Key_1);
        QTest::newRow("no native code")
            << "offscreen" << int(Qt::Key_Exclam) << shift << 0u << int(Qt::Key_1);
    }
    void digitKeysByTheirPlace() {
        QFETCH(QString, platform);
        QFETCH(int, key);
        QFETCH(int, modifiers);
        QFETCH(quint32, scanCode);
        QFETCH(int, expected);
        const QKeyEvent e(QEvent::KeyPress, key, Qt::KeyboardModifiers(modifiers), scanCode, 0, 0);
        QCOMPARE(CommandKeyCode(e, platform), expected);
    }

    void startKeyAndExitKey() {
        Harness h;
        h.key(Qt::Key_F1);  // no help on the start screen
        QVERIFY(!helpShowing(h));
        h.key(Qt::Key_S);
        QVERIFY(h.get("picStart")->isHidden());
        QVERIFY(h.get("Command1")->isVisible());
        const std::size_t pausesAfterTransition = h.pauses.size();
        h.key(Qt::Key_S);  // once only
        QCOMPARE(h.pauses.size(), pausesAfterTransition);
        h.key(Qt::Key_X, Qt::ShiftModifier);
        QCOMPARE(h.exits, 1);
    }

    void keysInTheBottleSizeMode() {
        Harness h(Harness::MainView);
        tickSomeAssays(h);
        h.key(Qt::Key_B);  // outside the modes: nothing
        QVERIFY(h.get("ORLAN_Frame")->isVisible());
        h.click("cmdBottle");
        QVERIFY(sizeBoxes(h) > 0);
        h.key(Qt::Key_F1);  // not while a mode can be left
        QVERIFY(!helpShowing(h));
        h.key(Qt::Key_A, Qt::ShiftModifier);
        QCOMPARE(h.order().Calibs[1].SizeChoice, 2);
        QCOMPARE(h.order().Assays[15].SizeChoice, 2);
        QCOMPARE(
            h.w->bottleSizes().Check71(1)->text(),
            QString::fromStdString(TheCatalogue().Calibs[1].Pack2 + "  " + TheCatalogue().Calibs[1].Name));
        QVERIFY(h.w->bottleSizes().Check20(15)->isChecked());
        h.key(Qt::Key_Escape);
        QCOMPARE(h.order().Calibs[1].SizeChoice, 1);
        QCOMPARE(h.order().Assays[15].SizeChoice, 1);
        QVERIFY(!h.w->bottleSizes().Check20(15)->isChecked());
        QVERIFY(!h.get("CalibList")->isVisible());  // Esc cleared the boxes, it did not reset
        h.key(Qt::Key_A, Qt::ShiftModifier);
        h.key(Qt::Key_B);
        QVERIFY(!h.get<QPushButton>("cmdBottleBack")->isEnabled());
        QVERIFY(h.get("ORLAN_Frame")->isVisible());
        QCOMPARE(sizeBoxes(h), 0);
        QVERIFY(h.get<TabStopList>("CalibList")
                    ->lines()
                    .contains(QString::fromStdString(testing::listLine(TheCatalogue().Calibs[1].OrderNo2,
                                                                       TheCatalogue().Calibs[1].Name))));
    }

    void keysInTheAddingMode() {
        Harness h(Harness::MainView);
        tickSomeAssays(h);
        h.click("Command4");
        auto* cal = h.get<QListWidget>("CalMissList");
        auto* ctl = h.get<QListWidget>("CtrlMissList");
        QVERIFY(cal->count() > 0 && ctl->count() > 0);
        cal->setFocus();  // a list would take letters for its own search
        h.key(Qt::Key_A, Qt::ShiftModifier);
        for (QListWidget* l : {cal, ctl})
            for (int i = 0; i < l->count(); ++i)
                QCOMPARE(l->item(i)->checkState(), Qt::Checked);
        h.key(Qt::Key_Escape);
        for (QListWidget* l : {cal, ctl})
            for (int i = 0; i < l->count(); ++i)
                QCOMPARE(l->item(i)->checkState(), Qt::Unchecked);
        QVERIFY(cal->isVisible());  // still in the mode
        cal->item(0)->setCheckState(Qt::Checked);
        const int slot = h.w->adding().CalMissSlot.at(0);
        h.key(Qt::Key_B);
        QVERIFY(!cal->isVisible());
        QCOMPARE(h.order().Calibs[slot].Selected, 1);
        QVERIFY(h.get("Command4")->isEnabled());
    }

    // Reload inside a mode leaves it first: no size box, no enabled back button and no ticked
    // entry survives into the fresh start, so a later B cannot put stale ticks into an order.
    void reloadInsideAModeLeavesItCleanly() {
        Harness h(Harness::MainView);
        tickSomeAssays(h);
        h.click("cmdBottle");
        h.key(Qt::Key_A, Qt::ShiftModifier);
        h.key(Qt::Key_R);
        QCOMPARE(sizeBoxes(h), 0);
        QVERIFY(!h.get("picStart")->isHidden());
        QCOMPARE(h.w->colourScheme(), 3);
        for (const char* back : {"cmdBottleBack", "Command4Back"}) {
            QVERIFY(!h.get(back)->isEnabled());
            QVERIFY(h.get(back)->isHidden());
        }
        QCOMPARE(h.order().Calibs[1].SizeChoice, 0);

        h.key(Qt::Key_S);
        tickSomeAssays(h);
        h.click("Command4");
        h.key(Qt::Key_A, Qt::ShiftModifier);
        h.key(Qt::Key_R);
        QCOMPARE(h.get<QListWidget>("CalMissList")->count(), 0);
        QCOMPARE(h.get<QListWidget>("CtrlMissList")->count(), 0);
        h.key(Qt::Key_S);
        h.key(Qt::Key_B);  // nothing to leave, nothing stale to add
        for (const CalibOrder& c : h.order().Calibs)
            QCOMPARE(c.Selected, 0);
        // The headings are the main view's again once a list fills.
        clickBox(h.get<QCheckBox>("Check1"));
        QCOMPARE(h.get<QLabel>("Label4")->text(), QStringLiteral("REQUIRED CALIBRATORS"));
        QCOMPARE(h.get("Label4")->y(), px(6600));
    }

    void noCommandKeyWhileAModalDialogIsOpen() {
        Harness h(Harness::MainView);
        tickSomeAssays(h);
        bool sawDialog = false;
        QTimer::singleShot(0, [&] {
            QWidget* modal = QApplication::activeModalWidget();
            sawDialog = modal != nullptr;
            if (!modal)
                return;
            QTest::keyClick(modal->windowHandle(), Qt::Key_Escape);
            QTest::keyClick(modal->windowHandle(), Qt::Key_1);
            static_cast<QDialog*>(modal)->reject();
        });
        QDialog dialog(h.w.get());
        dialog.setModal(true);
        dialog.exec();
        QVERIFY(sawDialog);
        QVERIFY(h.order().state.ticked(AssayRow::VexAmph));  // Esc did not reset
        QCOMPARE(h.w->colourScheme(), 3);
    }

    // Q and the right-click entry open the order window over the main view, and nowhere else. An
    // edit in it reaches the order at once; the reset clears what was typed and keeps the figures.
    void orderWindowFromTheMainViewOnly() {
        Harness h;
        h.key(Qt::Key_Q);  // the start screen
        h.key(Qt::Key_S);
        tickSomeAssays(h);
        h.click("cmdHelp");
        h.key(Qt::Key_Q);
        h.key(Qt::Key_Escape);
        h.click("cmdBottle");
        h.key(Qt::Key_Q);
        h.key(Qt::Key_B);
        h.key(Qt::Key_Q, Qt::ControlModifier);
        QVERIFY(!h.w->orderWindow());
        h.key(Qt::Key_Q);
        frmOrder* window = h.w->orderWindow();
        QVERIFY(window && window->isVisible());
        QCOMPARE(QApplication::activeModalWidget(), window);

        OrderTableModel& model = window->model();
        const int last = model.rowCount() - 1;
        QCOMPARE(model.section(last), OrderTable::Ctrls);
        const std::string number = model.number(last);
        QVERIFY(model.setData(model.index(last, OrderTableModel::Quantity), 3));
        QVERIFY(model.setData(model.index(last, OrderTableModel::UsesPerPack), 10));
        const std::string text = OrderListText(h.order());
        QVERIFY2(text.find("3 x " + number) != std::string::npos, text.c_str());
        // The window's own undo and redo, each edit one step.
        QTest::keyClick(window->table(), Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(h.order().plan.UsesPerPack(OrderTable::Ctrls, number), std::nullopt);
        QCOMPARE(model.index(last, OrderTableModel::UsesPerPack).data().toString(), QString());
        QTest::keyClick(window->table(), Qt::Key_Y, Qt::ControlModifier);
        QCOMPARE(h.order().plan.UsesPerPack(OrderTable::Ctrls, number), std::optional<int>(10));
        window->reject();

        QString entry;
        QTimer::singleShot(0, [&entry] {
            if (auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget())) {
                QAction* first = menu->actions().constFirst();
                entry = first->text() + '|' + first->shortcut().toString();
                menu->setActiveAction(first);
                QTest::keyClick(menu, Qt::Key_Return);
            }
        });
        QContextMenuEvent right(QContextMenuEvent::Mouse, QPoint(400, 500),
                                h.w->mapToGlobal(QPoint(400, 500)));
        QApplication::sendEvent(h.w.get(), &right);
        QCOMPARE(entry, QStringLiteral("Order and quantities...|Q"));
        QVERIFY(window->isVisible());
        QCOMPARE(model.index(last, OrderTableModel::Quantity).data().toString(), QStringLiteral("3"));
        window->reject();

        h.key(Qt::Key_Escape);  // the reset
        QVERIFY(!h.order().plan.HasTyped());
        QCOMPARE(h.order().plan.UsesPerPack(OrderTable::Ctrls, number), std::optional<int>(10));
    }

    // Esc, R and the reset button each empty everything at once, and Ctrl+Z gives it all back: the
    // order file and the selection byte for byte, the lists with their tooltips, every box as it
    // was ticked; Ctrl+Shift+Z and Ctrl+Y reset it again. Enter and Space leave the start screen.
    void everyResetIsTakenBackWhole() {
        const auto shown = [](Harness& h) {
            QStringList all;
            for (const char* name : {"CalibList", "CtrlList"}) {
                auto* list = h.get<TabStopList>(name);
                for (int i = 0; i < list->count(); ++i)
                    all << list->item(i)->text() + '|' + list->item(i)->toolTip();
            }
            for (QWidget* w : h.w->controls())
                if (auto* box = qobject_cast<QAbstractButton*>(w); box && box->isCheckable())
                    all << box->objectName() + (box->isChecked() ? "+" : "-");
            return all;
        };
        for (const char* how : {"Esc", "R", "button"}) {
            Harness h;
            h.key(how[0] == 'R' ? Qt::Key_Space : Qt::Key_Return);
            QVERIFY(h.get("picStart")->isHidden());
            tickSomeAssays(h);
            clickBox(h.w->panel().row(AssayRow::OrlanAmphXtc).qual);
            h.click("cmdBottle");
            clickBox(h.w->bottleSizes().FirstSizeBox());
            h.key(Qt::Key_B);
            h.click("Command4");
            h.w->adding().FirstList()->item(2)->setCheckState(Qt::Checked);
            h.key(Qt::Key_B);
            h.key(Qt::Key_Q);
            OrderTableModel& model = h.w->orderWindow()->model();
            QVERIFY(model.setData(model.index(0, OrderTableModel::Quantity), 4));
            h.w->orderWindow()->workloadBox(0)->setValue(3);
            h.w->orderWindow()->reject();
            const std::string file = OrderListText(h.order()),
                              selection = SelectionText(SelectionOf(h.order()));
            const QStringList before = shown(h);

            if (how[0] == 'E') {
                h.key(Qt::Key_Escape);
            } else if (how[0] == 'R') {
                h.key(Qt::Key_R);
                h.key(Qt::Key_S);
            } else {
                h.click("Command2");
            }
            const std::string empty = OrderListText(h.order());
            QVERIFY2(empty != file && !h.order().plan.HasTyped(), how);
            QVERIFY(h.get("NV_Banner")->isVisible());
            QCOMPARE(h.w->document().UndoText(), QStringLiteral("Undo reset"));

            h.key(Qt::Key_Z, Qt::ControlModifier);
            QCOMPARE(OrderListText(h.order()), file);
            QCOMPARE(SelectionText(SelectionOf(h.order())), selection);
            QCOMPARE(shown(h), before);
            QVERIFY(h.get("CalibList")->isVisible() && !h.get("NV_Banner")->isVisible());
            QCOMPARE(h.order().plan.workload().months, 3);

            h.key(how[0] == 'b' ? Qt::Key_Y : Qt::Key_Z,
                  how[0] == 'b' ? Qt::ControlModifier : Qt::ControlModifier | Qt::ShiftModifier);
            QCOMPARE(OrderListText(h.order()), empty);
            QVERIFY(h.get("NV_Banner")->isVisible() && !h.get("CalibList")->isVisible());
        }
    }

    // Shift+F10 and the Menu key open the right-click menu in the main view, at the control with
    // the focus; in every other view they do nothing, and F10 alone is no command.
    void menuKeysOpenTheRightClickMenuInTheMainViewOnly() {
        Harness h;
        QStringList opened;  // each menu that opened: its entries, and whether it stood at the focus
        QTimer closer;       // closes every menu as it opens, wherever it opened
        closer.setInterval(0);
        connect(&closer, &QTimer::timeout, [&opened, &h] {
            auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
            if (!menu)
                return;
            QStringList entries;
            for (QAction* a : menu->actions())
                entries << a->text();
            QWidget* f = h.w->focusWidget();
            const bool atFocus = f && menu->geometry().contains(f->mapToGlobal(f->rect().center()));
            opened << entries.join('|') + (atFocus ? " at the focus" : "");
            menu->close();
        });
        closer.start();
        const auto pressAll = [&] {
            h.key(Qt::Key_Menu);
            h.key(Qt::Key_F10, Qt::ShiftModifier);
            h.key(Qt::Key_F10);
            QCoreApplication::processEvents();
        };
        pressAll();  // the start screen
        h.key(Qt::Key_S);
        tickSomeAssays(h);
        h.click("cmdHelp");
        pressAll();
        h.key(Qt::Key_Escape);
        h.click("cmdBottle");
        pressAll();
        h.key(Qt::Key_B);
        h.click("Command4");
        pressAll();
        h.key(Qt::Key_B);
        QVERIFY(opened.isEmpty());

        QCOMPARE(QApplication::focusWidget(), h.get("Command4"));
        h.get("Check1")->setFocus();
        pressAll();
        // The last step taken is the tick of ORLAN AMPH / XTC; the modes left changed nothing.
        const QString menu =
            QStringLiteral("Order and quantities...||Open selection...|Save selection...|Open recent||Copy "
                           "order|Export order as CSV...|Export order as PDF...||Laboratory details...|Print "
                           "preview...||Undo tick ORLAN assay "
                           "AMPH / XTC|Redo at the focus");
        QCOMPARE(opened, (QStringList{menu, menu}));
    }

    void spaceStillTicksTheFocusedBox() {
        Harness h(Harness::MainView);
        auto* box = h.get<QCheckBox>("Check16");
        box->setFocus();
        h.key(Qt::Key_Space);
        QVERIFY(box->isChecked());
        QVERIFY(h.order().state.ticked(AssayRow::ToxAcet));
    }
};

QTEST_MAIN(KeyboardTest)
#include "keyboard_test.moc"
