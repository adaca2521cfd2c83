#include "gui/output/safe_file.h"

#include <QDir>
#include <QFileInfo>
#include <QIODevice>
#include <QSaveFile>
#include <cerrno>
#include <cstring>

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

}  // namespace

std::optional<SaveFailure> SaveFile(const QString& what, const QString& path, const QByteArray& bytes) {
    return SaveFile(what, path, [&bytes](QIODevice& device) {
        device.write(bytes);  // checked by the device
        return QString();
    });
}

std::optional<SaveFailure> SaveFile(const QString& what, const QString& path, const ContentsWriter& write) {
    const QFileInfo target(path);
    SaveFailure failure{what, target.absoluteFilePath(), QString(),
                        target.exists() && !target.isDir() ? SaveFailure::OldFile::Unchanged
                                                           : SaveFailure::OldFile::None};
    const auto fail = [&failure](const QString& reason) {
        failure.reason = reason;
        return std::optional<SaveFailure>(failure);
    };
    if (path.isEmpty())
        return fail(QStringLiteral("No file name was given."));
    if (target.isDir())
        return fail(QStringLiteral("There is a folder of that name."));
    const QFileInfo folder(target.absolutePath());
    const QString folderName = QDir::toNativeSeparators(folder.absoluteFilePath());
    if (folder.exists() && !folder.isDir())
        return fail(QStringLiteral("%1 is a file, not a folder.").arg(folderName));
    if (!folder.exists())
        return fail(QStringLiteral("The folder %1 does not exist.").arg(folderName));

    QSaveFile file(path);
    // Renaming needs a folder that can be written. Where only the file itself can be, it is
    // written in place rather than not at all; the toolkit does that only when creating the
    // temporary file is refused, so a file in a folder that can be written is never touched.
    const bool inPlace = !folder.isWritable() && target.exists() && target.isWritable();
    file.setDirectWriteFallback(inPlace);
    errno = 0;
    if (!file.open(QIODevice::WriteOnly)) {
        const QString detail = systemReason(file, errno);
        return fail(
            folder.isWritable()
                ? sentence(QStringLiteral("The file could not be created"), detail)
                : sentence(QStringLiteral("The folder %1 cannot be written to").arg(folderName), detail));
    }
    if (inPlace)
        failure.oldFile = SaveFailure::OldFile::Damaged;  // from here on the old contents are going

    CheckedDevice device(file);
    QString reason = write(device);
    if (!device.failure().isEmpty()) {
        reason = device.failure();  // a failed write explains whatever went wrong after it
    } else if (reason.isEmpty()) {
        // The writes so far may only have filled the buffer; the flush meets the full disk. A
        // commit after a failed flush can still report success, so it is checked here.
        errno = 0;
        if (!file.flush())
            reason = writeFailure(file, errno);
    }
    if (!reason.isEmpty()) {
        file.cancelWriting();
        return fail(reason);
    }
    errno = 0;
    if (!file.commit())
        return fail(sentence(QStringLiteral("The new file could not take the old one's place"),
                             systemReason(file, errno)));
    return std::nullopt;
}

QString SaveFailureMessage(const SaveFailure& failure) {
    QString kept = QStringLiteral("The order on screen is unchanged.");
    switch (failure.oldFile) {
    case SaveFailure::OldFile::None:
        break;
    case SaveFailure::OldFile::Unchanged:
        kept += QStringLiteral(" The existing file was not changed.");
        break;
    case SaveFailure::OldFile::Damaged:
        kept += QStringLiteral(" The existing file had to be written in place and may now be incomplete.");
        break;
    }
    return QStringLiteral("%1 could not be saved as\n%2\n\n%3\n\n%4")
        .arg(failure.what, QDir::toNativeSeparators(failure.path), failure.reason, kept);
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
