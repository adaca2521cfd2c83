// The lab's selection as a file and the order leaving the program, as a user and a script meet
// them: Ctrl+O, Ctrl+S and Ctrl+C in the main view and only there, the right-click menu, a dropped
// file, bad files changing nothing, and the command line's outputs, messages and exit statuses,
// in every situation a save meets.
#include "app/command_line.h"
#include "core/output/order_export.h"
#include "core/output/order_file.h"
#include "core/output/selection_file.h"
#include "gui/output/frmLaboratory.h"
#include "gui/output/laboratory_settings.h"
#include "gui/output/recent_selections.h"
#include "gui/widgets/app_style.h"
#include "gui/widgets/fonts.h"
#include "tests/support/save_scene.h"
#include "tests/support/window_harness.h"

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QDropEvent>
#include <QElapsedTimer>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMimeData>
#include <QProcess>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>
#include <functional>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

using namespace tovimar;
using testing::Harness;

namespace {

// ORLAN AMPH / XTC at 500 in QUAL mode, TCA in QUAL mode, the VEX amphetamine assay's larger
// bottle, and a control added by hand.
const char* const kSelection = R"({
  "format": "tovimar-selection", "version": 1,
  "assays": [
    {"frame": "ORLAN", "assay": "amph / xtc", "cutoff": 500, "qual": true},
    {"frame": "VEX", "assay": " AMPHETAMINES ", "cutoff": 1000},
    {"frame": "TOX", "assay": "TCA", "qual": true}
  ],
  "added": {"controls": ["%1"]},
  "bottleSizes": ["%2"],
  "comment": "unknown keys are ignored"
})";

QByteArray bytesOf(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<unreadable>");
}

void write(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    HELPER_VERIFY(f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size());
}

// The order the core gives the file, without a window.
Order orderOf(const QByteArray& file) {
    const SelectionReading r = ReadSelection(std::string_view(file.constData(), file.size()));
    HELPER_VERIFY2(r.selection.has_value(), r.problem.message.c_str());
    Order order;
    ApplySelection(*r.selection, order);
    return order;
}

// The plan a file holds.
OrderPlan planOf(const QByteArray& file) {
    const SelectionReading r = ReadSelection(std::string_view(file.constData(), file.size()));
    HELPER_VERIFY2(r.selection.has_value(), r.problem.message.c_str());
    return r.selection->plan;
}

// The same order with every quantity one.
Order ofOnes(Order order) {
    order.plan = OrderPlan();
    return order;
}

// The entry of a menu with the text `text`.
QAction* entry(const QMenu& menu, const char* text) {
    for (QAction* a : menu.actions())
        if (a->text() == QLatin1String(text))
            return a;
    qFatal("no menu entry %s", text);
}

// "Laboratory details..." from the right-click menu, as the keyboard would choose it; the window
// it opens, which waits over the main window.
frmLaboratory* openDetails(Harness& h) {
    QTimer::singleShot(0, [] {
        if (auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget())) {
            menu->setActiveAction(entry(*menu, "Laboratory details..."));
            QTest::keyClick(menu, Qt::Key_Return);
        }
    });
    QContextMenuEvent right(QContextMenuEvent::Mouse, QPoint(400, 500), h.w->mapToGlobal(QPoint(400, 500)));
    QApplication::sendEvent(h.w.get(), &right);
    frmLaboratory* d = h.w->detailsWindow();
    HELPER_VERIFY2(d && d->isVisible() && QApplication::activeModalWidget() == d, "no details window");
    return d;
}

// Puts `text` into a field of the details window as a paste would, over what it holds (the test's
// keys are ASCII only).
void typeInto(frmLaboratory& d, frmLaboratory::Field f, const QString& text) {
    d.field(f)->setFocus();
    d.field(f)->selectAll();
    d.field(f)->insert(text);
}

Laboratory centralLab() {
    return {"Zentrallabor Müller", {"1 Main St", "Springfield"}, "C-1234", "A. Jones", "+1 555 0100",
            "lab@example.org"};
}

// The right-click menu's "Open recent" as it showed: whether it could be opened, and its entries'
// texts and tips.
struct RecentMenu {
    bool enabled = false;
    QStringList texts, tips;
};

// Opens the right-click menu and "Open recent" in it, as the keyboard would, and chooses its entry
// number `choose` (from 0, separators not counted); -1 chooses none.
RecentMenu openRecent(Harness& h, int choose = -1) {
    RecentMenu seen;
    QTimer::singleShot(0, [&] {
        auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        if (!menu)
            return;
        QAction* recent = entry(*menu, "Open recent");
        seen.enabled = recent->isEnabled();
        menu->setActiveAction(recent);
        QTest::keyClick(menu, Qt::Key_Return);
        QMenu* sub = recent->menu();
        if (!seen.enabled || QApplication::activePopupWidget() != sub) {
            menu->close();
            return;
        }
        QList<QAction*> entries;
        for (QAction* a : sub->actions())
            if (!a->isSeparator()) {
                entries << a;
                seen.texts << a->text();
                seen.tips << a->toolTip();
            }
        if (choose < 0) {
            sub->close();
            menu->close();
            return;
        }
        sub->setActiveAction(entries.value(choose));
        QTest::keyClick(sub, Qt::Key_Return);
    });
    QContextMenuEvent right(QContextMenuEvent::Mouse, QPoint(400, 500), h.w->mapToGlobal(QPoint(400, 500)));
    QApplication::sendEvent(h.w.get(), &right);
    HELPER_VERIFY(!QApplication::activePopupWidget());
    return seen;
}

