#include "gui/output/frmOutput.h"

#include "gui/output/frmPrint.h"
#include "gui/widgets/fonts.h"
#include "gui/widgets/twips.h"
#include "gui/widgets/widget_colours.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QPrinter>
#include <QPrinterInfo>
#include <QPushButton>
#include <QStyleOptionButton>
#include <QStylePainter>
#include <utility>

namespace tovimar {

namespace {

// One palette for every output dialog, white behind the label and the buttons.
const QPalette& dialogPalette() {
    return sharedPalette([](QPalette& palette, const QPalette&) {
        for (QPalette::ColorRole role : {QPalette::Window, QPalette::Button, QPalette::Base})
            palette.setColor(role, Qt::white);
        for (QPalette::ColorRole role : {QPalette::WindowText, QPalette::ButtonText, QPalette::Text})
            palette.setColor(role, Qt::black);
    });
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

// The dialog's commands say what they saved to the dialog, which keeps it for its parent.
DialogHooks keepingTold(DialogHooks hooks, QString& kept) {
    hooks.told = [&kept](const QString& what) { kept = what; };
    return hooks;
}

}  // namespace

frmOutputHooks frmOutputHooks::real() {
    frmOutputHooks h;
    h.dialogs = DialogHooks::real();
    h.defaultPrinter = []() -> std::unique_ptr<QPrinter> {
        const QPrinterInfo info = QPrinterInfo::defaultPrinter();
        if (info.isNull())
            return nullptr;
        return std::make_unique<QPrinter>(info, QPrinter::HighResolution);
    };
    return h;
}

frmOutput::frmOutput(const Order& order, frmOutputHooks hooks, QWidget* parent)
    : QDialog(parent), order_(order), defaultPrinter_(std::move(hooks.defaultPrinter)),
      told_(std::move(hooks.dialogs.told)),
      commands_(order, keepingTold(std::move(hooks.dialogs), saved_), this) {
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

void frmOutput::cmdFile_Click() {
    commands_.saveOrderList();
    accept();
}

void frmOutput::cmdPrint_Click() {
    std::unique_ptr<QPrinter> printer = defaultPrinter_();
    if (!printer) {
        offerPdf(QStringLiteral("No printer is set up on this computer."));
    } else {
        const QString reason = BuildPrintout(order_, *printer);
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
    if (commands_.ask(QStringLiteral("Not printed"),
                      why + QStringLiteral("\n\nSave the printout as a PDF file instead?"),
                      DialogHooks::Default::Yes))
        commands_.exportPdf(QStringLiteral("Not saved"));
}

void frmOutput::done(int result) {
    QDialog::done(result);
    if (told_ && !saved_.isEmpty())
        told_(std::exchange(saved_, QString()));
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
