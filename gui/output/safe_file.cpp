#include "gui/output/safe_file.h"

#include "gui/output/save_target.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QIODevice>
#include <QSaveFile>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <thread>

#ifdef Q_OS_UNIX
#include <csignal>
#include <fcntl.h>
#include <pthread.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace tovimar {

namespace {

// "Writing the file failed" and "File too large" make "Writing the file failed: file too large."
QString sentence(const QString& lead, QString detail) {
    while (detail.endsWith(QLatin1Char('.')))
        detail.chop(1);
    if (detail.isEmpty())
        return lead + QLatin1Char('.');
    // A system message starts with a capital only because it stands alone; an acronym keeps its.
    if (detail.size() > 1 && detail[0].isUpper() && detail[1].isLower())
        detail[0] = detail[0].toLower();
    return lead + QStringLiteral(": ") + detail + QLatin1Char('.');
}

// What the system said about the call that just failed: errno where it was set (a write cut short
// leaves the file's own error text empty), else the file's error text.
QString systemReason(const QFileDevice& file, int error) {
    if (error != 0)
        return QString::fromLocal8Bit(std::strerror(error));
    return file.error() != QFileDevice::NoError ? file.errorString() : QString();
}

QString writeFailure(const QFileDevice& file, int error) {
    const QString detail = systemReason(file, error);
    return detail.isEmpty() ? QStringLiteral("Writing the file stopped part-way; the disk may be full.")
                            : sentence(QStringLiteral("Writing the file failed"), detail);
}

// Passes every write on to the file and remembers the first that did not go through whole. The
// PDF engine, for one, never looks at what a write returns, and a short write on a full disk
// sets no error on the file: without this a cut-off file would be committed.
class CheckedDevice : public QIODevice {
public:
    explicit CheckedDevice(QFileDevice& file) : file_(file) {
        open(QIODevice::WriteOnly | QIODevice::Unbuffered);
    }

    const QString& failure() const { return failure_; }

protected:
    qint64 readData(char*, qint64) override { return -1; }