struct Run {
    int status;
    QByteArray out, err;
};

// The program as a script starts it, without a display; `prepare` changes the environment given
// or where standard output goes. A program that hangs fails the test after a minute.
Run runProgram(const QStringList& args,
               const std::function<void(QProcess&, QProcessEnvironment&)>& prepare = {}) {
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.remove(QStringLiteral("DISPLAY"));
    env.remove(QStringLiteral("WAYLAND_DISPLAY"));
    env.remove(QStringLiteral("QT_QPA_PLATFORM"));
    // A home of its own, so that nothing the program keeps reaches the user's settings.
    static const QTemporaryDir home;
    env.insert(QStringLiteral("HOME"), home.path());
    env.remove(QStringLiteral("XDG_CONFIG_HOME"));
    if (prepare)
        prepare(p, env);
    p.setProcessEnvironment(env);
    p.start(QStringLiteral(TOVIMAR_BINARY), args);
    HELPER_VERIFY(p.waitForFinished(60000));
    return {p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1, p.readAllStandardOutput(),
            p.readAllStandardError()};
}

// Standard output goes where the test's own goes: to the log a scene has put there.
void sharedOutput(QProcess& p, QProcessEnvironment&) {
    p.setProcessChannelMode(QProcess::ForwardedOutputChannel);
}

// The formats a script exports, as writers of the table of save situations.
struct Format {
    const char* name;
};
const Format kFormats[] = {{"txt"}, {"pdf"}};

}  // namespace

class SelectionFileTest : public QObject {
    Q_OBJECT

    QTemporaryDir dir_;
    QString good_;
    QString everything_;  // every product added: the longest order
    QString planned_;     // good_ with quantities typed and planning figures

private slots:
    void initTestCase() {
        // The recent files go to the test's own settings, never the user's.
        QStandardPaths::setTestModeEnabled(true);
        QVERIFY2(QSettings().fileName().startsWith(QDir::homePath() + QStringLiteral("/.qttest/")),
                 qPrintable(QSettings().fileName()));
        installApplicationStyle();
        installFontSubstitutes();
        QVERIFY(dir_.isValid());
        const Catalogue& cat = TheCatalogue();
        good_ = dir_.filePath(QStringLiteral("good.tovimar"));
        write(good_, QString::fromLatin1(kSelection)
                         .arg(QString::fromStdString(cat.Ctrls[40].OrderNo),
                              QString::fromStdString(cat.Assays[15].OrderNo2))
                         .toUtf8());
        Order all;
        SelectAllItems(all);
        everything_ = dir_.filePath(QStringLiteral("everything.tovimar"));
        write(everything_, QByteArray::fromStdString(SelectionText(SelectionOf(all))));
        // Every line's quantity other than one: typed, or suggested by figures of each kind.
        {
            Order opened;
            const QByteArray good = bytesOf(good_);
            const SelectionReading read = ReadSelection(std::string_view(good.constData(), good.size()));
            QVERIFY(read.selection);
            ApplySelection(*read.selection, opened);
            OrderPlan plan;
            QVERIFY(plan.SetWorkload({3, 22, 4, 5}));
            ForEachOrderLine(opened, [&](const OrderLine& line) {
                const std::string number(line.number);
                if (line.section == OrderTable::Assays)
                    QVERIFY(plan.SetReagentFigures(number, {1200, 400}));
                else
                    QVERIFY(plan.SetUsesPerPack(line.section, number, 5));
            });
            QVERIFY(plan.SetTyped(OrderTable::Ctrls, cat.Ctrls[40].OrderNo, 2));
            QVERIFY(plan.SetUsesPerPack(OrderTable::Calibs, "not ordered", 5));  // left out of the file
            planned_ = dir_.filePath(QStringLiteral("planned.tovimar"));
            opened.plan = plan;
            write(planned_, QByteArray::fromStdString(SelectionText(SelectionOf(opened))));
        }
        // The program run as another user reads them too.
        QVERIFY(QFile::setPermissions(dir_.path(), QFile::Permissions(0x7755)));
    }

