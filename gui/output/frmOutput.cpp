#include "gui/output/frmOutput.h"

#include "gui/output/frmPrint.h"
#include "gui/output/write_order_list.h"
#include "gui/widgets/fonts.h"
#include "gui/widgets/twips.h"

#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QIdentityProxyModel>
#include <QImage>
#include <QKeyEvent>
#include <QLabel>
#include <QMessageBox>
#include <QPrinter>
#include <QPrinterInfo>
#include <QPushButton>
#include <QStandardPaths>
#include <QStyleOptionButton>
#include <QStylePainter>

namespace tovimar {

namespace {

// One palette for every output dialog, white behind the label and the buttons. The style caches
// each button image under its palette's key; a palette made afresh for every dialog added a new
// set of images each time until the cache was full, about 10 MB held for nothing. Rebuilt only
// when the desktop's palette changes.
const QPalette& dialogPalette() {
    static QPalette palette;
    static qint64 builtFrom = -1;
    const QPalette desktop = QApplication::palette();
    if (qint64(desktop.cacheKey()) != builtFrom) {
        builtFrom = qint64(desktop.cacheKey());
        palette = desktop;
        for (QPalette::ColorRole role : {QPalette::Window, QPalette::Button, QPalette::Base})
            palette.setColor(role, Qt::white);
        for (QPalette::ColorRole role : {QPalette::WindowText, QPalette::ButtonText, QPalette::Text})
            palette.setColor(role, Qt::black);
    }
    return palette;
}

// A push button painted with the shared palette itself. Its own palette, even when set from the
// shared one, gets a new key in every dialog as the widget resolves it against its parent's.
class OutputButton : public QPushButton {
public:
    using QPushButton::QPushButton;

protected:
    void paintEvent(QPaintEvent*) override {
        QStylePainter painter(this);
        QStyleOptionButton option;
        initStyleOption(&option);
        option.palette = dialogPalette();
        painter.drawControl(QStyle::CE_PushButton, option);
    }
};

// The file list of the toolkit's own save dialog, with one blank picture at the head of its name
// column. The toolkit's model makes a new one (a strip that lines the header up with the icons)
// at every paint of the header, and each went into the image cache under a key never asked for
// again: about a dozen entries a save, let go only once the cache holds ten thousand.
class SteadyHeaderModel : public QIdentityProxyModel {
public:
    using QIdentityProxyModel::QIdentityProxyModel;

    QVariant headerData(int section, Qt::Orientation orientation, int role) const override {
        const QVariant data = QIdentityProxyModel::headerData(section, orientation, role);
        if (role != Qt::DecorationRole || data.typeId() != QMetaType::QImage)
            return data;
        static const QPixmap blank = QPixmap::fromImage(data.value<QImage>());
        return blank;
    }
};

}  // namespace

frmOutputHooks frmOutputHooks::real() {
    frmOutputHooks h;
    h.chooseSaveFile = [](QWidget* parent, const QString& startPath, const QString& filter) {
        // The toolkit's dialog asks before it replaces an existing file.
        // The title says what is saved: the order list, or the printout as a PDF.
        const QString title = filter.startsWith(QLatin1String("PDF"))
                                  ? QStringLiteral("Save the printout as PDF")
                                  : QStringLiteral("Save the order list");
        QFileDialog dialog(parent, title, startPath, filter);
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        dialog.setProxyModel(new SteadyHeaderModel(&dialog));
        return dialog.exec() == QDialog::Accepted ? dialog.selectedFiles().value(0) : QString();
    };
    h.warn = [](QWidget* parent, const QString& title, const QString& text) {
        QMessageBox::warning(parent, title, text);
    };
    h.ask = [](QWidget* parent, const QString& title, const QString& text) {
        return QMessageBox::question(parent, title, text, QMessageBox::Yes | QMessageBox::No,
                                     QMessageBox::Yes) == QMessageBox::Yes;
    };
    h.defaultPrinter = []() -> std::unique_ptr<QPrinter> {
        const QPrinterInfo info = QPrinterInfo::defaultPrinter();
        if (info.isNull())
            return nullptr;
        return std::make_unique<QPrinter>(info, QPrinter::HighResolution);
    };
    return h;
}

frmOutput::frmOutput(const Catalogue& cat, frmOutputHooks hooks, QWidget* parent)
    : QDialog(parent), cat_(cat), hooks_(std::move(hooks)) {
    setObjectName(QStringLiteral("frmOutput"));
    setWindowTitle(QStringLiteral("Tovimar"));
    setFixedSize(px(3930), px(2220));
    setPalette(dialogPalette());  // the buttons take it too: white, as the label
    setAutoFillBackground(true);
    const QFont font = narrowFont(12, false);

    auto* label = new QLabel(this);
    label->setObjectName(QStringLiteral("Label1"));
    label->setGeometry(twipsRect(600, 360, 3015, 495));
    label->setFont(font);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);  // from the top of its box, as a label draws
    label->setText(QStringLiteral("Output to File or Printer?"));

