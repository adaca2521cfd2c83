// The main window's part in keeping the work: the recovery copy written as the work changes and as
// the program ends, and offered back at the next start.
#include "core/output/selection_file.h"
#include "gui/mainwindow/frmMain.h"

#include <QFileInfo>
#include <QLocale>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>

namespace tovimar {

std::optional<bool> AskRestore(QWidget* parent, const QString& text) {
    QMessageBox box(QMessageBox::Question, QStringLiteral("Tovimar"), text, QMessageBox::NoButton, parent);
    QPushButton* restore = box.addButton(QStringLiteral("Restore"), QMessageBox::AcceptRole);
    QPushButton* discard = box.addButton(QStringLiteral("Discard"), QMessageBox::DestructiveRole);
    box.setDefaultButton(restore);
    box.exec();
    // Closed without a choice: the copy waits for the next start.
    if (box.clickedButton() != restore && box.clickedButton() != discard)
        return std::nullopt;
    return box.clickedButton() == restore;
}

bool frmMain::holdsUnsavedWork() const {
    if (!document_.FilePath().isEmpty())
        return document_.IsModified();
    return order().plan.HasFigures() || order().plan.HasTyped();
}

void frmMain::scheduleKeeping() {
    if (!keepTimer_->isActive())
        keepTimer_->start();
}

void frmMain::keepWork() {
    keepTimer_->stop();
    if (holdsUnsavedWork()) {
        const std::string text = SelectionText(SelectionOf(order()));
        recovery_.Keep(QByteArray(text.data(), qsizetype(text.size())), document_.FilePath());
    } else if (recovery_.Kept()) {
        recovery_.Remove();
    }
}

void frmMain::offerRecovery() {
    const std::optional<RecoveryCopy::Left> left = recovery_.FindLeft();
    if (!left || !hooks_.offerRestore)
        return;
    const std::optional<bool> restore =
        hooks_.offerRestore(this, QStringLiteral("Restore the work left unsaved on %1?")
                                      .arg(QLocale().toString(left->when, QLocale::ShortFormat)));
    if (!restore)
        return;
    if (*restore)
        restoreWork(*left);
    RecoveryCopy::Discard(*left);
}

// As the file would open, then named as the file it belongs to and marked unsaved; from now on it is
// this window's work, kept in its own copy.
void frmMain::restoreWork(const RecoveryCopy::Left& left) {
    const std::optional<Selection> selection = commands_.selectionToOpen(left.path, QString());
    if (!selection)
        return;
    openSelection(*selection, QStringLiteral("restoring the work left unsaved"));
    document_.SetUnsaved(left.file);
    keepWork();
}

}  // namespace tovimar
