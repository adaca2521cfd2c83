// Window speed, measured in one run on the real window:
//   ui_bench startup-minimal   an empty Qt window that quits at its first paint (the yardstick)
//   ui_bench startup           Tovimar's main window, quitting once its start screen is painted
//                              (both print the wall clock of that first paint; with `hold`
//                              they stay up instead, to have their memory measured)
//   ui_bench click [n]         n clicks on a select box, each to both lists refilled (in process)
//   ui_bench transition        the whole start-screen transition with its real pauses
//   ui_bench order-edit [n]    a full order in the order window: n edits of a reagent's tests a
//                              month and n of the months, each to the table and both lists
//                              repainted (the window's changed() refills the lists)
//   ui_bench undo [n]          n undos of a click and n redos, each to both lists refilled, and
//                              the heap that 100 steps of a full order hold
// bench/measure-ui runs them under Xvfb and prints the figures.
#include "app/modMain.h"
#include "gui/mainwindow/frmMain.h"
#include "gui/planning/frmOrder.h"
#include "gui/planning/order_table_model.h"

#include <QAbstractButton>
#include <QApplication>
#include <QElapsedTimer>
#include <QSpinBox>
#include <QStyle>
#include <QStyleOptionButton>
#include <QTableView>
#include <QTest>
#include <QTimer>
#include <QUndoStack>
#include <algorithm>
#include <cstdio>
#include <ctime>
#include <malloc.h>
#include <memory>
#include <vector>

using namespace tovimar;

