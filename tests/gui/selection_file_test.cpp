// The lab's selection as a file and the order leaving the program, as a user and a script meet
// them: Ctrl+O, Ctrl+S and Ctrl+C in the main view and only there, the right-click menu, a dropped
// file, bad files changing nothing, and the command line's outputs and exit statuses.
#include "core/output/order_export.h"
#include "core/output/order_file.h"
#include "core/output/selection_file.h"
#include "gui/mainwindow/command_line.h"
#include "gui/widgets/app_style.h"
#include "gui/widgets/fonts.h"
#include "tests/support/window_harness.h"

#include <QApplication>
#include <QClipboard>
#include <QDropEvent>
#include <QFile>
#include <QMenu>
#include <QMimeData>
#include <QProcess>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

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
Catalogue orderOf(const QByteArray& file) {
    Catalogue cat;
    LoadCatalogue(cat);
    const SelectionReading r = ReadSelection(std::string_view(file.constData(), file.size()), cat);
    HELPER_VERIFY2(r.selection.has_value(), r.problem.message.c_str());
    AssayState state;
    Provenance provenance;
    ApplySelection(*r.selection, state, cat, provenance);
    return cat;
}

struct Run {
    int status;
    QByteArray out, err;
};

// The program as a script starts it, without a display.
Run runProgram(const QStringList& args) {
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.remove(QStringLiteral("DISPLAY"));
    env.remove(QStringLiteral("WAYLAND_DISPLAY"));
    env.remove(QStringLiteral("QT_QPA_PLATFORM"));
    p.setProcessEnvironment(env);
    p.start(QStringLiteral(TOVIMAR_BINARY), args);
    HELPER_VERIFY(p.waitForFinished(60000));
    return {p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1, p.readAllStandardOutput(),
            p.readAllStandardError()};
}

}  // namespace

class SelectionFileTest : public QObject {
    Q_OBJECT

    QTemporaryDir dir_;
    QString good_;

private slots:
    void initTestCase() {
        installApplicationStyle();
        installFontSubstitutes();
        QVERIFY(dir_.isValid());
        Catalogue cat;
        LoadCatalogue(cat);
        good_ = dir_.filePath(QStringLiteral("good.tovimar"));
        write(good_, QString::fromLatin1(kSelection)
                         .arg(QString::fromStdString(cat.Ctrls[40].OrderNo),
                              QString::fromStdString(cat.Assays[15].OrderNo2))
                         .toUtf8());
    }

    void openingGivesTheOrderOfTheClicksAndBadFilesChangeNothing() {
        Harness h(Harness::MainView);
        h.nextFile = good_;
        h.key(Qt::Key_O, Qt::ControlModifier);
        QCOMPARE(h.dialogTitles, QStringList{QStringLiteral("Open selection")});
        QVERIFY2(h.messages.isEmpty(), qPrintable(h.messages.join(QLatin1Char('\n'))));
        QVERIFY(h.questions.isEmpty());  // nothing on the screen to replace
        QCOMPARE(OrderListText(h.cat()), OrderListText(orderOf(bytesOf(good_))));
        QVERIFY(h.get<QCheckBox>("Check1")->isChecked());
        QVERIFY(h.get<QRadioButton>("Option5")->isChecked());
        QVERIFY(h.w->assayState()[AssayRow::OrlanAmphXtc].Qual);
        QVERIFY(h.w->assayState()[AssayRow::ToxTca].Qual);
        QCOMPARE(h.cat().Assays[15].SizeChoice, 2);
        QCOMPARE(h.cat().Ctrls[40].Selected, 1);
        QVERIFY(h.get("CalibList")->isVisible());

        // Something is on the screen now: a question first, and No keeps it.
        const std::string before = OrderListText(h.cat());
        h.answer = false;
        h.key(Qt::Key_O, Qt::ControlModifier);
        QCOMPARE(h.questions.size(), 1);
        QCOMPARE(OrderListText(h.cat()), before);

        // A file that is wrong in any way changes nothing and says so, naming the file and the problem.
        h.answer = true;
        const QString bad = dir_.filePath(QStringLiteral("bad.tovimar"));
        for (
            const QByteArray& contents :
            {QByteArray("{\"format\": \"tovimar-selection\", \"version\": 1,\n \"assays\": [}"),
             QByteArray(
                 R"({"format": "tovimar-selection", "version": 1, "assays": [{"frame": "VEX", "assay": "FENTANYL"}]})"),
             QByteArray(R"({"format": "tovimar-selection", "version": 7})")}) {
            write(bad, contents);
            h.messages.clear();
            QVERIFY(!h.w->OpenSelectionFile(bad));
            QCOMPARE(h.messages.size(), 1);
            QVERIFY2(h.messages[0].contains(QDir::toNativeSeparators(bad)), qPrintable(h.messages[0]));
            QCOMPARE(OrderListText(h.cat()), before);
        }
        QVERIFY(h.messages[0].contains(QLatin1String("newer")));
        QVERIFY(!h.w->OpenSelectionFile(dir_.filePath(QStringLiteral("missing.tovimar"))));
        QCOMPARE(OrderListText(h.cat()), before);
    }

