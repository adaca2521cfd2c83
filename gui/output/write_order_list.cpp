#include "gui/output/write_order_list.h"

#include "core/output/order_file.h"

#include <QDir>
#include <QFileInfo>
#include <QSaveFile>
#include <cerrno>
#include <cstring>

namespace tovimar {

QString WriteOrderList(const Catalogue& cat, const QString& path) {
    const QFileInfo info(path);
    if (info.isDir())
        return QStringLiteral("there is a folder of that name");
    if (!info.absoluteDir().exists())
        return QStringLiteral("the folder %1 does not exist")
            .arg(QDir::toNativeSeparators(info.absolutePath()));

    const std::string bytes = OrderListText(cat);
    QSaveFile file(path);
    // A device or a file that cannot be replaced by renaming is not written half-way either.
    file.setDirectWriteFallback(false);
    if (!file.open(QIODevice::WriteOnly))
        return file.errorString();
    const qint64 size = static_cast<qint64>(bytes.size());
    // The write is buffered; only the flush meets a full disk. Check it here: a commit after a
    // failed flush can still report success with a cut-off file in place.
    errno = 0;
    if (file.write(bytes.data(), size) != size || !file.flush()) {
        const int error = errno;
        file.cancelWriting();
        return error != 0 ? QString::fromLocal8Bit(std::strerror(error)).toLower()
                          : QStringLiteral("the file could not be written completely (is the disk full?)");
    }
    if (!file.commit())
        return file.errorString().isEmpty() ? QStringLiteral("the file could not be completed")
                                            : file.errorString();
    return {};
}

}  // namespace tovimar