namespace {

// Quits the program once the watched window has been painted, and prints the wall clock of that
// first paint (nanoseconds since the epoch), so that the caller can tell how long it took from
// the moment it started the process: what a user waits for, without the work that follows it.
class QuitOnPaint : public QObject {
public:
    bool eventFilter(QObject* o, QEvent* e) override {
        if (e->type() == QEvent::Paint && !painted_) {
            painted_ = true;
            timespec now{};
            clock_gettime(CLOCK_REALTIME, &now);
            std::printf("painted %lld\n", static_cast<long long>(now.tv_sec) * 1000000000LL + now.tv_nsec);
            std::fflush(stdout);
            QTimer::singleShot(0, qApp, &QCoreApplication::quit);
        }
        return QObject::eventFilter(o, e);
    }

private:
    bool painted_ = false;
};

void clickIndicator(QAbstractButton* b) {
    QStyleOptionButton opt;
    opt.initFrom(b);
    const QRect r = b->style()->subElementRect(QStyle::SE_CheckBoxIndicator, &opt, b);
    QTest::mouseClick(b, Qt::LeftButton, {}, r.center());
}

// With `hold`, the window stays up (for measuring its memory) instead of quitting at its paint.
int startup(bool minimal, bool hold) {
    QuitOnPaint quit;
    if (minimal) {
        QWidget w;
        if (!hold)
            w.installEventFilter(&quit);
        w.show();
        return QApplication::exec();
    }
    modMain::SetUpApplication();  // as the program does
    frmMain w;
    if (!hold)
        w.installEventFilter(&quit);
    w.show();
    return QApplication::exec();
}

// The window as the program shows it, the start transition without its pauses; null when it
// never appeared.
std::unique_ptr<frmMain> shownWindow() {
    modMain::SetUpApplication();
    frmMainHooks hooks = frmMainHooks::real();
    hooks.pause = [](int) {};
    auto w = std::make_unique<frmMain>(hooks);
    w->show();
    if (!QTest::qWaitForWindowExposed(w.get()))
        return nullptr;
    return w;
}

void report(const char* what, std::vector<double>& us, const char* of) {
    std::sort(us.begin(), us.end());
    std::printf("%s: median %.1f us, p90 %.1f us over %zu %s\n", what, us[us.size() / 2],
                us[us.size() * 9 / 10], us.size(), of);
}

// The main view with a realistic panel ticked, so the lists are long.
void tickRealisticPanel(frmMain& w) {
    QTest::mouseClick(w.control(QStringLiteral("picStart")), Qt::LeftButton, {}, QPoint(200, 200));
    for (const char* name :
         {"Check4", "Check3", "Check6", "Check10", "Check34", "Check16", "Check18", "Check19"})
        clickIndicator(qobject_cast<QAbstractButton*>(w.control(QString::fromLatin1(name))));
}

int clicks(int n) {
    const std::unique_ptr<frmMain> shown = shownWindow();
    if (!shown)
        return 1;
    frmMain& w = *shown;
    tickRealisticPanel(w);
    auto* box = qobject_cast<QAbstractButton*>(w.control(QStringLiteral("Check1")));
    std::vector<double> us;
    for (int i = 0; i < n; ++i) {
        QElapsedTimer t;
        t.start();
        clickIndicator(box);
        us.push_back(static_cast<double>(t.nsecsElapsed()) / 1000.0);
    }
    report("click to both lists refilled", us, "clicks");
    return 0;
}

// Times f() and the painting that follows it.
template <typename F>
double timed(F&& f) {
    QElapsedTimer t;
    t.start();
    f();
    QCoreApplication::processEvents();
    return static_cast<double>(t.nsecsElapsed()) / 1000.0;
}

int orderEdits(int n) {
    const std::unique_ptr<frmMain> shown = shownWindow();
    if (!shown)
        return 1;
    frmMain& w = *shown;
    QTest::keyClick(w.windowHandle(), Qt::Key_S);
    QTest::keyClick(w.windowHandle(), Qt::Key_A, Qt::ShiftModifier);  // the full order
    QTest::keyClick(w.windowHandle(), Qt::Key_Q);
    frmOrder* window = w.orderWindow();
    if (!window || !QTest::qWaitForWindowExposed(window))
        return 1;
    OrderTableModel& model = window->model();
    const QModelIndex reagent = model.index(0, OrderTableModel::TestsPerMonth);
    model.setData(model.index(0, OrderTableModel::TestsPerBottle), 100);
    std::vector<double> figure, months;
    for (int i = 0; i < n; ++i) {
        figure.push_back(timed([&] { model.setData(reagent, 100 + i % 500); }));
        months.push_back(timed([&] { window->workloadBox(0)->setValue(1 + i % 24); }));
    }
    std::printf("order window with %d lines\n", model.rowCount());
    report("reagent tests a month to table and lists", figure, "edits");
    report("months to table and lists", months, "edits");
    return 0;
}

int undos(int n) {
    const std::unique_ptr<frmMain> shown = shownWindow();
    if (!shown)
        return 1;
    frmMain& w = *shown;
    tickRealisticPanel(w);
    clickIndicator(qobject_cast<QAbstractButton*>(w.control(QStringLiteral("Check1"))));
    std::vector<double> undo, redo;
    // As a click is timed: to both lists refilled, the painting apart.
    for (int i = 0; i < n; ++i) {
        QElapsedTimer t;
        t.start();
        w.document().Undo();
        undo.push_back(static_cast<double>(t.nsecsElapsed()) / 1000.0);
        t.restart();
        w.document().Redo();
        redo.push_back(static_cast<double>(t.nsecsElapsed()) / 1000.0);
        QCoreApplication::processEvents();
    }
    report("undo of a click to both lists refilled", undo, "undos");
    report("redo of a click to both lists refilled", redo, "redos");

    // A hundred steps, every other one the full order: what the history holds on the heap.
    QTest::keyClick(w.windowHandle(), Qt::Key_Escape);
    w.document().undoStack().clear();
    const std::size_t before = mallinfo2().uordblks;
    for (int i = 0; i < OrderDocument::kUndoLimit; ++i)
        QTest::keyClick(w.windowHandle(), i % 2 ? Qt::Key_Escape : Qt::Key_A,
                        i % 2 ? Qt::NoModifier : Qt::ShiftModifier);
    const double kib = static_cast<double>(mallinfo2().uordblks - before) / 1024.0;
    std::printf("%d steps of a full order: %d kept, %.0f KiB on the heap\n", OrderDocument::kUndoLimit,
                w.document().undoStack().count(), kib);
    return 0;
}

int transition() {
    modMain::SetUpApplication();
    frmMain w;
    w.show();
    if (!QTest::qWaitForWindowExposed(&w))
        return 1;
    QElapsedTimer t;
    t.start();
    QTest::mouseClick(w.control(QStringLiteral("picStart")), Qt::LeftButton, {}, QPoint(200, 200));
    std::printf("start-screen transition: %.3f s\n", static_cast<double>(t.nsecsElapsed()) / 1e9);
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    const QString mode = argc > 1 ? QString::fromLatin1(argv[1]) : QString();
    const bool hold = argc > 2 && QLatin1String(argv[2]) == QLatin1String("hold");
    if (mode == QLatin1String("startup-minimal"))
        return startup(true, hold);
    if (mode == QLatin1String("startup"))
        return startup(false, hold);
    if (mode == QLatin1String("click"))
        return clicks(argc > 2 ? std::atoi(argv[2]) : 1000);
    if (mode == QLatin1String("transition"))
        return transition();
    if (mode == QLatin1String("undo"))
        return undos(argc > 2 ? std::atoi(argv[2]) : 1000);
    if (mode == QLatin1String("order-edit"))
        return orderEdits(argc > 2 ? std::atoi(argv[2]) : 200);
    std::fprintf(stderr, "usage: ui_bench startup-minimal [hold]|startup [hold]|click [n]|transition|"
                         "order-edit [n]|undo [n]\n");
    return 2;
}
