// The order table: its rows against the order walk, every editable column through setData with
// what it announces, and the editor as the keyboard works it.
#include "core/order/order.h"
#include "gui/order/order_document.h"
#include "gui/planning/frmOrder.h"
#include "gui/planning/order_table_model.h"
#include "gui/widgets/app_style.h"
#include "gui/widgets/fonts.h"
#include "tests/support/loaded_catalogue.h"

#include <QAbstractItemDelegate>
#include <QAction>
#include <QHeaderView>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QSettings>
#include <QSignalSpy>
#include <QSpinBox>
#include <QStandardPaths>
#include <QTableView>
#include <QtTest>
#include <random>

using namespace tovimar;
using M = OrderTableModel;

const QString kGeometry = QStringLiteral("OrderWindow/geometry");

namespace {

// A random order: about a third of each table, some in their other size.
Order randomOrder(unsigned seed) {
    Order order = testing::loaded();
    std::mt19937 rng(seed);
    const auto pick = [&rng](auto& table) {
        for (auto& r : table) {
            r.Selected = rng() % 3 == 0 ? 1 : 0;
            if constexpr (requires { r.SizeChoice; })
                r.SizeChoice = rng() % 2 ? 2 : 0;
        }
    };
    pick(order.Assays);
    pick(order.Calibs);
    pick(order.Ctrls);
    return order;
}

int firstRow(const M& m, OrderTable t) {
    for (int r = 0; r < m.rowCount(); ++r)
        if (m.section(r) == t)
            return r;
    return -1;
}

// Each dataChanged as "row,column-row,column".
QStringList announced(const QSignalSpy& spy) {
    QStringList out;
    for (const QList<QVariant>& args : spy) {
        const auto a = args[0].value<QModelIndex>(), b = args[1].value<QModelIndex>();
        out << QStringLiteral("%1,%2-%3,%4").arg(a.row()).arg(a.column()).arg(b.row()).arg(b.column());
    }
    return out;
}

QString cell(int row, int from, int to) {
    return QStringLiteral("%1,%2-%1,%3").arg(row).arg(from).arg(to);
}

}  // namespace

class OrderWindowTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() {
        // The window's size and place go to the test's own settings, never the user's.
        QStandardPaths::setTestModeEnabled(true);
        QVERIFY2(QSettings().fileName().startsWith(QDir::homePath() + QStringLiteral("/.qttest/")),
                 qPrintable(QSettings().fileName()));
        installApplicationStyle();
        installFontSubstitutes();
    }

    // One row per line of the walk, in its order, and rebuilt only when the order changes.
    void rowsAreTheOrderWalk() {
        for (unsigned seed : {1u, 7u, 42u}) {
            Order order = randomOrder(seed);
            M model(order);
            int row = 0;
            ForEachOrderLine(order, [&](const OrderLine& l) {
                QCOMPARE(model.section(row), l.section);
                QCOMPARE(model.slot(row), l.slot);
                QCOMPARE(model.index(row, M::Number).data().toString(), QString::fromLatin1(l.number));
                QCOMPARE(model.index(row, M::Product).data().toString(), QString::fromLatin1(l.name));
                QCOMPARE(model.index(row, M::Pack).data().toString(), QString::fromLatin1(l.pack));
                ++row;
            });
            QCOMPARE(model.rowCount(), row);
            QVERIFY(firstRow(model, OrderTable::Ctrls) > firstRow(model, OrderTable::Calibs));

            QSignalSpy reset(&model, &QAbstractItemModel::modelReset);
            QVERIFY(!model.Refresh());
            order.Ctrls[3].Selected = order.Ctrls[3].Selected == 1 ? 0 : 1;
            QVERIFY(model.Refresh());
            QCOMPARE(reset.size(), 1);
        }
    }

    // Each editable column takes a whole number in its range or an empty value, writes the plan
    // and announces the cell, the line's suggestion and its quantity; anything else changes
    // nothing and announces nothing.
    void editsGoToThePlan_data() {
        QTest::addColumn<int>("section");
        QTest::addColumn<int>("column");
        QTest::addColumn<QVariant>("value");
        QTest::addColumn<bool>("taken");
        QTest::addColumn<QString>("suggested");  // afterwards
        QTest::addColumn<QString>("quantity");
        const int reag = int(OrderTable::Assays), cal = int(OrderTable::Calibs), ctl = int(OrderTable::Ctrls);
        const QVariant none;
        // The plan starts with 2 months, 12 calibrations and 30 runs a month, 10% repeats, the
        // reagent's 100 tests a bottle, the control's 5 runs a pack and a typed 4 for the calibrator.
        QTest::newRow("tests a month") << reag << int(M::TestsPerMonth) << QVariant(300) << true << "7"
                                       << "7";
        QTest::newRow("tests a month as text")
            << reag << int(M::TestsPerMonth) << QVariant("450") << true << "10"
            << "10";
        QTest::newRow("tests a bottle cleared") << reag << int(M::TestsPerBottle) << none << true << ""
                                                << "1";
        QTest::newRow("tests a bottle 0") << reag << int(M::TestsPerBottle) << QVariant(0) << false << ""
                                          << "1";
        QTest::newRow("tests a month too many")
            << reag << int(M::TestsPerMonth) << QVariant(1000001) << false << ""
            << "1";
        QTest::newRow("a fraction") << reag << int(M::TestsPerMonth) << QVariant(2.5) << false << ""
                                    << "1";
        QTest::newRow("not a number") << reag << int(M::TestsPerMonth) << QVariant("12a") << false << ""
                                      << "1";
        QTest::newRow("reagent uses a pack") << reag << int(M::UsesPerPack) << QVariant(5) << false << ""
                                             << "1";
        QTest::newRow("reagent quantity") << reag << int(M::Quantity) << QVariant(9999) << true << ""
                                          << "9999";
        QTest::newRow("calibrations a pack") << cal << int(M::UsesPerPack) << QVariant(5) << true << "5"
                                             << "4";
        QTest::newRow("calibrator quantity cleared") << cal << int(M::Quantity) << none << true << ""
                                                     << "1";
        QTest::newRow("calibrator quantity 0") << cal << int(M::Quantity) << QVariant(0) << false << ""
                                               << "4";
        QTest::newRow("calibrator tests a month")
            << cal << int(M::TestsPerMonth) << QVariant(5) << false << ""
            << "4";
        QTest::newRow("runs a pack cleared") << ctl << int(M::UsesPerPack) << QVariant("") << true << ""
                                             << "1";
        QTest::newRow("runs a pack 10001") << ctl << int(M::UsesPerPack) << QVariant(10001) << false << "12"
                                           << "12";
        QTest::newRow("control quantity 10000") << ctl << int(M::Quantity) << QVariant(10000) << false << "12"
                                                << "12";
        QTest::newRow("control product") << ctl << int(M::Product) << QVariant("x") << false << "12"
                                         << "12";
        // The stock: packs on the shelf and on order come off the need; a typed quantity stands.
        QTest::newRow("control on hand") << ctl << int(M::OnHand) << QVariant(5) << true << "12"
                                         << "7";
        QTest::newRow("control on order covers") << ctl << int(M::OnOrder) << QVariant(99999) << true << "12"
                                                 << "0";
        QTest::newRow("control on hand 0") << ctl << int(M::OnHand) << QVariant(0) << true << "12"
                                           << "12";
        QTest::newRow("control on order 100000")
            << ctl << int(M::OnOrder) << QVariant(100000) << false << "12"
            << "12";
        QTest::newRow("reagent without figures on hand")
            << reag << int(M::OnHand) << QVariant(1) << true << ""
            << "0";
        QTest::newRow("calibrator typed stands") << cal << int(M::OnHand) << QVariant(9) << true << ""
                                                 << "4";
    }
    void editsGoToThePlan() {
        QFETCH(int, section);
        QFETCH(int, column);
        QFETCH(QVariant, value);
        QFETCH(bool, taken);
        QFETCH(QString, suggested);
        QFETCH(QString, quantity);
        Order order = testing::loaded();
        order.Assays[1].Selected = order.Assays[2].Selected = order.Calibs[1].Selected =
            order.Ctrls[1].Selected = 1;
        const Catalogue& cat = TheCatalogue();
        OrderPlan& plan = order.plan;
        QVERIFY(plan.SetWorkload({2, 30, 12, 10}));
        QVERIFY(plan.SetReagentFigures(std::string(OrderedNo(cat.Assays[1], order.Assays[1])),
                                       {std::nullopt, 100}));
        QVERIFY(
            plan.SetUsesPerPack(OrderTable::Ctrls, std::string(OrderedNo(cat.Ctrls[1], order.Ctrls[1])), 5));
        QVERIFY(plan.SetTyped(OrderTable::Calibs, std::string(OrderedNo(cat.Calibs[1], order.Calibs[1])), 4));
        M model(order);
        const int row = firstRow(model, OrderTable(section));
        const OrderPlan before = plan;
        QSignalSpy spy(&model, &QAbstractItemModel::dataChanged);
        QSignalSpy changed(&model, &M::planChanged);

        QCOMPARE(model.setData(model.index(row, column), value), taken);
        QCOMPARE(model.index(row, M::Suggested).data().toString(), suggested);
        QCOMPARE(model.index(row, M::Quantity).data().toString(), quantity);
        if (!taken) {
            QVERIFY(announced(spy).isEmpty() && changed.isEmpty());
            QCOMPARE(plan.typed(OrderTable(section)), before.typed(OrderTable(section)));
            QCOMPARE(plan.reagents(), before.reagents());
            QCOMPARE(plan.usesPerPack(OrderTable(section)), before.usesPerPack(OrderTable(section)));
            QCOMPARE(plan.stock(OrderTable(section)), before.stock(OrderTable(section)));
            return;
        }
        const QVariant shown = model.index(row, column).data(Qt::EditRole);
        QCOMPARE(shown, value.toString().isEmpty() ? QVariant() : QVariant(value.toInt()));
        const QStringList expected =
            column == M::Quantity
                ? QStringList{cell(row, M::Quantity, M::Quantity)}
                : QStringList{cell(row, column, column), cell(row, M::Suggested, M::Quantity)};
        QCOMPARE(announced(spy), expected);
        QCOMPARE(changed.size(), 1);
        // The same value again changes nothing.
        QVERIFY(model.setData(model.index(row, column), value));
        QCOMPARE(changed.size(), 1);
    }

    // The whole order's figures change every line's suggestion and quantity, in one announcement.
    void workloadChangesTheSuggestedLines() {
        Order order = randomOrder(3);
        const OrderPlan& plan = order.plan;
        M model(order);
        const int ctl = firstRow(model, OrderTable::Ctrls);
        QVERIFY(model.setData(model.index(ctl, M::UsesPerPack), 4));
        QSignalSpy spy(&model, &QAbstractItemModel::dataChanged);
        QVERIFY(model.SetWorkload({3, 10, 0, 0}));
        // Only the line whose figures give a suggestion changes, and only it is repainted.
        QCOMPARE(announced(spy), QStringList{cell(ctl, M::Suggested, M::Quantity)});
        QCOMPARE(model.index(ctl, M::Quantity).data().toString(), QStringLiteral("8"));
        QVERIFY(!model.SetWorkload({0, 10, 0, 0}));
        QCOMPARE(plan.workload().months, 3);
        QCOMPARE(spy.size(), 1);
        // The quantity says where it came from in the lists' words.
        QCOMPARE(model.index(ctl, M::Quantity).data(Qt::ToolTipRole).toString(),
                 QStringLiteral("Quantity 8, suggested from 10 runs a month, 4 runs a pack, 3 months."));
        QVERIFY(model.setData(model.index(ctl, M::Quantity), 2));
        QCOMPARE(model.index(ctl, M::Quantity).data(Qt::ToolTipRole).toString(),
                 QStringLiteral("Typed 2; the figures now suggest 8."));
        QVERIFY(model.setData(model.index(ctl, M::Quantity), 8));
        QCOMPARE(model.index(ctl, M::Quantity).data(Qt::ToolTipRole).toString(),
                 QStringLiteral("Quantity 8, typed."));
    }

    // A typed quantity the figures no longer back is marked; "Use the suggestions", from the button
    // or the table's menu, drops the typed quantities that have a suggestion, as one step to undo,
    // and keeps the one without.
    void useTheSuggestionsIsOneStep() {
        OrderDocument document;
        Order& order = document.edit();
        order.Ctrls[1].Selected = order.Ctrls[2].Selected = order.Calibs[1].Selected = 1;
        const Catalogue& cat = TheCatalogue();
        const std::string c1 = cat.Ctrls[1].OrderNo, c2 = cat.Ctrls[2].OrderNo, cal = cat.Calibs[1].OrderNo1;
        QVERIFY(order.plan.SetWorkload({1, 20, 0, 0}));
        QVERIFY(order.plan.SetUsesPerPack(OrderTable::Ctrls, c1, 10));
        QVERIFY(order.plan.SetUsesPerPack(OrderTable::Ctrls, c2, 10));
        QVERIFY(order.plan.SetTyped(OrderTable::Ctrls, c1, 2));  // what the figures give
        QVERIFY(order.plan.SetTyped(OrderTable::Ctrls, c2, 5));
        QVERIFY(order.plan.SetTyped(OrderTable::Calibs, cal, 3));  // no figures: stays
        document.Commit(QStringLiteral("typing"));
        QWidget main;
        frmOrder window(document, &main);
        window.Open();
        M& model = window.model();
        const auto mark = [&](const std::string& number) {
            for (int row = 0; row < model.rowCount(); ++row)
                if (model.number(row) == number)
                    return M::Mark(model.index(row, M::Quantity).data(M::MarkRole).toInt());
            return M::Mark::None;
        };
        QCOMPARE(mark(c1), M::Mark::None);
        QCOMPARE(mark(c2), M::Mark::Disagrees);
        QCOMPARE(mark(cal), M::Mark::None);

        const QList<QAction*> menu = window.table()->actions();
        QCOMPARE(menu.size(), 1);
        QCOMPARE(menu[0]->text(), QStringLiteral("Use the suggestions"));
        window.findChild<QPushButton*>(QStringLiteral("cmdUseSuggestions"))->click();
        const OrderPlan& plan = document.order().plan;
        QCOMPARE(plan.Typed(OrderTable::Ctrls, c1), std::nullopt);
        QCOMPARE(plan.Typed(OrderTable::Ctrls, c2), std::nullopt);
        QCOMPARE(plan.Typed(OrderTable::Calibs, cal), std::optional<int>(3));
        QCOMPARE(mark(c2), M::Mark::None);
        menu[0]->trigger();  // nothing left to drop: no step
        QCOMPARE(document.UndoText(), QStringLiteral("Undo use the suggestions"));
        document.Undo();
        QCOMPARE(document.order().plan.Typed(OrderTable::Ctrls, c2), std::optional<int>(5));
        QCOMPARE(document.UndoText(), QStringLiteral("Undo typing"));
    }

    // The editor offers the column's range and an empty "none" below it; typing works as the
    // keyboard gives it: a digit starts the edit, Enter keeps it, Tab goes on to the next cell that
    // takes a number, Delete clears a cell, and Enter never closes the window.
    void editingByKeyboard() {
        OrderDocument document;
        Order& order = document.edit();
        order.Assays[1].Selected = order.Calibs[1].Selected = 1;
        const OrderPlan& plan = order.plan;
        QWidget main;
        main.show();
        frmOrder window(document, &main);
        window.Open();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QCOMPARE(window.windowModality(), Qt::WindowModal);
        QTableView* table = window.table();
        const std::string calib(OrderedNo(TheCatalogue().Calibs[1], order.Calibs[1]));

        table->setCurrentIndex(window.model().index(1, M::UsesPerPack));
        QTest::keyClick(table, Qt::Key_7);
        auto* box = table->findChild<QSpinBox*>();
        QVERIFY(box);
        QCOMPARE(box->maximum(), int(kUsesPerPackRange.high));
        QCOMPARE(box->minimum(), int(kUsesPerPackRange.low) - 1);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_5);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QTRY_COMPARE(plan.UsesPerPack(OrderTable::Calibs, calib), std::optional<int>(75));
        QCOMPARE(table->currentIndex(), window.model().index(1, M::OnHand));  // the stock comes next
        for (int n = 0; n < 2; ++n) {
            QTRY_VERIFY(QApplication::focusWidget() && QApplication::focusWidget() != table);
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        }
        QCOMPARE(table->currentIndex(), window.model().index(1, M::Quantity));
        QVERIFY(!plan.HasStock());  // passed over, nothing typed

        QTRY_VERIFY(QApplication::focusWidget() && QApplication::focusWidget() != table);  // editing
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_3);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        QTRY_COMPARE(plan.Typed(OrderTable::Calibs, calib), std::optional<int>(3));
        QVERIFY(window.isVisible());

        // A 0 where the range starts at 1 is not taken, neither as a quantity nor as "none".
        const QModelIndex quantity = window.model().index(1, M::Quantity);
        QCOMPARE(table->currentIndex(), quantity);
        QTest::keyClick(table, Qt::Key_F2);
        QWidget* editor = table->indexWidget(quantity);
        QVERIFY(editor);
        QTest::keyClick(editor, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClick(editor, Qt::Key_0);
        QTest::keyClick(editor, Qt::Key_Return);
        QTRY_VERIFY(!table->indexWidget(quantity));  // the editor closes once the event loop runs
        QCOMPARE(plan.Typed(OrderTable::Calibs, calib), std::optional<int>(3));

        // Clearing: the field emptied, or Delete on the cell.
        table->setCurrentIndex(window.model().index(1, M::UsesPerPack));
        QTest::keyClick(table, Qt::Key_F2);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_A, Qt::ControlModifier);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backspace);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        QTRY_COMPARE(plan.UsesPerPack(OrderTable::Calibs, calib), std::nullopt);
        table->setFocus();
        table->setCurrentIndex(window.model().index(1, M::Quantity));
        QTest::keyClick(table, Qt::Key_Delete);
        QCOMPARE(plan.Typed(OrderTable::Calibs, calib), std::nullopt);

        // Keys typed ahead (a scanner, a macro) take effect in their order, each reaching whatever
        // has the focus when its turn comes: the value kept, then the window closed.
        QTest::failOnWarning(QRegularExpression(QStringLiteral("commitData")));
        table->setCurrentIndex(window.model().index(1, M::OnHand));
        QTest::keyClick(table, Qt::Key_5);
        QTRY_VERIFY(table->indexWidget(window.model().index(1, M::OnHand)));
        for (const int key : {Qt::Key_Return, Qt::Key_Escape})
            for (const QEvent::Type type : {QEvent::KeyPress, QEvent::KeyRelease})
                QCoreApplication::postEvent(window.windowHandle(), new QKeyEvent(type, key, Qt::NoModifier));
        QTRY_VERIFY(!window.isVisible());
        QCOMPARE(plan.StockOf(OrderTable::Calibs, calib).onHand, std::optional<int>(5));
    }

    // Sized to the table at the first opening; moved and resized, it opens so again over a new
    // main window.
    void sizeAndPlaceSurviveANewMainWindow() {
        QSettings().remove(kGeometry);
        OrderDocument document;
        document.edit().Assays[1].Selected = document.edit().Ctrls[1].Selected = 1;
        QRect left;
        {
            QWidget main;
            main.show();
            frmOrder window(document, &main);
            window.Open();
            QVERIFY(QTest::qWaitForWindowExposed(&window));
            QCOMPARE(window.width(), window.minimumWidth());  // the table's width
            QCOMPARE(window.height(), 1024 * 7 / 8);
            left = QRect(window.x() + 37, 60, window.width() + 50, 500);
            window.setGeometry(left);
            window.reject();
        }
        QWidget main;
        main.show();
        frmOrder window(document, &main);
        window.Open();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QCOMPARE(window.geometry(), left);
    }

    // Whatever was kept, the window opens wholly on the 1280 x 1024 screen, at the table's size
    // where the size kept no longer fits.
    void keptGeometryThatNoLongerFits_data() {
        QTest::addColumn<QRect>("kept");
        QTest::addColumn<bool>("sizeKept");
        QTest::newRow("larger than the screen") << QRect(40, 30, 1400, 1100) << false;
        QTest::newRow("taller than the screen") << QRect(40, 30, 0, 1030) << false;
        QTest::newRow("narrower than the table") << QRect(40, 30, -1, 500) << false;
        QTest::newRow("off to the right and below") << QRect(1500, 1200, 0, 500) << true;
        QTest::newRow("off to the left and above") << QRect(-3000, -400, 0, 500) << true;
        QTest::newRow("half off the right edge") << QRect(1000, 100, 0, 500) << true;
    }
    void keptGeometryThatNoLongerFits() {
        QFETCH(QRect, kept);
        QFETCH(bool, sizeKept);
        OrderDocument document;
        document.edit().Assays[1].Selected = 1;
        QWidget main;
        main.show();
        frmOrder window(document, &main);
        // The width given relative to the table's: 0 just fits it, -1 is a pixel too narrow.
        QSettings().remove(kGeometry);
        window.Open();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        const QSize fitted = window.size();
        window.reject();
        if (kept.width() <= 0)
            kept.setWidth(window.minimumWidth() + kept.width());
        QSettings().setValue(kGeometry, kept);
        window.Open();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        const QRect screen = window.screen()->availableGeometry();
        QCOMPARE(screen, QRect(0, 0, 1280, 1024));
        QVERIFY2(screen.contains(window.frameGeometry()), qPrintable(QStringLiteral("%1,%2 %3x%4")
                                                                         .arg(window.x())
                                                                         .arg(window.y())
                                                                         .arg(window.width())
                                                                         .arg(window.height())));
        QCOMPARE(window.size(), sizeKept ? kept.size() : fitted);
    }

    // A full order fits across the window: no product name cut, no horizontal scroll bar.
    void aFullOrderFitsAcross() {
        OrderDocument document;
        SelectAllItems(document.edit());
        QWidget main;
        main.show();
        frmOrder window(document, &main);
        window.Open();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QTableView* table = window.table();
        QVERIFY(window.width() <= 1280);
        for (int c = 0; c < M::ColumnCount; ++c)
            QVERIFY2(table->columnWidth(c) >= static_cast<QAbstractItemView*>(table)->sizeHintForColumn(c),
                     qPrintable(QString::number(c)));
        int across = 0;
        for (int c = 0; c < M::ColumnCount; ++c)
            across += table->columnWidth(c);
        QVERIFY(across <= table->viewport()->width());
        for (int c = 0; c < M::ColumnCount; ++c)
            QVERIFY(!window.model().headerData(c, Qt::Horizontal).toString().isEmpty());
    }
};

QTEST_MAIN(OrderWindowTest)
#include "order_window_test.moc"
