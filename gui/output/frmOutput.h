// The output choice: FILE, PRINT or CANCEL. Keys C, F and P work whichever button has the
// focus; Esc does not close it. Every command closes the dialog afterwards.
#pragma once

#include "core/order/order.h"
#include "gui/output/order_commands.h"

#include <QDialog>
#include <functional>
#include <memory>

class QPrinter;

namespace tovimar {

// What the dialog needs from the desktop, replaceable in tests: the file commands' dialogs, as the
// main window's, and the printer.
struct frmOutputHooks {
    // `told` is the parent window's: what was saved is said there once the dialog has closed.
    DialogHooks dialogs;
    // The default printer, or null when there is none.
    std::function<std::unique_ptr<QPrinter>()> defaultPrinter;

    static frmOutputHooks real();
};

class frmOutput : public QDialog {
    Q_OBJECT

public:
    explicit frmOutput(const Order& order, frmOutputHooks hooks = frmOutputHooks::real(),
                       QWidget* parent = nullptr);

    void cmdFile_Click();
    void cmdPrint_Click();
    void cmdCancel_Click();

    // Closes the dialog, then passes what was saved on to the parent window.
    void done(int result) override;

protected:
    void keyPressEvent(QKeyEvent* e) override;

private:
    void offerPdf(const QString& why);

    const Order& order_;
    std::function<std::unique_ptr<QPrinter>()> defaultPrinter_;
    std::function<void(const QString&)> told_;
    QString saved_;  // what the command said, kept until the dialog closes
    // Made afresh with every dialog: each FILE starts in the default folder.
    OrderCommands commands_;
};

}  // namespace tovimar