    void openingGivesTheOrderOfTheClicksAndBadFilesChangeNothing() {
        Harness h(Harness::MainView);
        h.nextFile = good_;
        h.key(Qt::Key_O, Qt::ControlModifier);
        QCOMPARE(h.dialogTitles, QStringList{QStringLiteral("Open selection")});
        QVERIFY2(h.messages.isEmpty(), qPrintable(h.messages.join(QLatin1Char('\n'))));
        QVERIFY(h.questions.isEmpty());  // nothing on the screen to replace
        QCOMPARE(OrderListText(h.order()), OrderListText(orderOf(bytesOf(good_))));
        QVERIFY(h.get<QCheckBox>("Check1")->isChecked());
        QVERIFY(h.get<QRadioButton>("Option5")->isChecked());
        QVERIFY(h.order().state[AssayRow::OrlanAmphXtc].Qual);
        QVERIFY(h.order().state[AssayRow::ToxTca].Qual);
        QCOMPARE(h.order().Assays[15].SizeChoice, 2);
        QCOMPARE(h.order().Ctrls[40].Selected, 1);
        QVERIFY(h.get("CalibList")->isVisible());

        // Something is on the screen now: a question first, and No keeps it.
        const std::string before = OrderListText(h.order());
        h.answer = false;
        h.key(Qt::Key_O, Qt::ControlModifier);
        QCOMPARE(h.questions.size(), 1);
        QVERIFY2(
            h.questions[0].endsWith(QLatin1String("The assays ticked, the bottle sizes chosen and the items "
                                                  "added now are replaced. Ctrl+Z takes the opening back.")),
            qPrintable(h.questions[0]));
        QVERIFY(h.defaults == std::vector{DialogHooks::Default::No});  // Enter keeps the screen
        QCOMPARE(OrderListText(h.order()), before);

        // Opening replaces the quantities and figures too.
        h.answer = true;
        QVERIFY(h.w->OpenSelectionFile(planned_));
        const OrderPlan plan = h.order().plan;
        QVERIFY(plan == planOf(bytesOf(planned_)));
        QVERIFY(plan.HasTyped() && plan.HasFigures());
        QCOMPARE(OrderListText(ofOnes(h.order())), before);
        const std::string planned = OrderListText(h.order());
        QVERIFY(planned != before);
        // After a reset only the figures are left, and the question names just them.
        h.key(Qt::Key_Escape);
        h.answer = false;
        QVERIFY(!h.w->OpenSelectionFile(planned_));
        QVERIFY2(
            h.questions.last().endsWith(QLatin1String("\n\nThe planning figures now are replaced. Ctrl+Z "
                                                      "takes the opening back.")),
            qPrintable(h.questions.last()));
        h.answer = true;
        h.key(Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(OrderListText(h.order()), planned);

        // A file that is wrong in any way changes nothing and says so, naming the file and the problem.
        const QString bad = dir_.filePath(QStringLiteral("bad.tovimar"));
        for (
            const QByteArray& contents :
            {QByteArray("{\"format\": \"tovimar-selection\", \"version\": 1,\n \"assays\": [}"),
             QByteArray(
                 R"({"format": "tovimar-selection", "version": 1, "assays": [{"frame": "VEX", "assay": "FENTANYL"}]})"),
             QByteArray(R"({"format": "tovimar-selection", "version": 2, "plan": {"months": 25}})"),
             // Nothing in this file orders the control: its quantity would be lost.
             QByteArray(R"({"format": "tovimar-selection", "version": 2, "quantities": {"controls": {")") +
                 QByteArray::fromStdString(TheCatalogue().Ctrls[40].OrderNo) + "\": 2}}}",
             QByteArray(R"({"format": "tovimar-selection", "version": 7})")}) {
            write(bad, contents);
            h.messages.clear();
            QVERIFY(!h.w->OpenSelectionFile(bad));
            QCOMPARE(h.messages.size(), 1);
            QVERIFY2(h.messages[0].contains(QDir::toNativeSeparators(bad)), qPrintable(h.messages[0]));
            QCOMPARE(OrderListText(h.order()), planned);
            QVERIFY(h.order().plan == plan);
        }
        QVERIFY(h.messages[0].contains(QLatin1String("newer")));
        // A named pipe is refused at once: reading it would wait for a writer, with the window dead.
        const QString pipe = dir_.filePath(QStringLiteral("pipe.tovimar"));
        QCOMPARE(::mkfifo(QFile::encodeName(pipe).constData(), 0600), 0);
        QVERIFY(!h.w->OpenSelectionFile(pipe));
        QVERIFY2(h.messages.last().contains(QLatin1String("This is a named pipe, not a file.")),
                 qPrintable(h.messages.last()));
        QVERIFY(!h.w->OpenSelectionFile(dir_.filePath(QStringLiteral("missing.tovimar"))));
        QCOMPARE(OrderListText(h.order()), planned);
    }

    // The keys are the main view's; everywhere else they do what they always did: on the start
    // screen Ctrl+S is S, in the other views Ctrl+O and Ctrl+S ask for no file, Ctrl+L and Ctrl+P
    // open no window.
    void fileKeysOnlyInTheMainView() {
        Harness h;
        h.key(Qt::Key_S, Qt::ControlModifier);
        QCOMPARE(h.w->mode(), Mode::Main);
        QVERIFY(h.dialogTitles.isEmpty());
        for (const char* view : {"cmdBottle", "Command4", "cmdHelp"}) {
            h.click(view);
            h.key(Qt::Key_O, Qt::ControlModifier);
            h.key(Qt::Key_S, Qt::ControlModifier);
            h.key(Qt::Key_L, Qt::ControlModifier);
            h.key(Qt::Key_P, Qt::ControlModifier);
            QVERIFY(h.dialogTitles.isEmpty());
            QVERIFY(!QApplication::activeModalWidget());
            h.key(QLatin1String(view) == QLatin1String("cmdHelp") ? Qt::Key_Escape : Qt::Key_B);
            QCOMPARE(h.w->mode(), Mode::Main);
        }
    }

    // Saving writes the selection on the screen; copying puts the order on the clipboard as the
    // file's text and as a table; the menu offers all six; the exports write what the core makes.
    void savingCopyingExportingAndTheMenu() {
        Harness h(Harness::MainView);
        QVERIFY(h.w->OpenSelectionFile(good_));
        h.nextFile = dir_.filePath(QStringLiteral("saved.tovimar"));
        h.key(Qt::Key_S, Qt::ControlModifier);
        QVERIFY(h.messages.isEmpty());
        QCOMPARE(OrderListText(orderOf(bytesOf(h.nextFile))), OrderListText(h.order()));

        h.key(Qt::Key_C, Qt::ControlModifier);
        const QMimeData* copied = QApplication::clipboard()->mimeData();
        QCOMPARE(copied->text(), QString::fromLatin1(OrderListText(h.order())));
        QCOMPARE(copied->html(), QString::fromStdString(OrderHtml(h.order())));

        QStringList entries;
        QTimer::singleShot(0, [&] {
            if (auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget())) {
                for (QAction* a : menu->actions())
                    if (!a->isSeparator())
                        entries << a->text();
                menu->setActiveAction(entry(*menu, "Export order as CSV..."));
                QTest::keyClick(menu, Qt::Key_Return);
            }
        });
        h.nextFile = dir_.filePath(QStringLiteral("order.csv"));
        QContextMenuEvent right(QContextMenuEvent::Mouse, QPoint(400, 500),
                                h.w->mapToGlobal(QPoint(400, 500)));
        QApplication::sendEvent(h.w.get(), &right);
        // The opening is the one step taken: saving and copying change nothing to take back.
        QCOMPARE(entries, (QStringList{"Order and quantities...", "Open selection...", "Save selection...",
                                       "Open recent", "Copy order", "Export order as CSV...",
                                       "Export order as PDF...", "Laboratory details...", "Print preview...",
                                       "Undo opening good.tovimar", "Redo"}));
        const std::string csv = OrderCsv(h.order());
        QCOMPARE(bytesOf(h.nextFile), QByteArray(csv.data(), qsizetype(csv.size())));

        // Quantities and figures are saved as opened, byte for byte.
        QVERIFY(h.w->OpenSelectionFile(planned_));
        h.nextFile = dir_.filePath(QStringLiteral("saved-planned.tovimar"));
        h.key(Qt::Key_S, Qt::ControlModifier);
        QCOMPARE(bytesOf(h.nextFile), bytesOf(planned_));
    }

