// The order leaving the laboratory: the file on disk, every writer in every situation a save
// meets, the start folder, the output dialog's keys and look, and the printout rendered to PDF.
#include "core/output/order_export.h"
#include "core/output/order_file.h"
#include "core/selection/rules.h"
#include "gui/mainwindow/frmMain.h"
#include "gui/output/frmOutput.h"
#include "gui/output/frmPrint.h"
#include "gui/output/order_commands.h"
#include "gui/widgets/app_style.h"
#include "gui/widgets/fonts.h"
#include "tests/support/ink.h"
#include "tests/support/loaded_catalogue.h"
#include "tests/support/pdf_info.h"
#include "tests/support/save_scene.h"
#include "tests/support/window_harness.h"

#include <QAccessible>
#include <QApplication>
#include <QContextMenuEvent>
#include <QFile>
#include <QLabel>
#include <QMenu>
#include <QPrintPreviewDialog>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QProcess>
#include <QPushButton>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

using namespace tovimar;
using testing::SaveScene;
using testing::Situation;

namespace {

// Every file the program writes, each checked as a whole file of its kind.
struct Writer {
    const char* name;
    const char* what;
    std::optional<SaveFailure> (*save)(const Order&, const QString&);
    bool (*isWhole)(const Order&, const QByteArray&);
};

const Writer kWriters[] = {
    {"order list", "The order list",
     [](const Order& order, const QString& path) { return WriteOrderList(order, path); },
     [](const Order& order, const QByteArray& b) {
         return b == QByteArray::fromStdString(OrderListText(order));
     }},
    {"CSV", "The order", [](const Order& order, const QString& path) { return WriteOrderCsv(order, path); },
     [](const Order& order, const QByteArray& b) { return b == QByteArray::fromStdString(OrderCsv(order)); }},
    {"PDF", "The PDF of the printout",
     [](const Order& order, const QString& path) { return SavePrintoutPdf(order, path); },
     [](const Order&, const QByteArray& b) {
         return b.startsWith("%PDF-") && b.trimmed().endsWith("%%EOF");
     }},
};

QByteArray readAll(const QString& path) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return "<unreadable>";
    return f.readAll();
}

// An order of ones: no quantity typed, no figure given.
Order realisticOrder() {
    Order order;
    AssayState& s = order.state;
    s.SetSelected(AssayRow::OrlanAmphXtc, true);
    s.ChooseCut(AssayRow::OrlanAmphXtc, 500);
    s.SetSelected(AssayRow::VexThc, true);
    s.ChooseCut(AssayRow::VexThc, 50);
    s.SetSelected(AssayRow::ToxAcet, true);
    update(order);
    return order;
}

// A dialog whose desktop is scripted: the file dialog answers from a queue, messages are kept.
struct Scripted {
    QStringList answers;  // one per file dialog; "" = cancelled
    QStringList asked;    // start paths and filters the file dialog was opened with
    QStringList dialogs;  // each file dialog whole: save or open, title, start path, filter, suffix
    QStringList warnings;
    QStringList questions;
    std::vector<DialogHooks::Default> defaults;  // the answer Enter gives, for each question
    bool answerYes = true;
    std::function<std::unique_ptr<QPrinter>()> printer = [] { return std::unique_ptr<QPrinter>(); };

    DialogHooks dialogHooks() {
        DialogHooks h;
        h.chooseFile = [this](QWidget*, bool save, const QString& title, const QString& start,
                              const QString& filter, const QString& suffix) {
            asked << start << filter;
            dialogs << QStringList{save ? "save" : "open", title, start, filter, suffix}.join('|');
            return answers.isEmpty() ? QString() : answers.takeFirst();
        };
        h.warn = [this](QWidget*, const QString&, const QString& text) { warnings << text; };
        h.ask = [this](QWidget*, const QString&, const QString& text, DialogHooks::Default d) {
            questions << text;
            defaults.push_back(d);
            return answerYes;
        };
        return h;
    }

    frmOutputHooks hooks() {
        frmOutputHooks h;
        h.dialogs = dialogHooks();
        h.defaultPrinter = [this] { return printer(); };
        return h;
    }
};

QString pdfText(const QString& pdf, const QString& how = QStringLiteral("-layout")) {
    QProcess p;
    p.start(QStringLiteral("pdftotext"), {how, pdf, QStringLiteral("-")});
    if (!p.waitForFinished(20000) || p.exitCode() != 0)
        return QStringLiteral("<pdftotext failed: %1>").arg(p.errorString());
    return QString::fromUtf8(p.readAllStandardOutput());
}

