// The order leaving the laboratory: the file on disk, its failures, the output dialog's keys and
// the printout rendered to PDF.
#include "core/output/order_file.h"
#include "core/selection/rules.h"
#include "gui/output/frmOutput.h"
#include "gui/output/frmPrint.h"
#include "gui/output/write_order_list.h"
#include "gui/widgets/fonts.h"
#include "tests/support/file_size_limit.h"

#include <QApplication>
#include <QFile>
#include <QPrinter>
#include <QProcess>
#include <QPushButton>
#include <QStyleFactory>
#include <QTemporaryDir>
#include <QtTest>

using namespace tovimar;

namespace {

QByteArray readAll(const QString& path) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return "<unreadable>";
    return f.readAll();
}

void writeFile(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

Catalogue realisticOrder() {
    Catalogue cat;
    LoadCatalogue(cat);
    AssayState s;
    s.SetSelected(AssayRow::OrlanAmphXtc, true);
    s.ChooseCut(AssayRow::OrlanAmphXtc, 500);
    s.SetSelected(AssayRow::VexThc, true);
    s.ChooseCut(AssayRow::VexThc, 50);
    s.SetSelected(AssayRow::ToxAcet, true);
    update(s, cat);
    return cat;
}

// A dialog whose desktop is scripted: the save dialog answers from a queue, messages are kept.
struct Scripted {
    QStringList answers;  // one per save dialog; "" = cancelled
    QStringList asked;    // start paths and filters the save dialog was opened with
    QStringList warnings;
    QStringList questions;
    bool answerYes = true;
    std::function<std::unique_ptr<QPrinter>()> printer = [] { return std::unique_ptr<QPrinter>(); };

    frmOutputHooks hooks() {
        frmOutputHooks h;
        h.chooseSaveFile = [this](QWidget*, const QString& start, const QString& filter) {
            asked << start << filter;
            return answers.isEmpty() ? QString() : answers.takeFirst();
        };
        h.warn = [this](QWidget*, const QString&, const QString& text) { warnings << text; };
        h.ask = [this](QWidget*, const QString&, const QString& text) {
            questions << text;
            return answerYes;
        };
        h.defaultPrinter = [this] { return printer(); };
        return h;
    }
};

QString pdfText(const QString& pdf) {
    QProcess p;
    p.start(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), pdf, QStringLiteral("-")});
    if (!p.waitForFinished(20000) || p.exitCode() != 0)
        return QStringLiteral("<pdftotext failed: %1>").arg(p.errorString());
    return QString::fromUtf8(p.readAllStandardOutput());
}

}  // namespace

class OutputTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() {
        QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
        installFontSubstitutes();
    }

    void fileBytesReadBackFromDisk() {
        QTemporaryDir dir;
        Catalogue cat;
        LoadCatalogue(cat);
        const QString path = dir.filePath(QStringLiteral("OrderList"));
        QCOMPARE(WriteOrderList(cat, path), QString());
        QCOMPARE(readAll(path), QByteArray("REAGENTS\r\n\r\nCALIBRATORS\r\n\r\nCONTROLS\r\n"));

        const Catalogue order = realisticOrder();
        QCOMPARE(WriteOrderList(order, path), QString());  // replaces, never appends
        QCOMPARE(readAll(path), QByteArray::fromStdString(OrderListText(order)));

        Catalogue sizes = realisticOrder();
        sizes.Assays[18].SizeChoice = 2;
        sizes.Calibs[1].SizeChoice = 2;
        QCOMPARE(WriteOrderList(sizes, path), QString());
        const QByteArray bytes = readAll(path);
        QVERIFY(bytes.contains(
            QByteArray::fromStdString(sizes.Assays[18].OrderNo2 + ", " + sizes.Assays[18].Name2 + "\r\n")));
        QVERIFY(bytes.contains(QByteArray::fromStdString(sizes.Calibs[1].OrderNo2 + ", " +
                                                         sizes.Calibs[1].Name + ", 15 ml\r\n")));
        QVERIFY(!bytes.contains(QByteArray::fromStdString(sizes.Calibs[1].OrderNo1)));
    }

    void failuresNameTheReasonAndKeepTheOldFile() {
        QTemporaryDir dir;
        const Catalogue cat = realisticOrder();
        QVERIFY(WriteOrderList(cat, dir.filePath(QStringLiteral("missing/OrderList")))
                    .contains(QLatin1String("does not exist")));
        QVERIFY(!QFile::exists(dir.filePath(QStringLiteral("missing"))));
        QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("folder")));
        QVERIFY(
            WriteOrderList(cat, dir.filePath(QStringLiteral("folder"))).contains(QLatin1String("folder")));
        QVERIFY(QFileInfo(dir.filePath(QStringLiteral("folder"))).isDir());
    }

    // A write that fails part-way, as on a full disk: the file-size limit stops it after a few
    // bytes. The old order stays whole.
    void writeFailingPartWayKeepsTheOldFile() {
#ifndef Q_OS_LINUX
        QSKIP("cutting a write short needs the file-size limit of Linux");
#else
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("OrderList.txt"));
        writeFile(path, "the previous order\r\n");
        Catalogue cat;
        LoadCatalogue(cat);
        SelectAllItems(cat);
        QString reason;
        {
            testing::FileSizeLimit limit(512);
            QVERIFY(limit.active());
            reason = WriteOrderList(cat, path);
        }
        QVERIFY2(!reason.isEmpty(), "a write cut short must not count as saved");
        QCOMPARE(readAll(path), QByteArray("the previous order\r\n"));
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList{QStringLiteral("OrderList.txt")});
#endif
    }

    void fileCommandSavesExactlyTheChosenName() {
        QTemporaryDir dir;
        const Catalogue cat = realisticOrder();
        Scripted s;
        s.answers << dir.filePath(QStringLiteral("OrderList"));
        frmOutput dlg(cat, s.hooks());
        dlg.show();
        QTest::mouseClick(dlg.findChild<QPushButton*>(QStringLiteral("cmdFile")), Qt::LeftButton);
        QCOMPARE(s.asked.value(0), QDir(frmOutput::StartFolder()).filePath(QStringLiteral("OrderList")));
        QCOMPARE(s.asked.value(1), QStringLiteral("Text File (*.txt)"));
        QCOMPARE(readAll(dir.filePath(QStringLiteral("OrderList"))),
                 QByteArray::fromStdString(OrderListText(cat)));
        QVERIFY(!QFile::exists(dir.filePath(QStringLiteral("OrderList.txt"))));
        QVERIFY(!dlg.isVisible());
        QCOMPARE(dlg.result(), int(QDialog::Accepted));
        QVERIFY(s.warnings.isEmpty());
    }

    void cancelledFileDialogWritesNothingAndCloses() {
        QTemporaryDir dir;
        const Catalogue cat = realisticOrder();
        Scripted s;
        s.answers << QString();
        frmOutput dlg(cat, s.hooks());
        dlg.show();
        QTest::mouseClick(dlg.findChild<QPushButton*>(QStringLiteral("cmdFile")), Qt::LeftButton);
        QVERIFY(!dlg.isVisible());
        QVERIFY(s.warnings.isEmpty());
        QVERIFY(QDir(dir.path()).isEmpty());
    }

    void failedSaveIsReportedAndTheOrderStays() {
        QTemporaryDir dir;
        const Catalogue cat = realisticOrder();
        const std::string before = OrderListText(cat);
        Scripted s;
        s.answers << dir.filePath(QStringLiteral("no/such/folder/OrderList"));
        frmOutput dlg(cat, s.hooks());
        dlg.show();
        QTest::mouseClick(dlg.findChild<QPushButton*>(QStringLiteral("cmdFile")), Qt::LeftButton);
        QCOMPARE(s.warnings.size(), 1);
        QVERIFY(s.warnings[0].contains(
            QDir::toNativeSeparators(dir.filePath(QStringLiteral("no/such/folder/OrderList")))));
        QVERIFY(s.warnings[0].contains(QLatin1String("does not exist")));
        QCOMPARE(OrderListText(cat), before);
        QVERIFY(!dlg.isVisible());
    }

    void keysActWhicheverButtonHasTheFocus() {
        const Catalogue cat = realisticOrder();
        {
            Scripted s;
            frmOutput dlg(cat, s.hooks());
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
            frmOutput dlg(cat, s.hooks());
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
            frmOutput dlg(cat, s.hooks());
            dlg.show();
            QVERIFY(QTest::qWaitForWindowExposed(&dlg));
            QTest::keyClick(dlg.windowHandle(), Qt::Key_C);
            QVERIFY(!dlg.isVisible());
            QCOMPARE(dlg.result(), int(QDialog::Rejected));
            QVERIFY(s.asked.isEmpty() && s.questions.isEmpty());
        }
    }

    void noPrinterOffersAPdfWithTheWholeOrder() {
        QTemporaryDir dir;
        Catalogue cat = realisticOrder();
        cat.Calibs[1].SizeChoice = 2;
        Scripted s;
        const QString pdf = dir.filePath(QStringLiteral("OrderList.pdf"));
        s.answers << pdf;
        frmOutput dlg(cat, s.hooks());
        dlg.show();
        QTest::mouseClick(dlg.findChild<QPushButton*>(QStringLiteral("cmdPrint")), Qt::LeftButton);
        QCOMPARE(s.questions.size(), 1);
        QVERIFY(s.questions[0].contains(QLatin1String("No printer")));
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
        expectAfter("REAGENTS");
        expectAfter("CALIBRATORS");  // same line, right column
        expectAfter(cat.Assays[1].OrderNo1);
        expectAfter(cat.Calibs[1].OrderNo2);  // the alternative pack's number
        expectAfter(cat.Calibs[1].Name + ", 15 ml");
        for (int slot = 1; slot <= 49; ++slot)
            if (cat.Ctrls[slot].Selected == 1)
                QVERIFY2(text.contains(QString::fromStdString(cat.Ctrls[slot].OrderNo)), qPrintable(text));
        QVERIFY(text.indexOf(QLatin1String("CONTROLS")) >
                text.indexOf(QString::fromStdString(cat.Assays[18].OrderNo1)));
    }

    void failingPrinterIsReportedNotSwallowed() {
        QTemporaryDir dir;
        const Catalogue cat = realisticOrder();
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
        frmOutput dlg(cat, s.hooks());
        dlg.show();
        QTest::mouseClick(dlg.findChild<QPushButton*>(QStringLiteral("cmdPrint")), Qt::LeftButton);
        QCOMPARE(s.questions.size(), 1);
        QVERIFY(s.questions[0].contains(QLatin1String("could not be printed")));
        QVERIFY(!dlg.isVisible());
    }
};

QTEST_MAIN(OutputTest)
#include "output_test.moc"