    // "Open recent" holds the last eight files opened or saved, newest first and each once; an entry
    // opens its file as Ctrl+O would, one that is gone comes off the list with a message, one that
    // cannot be read stays, and "Clear recent" empties it.
    void openRecent() {
        ClearRecentSelections();
        Harness h(Harness::MainView);
        QVERIFY(!::openRecent(h).enabled);
        QStringList saved;
        for (int i = 0; i < 9; ++i) {
            saved << dir_.filePath(QStringLiteral("recent-%1.tovimar").arg(i));
            h.nextFile = saved.last();
            h.key(Qt::Key_S, Qt::ControlModifier);
        }
        h.nextFile.clear();
        h.key(Qt::Key_S, Qt::ControlModifier);  // cancelled: nothing saved to remember
        // The same file under another spelling is the one entry, moved to the top.
        QVERIFY(h.w->OpenSelectionFile(dir_.path() + QStringLiteral("/./recent-1.tovimar")));
        const auto native = [&saved](std::initializer_list<int> numbers) {
            QStringList paths;
            for (int i : numbers)
                paths << QDir::toNativeSeparators(saved[i]);
            return paths;
        };
        write(saved[4], bytesOf(good_));
        write(saved[6], "[]");
        QVERIFY(QFile::remove(saved[7]));

        // A file that cannot be read is reported as ever and stays where it was on the list.
        RecentMenu menu = ::openRecent(h, 3);
        QVERIFY(menu.enabled);
        QCOMPARE(menu.tips, native({1, 8, 7, 6, 5, 4, 3, 2}) << QStringLiteral("Clear recent"));
        QCOMPARE(menu.texts[0],
                 QStringLiteral("recent-1.tovimar (%1)").arg(QDir::toNativeSeparators(dir_.path())));
        QCOMPARE(h.messages.size(), 1);
        QVERIFY2(h.messages[0].startsWith(QLatin1String("The selection could not be opened from\n")),
                 qPrintable(h.messages[0]));
        // A file that is gone comes off the list, and the user is told which.
        h.messages.clear();
        QCOMPARE(::openRecent(h, 2).tips, menu.tips);
        QCOMPARE(h.messages, QStringList{QStringLiteral("The selection file\n%1\nis no longer there. It was "
                                                        "taken off the recent list.")
                                             .arg(QDir::toNativeSeparators(saved[7]))});
        // One that opens does so in full and moves to the top.
        QCOMPARE(::openRecent(h, 4).tips, native({1, 8, 6, 5, 4, 3, 2}) << QStringLiteral("Clear recent"));
        QCOMPARE(OrderListText(h.order()), OrderListText(orderOf(bytesOf(good_))));
        QCOMPARE(::openRecent(h, 7).tips, native({4, 1, 8, 6, 5, 3, 2}) << QStringLiteral("Clear recent"));
        QVERIFY(RecentSelections().isEmpty());
        QVERIFY(!::openRecent(h).enabled);
    }

    // The title names the file opened or saved, and marks a change until it is saved or undone.
    void titleNamesTheFileAndMarksChanges() {
        Harness h(Harness::MainView);
        const QString caption = h.w->windowTitle();
        testing::clickBox(h.get<QCheckBox>("Check1"));
        QCOMPARE(h.w->windowTitle(), caption);  // no file: the caption alone, nothing marked
        QVERIFY(!h.w->isWindowModified());
        h.nextFile = dir_.filePath(QStringLiteral("mine.tovimar"));
        h.key(Qt::Key_S, Qt::ControlModifier);
        QCOMPARE(h.w->windowTitle(), caption + QStringLiteral(" - mine.tovimar[*]"));
        QVERIFY(!h.w->isWindowModified());
        testing::clickBox(h.get<QCheckBox>("Check2"));
        QVERIFY(h.w->isWindowModified());
        h.key(Qt::Key_Z, Qt::ControlModifier);
        QVERIFY(!h.w->isWindowModified());  // undone back to what the file holds
        h.key(Qt::Key_Z, Qt::ControlModifier);
        QVERIFY(h.w->isWindowModified());
        h.nextFile.clear();
        h.key(Qt::Key_S, Qt::ControlModifier);  // cancelled: still unsaved
        QVERIFY(h.w->isWindowModified());
        QVERIFY(h.w->OpenSelectionFile(good_));
        QCOMPARE(h.w->windowTitle(), caption + QStringLiteral(" - good.tovimar[*]"));
        QVERIFY(!h.w->isWindowModified());
    }