    // The keys are the main view's; everywhere else they do what they always did: on the start
    // screen Ctrl+S is S, in the other views Ctrl+O and Ctrl+S ask for no file.
    void fileKeysOnlyInTheMainView() {
        Harness h;
        h.key(Qt::Key_S, Qt::ControlModifier);
        QCOMPARE(h.w->mode(), Mode::Main);
        QVERIFY(h.dialogTitles.isEmpty());
        for (const char* view : {"cmdBottle", "Command4", "cmdHelp"}) {
            h.click(view);
            h.key(Qt::Key_O, Qt::ControlModifier);
            h.key(Qt::Key_S, Qt::ControlModifier);
            QVERIFY(h.dialogTitles.isEmpty());
            h.key(QLatin1String(view) == QLatin1String("cmdHelp") ? Qt::Key_Escape : Qt::Key_B);
            QCOMPARE(h.w->mode(), Mode::Main);
        }
    }

    // Saving writes the selection on the screen; copying puts the order on the clipboard as the
    // file's text and as a table; the menu offers all five; the exports write what the core makes.
    void savingCopyingExportingAndTheMenu() {
        Harness h(Harness::MainView);
        QVERIFY(h.w->OpenSelectionFile(good_));
        h.nextFile = dir_.filePath(QStringLiteral("saved.tovimar"));
        h.key(Qt::Key_S, Qt::ControlModifier);
        QVERIFY(h.messages.isEmpty());
        QCOMPARE(OrderListText(orderOf(bytesOf(h.nextFile))), OrderListText(h.cat()));

        h.key(Qt::Key_C, Qt::ControlModifier);
        const QMimeData* copied = QApplication::clipboard()->mimeData();
        QCOMPARE(copied->text(), QString::fromLatin1(OrderListText(h.cat())));
        QCOMPARE(copied->html(), QString::fromStdString(OrderHtml(h.cat())));

        QStringList entries;
        QTimer::singleShot(0, [&] {
            if (auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget())) {
                for (QAction* a : menu->actions())
                    if (!a->isSeparator())
                        entries << a->text();
                QAction* csv = menu->actions().value(menu->actions().size() - 2);
                menu->setActiveAction(csv);
                QTest::keyClick(menu, Qt::Key_Return);
            }
        });
        h.nextFile = dir_.filePath(QStringLiteral("order.csv"));
        QContextMenuEvent right(QContextMenuEvent::Mouse, QPoint(400, 500),
                                h.w->mapToGlobal(QPoint(400, 500)));
        QApplication::sendEvent(h.w.get(), &right);
        QCOMPARE(entries, (QStringList{"Open selection...", "Save selection...", "Copy order",
                                       "Export order as CSV...", "Export order as PDF..."}));
        const std::string csv = OrderCsv(h.cat());
        QCOMPARE(bytesOf(h.nextFile), QByteArray(csv.data(), qsizetype(csv.size())));
    }

    // A selection file dropped on the start screen opens straight in the main view.
    void droppedFileOpens() {
        Harness h;
        QMimeData mime;
        mime.setUrls({QUrl::fromLocalFile(good_)});
        QDragEnterEvent enter(QPoint(300, 300), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(h.w.get(), &enter);
        QVERIFY(enter.isAccepted());
        QDropEvent drop(QPointF(300, 300), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(h.w.get(), &drop);
        QCOMPARE(h.w->mode(), Mode::Main);
        QVERIFY(h.pauses.empty());  // no start animation
        QVERIFY(h.get<QCheckBox>("Check1")->isChecked());
    }

    // The command line writes the bytes the window writes, without a display, and says by its
    // exit status what went wrong; a failed export leaves no file.
    void commandLineForScripts() {
        Harness h(Harness::MainView);
        QVERIFY(h.w->OpenSelectionFile(good_));
        const std::string file = OrderListText(h.cat());

        Run txt = runProgram({"--selection", good_, "--export", "txt", "--output", "-"});
        QCOMPARE(txt.status, 0);
        QCOMPARE(txt.out, QByteArray(file.data(), qsizetype(file.size())));
        const QString csvPath = dir_.filePath(QStringLiteral("cli.csv"));
        QCOMPARE(runProgram({"--selection", good_, "--export", "csv", "--output", csvPath}).status, 0);
        const std::string csv = OrderCsv(h.cat());
        QCOMPARE(bytesOf(csvPath), QByteArray(csv.data(), qsizetype(csv.size())));
        const QString pdfPath = dir_.filePath(QStringLiteral("cli.pdf"));
        QCOMPARE(runProgram({"--selection", good_, "--export", "pdf", "--output", pdfPath}).status, 0);
        const QByteArray pdf = bytesOf(pdfPath);
        QVERIFY(pdf.startsWith("%PDF") && pdf.trimmed().endsWith("%%EOF"));

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
        QVERIFY(!AsksWithoutWindow({"tovimar", "-dpi", "96", good_}));
        QVERIFY(AsksWithoutWindow({"tovimar", "--export=txt"}));
        QCOMPARE(ParseCommandLine({"tovimar", "--colour", good_}).action, CommandLine::Action::Wrong);
        QCOMPARE(runProgram({"-dpi", "96", "--version"}).status, 0);

        QCOMPARE(runProgram({"--help"}).status, 0);
        QVERIFY(runProgram({"--version"}).out.startsWith("tovimar "));
        QCOMPARE(runProgram({"--export", "doc", "--selection", good_, "--output", "-"}).status, 2);
    }
};

QTEST_MAIN(SelectionFileTest)
#include "selection_file_test.moc"
