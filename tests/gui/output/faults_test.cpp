// Faults at the edges, met through the real window and its output dialog: every file it writes in
// every situation a save meets (a missing folder, a read-only one, a folder's name, a full disk,
// a file that can only be written in place); printing with no printer. Each must end with a clear
// message, the old file whole, the selection unchanged and the program still working. Also:
// modes, help, resets and saves repeated many times leave no widget and no memory behind.
#include "core/output/order_file.h"
#include "core/selection/result_lists.h"
#include "gui/output/frmOutput.h"
#include "gui/widgets/app_style.h"
#include "gui/widgets/fonts.h"
#include "gui/widgets/tab_stop_list.h"
#include "tests/support/file_size_limit.h"
#include "tests/support/order_lines.h"
#include "tests/support/save_scene.h"
#include "tests/support/window_harness.h"

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QKeyEvent>
#include <QListWidget>
#include <QMessageBox>
#include <QPointer>
#include <QPrinter>
#include <QProcess>
#include <QPushButton>
#include <QRadioButton>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>
#include <malloc.h>

using namespace tovimar;
using testing::clickBox;
using testing::Harness;

namespace {

// The main window with an order on it, whose output dialog answers the save dialog with `answer`
// (or opens the toolkit's own, with `realSaveDialog`) and the offer of a PDF with `wantPdf`, and
// keeps the messages and questions it would show.
struct OrderWindow : Harness {
    QString answer;
    bool realSaveDialog = false;
    bool wantPdf = false;
    QStringList messages;
    QStringList questions;

    OrderWindow() : Harness(MainView) {
        clickBox(get<QCheckBox>("Check1"));
        clickBox(get<QRadioButton>("Option5"));
        clickBox(get<QCheckBox>("Check16"));
        w->setOutputHooks([this] {
            frmOutputHooks hooks;
            hooks.dialogs.chooseFile = [this](QWidget* parent, bool save, const QString& title,
                                              const QString& start, const QString& filter,
                                              const QString& suffix) {
                return realSaveDialog
                           ? DialogHooks::real().chooseFile(parent, save, title, start, filter, suffix)
                           : answer;
            };
            hooks.dialogs.warn = [this](QWidget*, const QString&, const QString& text) { messages << text; };
            hooks.dialogs.ask = [this](QWidget*, const QString&, const QString& text, DialogHooks::Default) {
                questions << text;
                return wantPdf;
            };
            hooks.defaultPrinter = [] { return std::unique_ptr<QPrinter>(); };
            return hooks;
        });
    }

    // The user presses the output button, then `key` in the dialog.
    void output(Qt::Key key) {
        bool dialogSeen = false;
        QTimer::singleShot(0, [&] {
            QWidget* modal = QApplication::activeModalWidget();
            dialogSeen = modal != nullptr;
            // The user sees the dialog before pressing a key: it is painted.
            if (modal && QTest::qWaitForWindowExposed(modal))
                QTest::keyClick(modal->windowHandle(), key);
        });
        click("Command3");
        HELPER_VERIFY(dialogSeen);
        HELPER_VERIFY(!QApplication::activeModalWidget());  // the dialog closed in every case
    }

    // The order and the lists as they stand, to hold against them afterwards.
    std::string snapshot() const {
        return OrderListText(order()) + get<TabStopList>("CalibList")->lines().join('|').toStdString() +
               get<TabStopList>("CtrlList")->lines().join('|').toStdString();
    }