// The top left corner of the first word `word` in the output of pdftotext -bbox, in points.
QPointF wordAt(const QString& boxes, const QString& word) {
    static const QRegularExpression box(
        QStringLiteral("<word xMin=\"([0-9.]+)\" yMin=\"([0-9.]+)\"[^>]*>([^<]*)</word>"));
    for (auto it = box.globalMatch(boxes); it.hasNext();) {
        const QRegularExpressionMatch m = it.next();
        if (m.captured(3) == word)
            return QPointF(m.captured(1).toDouble(), m.captured(2).toDouble());
    }
    return QPointF(-1, -1);
}

// The entry of a menu with the text `text`; the menu's layout may grow around it.
QAction* entry(const QMenu& menu, const char* text) {
    for (QAction* a : menu.actions())
        if (a->text() == QLatin1String(text))
            return a;
    qFatal("no menu entry %s", text);
}

// Chooses `text` in the window's right-click menu, as the keyboard would.
void chooseFromMenu(QWidget& window, const char* text) {
    QTimer::singleShot(0, [text] {
        if (auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget())) {
            menu->setActiveAction(entry(*menu, text));
            QTest::keyClick(menu, Qt::Key_Return);
        }
    });
    QContextMenuEvent right(QContextMenuEvent::Mouse, QPoint(400, 500), window.mapToGlobal(QPoint(400, 500)));
    QApplication::sendEvent(&window, &right);
}

// An order form: every product, the laboratory's details, a reference and a date.
Order orderForm() {
    Order order = testing::loaded();
    SelectAllItems(order);
    order.details = {{"Zentrallabor Müller",
                      {"1 Main St", "Springfield"},
                      "C-1234",
                      "A. Jones",
                      "+1 555 0100",
                      "lab@example.org"},
                     "PO-2026-0117",
                     "2026-12-01"};
    return order;
}

// The order's lines as the clipboard's text has them, headings and blank lines aside.
int orderLines(const Order& order) {
    int lines = 0;
    for (const QString& line : QString::fromStdString(OrderListText(order)).split(QStringLiteral("\r\n")))
        lines += !line.isEmpty() && line != QLatin1String("REAGENTS") &&
                 line != QLatin1String("CALIBRATORS") && line != QLatin1String("CONTROLS");
    return lines;
}

}  // namespace

class OutputTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() {
        QStandardPaths::setTestModeEnabled(true);  // the recent files: never the user's settings
        installApplicationStyle();
        installFontSubstitutes();
    }

    void fileBytesReadBackFromDisk() {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("OrderList"));
        QVERIFY(!WriteOrderList(Order{}, path));
        QCOMPARE(readAll(path), QByteArray("REAGENTS\r\n\r\nCALIBRATORS\r\n\r\nCONTROLS\r\n"));

        const Order order = realisticOrder();
        QVERIFY(!WriteOrderList(order, path));  // replaces, never appends
        QCOMPARE(readAll(path), QByteArray::fromStdString(OrderListText(order)));

        Order sizes = realisticOrder();
        sizes.Assays[18].SizeChoice = 2;
        sizes.Calibs[1].SizeChoice = 2;
        QVERIFY(!WriteOrderList(sizes, path));
        const QByteArray bytes = readAll(path);
        const Catalogue& cat = TheCatalogue();
        QVERIFY(bytes.contains(
            QByteArray::fromStdString(cat.Assays[18].OrderNo2 + ", " + cat.Assays[18].Name2 + "\r\n")));
        QVERIFY(bytes.contains(
            QByteArray::fromStdString(cat.Calibs[1].OrderNo2 + ", " + cat.Calibs[1].Name + ", 15 ml\r\n")));
        QVERIFY(!bytes.contains(QByteArray::fromStdString(cat.Calibs[1].OrderNo1)));
    }

    void everyWriterInEverySituation_data() { testing::addSituationRows(kWriters); }

    // Saved whole, or a failure that names what, where and why, with the old file kept (or
    // honestly reported as not kept) and nothing left behind.
    void everyWriterInEverySituation() {
        QFETCH(int, writer);
        QFETCH(int, row);
        const Writer& w = kWriters[writer];
        const testing::SituationRow& expected = testing::kSituations[row];
        Order order = testing::loaded();
        SelectAllItems(order);  // the longest files
        SaveScene scene(expected.situation);
        std::optional<SaveFailure> failure;
        scene.save([&] { failure = w.save(order, scene.path()); });
        if (!expected.reason) {
            QVERIFY2(!failure, failure ? qPrintable(failure->reason) : "");
        } else {
            QVERIFY2(failure, "a failed save must not count as saved");
            QVERIFY2(failure->reason.contains(QLatin1String(expected.reason)), qPrintable(failure->reason));
            QVERIFY2(failure->reason.at(0).isUpper() && failure->reason.endsWith(QLatin1Char('.')),
                     qPrintable(failure->reason));
            QCOMPARE(failure->what, QLatin1String(w.what));
            QCOMPARE(failure->path, QFileInfo(scene.path()).absoluteFilePath());
            QCOMPARE(failure->oldFile, expected.oldFile);
        }
        scene.verify(!failure, [&](const QByteArray& bytes) { return w.isWhole(order, bytes); });
    }

    // The save dialog opens in a folder that exists and can be written, never the working one.
    void startFolderExistsAndCanBeWritten() {
        QTemporaryDir dir;
        QFile::setPermissions(dir.path(), QFile::Permissions(0x7777));
        const QString program = dir.filePath(QStringLiteral("program"));
        const QString documents = dir.filePath(QStringLiteral("Documents"));
        const QString home = dir.filePath(QStringLiteral("home"));
        for (const QString& f : {program, documents, home}) {
            QVERIFY(QDir().mkdir(f));
            QVERIFY(QFile::setPermissions(f, QFile::Permissions(0x7777)));
        }
        QCOMPARE(ChooseStartFolder(program, documents, home), program);
        QVERIFY(QFile::setPermissions(program, QFile::ReadOwner | QFile::ExeOwner | QFile::ReadGroup |
                                                   QFile::ExeGroup | QFile::ReadOther | QFile::ExeOther));
        testing::OrdinaryUser user;
        QVERIFY(user.active());
        QCOMPARE(ChooseStartFolder(program, documents, home), documents);  // installed read-only
        QVERIFY(QDir(documents).removeRecursively());
        QCOMPARE(ChooseStartFolder(program, documents, home), home);  // no Documents folder
        QCOMPARE(ChooseStartFolder(dir.filePath(QStringLiteral("gone")), QString(), home), home);
    }

    // The file dialogs start in the default folder, then in the folder of the file chosen last
    // through the same commands (the window's last the session); a folder gone since falls back.
    void startFolderFollowsTheLastChoice() {
        QTemporaryDir dir;
        const Order order = realisticOrder();
        Scripted s;
        QWidget window;
        OrderCommands commands(order, s.dialogHooks(), &window);
        const QString start = OrderCommands::DefaultStartFolder();
        const QString orders = dir.filePath(QStringLiteral("orders"));
        QVERIFY(QDir().mkdir(orders));
        s.answers << orders + QStringLiteral("/week.csv");
        commands.exportCsv();
        commands.exportPdf(QStringLiteral("Order not exported"));  // cancelled
        QVERIFY(QDir(orders).removeRecursively());
        QVERIFY(commands.chooseSelection().isEmpty());
        QCOMPARE(s.asked.value(0), QDir(start).filePath(QStringLiteral("OrderList.csv")));
        QCOMPARE(s.asked.value(2), orders + QStringLiteral("/OrderList.pdf"));
        QCOMPARE(s.asked.value(4), QDir(start).filePath(QString()));
        QVERIFY(s.warnings.isEmpty());
    }

    // Both ways to a PDF, the right-click menu's export and the PRINT fallback, open the same
    // file dialog and write the same pages.
    void bothPdfPathsGiveTheSameFile() {
        QTemporaryDir dir;
        Scripted s;
        frmMainHooks hooks;
        hooks.pause = [](int) {};
        hooks.clockMs = [] { return std::int64_t(0); };
        hooks.endProgram = [] {};
        hooks.dialogs = s.dialogHooks();
        frmMain w(hooks);
        w.ShowMainViewAtOnce();
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        QTest::keyClick(w.windowHandle(), Qt::Key_A, Qt::ShiftModifier);  // select all
        const QString fromMenu = dir.filePath(QStringLiteral("menu.pdf"));
        const QString fromPrint = dir.filePath(QStringLiteral("print.pdf"));
        s.answers << fromMenu << fromPrint;
        QTimer::singleShot(0, [] {
            if (auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget())) {
                menu->setActiveAction(entry(*menu, "Export order as PDF..."));
                QTest::keyClick(menu, Qt::Key_Return);
            }
        });
        QContextMenuEvent right(QContextMenuEvent::Mouse, QPoint(400, 500), w.mapToGlobal(QPoint(400, 500)));
        QApplication::sendEvent(&w, &right);
        frmOutput dlg(w.order(), s.hooks(), &w);
        dlg.show();
        QTest::mouseClick(dlg.findChild<QPushButton*>(QStringLiteral("cmdPrint")), Qt::LeftButton);
        QCOMPARE(s.dialogs.size(), 2);
        QCOMPARE(s.dialogs[0], s.dialogs[1]);
        QVERIFY2(s.dialogs[0].startsWith(QLatin1String("save|Export order as PDF|")) &&
                     s.dialogs[0].endsWith(QLatin1String("/OrderList.pdf|PDF File (*.pdf)|pdf")),
                 qPrintable(s.dialogs[0]));
        // The pages only: the head carries the creation time, which may differ by a second.
        const auto bodyOf = [](const QString& pdf) {
            const QString boxes = pdfText(pdf, QStringLiteral("-bbox"));
            return boxes.mid(boxes.indexOf(QLatin1String("<body>")));
        };
        const QString pages = bodyOf(fromMenu);
        QVERIFY2(pages.contains(QString::fromStdString(TheCatalogue().Ctrls[49].Name).section(' ', 0, 0)),
                 qPrintable(pages));
        QCOMPARE(bodyOf(fromPrint), pages);
        QVERIFY(s.warnings.isEmpty());
    }

    // Print preview (Ctrl+P) shows the pages the layout gives for its printer's paper, and printing
    // from it, where the printer writes PDF, saves the file whole with those pages, each label on
    // its page.
    void previewShowsAndPrintsThePagesOfThePrintout() {
        QTemporaryDir dir;
        const QString pdf = dir.filePath(QStringLiteral("preview.pdf"));
        testing::Harness h(testing::Harness::MainView);
        Scripted s;
        s.printer = [pdf] {
            auto p = std::make_unique<QPrinter>(QPrinter::HighResolution);
            p->setOutputFormat(QPrinter::PdfFormat);
            p->setPageSize(QPageSize(QPageSize::Letter));  // not the PDF export's A4: other page breaks
            p->setOutputFileName(pdf);
            return p;
        };
        h.w->setOutputHooks([&s] { return s.hooks(); });
        h.key(Qt::Key_A, Qt::ShiftModifier);
        h.edit().details = orderForm().details;
        h.key(Qt::Key_P, Qt::ControlModifier);
        auto* preview = qobject_cast<QPrintPreviewDialog*>(QApplication::activeModalWidget());
        QVERIFY(preview && preview->isVisible() && preview->windowModality() == Qt::WindowModal);
        auto* pages = preview->findChild<QPrintPreviewWidget*>();
        QVERIFY(pages);
        const int height = int(std::lround(preview->printer()->pageLayout().fullRectPoints().height() * 20));
        const std::vector<PrintPage> layout = BuildPrintLayout(h.order(), height, TodayIso());
        QVERIFY(layout.size() > 1);
        QTRY_COMPARE(pages->pageCount(), int(layout.size()));
        QVERIFY(!QFile::exists(pdf));  // a preview writes nothing

        pages->print();
        QVERIFY2(h.messages.isEmpty(), qPrintable(h.messages.join('\n')));
        const QStringList printed = pdfText(pdf, QStringLiteral("-raw")).split(QLatin1Char('\f'));
        QCOMPARE(printed.size(), int(layout.size()) + 1);  // each page ends with a form feed
        for (std::size_t i = 0; i < layout.size(); ++i)
            for (const PrintLabel& l : layout[i].labels) {
                const QString caption =
                    (l.utf8 ? QString::fromStdString(l.caption) : QString::fromLatin1(l.caption))
                        .simplified();
                QVERIFY2(printed[qsizetype(i)].simplified().contains(caption),
                         qPrintable(QStringLiteral("page %1: %2").arg(i + 1).arg(caption)));
            }
        preview->close();
    }

    // On any paper every word of the order form stands on the paper, the right column's names
    // included: narrower paper than A4 gets the pages drawn smaller, with the pages laid out for it.
    void printoutStaysOnEveryPaper() {
        QTemporaryDir dir;
        const QString pdf = dir.filePath(QStringLiteral("paper.pdf"));
        const Order order = orderForm();
        int textWords = 0;
        static const QRegularExpression pageBox(
            QStringLiteral(R"re(<page width="([0-9.]+)" height="([0-9.]+)">)re"));
        static const QRegularExpression wordBox(QStringLiteral(
            R"re(<word xMin="(-?[0-9.]+)" yMin="(-?[0-9.]+)" xMax="([0-9.]+)" yMax="([0-9.]+)">([^<]*)<)re"));
        for (const auto id : {QPageSize::A4, QPageSize::Letter, QPageSize::A5, QPageSize::B5,
                              QPageSize::Executive, QPageSize::A6}) {
            const QPageSize size(id);
            QVERIFY(!SavePrintoutPdf(order, pdf, SaveFor::Window, PdfPaper(size)));
            const QString boxes = pdfText(pdf, QStringLiteral("-bbox"));
            const QSizeF paper = size.size(QPageSize::Point);
            const PaperFit fit = FitToPaper(paper.width() * 20, paper.height() * 20);
            const auto pages = BuildPrintLayout(order, fit.pageHeight, TodayIso()).size();
            QCOMPARE(std::size_t(boxes.count(QLatin1String("<page "))), pages);
            const QRegularExpressionMatch page = pageBox.match(boxes);
            QVERIFY2(page.hasMatch(), qPrintable(boxes.left(400)));
            const double width = page.captured(1).toDouble(), height = page.captured(2).toDouble();
            int words = 0;
            for (auto it = wordBox.globalMatch(boxes); it.hasNext(); ++words) {
                const QRegularExpressionMatch w = it.next();
                QVERIFY2(w.captured(1).toDouble() >= 0 && w.captured(2).toDouble() >= 0 &&
                             w.captured(3).toDouble() <= width && w.captured(4).toDouble() <= height,
                         qPrintable(size.name() + QStringLiteral(": ") + w.captured(0)));
            }
            // The same words on every paper but the pages' "Page x of y".
            const int text = words - 4 * int(pages);
            if (!textWords)
                textWords = text;
            QCOMPARE(text, textWords);
        }
    }

    // Every PDF is titled after the order and names its creator: the export's, and a printer's that
    // writes PDF; without details, by the date it is printed.
    void pdfTitledAndCreated() {
        QTemporaryDir dir;
        const QString viaExport = dir.filePath(QStringLiteral("export.pdf"));
        const QString viaPrinter = dir.filePath(QStringLiteral("printer.pdf"));
        const auto print = [&viaPrinter](const Order& order) {
            QPrinter printer(QPrinter::HighResolution);
            printer.setOutputFormat(QPrinter::PdfFormat);
            printer.setOutputFileName(viaPrinter);
            return BuildPrintout(order, printer);
        };
        for (const Order& order : {orderForm(), realisticOrder()}) {
            QVERIFY(!SavePrintoutPdf(order, viaExport));
            QCOMPARE(print(order), QString());
            const QString title = order.details.empty()
                                      ? QStringLiteral("Order ") + QString::fromStdString(TodayIso())
                                      : QStringLiteral("Order PO-2026-0117 - Zentrallabor Müller");
            for (const QString& pdf : {viaExport, viaPrinter}) {
                const QByteArray bytes = readAll(pdf);
                QCOMPARE(testing::PdfInfoText(bytes, "/Title"), title);
                const QString creator = testing::PdfInfoText(bytes, "/Creator");
                QVERIFY2(QRegularExpression(QStringLiteral("^Tovimar [0-9]+\\.[0-9]+\\.[0-9]+$"))
                             .match(creator)
                             .hasMatch(),
                         qPrintable(creator));
            }
        }
    }

    // Every save, export and copy through the window's own commands says what it did and where,
    // in a note named by the whole text for a screen reader; the output dialog's once it has
    // closed. A save that fails gives its message and no note.
    void eachSaveSaysWhereItWent() {
        QTemporaryDir top;
        // A long folder: the note shows what fits and says the whole.
        const QString dir = top.filePath(QStringLiteral("orders-of-the-laboratory-for-the-whole-spring"));
        QVERIFY(QDir().mkdir(dir));
        testing::Harness h(testing::Harness::MainView);
        Scripted s;
        h.w->setOutputHooks([&s] { return s.hooks(); });
        h.key(Qt::Key_A, Qt::ShiftModifier);
        auto* note = h.w->findChild<QLabel*>(QStringLiteral("SaveConfirmation"));
        QVERIFY(note && !note->isVisible());
        const auto output = [&h](Qt::Key key) {
            QTimer::singleShot(0, [key] {
                if (QWidget* modal = QApplication::activeModalWidget())
                    QTest::keyClick(modal->windowHandle(), key);
            });
            h.click("Command3");
        };
        struct Step {
            const char* file;  // null: nothing is saved
            std::function<void()> act;
            const char* done;
        };
        const Step steps[] = {
            {"Mine.tovimar", [&] { h.key(Qt::Key_S, Qt::ControlModifier); }, "Saved"},
            {"week.csv", [&] { chooseFromMenu(*h.w, "Export order as CSV..."); }, "Exported"},
            {"week.pdf", [&] { chooseFromMenu(*h.w, "Export order as PDF..."); }, "Exported"},
            {"OrderList", [&] { output(Qt::Key_F); }, "Saved"},
            {"printout.pdf", [&] { output(Qt::Key_P); }, "Exported"},  // no printer: the PDF instead
            {nullptr, [&] { h.key(Qt::Key_C, Qt::ControlModifier); }, nullptr},
        };
        for (const Step& step : steps) {
            const QString path = step.file ? QDir(dir).filePath(QLatin1String(step.file)) : QString();
            h.nextFile = path;
            s.answers = QStringList{path};
            note->hide();
            step.act();
            const QString said =
                step.file ? QStringLiteral("%1 %2 in %3")
                                .arg(QLatin1String(step.done), QLatin1String(step.file),
                                     QDir::toNativeSeparators(dir))
                          : QStringLiteral("Copied the order: %1 lines").arg(orderLines(h.order()));
            QVERIFY2(step.file == nullptr || QFileInfo(path).size() > 0, qPrintable(path));
            QVERIFY(!QApplication::activeModalWidget());
            QVERIFY(note->isVisible());
            QCOMPARE(QAccessible::queryAccessibleInterface(note)->text(QAccessible::Name), said);
            const QStringList shown = note->text().split(QLatin1Char('\n'));
            QVERIFY2(shown.size() <= 2 && note->text().startsWith(said.section(QLatin1Char(' '), 0, 1)),
                     qPrintable(note->text()));
            QVERIFY(note->fontMetrics().lineSpacing() * shown.size() <= note->contentsRect().height());
            for (const QString& line : shown)
                QVERIFY2(note->fontMetrics().horizontalAdvance(line) <= note->contentsRect().width(),
                         qPrintable(line));
        }
        QVERIFY(h.messages.isEmpty() && s.warnings.isEmpty());
        QTRY_VERIFY_WITH_TIMEOUT(!note->isVisible(), 6000);

        for (const Step& step : steps) {
            if (!step.file)
                continue;
            testing::SaveScene scene(Situation::ReadOnlyFolder);
            h.nextFile = scene.path();
            s.answers = QStringList{scene.path()};
            scene.save(step.act);
            QCOMPARE(h.messages.size() + s.warnings.size(), 1);
            h.messages.clear();
            s.warnings.clear();
            QVERIFY2(!note->isVisible(), qPrintable(step.file));
        }
    }

    // The note stands inside the window and clear of every control the main view shows, with the
    // lists or with the banner where they would be.
    void confirmationCoversNoControl() {
        testing::Harness h(testing::Harness::MainView);
        auto* note = h.w->findChild<QLabel*>(QStringLiteral("SaveConfirmation"));
        QVERIFY(note);
        for (bool listed : {false, true}) {
            if (listed)
                h.key(Qt::Key_A, Qt::ShiftModifier);
            QCOMPARE(h.get("NV_Banner")->isVisible(), !listed);
            h.key(Qt::Key_C, Qt::ControlModifier);
            QVERIFY(note->isVisible());
            QVERIFY(h.w->rect().contains(note->geometry()));
            int seen = 0;
            for (QWidget* c : h.w->findChildren<QWidget*>()) {
                if (c == note || c->isWindow() || !c->isVisible())
                    continue;
                ++seen;
                const QRect at(c->mapTo(h.w.get(), QPoint()), c->size());
                QVERIFY2(!at.intersects(note->geometry()), qPrintable(QStringLiteral("%1 at %2,%3 %4x%5")
                                                                          .arg(c->objectName())
                                                                          .arg(at.x())
                                                                          .arg(at.y())
                                                                          .arg(at.width())
                                                                          .arg(at.height())));
            }
            QVERIFY(seen > 50);
        }
    }

    void fileCommandSavesExactlyTheChosenName() {
        QTemporaryDir dir;
        const Order order = realisticOrder();
        Scripted s;
        s.answers << dir.filePath(QStringLiteral("OrderList"));
        frmOutput dlg(order, s.hooks());
        dlg.show();
        QTest::mouseClick(dlg.findChild<QPushButton*>(QStringLiteral("cmdFile")), Qt::LeftButton);
        QCOMPARE(s.dialogs.value(0),
                 QStringLiteral("save|Save the order list|%1|Text File (*.txt)|")
                     .arg(QDir(OrderCommands::DefaultStartFolder()).filePath(QStringLiteral("OrderList"))));
        QCOMPARE(readAll(dir.filePath(QStringLiteral("OrderList"))),
                 QByteArray::fromStdString(OrderListText(order)));
        QVERIFY(!QFile::exists(dir.filePath(QStringLiteral("OrderList.txt"))));
        QVERIFY(!dlg.isVisible());
        QCOMPARE(dlg.result(), int(QDialog::Accepted));
        QVERIFY(s.warnings.isEmpty());
    }

    void cancelledFileDialogWritesNothingAndCloses() {
        QTemporaryDir dir;
        const Order order = realisticOrder();
        Scripted s;
        s.answers << QString();
        frmOutput dlg(order, s.hooks());
        dlg.show();
        QTest::mouseClick(dlg.findChild<QPushButton*>(QStringLiteral("cmdFile")), Qt::LeftButton);
        QVERIFY(!dlg.isVisible());
        QVERIFY(s.warnings.isEmpty());
        QVERIFY(QDir(dir.path()).isEmpty());
    }

    void keysActWhicheverButtonHasTheFocus() {
        const Order order = realisticOrder();
        {
            Scripted s;
            frmOutput dlg(order, s.hooks());
            dlg.show();
            QVERIFY(QTest::qWaitForWindowExposed(&dlg));
            dlg.findChild<QPushButton*>(QStringLiteral("cmdPrint"))->setFocus();
            QTest::keyClick(dlg.windowHandle(), Qt::Key_Escape);
            QVERIFY(dlg.isVisible());  // Esc does not close it
            QTest::keyClick(dlg.windowHandle(), Qt::Key_F);
            QCOMPARE(s.asked.size(), 2);  // the save dialog was opened
            QVERIFY(!dlg.isVisible());
        }
        {
            Scripted s;
            s.answerYes = false;
            frmOutput dlg(order, s.hooks());
            dlg.show();
            QVERIFY(QTest::qWaitForWindowExposed(&dlg));
            dlg.findChild<QPushButton*>(QStringLiteral("cmdFile"))->setFocus();
            QTest::keyClick(dlg.windowHandle(), Qt::Key_P, Qt::ShiftModifier);
            QCOMPARE(s.questions.size(), 1);  // no printer: the PDF is offered
            QVERIFY(s.asked.isEmpty());
            QVERIFY(!dlg.isVisible());
        }
        {
            Scripted s;
            frmOutput dlg(order, s.hooks());
            dlg.show();
            QVERIFY(QTest::qWaitForWindowExposed(&dlg));
            QTest::keyClick(dlg.windowHandle(), Qt::Key_C);
            QVERIFY(!dlg.isVisible());
            QCOMPARE(dlg.result(), int(QDialog::Rejected));
            QVERIFY(s.asked.isEmpty() && s.questions.isEmpty());
        }
    }

    // Enter and Return press the focused button, as Space does; each button runs its own command.
    void enterReturnAndSpacePressTheFocusedButton() {
        const Order order = realisticOrder();
        for (Qt::Key key : {Qt::Key_Return, Qt::Key_Enter, Qt::Key_Space}) {
            for (const char* button : {"cmdFile", "cmdPrint", "cmdCancel"}) {
                Scripted s;
                s.answerYes = false;
                frmOutput dlg(order, s.hooks());
                dlg.show();
                QVERIFY(QTest::qWaitForWindowExposed(&dlg));
                dlg.findChild<QPushButton*>(QLatin1String(button))->setFocus();
                QTest::keyClick(dlg.windowHandle(), key);
                const QString what =
                    QStringLiteral("%1 on %2").arg(QKeySequence(key).toString(), QLatin1String(button));
                QVERIFY2(!dlg.isVisible(), qPrintable(what));
                QCOMPARE(s.asked.size(), button == std::string_view("cmdFile") ? 2 : 0);  // the save dialog
                QCOMPARE(s.questions.size(),
                         button == std::string_view("cmdPrint") ? 1 : 0);  // no printer: PDF?
                QCOMPARE(dlg.result(), button == std::string_view("cmdCancel") ? int(QDialog::Rejected)
                                                                               : int(QDialog::Accepted));
            }
        }
    }

    // The question is drawn from the top of its box, as a label draws; the buttons stand on the
    // dialog's white, as the label does, not on the desktop's grey.
    void questionAtTheTopAndButtonsWhiteAsTheLabel() {
        const Order order = realisticOrder();
        Scripted s;
        frmOutput dlg(order, s.hooks());
        dlg.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dlg));
        QLabel* question = dlg.findChild<QLabel*>(QStringLiteral("Label1"));
        const QImage label = question->grab().toImage();
        QCOMPARE(label.pixelColor(2, 2), QColor(Qt::white));
        const int inkTop = testing::firstInkRow(label);
        const QFontMetrics fm(question->font());
        // Its capitals begin where a line set at the top has them; centred, they would begin
        // about 7 pixels lower in this box.
        QVERIFY2(inkTop <= fm.ascent() - fm.capHeight() + 1, qPrintable(QString::number(inkTop)));
        auto* file = dlg.findChild<QPushButton*>(QStringLiteral("cmdFile"));
        auto* cancel = dlg.findChild<QPushButton*>(QStringLiteral("cmdCancel"));
        for (const char* name : {"cmdFile", "cmdPrint", "cmdCancel"}) {
            auto* button = dlg.findChild<QPushButton*>(QLatin1String(name));
            QCOMPARE(button->palette().color(QPalette::Button), QColor(Qt::white));
            // The focused button wears the style's mark of the default one; look at the others.
            (button == file ? cancel : file)->setFocus();
            // The style shades a face a little from its colour, lighter at the top: down the
            // face beside the caption, every point stays near white (the desktop's grey goes
            // down to 0xEE).
            const QImage face = button->grab().toImage();
            for (int y = 2; y < face.height() - 2; ++y) {
                const QColor c = face.pixelColor(4, y);
                QVERIFY2(
                    c.red() >= 0xF8 && c.green() >= 0xF8 && c.blue() >= 0xF8,
                    qPrintable(QStringLiteral("%1 at %2: %3").arg(QLatin1String(name)).arg(y).arg(c.name())));
            }
        }
    }

    void noPrinterOffersAPdfWithTheWholeOrder() {
        QTemporaryDir dir;
        Order order = realisticOrder();
        order.Calibs[1].SizeChoice = 2;
        order.Ctrls[43].Selected = 1;  // a number of nine characters, wider than its label
        Scripted s;
        const QString pdf = dir.filePath(QStringLiteral("OrderList.pdf"));
        s.answers << pdf;
        frmOutput dlg(order, s.hooks());
        dlg.show();
        QTest::mouseClick(dlg.findChild<QPushButton*>(QStringLiteral("cmdPrint")), Qt::LeftButton);
        QCOMPARE(s.questions.size(), 1);
        QVERIFY(s.questions[0].contains(QLatin1String("No printer")));
        QVERIFY(s.defaults == std::vector{DialogHooks::Default::Yes});  // Enter saves the PDF
        QCOMPARE(s.asked.value(1), QStringLiteral("PDF File (*.pdf)"));
        QVERIFY(s.warnings.isEmpty());
        const QString text = pdfText(pdf);
        // Headings, then every row with its number and name, in the page's reading order.
        int at = 0;
        auto expectAfter = [&](const std::string& what) {
            const int found = text.indexOf(QString::fromStdString(what), at);
            QVERIFY2(found >= 0,
                     qPrintable(QString::fromStdString(what) + " missing or out of order in\n" + text));
            at = found;
        };
        const Catalogue& cat = TheCatalogue();
        expectAfter("REAGENTS");
        expectAfter("CALIBRATORS");  // same line, right column
        expectAfter(cat.Assays[1].OrderNo1);
        expectAfter(cat.Calibs[1].OrderNo2);  // the alternative pack's number
        expectAfter(cat.Calibs[1].Name + ", 15 ml");
        for (int slot = 1; slot <= 49; ++slot)
            if (order.Ctrls[slot].Selected == 1)
                QVERIFY2(text.contains(QString::fromStdString(cat.Ctrls[slot].OrderNo)), qPrintable(text));
        QVERIFY(text.indexOf(QLatin1String("CONTROLS")) >
                text.indexOf(QString::fromStdString(cat.Assays[18].OrderNo1)));

        // Where the words stand on the A4 page, in points (20 twips each): the headings' labels
        // at 420 and 6300 twips from the left and 420 from the top, a name 900 twips right of its
        // number, each row 260 twips below the last.
        const QString boxes = pdfText(pdf, QStringLiteral("-bbox"));
        QVERIFY2(boxes.contains(QLatin1String("<page width=\"595.000000\" height=\"842.000000\">")),
                 qPrintable(boxes));
        const QPointF reagents = wordAt(boxes, QStringLiteral("REAGENTS"));
        QCOMPARE(reagents.x(), 21.0);
        QVERIFY2(reagents.y() >= 21 - 1 && reagents.y() < 21 + 11, "the heading's text stands in its label");
        QCOMPARE(wordAt(boxes, QStringLiteral("CALIBRATORS")), QPointF(315, reagents.y()));
        const QPointF number =
            wordAt(boxes, QString::fromStdString(cat.Assays[1].OrderNo1).section(' ', 0, 0));
        QCOMPARE(number, QPointF(21, reagents.y() + 13));
        QCOMPARE(wordAt(boxes, QStringLiteral("ORLAN")), QPointF(66, number.y()));
        // The longest number is drawn narrower, inside its label and clear of its name.
        const QRegularExpression longNumber(
            QStringLiteral(
                R"re(<word xMin="([0-9.]+)" yMin="[0-9.]+" xMax="([0-9.]+)"[^>]*>%1</word>\s*<word xMin="([0-9.]+)")re")
                .arg(QString::fromStdString(cat.Ctrls[43].OrderNo)));
        const QRegularExpressionMatch m = longNumber.match(boxes);
        QVERIFY2(m.hasMatch(), qPrintable(boxes));
        QCOMPARE(m.captured(1).toDouble(), 21.0);
        QVERIFY2(m.captured(2).toDouble() + 2 <= m.captured(3).toDouble(),
                 qPrintable(m.captured(2) + " runs into " + m.captured(3)));
    }

    void failingPrinterIsReportedNotSwallowed() {
        QTemporaryDir dir;
        const Order order = realisticOrder();
        Scripted s;
        s.answerYes = false;
        // A printer that cannot start: its output goes to a folder that does not exist.
        const QString broken = dir.filePath(QStringLiteral("missing/out.pdf"));
        s.printer = [broken] {
            auto p = std::make_unique<QPrinter>(QPrinter::HighResolution);
            p->setOutputFormat(QPrinter::PdfFormat);
            p->setOutputFileName(broken);
            return p;
        };
        frmOutput dlg(order, s.hooks());
        dlg.show();
        QTest::mouseClick(dlg.findChild<QPushButton*>(QStringLiteral("cmdPrint")), Qt::LeftButton);
        QCOMPARE(s.questions.size(), 1);
        QVERIFY(s.questions[0].contains(QLatin1String("could not be printed")));
        QVERIFY(!dlg.isVisible());
    }
};

QTEST_MAIN(OutputTest)
#include "output_test.moc"