    // A selection file dropped on the start screen opens straight in the main view. It is taken
    // as a copy whatever the source proposes: a source that honours a move deletes its file.
    // The details window: every field reached by its mnemonic and named for a screen reader, no
    // field taking more than its limit, what CheckDetails refuses keeping the window open with the
    // reason and the focus on the field; OK one step of the order, Esc nothing.
    void laboratoryDetailsWindow() {
        KeepLaboratory({});
        Harness h(Harness::MainView);
        frmLaboratory* d = openDetails(h);
        using F = frmLaboratory;
        const struct {
            F::Field field;
            Qt::Key mnemonic;
            int limit;
        } fields[] = {
            {F::Name, Qt::Key_N, 80},      {F::Address1, Qt::Key_A, 80}, {F::Address2, Qt::Key_2, 80},
            {F::Address3, Qt::Key_3, 80},  {F::Address4, Qt::Key_4, 80}, {F::Account, Qt::Key_U, 40},
            {F::Contact, Qt::Key_T, 80},   {F::Phone, Qt::Key_P, 40},    {F::Email, Qt::Key_E, 80},
            {F::Reference, Qt::Key_R, 40}, {F::Date, Qt::Key_D, 10}};
        QStringList names;
        for (const auto& f : fields) {
            QTest::keyClick(d->windowHandle(), f.mnemonic, Qt::AltModifier);
            QCOMPARE(QApplication::focusWidget(), d->field(f.field));
            names << d->field(f.field)->accessibleName();
            QTest::keyClicks(d->field(f.field), QString(f.limit + 5, QLatin1Char('7')));
            QCOMPARE(d->field(f.field)->text().size(), f.limit);
            d->field(f.field)->clear();
        }
        QCOMPARE(QSet<QString>(names.begin(), names.end()).size(), int(std::size(fields)));
        QVERIFY(!names.contains(QString()));

        const QString undo = h.w->document().UndoText();
        const struct {
            F::Field field;
            const char* text;
            const char* says;
        } refused[] = {{F::Address1, "1 Main St", "name must be given"},
                       {F::Date, "2026-02-29", "real day"},
                       {F::Date, "01.12.2026", "yyyy-mm-dd"},
                       {F::Contact, "A.\tJones", "on one line"}};
        for (const auto& r : refused) {
            for (const auto& f : fields)
                d->field(f.field)->clear();
            d->field(r.field)->setText(QString::fromLatin1(r.text));
            if (r.field != F::Address1)
                typeInto(*d, F::Name, QStringLiteral("Central Lab"));
            QTest::keyClick(d->windowHandle(), Qt::Key_Return);
            QVERIFY2(d->isVisible() && d->problem().contains(QLatin1String(r.says)),
                     qPrintable(d->problem()));
            QCOMPARE(QApplication::focusWidget(), d->field(r.field == F::Address1 ? F::Name : r.field));
            QCOMPARE(h.w->document().UndoText(), undo);
            QVERIFY(h.order().details.empty());
        }

        // As typed, blanks around the texts dropped and the address closed up.
        const Laboratory lab = centralLab();
        for (const auto& f : fields)
            d->field(f.field)->clear();
        typeInto(*d, F::Name, QStringLiteral(" Zentrallabor Müller "));
        typeInto(*d, F::Address1, QStringLiteral("1 Main St"));
        typeInto(*d, F::Address3, QStringLiteral("Springfield"));
        typeInto(*d, F::Account, QStringLiteral("C-1234"));
        typeInto(*d, F::Contact, QStringLiteral("A. Jones"));
        typeInto(*d, F::Phone, QStringLiteral("+1 555 0100"));
        typeInto(*d, F::Email, QStringLiteral("lab@example.org"));
        typeInto(*d, F::Reference, QStringLiteral("PO-2026-0117"));
        typeInto(*d, F::Date, QStringLiteral("2026-12-01"));
        QTest::keyClick(d->windowHandle(), Qt::Key_Return);
        QVERIFY2(!d->isVisible(), qPrintable(d->problem()));
        const OrderDetails first{lab, "PO-2026-0117", "2026-12-01"};
        QVERIFY(h.order().details == first);
        QVERIFY(SavedLaboratory() == lab);
        QCOMPARE(h.w->document().UndoText(), QStringLiteral("Undo laboratory details"));

        // A second change is a step of its own; Esc keeps the details as they are.
        d = openDetails(h);
        QCOMPARE(d->field(F::Address2)->text(), QStringLiteral("Springfield"));
        typeInto(*d, F::Reference, QStringLiteral("PO-2026-0118"));
        QTest::keyClick(d->windowHandle(), Qt::Key_Return);
        QCOMPARE(h.order().details.reference, std::string("PO-2026-0118"));
        h.key(Qt::Key_L, Qt::ControlModifier);
        QVERIFY(d->isVisible() && QApplication::activeModalWidget() == d);
        typeInto(*d, F::Name, QStringLiteral("Another Lab"));
        QTest::keyClick(d->windowHandle(), Qt::Key_Escape);
        QVERIFY(!d->isVisible());
        QCOMPARE(h.order().details.laboratory.name, lab.name);
        h.key(Qt::Key_Z, Qt::ControlModifier);
        QVERIFY(h.order().details == first);
        h.key(Qt::Key_Z, Qt::ControlModifier);
        QVERIFY(h.order().details.empty());
        KeepLaboratory({});
    }