    qint64 writeData(const char* data, qint64 size) override {
        if (!failure_.isEmpty())
            return -1;
        errno = 0;
        if (file_.write(data, size) != size) {
            const int error = errno;
            failure_ = writeFailure(file_, error);
            return -1;
        }
        return size;
    }

private:
    QFileDevice& file_;
    QString failure_;
};

// How long the window waits for a program to open a named pipe for reading before it gives up.
constexpr int kPipeWaitSeconds = 5;

#ifdef Q_OS_UNIX
// Opens a pipe or a device for writing as a shell's ">" does: nothing created, nothing truncated.
// A named pipe that no program reads: a script waits, as a shell does; the window gives up after
// a few seconds rather than hang.
int openStream(const SaveTarget& t, SaveFor who) {
    const QByteArray name = QFile::encodeName(t.file);
    constexpr int flags = O_WRONLY | O_NOCTTY | O_CLOEXEC;
    if (who == SaveFor::Script)
        return ::open(name.constData(), flags);
    const auto giveUp = std::chrono::steady_clock::now() + std::chrono::seconds(kPipeWaitSeconds);
    for (;;) {
        const int fd = ::open(name.constData(), flags | O_NONBLOCK);
        if (fd >= 0) {
            ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
            return fd;
        }
        if (errno != ENXIO || !t.namedPipe || std::chrono::steady_clock::now() > giveUp)
            return -1;
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
}

// While it lives, a reader that went away makes a write fail with "broken pipe" instead of
// ending the program.
class BrokenPipeAsError {
public:
    BrokenPipeAsError() {
        sigemptyset(&pipe_);
        sigaddset(&pipe_, SIGPIPE);
        sigset_t pending;
        wasPending_ = sigpending(&pending) == 0 && sigismember(&pending, SIGPIPE) == 1;
        pthread_sigmask(SIG_BLOCK, &pipe_, &old_);
    }
    ~BrokenPipeAsError() {
        sigset_t pending;
        if (!wasPending_ && sigpending(&pending) == 0 && sigismember(&pending, SIGPIPE) == 1) {
            const timespec now{};
            sigtimedwait(&pipe_, nullptr, &now);
        }
        pthread_sigmask(SIG_SETMASK, &old_, nullptr);
    }
    BrokenPipeAsError(const BrokenPipeAsError&) = delete;
    BrokenPipeAsError& operator=(const BrokenPipeAsError&) = delete;

private:
    sigset_t pipe_{}, old_{};
    bool wasPending_ = false;
};
#endif

// The new file takes the old one's group, and its owner where the process may give files away
// (as root); then the old permissions again, which a change of owner may have cleared.
void keepOwnerAndGroup([[maybe_unused]] QSaveFile& file, [[maybe_unused]] const QString& old) {
#ifdef Q_OS_UNIX
    struct stat st {};
    const int fd = file.handle();
    if (fd < 0 || ::stat(QFile::encodeName(old).constData(), &st) != 0)
        return;
    if (::fchown(fd, st.st_uid, st.st_gid) != 0 && ::fchown(fd, uid_t(-1), st.st_gid) != 0) {
        // Not a member of the old group: the file gets the user's, as any new file would.
    }
    if (::fchmod(fd, st.st_mode & 07777) != 0) {
        // The toolkit has set the permissions already; this only restores special bits.
    }
#endif
}

// Fills a pipe, a device or an open descriptor: written as it comes, every write checked.
QString writeStream(QFile& stream, const ContentsWriter& write) {
#ifdef Q_OS_UNIX
    const BrokenPipeAsError pipe;
#endif
    CheckedDevice device(stream);
    const QString reason = write(device);
    return device.failure().isEmpty() ? reason : device.failure();
}

// Fills a pipe, a device or an open descriptor. Returns the reason it failed, or an empty text.
QString saveToStream(const SaveTarget& target, const ContentsWriter& write, [[maybe_unused]] SaveFor who) {
    QFile stream;
#ifdef Q_OS_UNIX
    errno = 0;
    const int fd = target.kind == SaveTarget::Kind::Descriptor
                       ? ::fcntl(target.descriptor, F_DUPFD_CLOEXEC, 0)
                       : openStream(target, who);
    const int error = errno;
    if (fd < 0 && target.kind == SaveTarget::Kind::Descriptor)
        return QStringLiteral("Nothing is open on descriptor %1.").arg(target.descriptor);
    if (fd < 0 && error == ENXIO && target.namedPipe)
        return QStringLiteral("No program read from the named pipe within %1 seconds.").arg(kPipeWaitSeconds);
    if (fd < 0)
        return sentence(QStringLiteral("It could not be opened for writing"),
                        QString::fromLocal8Bit(std::strerror(error)));
    stream.open(fd, QIODevice::WriteOnly | QIODevice::Unbuffered, QFileDevice::AutoCloseHandle);
#else
    stream.setFileName(target.file);
    errno = 0;
    if (!stream.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        return sentence(QStringLiteral("It could not be opened for writing"), systemReason(stream, errno));
#endif
    return writeStream(stream, write);
}

// Saves a new or regular file whole, by renaming a complete temporary file over it (see SaveFile
// for the one exception). Returns the reason it failed, or an empty text; `oldFile` says what
// became of the old file.
QString replaceWhole(const SaveTarget& target, const ContentsWriter& write, SaveFor who,
                     SaveFailure::OldFile& oldFile) {
    // From here on the name is the file the links lead to, in its own folder.
    const QFileInfo file(target.file);
    const QFileInfo folder(file.absolutePath());
    const QString folderName = QDir::toNativeSeparators(folder.absoluteFilePath());
    if (folder.exists() && !folder.isDir())
        return QStringLiteral("%1 is a file, not a folder.").arg(folderName);
    if (!folder.exists())
        return QStringLiteral("The folder %1 does not exist.").arg(folderName);

    // Renaming needs a folder that can be written. Where only the file itself can be, the window
    // writes it in place rather than not at all; the toolkit does that only when creating the
    // temporary file is refused, so a file in a folder that can be written is never touched. A
    // script is refused instead: it promises that a failed export leaves no damaged file.
    const bool onlyFileWritable =
        !folder.isWritable() && target.kind == SaveTarget::Kind::Regular && file.isWritable();
    if (onlyFileWritable && who == SaveFor::Script)
        return QStringLiteral("The folder %1 cannot be written to, so the file cannot be replaced whole, "
                              "and the command line never overwrites it in place.")
            .arg(folderName);
    QSaveFile save(target.file);
    save.setDirectWriteFallback(onlyFileWritable);
    errno = 0;
    if (!save.open(QIODevice::WriteOnly)) {
        const QString detail = systemReason(save, errno);
        return folder.isWritable()
                   ? sentence(QStringLiteral("The file could not be created"), detail)
                   : sentence(QStringLiteral("The folder %1 cannot be written to").arg(folderName), detail);
    }
    if (onlyFileWritable)
        oldFile = SaveFailure::OldFile::Damaged;  // from here on the old contents are going
    else if (target.kind == SaveTarget::Kind::Regular)
        keepOwnerAndGroup(save, target.file);

    CheckedDevice device(save);
    QString reason = write(device);
    if (!device.failure().isEmpty()) {
        reason = device.failure();  // a failed write explains whatever went wrong after it
    } else if (reason.isEmpty()) {
        // The writes so far may only have filled the buffer; the flush meets the full disk. A
        // commit after a failed flush can still report success, so it is checked here.
        errno = 0;
        if (!save.flush())
            reason = writeFailure(save, errno);
    }
    if (!reason.isEmpty()) {
        save.cancelWriting();
        return reason;
    }
    errno = 0;
    if (!save.commit())
        return sentence(QStringLiteral("The new file could not take the old one's place"),
                        systemReason(save, errno));
    return QString();
}

}  // namespace

std::optional<SaveFailure> SaveFile(const QString& what, const QString& path, const QByteArray& bytes,
                                    SaveFor who) {
    return SaveFile(
        what, path,
        [&bytes](QIODevice& device) {
            device.write(bytes);  // checked by the device
            return QString();
        },
        who);
}

std::optional<SaveFailure> SaveFile(const QString& what, const QString& path, const ContentsWriter& write,
                                    SaveFor who) {
    SaveFailure failure{what, QFileInfo(path).absoluteFilePath(), QString(), SaveFailure::OldFile::None};
    if (path.isEmpty()) {
        failure.reason = QStringLiteral("No file name was given.");
        return failure;
    }
    const SaveTarget target = ResolveSaveTarget(path);
    switch (target.kind) {
    case SaveTarget::Kind::Circle:
        failure.reason =
            QStringLiteral("The name is a symbolic link that leads round in a circle, to no file.");
        break;
    case SaveTarget::Kind::Folder:
        failure.reason = QStringLiteral("There is a folder of that name.");
        break;
    case SaveTarget::Kind::Stream:
    case SaveTarget::Kind::Descriptor:
        failure.reason = saveToStream(target, write, who);
        break;
    case SaveTarget::Kind::Regular:
        failure.oldFile = SaveFailure::OldFile::Unchanged;
        [[fallthrough]];
    case SaveTarget::Kind::Missing:
        failure.reason = replaceWhole(target, write, who, failure.oldFile);
        break;
    }
    if (failure.reason.isEmpty())
        return std::nullopt;
    return failure;
}

QString SaveFailureMessage(const SaveFailure& failure, SaveFor who) {
    QStringList kept;
    if (who == SaveFor::Window)
        kept << QStringLiteral("The order on screen is unchanged.");
    switch (failure.oldFile) {
    case SaveFailure::OldFile::None:
        break;
    case SaveFailure::OldFile::Unchanged:
        kept << QStringLiteral("The existing file was not changed.");
        break;
    case SaveFailure::OldFile::Damaged:
        kept << QStringLiteral("The existing file had to be written in place and may now be incomplete.");
        break;
    }
    QString message = QStringLiteral("%1 could not be saved as\n%2\n\n%3")
                          .arg(failure.what, QDir::toNativeSeparators(failure.path), failure.reason);
    if (!kept.isEmpty())
        message += QStringLiteral("\n\n") + kept.join(QLatin1Char(' '));
    return message;
}

bool NamesSameFile(const QString& a, const QString& b) {
#ifdef Q_OS_UNIX
    struct stat x {
    }, y{};
    return ::stat(QFile::encodeName(a).constData(), &x) == 0 &&
           ::stat(QFile::encodeName(b).constData(), &y) == 0 && x.st_dev == y.st_dev && x.st_ino == y.st_ino;
#else
    const QString canonical = QFileInfo(a).canonicalFilePath();
    return !canonical.isEmpty() && canonical == QFileInfo(b).canonicalFilePath();
#endif
}

QString ChooseStartFolder(const QString& programFolder, const QString& documentsFolder,
                          const QString& homeFolder) {
    for (const QString& folder : {programFolder, documentsFolder}) {
        const QFileInfo info(folder);
        if (!folder.isEmpty() && info.isDir() && info.isWritable())
            return info.absoluteFilePath();
    }
    return homeFolder;
}

}  // namespace tovimar