    // The program still follows the user: ticking another assay changes the order at once.
    void stillWorks() {
        clickBox(get<QCheckBox>("Check13"));  // ETHYL ALCOHOL: its two calibrators join the order
        HELPER_VERIFY(order().state.ticked(AssayRow::VexEtoh));
        HELPER_COMPARE(order().Calibs[24].Selected, 1);
        HELPER_COMPARE(order().Calibs[25].Selected, 1);
        QStringList expected;
        for (const std::string& line : testing::calibLines(order()))
            expected << QString::fromStdString(line);
        HELPER_COMPARE(get<TabStopList>("CalibList")->lines(), expected);
    }
};

// Every file the user can save from the output dialog, by the key that saves it.
struct Writer {
    const char* name;
    const char* what;
    Qt::Key key;
    bool (*isWhole)(const Order&, const QByteArray&);
};
const Writer kWriters[] = {
    {"order list", "The order list", Qt::Key_F,
     [](const Order& order, const QByteArray& b) {
         return b == QByteArray::fromStdString(OrderListText(order));
     }},
    {"PDF", "The PDF of the printout", Qt::Key_P,  // no printer: the PDF is offered instead
     [](const Order&, const QByteArray& b) {
         return b.startsWith("%PDF-") && b.trimmed().endsWith("%%EOF");
     }},
};

// A user at the toolkit's own save dialog, from the moment this is made until it goes: types the
// file's full name where the name goes, presses Enter, and clicks Yes when asked whether to
// replace the file. Each dialog gets its answer once.
class SaveDialogUser {
public:
    explicit SaveDialogUser(QString path) : path_(std::move(path)) { watch(); }

    int names = 0;         // file names typed
    int replacements = 0;  // questions answered Yes

private:
    // A new timer each time: the dialogs block inside the answers, and a timer does not fire
    // again while its own call is still running.
    void watch() {
        QTimer::singleShot(1, &guard_, [this] { look(); });
    }

    void look() {
        watch();
        QWidget* modal = QApplication::activeModalWidget();
        if (!modal || !modal->isVisible() || !modal->windowHandle()->isExposed())
            return;  // the user answers what is on the screen
        if (auto* files = qobject_cast<QFileDialog*>(modal); files && files != named_) {
            named_ = files;
            ++names;
            for (const QChar c : path_)
                QTest::keyClick(files->windowHandle(), c.toLatin1());
            QTest::keyClick(files->windowHandle(), Qt::Key_Return);
        } else if (auto* box = qobject_cast<QMessageBox*>(modal); box && box != asked_) {
            asked_ = box;
            ++replacements;
            QTest::mouseClick(box->button(QMessageBox::Yes), Qt::LeftButton);
        }
    }

    QString path_;
    QObject guard_;  // ends the watch with this
    // The dialogs answered; the save dialog is still the active one while its question closes.
    QPointer<QFileDialog> named_;
    QPointer<QMessageBox> asked_;
};

// The offscreen platform says at every popup that it cannot raise it or grab the keyboard, and the
// save dialog's name completer opens one at almost every key: those notes are dropped while this
// lives, everything else passes.
class QuietPlatformNotes {
public:
    QuietPlatformNotes() { previous_ = qInstallMessageHandler(&pass); }
    ~QuietPlatformNotes() { qInstallMessageHandler(previous_); }

private:
    static void pass(QtMsgType type, const QMessageLogContext& context, const QString& message) {
        if (!message.startsWith(QLatin1String("This plugin does not support")))
            previous_(type, context, message);
    }
    static inline QtMessageHandler previous_ = nullptr;
};

long residentKilobytes() {
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray& line : status.readAll().split('\n'))
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').first().toLong();
    return -1;
}

// What the program holds on the heap, which unlike resident memory does not move with pages
// the allocator keeps or hands back; -1 where the C library does not tell.
long heapKilobytes() {
#if defined(__GLIBC__) && (__GLIBC__ > 2 || __GLIBC_MINOR__ >= 33)
    return static_cast<long>(mallinfo2().uordblks / 1024);
#else
    return -1;
#endif
}

int liveWidgets(const QWidget& w) {
    return static_cast<int>(w.findChildren<QWidget*>().size());
}

}  // namespace

class FaultsTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() {
        QStandardPaths::setTestModeEnabled(true);  // the recent files: never the user's settings
        installApplicationStyle();
        installFontSubstitutes();
    }

    void everyWriterInEverySituation_data() { testing::addSituationRows(kWriters); }

    // The user saves the longest order; where that fails, one message in the one form.
    void everyWriterInEverySituation() {
        QFETCH(int, writer);
        QFETCH(int, row);
        const Writer& w = kWriters[writer];
        const testing::SituationRow& expected = testing::kSituations[row];
        testing::SaveScene scene(expected.situation);
        // One window for all rows (building one takes the most time here), reset for each.
        if (!shared_)
            shared_ = std::make_unique<OrderWindow>();
        OrderWindow& o = *shared_;
        o.messages.clear();
        o.key(Qt::Key_Escape);                // reset the selection
        o.key(Qt::Key_A, Qt::ShiftModifier);  // select all
        const std::string before = o.snapshot();
        o.answer = scene.path();
        o.wantPdf = true;
        scene.save([&] { o.output(w.key); });
        if (!expected.reason) {
            QVERIFY2(o.messages.isEmpty(), qPrintable(o.messages.join('\n')));
        } else {
            QCOMPARE(o.messages.size(), 1);
            const QString& m = o.messages[0];
            const QString head =
                QStringLiteral("%1 could not be saved as\n%2\n\n")
                    .arg(QLatin1String(w.what),
                         QDir::toNativeSeparators(QFileInfo(scene.path()).absoluteFilePath()));
            QVERIFY2(m.startsWith(head) && m.contains(QLatin1String(expected.reason)), qPrintable(m));
            QVERIFY2(m.contains(QLatin1String("\n\nThe order on screen is unchanged.")), qPrintable(m));
            QCOMPARE(m.contains(QLatin1String("The existing file was not changed.")),
                     expected.oldFile == SaveFailure::OldFile::Unchanged);
            QCOMPARE(m.contains(QLatin1String(
                         "The existing file had to be written in place and may now be incomplete.")),
                     expected.oldFile == SaveFailure::OldFile::Damaged);
            QVERIFY2(!m.contains(QLatin1String("printer")), qPrintable(m));
        }
        scene.verify(o.messages.isEmpty(),
                     [&](const QByteArray& bytes) { return w.isWhole(o.order(), bytes); });
        QCOMPARE(o.snapshot(), before);
        o.stillWorks();
    }

    void cleanupTestCase() { shared_.reset(); }

    void printWithNoPrinter() {
        OrderWindow o;
        const std::string before = o.snapshot();
        o.output(Qt::Key_P);
        QCOMPARE(o.questions.size(), 1);
        QVERIFY(o.questions[0].contains(QLatin1String("No printer")));
        QVERIFY(o.messages.isEmpty());
        QCOMPARE(o.snapshot(), before);
        o.stillWorks();
    }

    // The user saves the order again and again through the toolkit's own save dialog, typing the
    // file's full name and letting it replace the last one. Each save opens a fresh output dialog,
    // save dialog and question; whatever pictures they draw must be found again in the image
    // cache by the next ones (one palette for the output dialogs, one icon for each standard
    // picture, one blank header picture), or every save leaves copies there.
    void manySavesLeaveMemoryFlat() {
        // Where the heap cannot be measured, a few saves are enough for the sanitizer's leak check.
        const bool measured = memoryMeasurable();
        int saves = measured ? 40 : 4;
        if (qEnvironmentVariableIsSet("TOVIMAR_SAVES"))
            saves = qEnvironmentVariableIntValue("TOVIMAR_SAVES");
        const int settling = measured ? 10 : 1;
        QTemporaryDir dir;
        OrderWindow o;
        o.realSaveDialog = true;
        const QString path = dir.filePath(QStringLiteral("OrderList.txt"));
        SaveDialogUser user(path);
        const QuietPlatformNotes quiet;
        const long first = residentKilobytes();
        for (int i = 0; i < settling; ++i)
            o.output(Qt::Key_F);
        const long settled = residentKilobytes();
        // The heap after the settling saves, half the saves and all of them.
        long heap[3] = {heapKilobytes(), 0, 0};
        for (int i = 1; i <= saves; ++i) {
            o.output(Qt::Key_F);
            if (i == saves / 2)
                heap[1] = heapKilobytes();
        }
        heap[2] = heapKilobytes();
        qInfo("resident memory: %ld kB at first, %ld kB after %d saves, %ld kB after %d more; the heap in "
              "use grew by %ld kB, then by %ld kB",
              first, settled, settling, residentKilobytes(), saves, heap[1] - heap[0], heap[2] - heap[1]);
        QVERIFY2(o.messages.isEmpty(), qPrintable(o.messages.join('\n')));
        QCOMPARE(user.names, settling + saves);
        QCOMPARE(user.replacements, settling + saves - 1);  // every save but the first replaced the file
        QFile saved(path);
        QVERIFY(saved.open(QIODevice::ReadOnly));
        QCOMPARE(saved.readAll(), QByteArray::fromStdString(OrderListText(o.order())));
        if (!measured || heap[0] < 0)
            QSKIP("the heap in use cannot be measured here");
        // Each save left about 20 kB behind with icons made afresh for every dialog, 3 kB with a new
        // header picture at every paint; now nothing. What the allocator does once, in its own time
        // (up to ~130 kB), shows in one half only: a leak shows in both.
        const long grown = std::min(heap[1] - heap[0], heap[2] - heap[1]);
        QVERIFY2(grown < saves / 2 + 16, qPrintable(QStringLiteral("the heap grew by %1 kB").arg(grown)));
    }

    // Many entries and exits leave no widget behind, and memory returns to where it settled.
    // A user's every action ends in the event loop, so the events each round posts are handled
    // before the next; the long runs are made with the window hidden, so nothing is painted.
    void modesHelpAndResetsLeaveNothingBehind() {
        const int cycles = qEnvironmentVariableIsSet("TOVIMAR_CYCLES")
                               ? qEnvironmentVariableIntValue("TOVIMAR_CYCLES")
                               : 10000;
        Harness h(Harness::MainView);
        clickBox(h.get<QCheckBox>("Check34"));
        clickBox(h.get<QRadioButton>("Option15"));
        clickBox(h.get<QCheckBox>("Check1"));
        clickBox(h.get<QCheckBox>("Check44"));
        frmMain& w = *h.w;
        // Buttons and keys as a user gives them; sent to the window itself, they work hidden too.
        const auto press = [&w](const char* button) {
            qobject_cast<QPushButton*>(w.control(button))->click();
        };
        const auto key = [&w](int k, Qt::KeyboardModifiers m = Qt::NoModifier) {
            QKeyEvent e(QEvent::KeyPress, k, m);
            QApplication::sendEvent(&w, &e);
        };
        auto round = [&] {
            press("cmdBottle");
            key(Qt::Key_A, Qt::ShiftModifier);
            key(Qt::Key_B);
            QCoreApplication::processEvents();
            press("Command4");
            key(Qt::Key_Escape);
            key(Qt::Key_B);
            QCoreApplication::processEvents();
            press("cmdHelp");
            QCoreApplication::processEvents();
            key(Qt::Key_Escape);
            QCoreApplication::processEvents();
            QCOMPARE(w.mode(), Mode::Main);
        };
        auto repeat = [&](int n, const std::function<void()>& action, const char* what) {
            for (int i = 0; i < 50; ++i)  // let caches and pools settle first
                action();
            const int widgets = liveWidgets(w);
            const long memory = residentKilobytes();
            for (int i = 0; i < n; ++i)
                action();
            QCOMPARE(liveWidgets(w), widgets);
            checkMemory(memory, what);
        };
        repeat(200, round, "painted modes and help");
        w.hide();
        repeat(cycles, round, "modes and help");
        repeat(
            cycles / 10,
            [&] {
                key(Qt::Key_A, Qt::ShiftModifier);
                key(Qt::Key_Escape);
                QCoreApplication::processEvents();
            },
            "resets after select all");
        if (!memoryMeasurable())
            QSKIP("no widget was left behind; resident memory cannot be measured here");
    }

private:
    std::unique_ptr<OrderWindow> shared_;

    // Resident memory tells something only where the system reports it and no sanitizer keeps
    // freed memory in quarantine (its leak check stands in there). Elsewhere the tests that measure
    // it say that they skipped it rather than pass.
    static bool memoryMeasurable() {
#if defined(__SANITIZE_ADDRESS__)
        return false;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
        return false;
#else
        return residentKilobytes() >= 0;
#endif
#else
        return residentKilobytes() >= 0;
#endif
    }

    static void checkMemory(long before, const char* what) {
        if (!memoryMeasurable())
            return;
        const long grown = residentKilobytes() - before;
        HELPER_VERIFY2(
            grown < 4096,
            qPrintable(QStringLiteral("%1: memory grew by %2 kB").arg(QLatin1String(what)).arg(grown)));
    }
};

QTEST_MAIN(FaultsTest)
#include "faults_test.moc"