    // The laboratory kept in the settings is where every new selection starts: a new window, a
    // reset (which clears the reference and the date) and a file without a laboratory; a file's
    // own laboratory, reference and date win. None of this is a step to undo.
    void laboratoryKeptForEveryNewSelection() {
        const Laboratory lab = centralLab();
        KeepLaboratory(lab);
        Harness h(Harness::MainView);
        QVERIFY(h.order().details == (OrderDetails{lab, {}, {}}));
        QVERIFY(!h.w->document().CanUndo());

        h.edit().details.reference = "PO-1";
        h.edit().details.date = "2026-12-01";
        h.edit().details.laboratory.name = "Someone Else";
        h.key(Qt::Key_Escape);
        QVERIFY(h.order().details == (OrderDetails{lab, {}, {}}));

        QVERIFY(h.w->OpenSelectionFile(good_));
        QVERIFY(h.order().details == (OrderDetails{lab, {}, {}}));
        const QString theirs = dir_.filePath(QStringLiteral("theirs.tovimar"));
        Order other = orderOf(bytesOf(good_));
        other.details = {{"Branch Lab", {"2 Side St"}, {}, {}, {}, {}}, "PO-7", "2026-11-30"};
        write(theirs, QByteArray::fromStdString(SelectionText(SelectionOf(other))));
        QVERIFY(h.w->OpenSelectionFile(theirs));
        QVERIFY(h.order().details == other.details);
        QCOMPARE(OrderListText(h.order()), OrderListText(other));
        h.key(Qt::Key_Escape);
        QVERIFY(h.order().details == (OrderDetails{lab, {}, {}}));

        // What the settings file holds that the window would refuse is not taken.
        QSettings().setValue(QStringLiteral("Laboratory/name"), QString(81, QLatin1Char('x')));
        QVERIFY(SavedLaboratory() == Laboratory{});
        KeepLaboratory({});
        QVERIFY(!QSettings().childGroups().contains(QStringLiteral("Laboratory")));
        QVERIFY(Harness(Harness::MainView).order().details.empty());
    }

