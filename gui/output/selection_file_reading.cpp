#include "gui/output/selection_file_reading.h"

#include <QFile>
#include <QFileInfo>
#include <cerrno>
#include <cstring>

#ifdef Q_OS_UNIX
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace tovimar {

namespace {

SelectionFromFile refused(const QString& problem) {
    return {std::nullopt, problem};
}

#ifdef Q_OS_UNIX
// A named pipe or a device would make the reading wait, perhaps for ever, or never end.
QString notAFile(mode_t mode) {
    if (S_ISFIFO(mode))
        return QStringLiteral("This is a named pipe, not a file.");
    if (S_ISDIR(mode))
        return QStringLiteral("This is a folder, not a file.");
    if (S_ISSOCK(mode))
        return QStringLiteral("This is a socket, not a file.");
    return QStringLiteral("This is a device, not a file.");
}
#endif

}  // namespace

SelectionFromFile ReadSelectionFile(const QString& path) {
    QFile file;
    const auto unreadable = [](const QString& why) {
        return refused(QStringLiteral("The file could not be read: %1.").arg(why));
    };
#ifdef Q_OS_UNIX
    // Looked at before it is opened, and opened without waiting for a writer: what is opened may
    // have been swapped for a pipe in between, so the open file is looked at once more.
    const QByteArray name = QFile::encodeName(path);
    struct stat st {};
    if (::stat(name.constData(), &st) == 0 && !S_ISREG(st.st_mode))
        return refused(notAFile(st.st_mode));
    const int fd = ::open(name.constData(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0)
        return unreadable(QString::fromLocal8Bit(std::strerror(errno)));
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        ::close(fd);
        return refused(notAFile(st.st_mode));
    }
    ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
    file.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle);
#else
    const QFileInfo info(path);
    if (info.isDir())
        return refused(QStringLiteral("This is a folder, not a file."));
    if (info.exists() && !info.isFile())
        return refused(QStringLiteral("This is a device, not a file."));
    file.setFileName(path);
    if (!file.open(QIODevice::ReadOnly))
        return unreadable(file.errorString());
#endif
    // The size the file has, not the bytes read: no more than one past the limit are.
    if (file.size() > qint64(kSelectionMaxBytes))
        return refused(QString::fromStdString(ProblemText(SelectionTooLarge(std::uint64_t(file.size())))));
    const QByteArray bytes = file.read(static_cast<qint64>(kSelectionMaxBytes) + 1);
    if (file.error() != QFileDevice::NoError)
        return unreadable(file.errorString());
    SelectionReading reading = ReadSelection(std::string_view(bytes.constData(), std::size_t(bytes.size())));
    if (!reading.selection)
        return refused(QString::fromStdString(ProblemText(reading.problem)));
    return {std::move(reading.selection), QString()};
}

}  // namespace tovimar