    struct Button {
        const char* name;
        const char* caption;
        int left;
        void (frmOutput::*handler)();
    };
    QWidget* previous = nullptr;
    for (const Button& b : {Button{"cmdFile", "FILE", 360, &frmOutput::cmdFile_Click},
                            Button{"cmdPrint", "PRINT", 1440, &frmOutput::cmdPrint_Click},
                            Button{"cmdCancel", "CANCEL", 2520, &frmOutput::cmdCancel_Click}}) {
        auto* button = new OutputButton(QString::fromLatin1(b.caption), this);
        button->setObjectName(QString::fromLatin1(b.name));
        button->setGeometry(twipsRect(b.left, 1320, 975, 615));
        button->setFont(font);
        // Enter and Return press the focused button, as Space does.
        button->setAutoDefault(true);
        connect(button, &QPushButton::clicked, this, b.handler);
        if (previous)
            setTabOrder(previous, button);
        else
            button->setFocus();
        previous = button;
    }
}

QString frmOutput::StartFolder() {
    return ChooseStartFolder(QCoreApplication::applicationDirPath(),
                             QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation),
                             QDir::homePath());
}

void frmOutput::cmdFile_Click() {
    const QString start = QDir(StartFolder()).filePath(QStringLiteral("OrderList"));
    const QString name = hooks_.chooseSaveFile(this, start, QStringLiteral("Text File (*.txt)"));
    if (!name.isEmpty())
        if (const std::optional<SaveFailure> failure = WriteOrderList(cat_, name))
            hooks_.warn(this, QStringLiteral("Not saved"), SaveFailureMessage(*failure));
    accept();
}

void frmOutput::cmdPrint_Click() {
    std::unique_ptr<QPrinter> printer = hooks_.defaultPrinter();
    if (!printer) {
        offerPdf(QStringLiteral("No printer is set up on this computer."));
    } else {
        const QString reason = BuildPrintout(cat_, *printer);
        if (!reason.isEmpty())
            offerPdf(QStringLiteral("The order could not be printed on %1 because %2.")
                         .arg(printer->printerName(), reason));
    }
    accept();
}

void frmOutput::cmdCancel_Click() {
    reject();
}

void frmOutput::offerPdf(const QString& why) {
    if (hooks_.ask(this, QStringLiteral("Not printed"),
                   why + QStringLiteral("\n\nSave the printout as a PDF file instead?")))
        savePdf();
}

void frmOutput::savePdf() {
    const QString start = QDir(StartFolder()).filePath(QStringLiteral("OrderList.pdf"));
    const QString name = hooks_.chooseSaveFile(this, start, QStringLiteral("PDF File (*.pdf)"));
    if (name.isEmpty())
        return;
    if (const std::optional<SaveFailure> failure = SavePrintoutPdf(cat_, name))
        hooks_.warn(this, QStringLiteral("Not saved"), SaveFailureMessage(*failure));
}

void frmOutput::keyPressEvent(QKeyEvent* e) {
    switch (e->key()) {
    case Qt::Key_C:
        cmdCancel_Click();
        return;
    case Qt::Key_F:
        cmdFile_Click();
        return;
    case Qt::Key_P:
        cmdPrint_Click();
        return;
    case Qt::Key_Escape:
        return;  // Esc does not close this dialog
    default:
        QDialog::keyPressEvent(e);
    }
}

}  // namespace tovimar