    void droppedFileOpens() {
        Harness h;
        QMimeData mime;
        mime.setUrls({QUrl::fromLocalFile(good_)});
        QDragEnterEvent moveOnly(QPoint(300, 300), Qt::MoveAction, &mime, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(h.w.get(), &moveOnly);
        QVERIFY(!moveOnly.isAccepted());
        const Qt::DropActions either = Qt::CopyAction | Qt::MoveAction;
        QDragEnterEvent enter(QPoint(300, 300), either, &mime, Qt::LeftButton, Qt::NoModifier);
        enter.setDropAction(Qt::MoveAction);  // as the source proposes
        QApplication::sendEvent(h.w.get(), &enter);
        QVERIFY(enter.isAccepted());
        QCOMPARE(enter.dropAction(), Qt::CopyAction);
        QDropEvent drop(QPointF(300, 300), either, &mime, Qt::LeftButton, Qt::NoModifier);
        drop.setDropAction(Qt::MoveAction);
        QApplication::sendEvent(h.w.get(), &drop);
        QCOMPARE(drop.dropAction(), Qt::CopyAction);
        QVERIFY(drop.isAccepted());
        QCOMPARE(h.w->mode(), Mode::Main);
        QVERIFY(h.pauses.empty());  // no start animation
        QVERIFY(h.get<QCheckBox>("Check1")->isChecked());
        QVERIFY(QFile::exists(good_));
    }

    void commandLineInEverySituation_data() { testing::addSituationRows(kFormats); }

    // An export meets every situation a save meets, and a script never gets a file written in
    // place: the exit status says what happened, standard error why, without a word of a screen.
    void commandLineInEverySituation() {
        QFETCH(int, writer);
        QFETCH(int, row);
        const QString format = QLatin1String(kFormats[writer].name);
        const testing::SituationRow expected = testing::kSituations[row].forScript();
        testing::SaveScene scene(expected.situation, SaveFor::Script);
        Run run{};
        scene.save([&] {
            run = runProgram({"--selection", everything_, "--export", format, "--output", scene.path()},
                             sharedOutput);
        });
        const QString err = QString::fromLocal8Bit(run.err);
        if (!expected.reason) {
            QCOMPARE(run.status, 0);
            QVERIFY2(err.isEmpty(), qPrintable(err));
        } else {
            QCOMPARE(run.status, 1);
            QVERIFY2(err.contains(QLatin1String(" could not be saved as\n") +
                                  QFileInfo(scene.path()).absoluteFilePath() + QLatin1String("\n\n")) &&
                         err.contains(QLatin1String(expected.reason)),
                     qPrintable(err));
            QVERIFY2(!err.contains(QLatin1String("screen")), qPrintable(err));
            if (format == QLatin1String("txt"))
                QVERIFY2(err.startsWith(QLatin1String("tovimar: The order list could not be saved as")),
                         qPrintable(err));
            QCOMPARE(err.contains(QLatin1String("The existing file was not changed.")),
                     expected.oldFile == SaveFailure::OldFile::Unchanged);
        }
        const std::string order = OrderListText(orderOf(bytesOf(everything_)));
        scene.verify(run.status == 0, [&](const QByteArray& b) {
            return format == QLatin1String("txt") ? b == QByteArray::fromStdString(order)
                                                  : b.startsWith("%PDF-") && b.trimmed().endsWith("%%EOF");
        });
    }

    // The command line writes the bytes the window writes, without a display, and says by its
    // exit status what went wrong; a failed export leaves no file.
    void commandLineForScripts() {
        Harness h(Harness::MainView);
        // With the file's quantities and figures, as the window has them after opening it.
        for (const QString& selection : {good_, planned_}) {
            QVERIFY(h.w->OpenSelectionFile(selection));
            const std::string file = OrderListText(h.order());
            Run txt = runProgram({"--selection", selection, "--export", "txt", "--output", "-"});
            QCOMPARE(txt.status, 0);
            QCOMPARE(txt.out, QByteArray(file.data(), qsizetype(file.size())));
            const QString txtPath = dir_.filePath(QStringLiteral("cli.txt"));
            QCOMPARE(runProgram({"--selection", selection, "--export", "txt", "--output", txtPath}).status,
                     0);
            QCOMPARE(bytesOf(txtPath), txt.out);
            const QString csvPath = dir_.filePath(QStringLiteral("cli.csv"));
            QCOMPARE(runProgram({"--selection", selection, "--export", "csv", "--output", csvPath}).status,
                     0);
            const std::string csv = OrderCsv(h.order());
            QCOMPARE(bytesOf(csvPath), QByteArray(csv.data(), qsizetype(csv.size())));
            const QString pdfPath = dir_.filePath(QStringLiteral("cli.pdf"));
            QCOMPARE(runProgram({"--selection", selection, "--export", "pdf", "--output", pdfPath}).status,
                     0);
            const QByteArray pdf = bytesOf(pdfPath);
            QVERIFY(pdf.startsWith("%PDF") && pdf.trimmed().endsWith("%%EOF"));
        }

        const QString bad = dir_.filePath(QStringLiteral("cli-bad.tovimar"));
        write(bad, "[]");
        const QString out = dir_.filePath(QStringLiteral("not-written.txt"));
        Run refused = runProgram({"--selection", bad, "--export", "txt", "--output", out});
        QCOMPARE(refused.status, 2);
        QVERIFY2(refused.err.contains(bad.toLocal8Bit()), refused.err.constData());
        QVERIFY(!QFile::exists(out));
        const QString nowhere = dir_.filePath(QStringLiteral("no-such-folder/order.txt"));
        Run unwritable = runProgram({"--selection", good_, "--export", "txt", "--output", nowhere});
        QCOMPARE(unwritable.status, 1);
        QVERIFY(!unwritable.err.isEmpty());
        QCOMPARE(QDir(dir_.path()).entryList({QStringLiteral("*.tmp"), QStringLiteral("*~")}), QStringList());

        // The old X11 options that the toolkit leaves in place are passed over, as before.
        const CommandLine window = ParseCommandLine({"tovimar", "-dpi", "96", "-fn", "fixed", good_});
        QCOMPARE(window.action, CommandLine::Action::Window);
        QCOMPARE(window.file, good_);
        const QByteArray goodName = good_.toLocal8Bit();
        const char* const windowArgs[] = {"tovimar", "-dpi", "96", goodName.constData()};
        const char* const exportArgs[] = {"tovimar", "--export=txt"};
        QVERIFY(!AsksWithoutWindow(4, windowArgs));
        QVERIFY(AsksWithoutWindow(2, exportArgs));
        // Only an argument that can name the format pdf lets the program load the toolkit's drawing.
        const std::pair<const char*, bool> arguments[] = {{"--export=txt", false},
                                                          {"-export=PDF", true},
                                                          {"Pdf", true},
                                                          {"order.pdf", false},
                                                          {"pdfs", false}};
        for (const auto& [argument, mayBePdf] : arguments) {
            const char* const args[] = {"tovimar", argument};
            QVERIFY2(MayAskForPdf(2, args) == mayBePdf, argument);
        }
        QCOMPARE(ParseCommandLine({"tovimar", "--colour", good_}).action, CommandLine::Action::Wrong);
        QCOMPARE(runProgram({"-dpi", "96", "--version"}).status, 0);

        QCOMPARE(runProgram({"--help"}).status, 0);
        QVERIFY(runProgram({"--version"}).out.startsWith("tovimar "));
        QCOMPARE(runProgram({"--export", "doc", "--selection", good_, "--output", "-"}).status, 2);
#ifdef Q_OS_LINUX
        // A txt export loads nothing of the toolkit but its core, a PDF no widgets: what a script
        // pays for at every start. (The loader names every library it loads.)
        const auto loads = [](const QStringList& args) {
            return runProgram(args,
                              [](QProcess&, QProcessEnvironment& env) {
                                  env.insert(QStringLiteral("LD_DEBUG"), QStringLiteral("files"));
                              })
                .err;
        };
        const QByteArray txt = loads({"--selection", good_, "--export", "txt", "--output", "-"});
        QVERIFY(txt.contains("libQt6Core.so") && !txt.contains("libQt6Gui.so"));
        const QString pdf = dir_.filePath(QStringLiteral("loads.pdf"));
        const QByteArray pdfLoads = loads({"--selection", good_, "--export", "pdf", "--output", pdf});
        QVERIFY(pdfLoads.contains("libQt6Gui.so") && !pdfLoads.contains("libQt6Widgets.so"));
#endif
    }

    // What would make the program guess, wait for ever or write over its own input is refused
    // before anything is written, and every message says what is true.
    void commandLineRefusalsAndMessages() {
        QTemporaryDir dir;
        const QString menu = dir.filePath(QStringLiteral("menu.tovimar"));
        const QByteArray selection = bytesOf(good_);
        write(menu, selection);
        const QString hardLink = dir.filePath(QStringLiteral("same.tovimar"));
        QCOMPARE(::link(QFile::encodeName(menu).constData(), QFile::encodeName(hardLink).constData()), 0);
        const auto appendedTo = [](const QString& file) {
            return [file](QProcess& p, QProcessEnvironment&) {
                p.setStandardOutputFile(file, QIODevice::Append);
            };
        };
        // The selection as the output, however named: exit 2, the selection as it was.
        for (const QString& output : {menu, dir.path() + QStringLiteral("/./menu.tovimar"), hardLink})
            for (const char* format : {"txt", "pdf"}) {
                const Run same = runProgram({"--selection", menu, "--export", format, "--output", output});
                QCOMPARE(same.status, 2);
                QVERIFY2(same.err.contains("is the selection file"), same.err.constData());
            }
        for (const char* output : {"-", "/dev/stdout"})
            QCOMPARE(
                runProgram({"--selection", menu, "--export", "csv", "--output", output}, appendedTo(menu))
                    .status,
                2);
        QCOMPARE(bytesOf(menu), selection);

        // An option given twice: which would count is a guess.
        const QString out = dir.filePath(QStringLiteral("order.txt"));
        for (const QStringList& twice :
             {QStringList{"--selection", good_, "--selection", menu, "--export", "txt", "--output", out},
              QStringList{"--selection", good_, "--export", "txt", "--output", out, "-output", "-"},
              QStringList{"--selection", good_, "--export", "txt", "--export=pdf", "--output", out}}) {
            const Run r = runProgram(twice);
            QCOMPARE(r.status, 2);
            QVERIFY2(r.err.contains("is given more than once."), r.err.constData());
        }
        QVERIFY(!QFile::exists(out));

        // A named pipe as the selection is refused at once, not waited on.
        const QString pipe = dir.filePath(QStringLiteral("pipe.tovimar"));
        QCOMPARE(::mkfifo(QFile::encodeName(pipe).constData(), 0600), 0);
        QElapsedTimer clock;
        clock.start();
        const Run fifo = runProgram({"--selection", pipe, "--export", "txt", "--output", "-"});
        QCOMPARE(fifo.status, 2);
        QVERIFY2(fifo.err.contains("named pipe, not a file"), fifo.err.constData());
        QVERIFY2(clock.elapsed() < 10000, "the named pipe was waited on");

        // The messages: one full stop, the file's real size, UTF-8 asked for, the system's reason.
        const Run unknown = runProgram({"--selection", good_, "--frobnicate"});
        QCOMPARE(unknown.status, 2);
        QVERIFY2(unknown.err.contains("Unknown option 'frobnicate'.\n"), unknown.err.constData());
        const QString huge = dir.filePath(QStringLiteral("huge.tovimar"));
        write(huge, QByteArray(5000000, ' '));
        QVERIFY(runProgram({"--selection", huge, "--export", "txt", "--output", "-"})
                    .err.contains("The file is 5000000 bytes long"));
        const QString utf16 = dir.filePath(QStringLiteral("utf16.tovimar"));
        const QString text = QString::fromUtf8(selection);
        write(utf16, QByteArray("\xFF\xFE") +
                         QByteArray(reinterpret_cast<const char*>(text.utf16()), text.size() * 2));
        QVERIFY(runProgram({"--selection", utf16, "--export", "txt", "--output", "-"})
                    .err.contains("must be UTF-8"));
        const Run full = runProgram(
            {"--selection", good_, "--export", "txt", "--output", "-"},
            [](QProcess& p, QProcessEnvironment&) { p.setStandardOutputFile(QStringLiteral("/dev/full")); });
        QCOMPARE(full.status, 1);
        QVERIFY2(full.err.contains("standard output: No space left on device."), full.err.constData());

        // The PDF needs no screen, whatever platform is asked for, and the toolkit says nothing.
        const QString pdf = dir.filePath(QStringLiteral("order.pdf"));
        const auto xcb = [](QProcess&, QProcessEnvironment& env) {
            env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
        };
        const Run onXcb = runProgram({"--selection", good_, "--export", "pdf", "--output", pdf}, xcb);
        QCOMPARE(onXcb.status, 0);
        QVERIFY2(onXcb.err.isEmpty(), onXcb.err.constData());
        QVERIFY(bytesOf(pdf).startsWith("%PDF-"));
        QCOMPARE(runProgram({"--selection", pipe, "--export", "pdf", "--output", pdf}, xcb).status, 2);
        const Run offscreen =
            runProgram({"-platform", "offscreen", "--selection", good_, "--export", "pdf", "--output", pdf});
        QCOMPARE(offscreen.status, 0);
        QVERIFY2(offscreen.err.isEmpty(), offscreen.err.constData());
    }
};

QTEST_MAIN(SelectionFileTest)
#include "selection_file_test.moc"
