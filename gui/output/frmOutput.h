// The output choice: FILE, PRINT or CANCEL. Keys C, F and P work whichever button has the
// focus; Esc does not close it. Every command closes the dialog afterwards.
#pragma once

#include "core/catalogue/records.h"

#include <QDialog>
#include <functional>
#include <memory>

class QPrinter;

namespace tovimar {

// What the dialog needs from the desktop, replaceable in tests.
struct frmOutputHooks {
    // A save-file dialog starting at `startPath` (folder and preset name) with one filter; returns
    // the chosen name exactly as chosen, or an empty text when cancelled.
    std::function<QString(QWidget* parent, const QString& startPath, const QString& filter)> chooseSaveFile;
    std::function<void(QWidget* parent, const QString& title, const QString& text)> warn;
    std::function<bool(QWidget* parent, const QString& title, const QString& text)> ask;
    // The default printer, or null when there is none.
    std::function<std::unique_ptr<QPrinter>()> defaultPrinter;

    static frmOutputHooks real();
};

class frmOutput : public QDialog {
    Q_OBJECT

public:
    explicit frmOutput(const Catalogue& cat, frmOutputHooks hooks = frmOutputHooks::real(),
                       QWidget* parent = nullptr);

    void cmdFile_Click();
    void cmdPrint_Click();
    void cmdCancel_Click();

    // The folder the save dialog starts in (ChooseStartFolder for this program and user).
    static QString StartFolder();

protected:
    void keyPressEvent(QKeyEvent* e) override;

private:
    void offerPdf(const QString& why);
    void savePdf();

    const Catalogue& cat_;
    frmOutputHooks hooks_;
};

}  // namespace tovimar
