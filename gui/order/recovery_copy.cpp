#include "gui/order/recovery_copy.h"

#include "gui/output/safe_file.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <atomic>

namespace tovimar {

namespace {

// A copy's lock and the name of the selection file its work belongs to stand beside it.
QString lockOf(const QString& copy) {
    return copy.chopped(int(qstrlen(".tovimar"))) + QStringLiteral(".lock");
}
QString fileNoteOf(const QString& copy) {
    return copy.chopped(int(qstrlen(".tovimar"))) + QStringLiteral(".file");
}

}  // namespace

RecoveryCopy::RecoveryCopy(QString folder) : folder_(std::move(folder)) {
    if (folder_.isEmpty())
        return;
    static std::atomic<int> windows{0};
    mine_ = QDir(folder_).filePath(
        QStringLiteral("recovery-%1-%2.tovimar").arg(QCoreApplication::applicationPid()).arg(++windows));
}

RecoveryCopy::~RecoveryCopy() = default;

QString RecoveryCopy::DefaultFolder() {
    const QString data = QStandardPaths::writableLocation(QStandardPaths::AppLocalDataLocation);
    return data.isEmpty() ? QString() : QDir(data).filePath(QStringLiteral("recovery"));
}

bool RecoveryCopy::Keep(const QByteArray& selection, const QString& file) {
    if (mine_.isEmpty() || !QDir().mkpath(folder_))
        return false;
    if (!lock_) {
        // Held while the program runs: a start of another program leaves this copy alone.
        lock_ = std::make_unique<QLockFile>(lockOf(mine_));
        lock_->setStaleLockTime(0);
        if (!lock_->tryLock(0)) {
            lock_.reset();
            return false;
        }
    }
    const QString& note = fileNoteOf(mine_);
    const bool noted = file.isEmpty() ? (QFile::remove(note), true)
                                      : !SaveFile(QStringLiteral("The recovery note"), note, file.toUtf8());
    return noted && !SaveFile(QStringLiteral("The recovery copy"), mine_, selection);
}

void RecoveryCopy::Remove() {
    if (mine_.isEmpty())
        return;
    QFile::remove(mine_);
    QFile::remove(fileNoteOf(mine_));
    if (lock_) {
        lock_->unlock();
        lock_.reset();
    }
}

bool RecoveryCopy::Kept() const {
    return !mine_.isEmpty() && QFileInfo::exists(mine_);
}

std::optional<RecoveryCopy::Left> RecoveryCopy::FindLeft() const {
    if (folder_.isEmpty())
        return std::nullopt;
    std::optional<Left> newest;
    const QFileInfoList copies =
        QDir(folder_).entryInfoList({QStringLiteral("recovery-*.tovimar")}, QDir::Files);
    for (const QFileInfo& copy : copies) {
        const QString path = copy.absoluteFilePath();
        if (path == QFileInfo(mine_).absoluteFilePath())
            continue;
        // A lock that can be taken belongs to no running program (a stale one is taken over).
        QLockFile lock(lockOf(path));
        lock.setStaleLockTime(0);
        if (!lock.tryLock(0))
            continue;
        lock.unlock();
        if (newest && newest->when >= copy.lastModified())
            continue;
        QFile note(fileNoteOf(path));
        const QString file = note.open(QIODevice::ReadOnly) ? QString::fromUtf8(note.readAll()) : QString();
        newest = Left{path, file, copy.lastModified()};
    }
    return newest;
}

void RecoveryCopy::Discard(const Left& left) {
    QFile::remove(left.path);
    QFile::remove(fileNoteOf(left.path));
    QFile::remove(lockOf(left.path));
}

}  // namespace tovimar
