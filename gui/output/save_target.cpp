#include "gui/output/save_target.h"

#include <QFile>
#include <QFileInfo>
#include <algorithm>
#include <cerrno>

#ifdef Q_OS_UNIX
#include <climits>
#include <cstdlib>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace tovimar {

#ifdef Q_OS_UNIX
namespace {

// The descriptor of this process that `name` stands for (/proc/self/fd/N; /dev/fd/N and
// /dev/stdout lead there), else -1. The kernel makes such a name up as a link to the file the
// descriptor was opened on: a log opened for appending, which must be appended to through the
// descriptor, never replaced by a new file.
int descriptorNamed(const QByteArray& name) {
    const qsizetype slash = name.lastIndexOf('/');
    const QByteArray number = name.mid(slash + 1);
    if (slash < 0 || number.isEmpty() || number.size() > 9 ||
        !std::all_of(number.begin(), number.end(), [](char c) { return c >= '0' && c <= '9'; }))
        return -1;
    char real[PATH_MAX];
    if (::realpath(slash == 0 ? "/" : name.left(slash).constData(), real) == nullptr)
        return -1;
    const QByteArray folder(real);
    const QByteArray own = "/proc/" + QByteArray::number(::getpid());
    const bool ours = folder == own + "/fd" ||
                      (folder.startsWith(own + "/task/") && folder.endsWith("/fd") && folder.count('/') == 5);
    return ours ? number.toInt() : -1;
}

}  // namespace

SaveTarget ResolveSaveTarget(const QString& path) {
    QByteArray name = QFile::encodeName(QFileInfo(path).absoluteFilePath());
    for (int links = 0; links <= 40; ++links) {  // the kernel's own limit
        SaveTarget t;
        t.file = QFile::decodeName(name);
        if ((t.descriptor = descriptorNamed(name)) >= 0) {
            t.kind = SaveTarget::Kind::Descriptor;
            return t;
        }
        struct stat st {};
        if (::lstat(name.constData(), &st) != 0) {
            t.kind = errno == ELOOP ? SaveTarget::Kind::Circle : SaveTarget::Kind::Missing;
            return t;
        }
        if (!S_ISLNK(st.st_mode)) {
            t.kind = S_ISREG(st.st_mode)   ? SaveTarget::Kind::Regular
                     : S_ISDIR(st.st_mode) ? SaveTarget::Kind::Folder
                                           : SaveTarget::Kind::Stream;
            t.namedPipe = S_ISFIFO(st.st_mode);
            return t;
        }
        char to[PATH_MAX];
        const ssize_t length = ::readlink(name.constData(), to, sizeof to);
        if (length <= 0 || std::size_t(length) >= sizeof to)
            return t;  // unreadable: as if missing, and the save says why it fails
        const QByteArray link(to, length);
        name = link.startsWith('/') ? link : name.left(name.lastIndexOf('/') + 1) + link;
    }
    return {SaveTarget::Kind::Circle, QFile::decodeName(name)};
}
#else
SaveTarget ResolveSaveTarget(const QString& path) {
    QFileInfo info(path);
    for (int links = 0; info.isSymLink(); ++links) {
        if (links == 40)
            return {SaveTarget::Kind::Circle, info.absoluteFilePath()};
        info.setFile(info.symLinkTarget());
    }
    const SaveTarget::Kind kind = info.isDir()    ? SaveTarget::Kind::Folder
                                  : info.isFile() ? SaveTarget::Kind::Regular
                                  : info.exists() ? SaveTarget::Kind::Stream
                                                  : SaveTarget::Kind::Missing;
    return {kind, info.absoluteFilePath()};
}
#endif

}  // namespace tovimar
