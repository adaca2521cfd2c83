// The situations a save meets, each set up in a fresh folder: the same table for every writer,
// called directly and through the window. A scene makes the folder and the old file, puts the
// fault in force only while the save runs, and checks afterwards what is on disk.
#pragma once

#include "gui/output/safe_file.h"
#include "tests/support/file_size_limit.h"
#include "tests/support/helper_checks.h"
#include "tests/support/ordinary_user.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>
#include <functional>
#include <optional>
#include <unistd.h>

namespace tovimar::testing {

enum class Situation {
    NewFile,           // a new name in a folder that can be written
    ReplacesFile,      // an existing file, readable by its owner's group only: it keeps that
    HardLink,          // the target has a second name, which keeps the old contents
    OnlyFileWritable,  // a shared file in a folder the user may not change: written in place
    MissingFolder,
    FolderOfThatName,
    ReadOnlyFolder,   // neither the folder nor the file can be written
    FullDisk,         // the write is cut short; an old file is there
    FullDiskNewName,  // the write is cut short; no file was there
    FullDiskInPlace,  // the write in place is cut short: the old file cannot be kept
};

struct SituationRow {
    const char* name;
    Situation situation;
    const char* reason;  // part of the failure's reason; null where the save succeeds
    SaveFailure::OldFile oldFile = SaveFailure::OldFile::None;  // what a failure says of the old file
};

using Old = SaveFailure::OldFile;
inline const SituationRow kSituations[] = {
    {"new file", Situation::NewFile, nullptr},
    {"replaces a file", Situation::ReplacesFile, nullptr},
    {"hard link", Situation::HardLink, nullptr},
    {"only the file writable", Situation::OnlyFileWritable, nullptr},
    {"missing folder", Situation::MissingFolder, "does not exist", Old::None},
    {"folder of that name", Situation::FolderOfThatName, "There is a folder of that name", Old::None},
    {"read-only folder", Situation::ReadOnlyFolder, "cannot be written to", Old::Unchanged},
#ifdef Q_OS_LINUX  // a full disk is a file-size limit, set the Linux way
    {"full disk", Situation::FullDisk, "Writing the file failed", Old::Unchanged},
    {"full disk, new name", Situation::FullDiskNewName, "Writing the file failed", Old::None},
    {"full disk, written in place", Situation::FullDiskInPlace, "Writing the file failed", Old::Damaged},
#endif
};

// The rows of a table test over every writer in every situation: columns "writer" and "row",
// the indexes into the caller's writers and into kSituations.
template <typename Writer, std::size_t N>
void addSituationRows(const Writer (&writers)[N]) {
    QTest::addColumn<int>("writer");
    QTest::addColumn<int>("row");
    for (std::size_t w = 0; w < N; ++w)
        for (std::size_t r = 0; r < std::size(kSituations); ++r)
            QTest::addRow("%s, %s", writers[w].name, kSituations[r].name) << int(w) << int(r);
}

class SaveScene {
public:
    explicit SaveScene(Situation s) : situation_(s) {
        QFile::setPermissions(dir_.path(), QFile::Permissions(0x7777));  // "nobody" works in it too
        path_ = dir_.filePath(QStringLiteral("order.out"));
        switch (s) {
        case Situation::NewFile:
        case Situation::FullDiskNewName:
            break;
        case Situation::MissingFolder:
            path_ = dir_.filePath(QStringLiteral("gone/order.out"));
            break;
        case Situation::FolderOfThatName:
            QDir(dir_.path()).mkdir(QStringLiteral("order.out"));
            break;
        case Situation::ReplacesFile:
        case Situation::FullDisk:
            putOldFile(QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup);
            break;
        case Situation::HardLink:
            putOldFile(QFile::ReadOwner | QFile::WriteOwner);
            link_ = dir_.filePath(QStringLiteral("other name"));
            if (::link(QFile::encodeName(path_).constData(), QFile::encodeName(link_).constData()) != 0)
                qFatal("no hard link");
            break;
        case Situation::OnlyFileWritable:
        case Situation::FullDiskInPlace:
        case Situation::ReadOnlyFolder: {
            const QFile::Permissions everyone = s == Situation::ReadOnlyFolder ? readAll() : readWriteAll();
            putOldFile(everyone);
            QFile::setPermissions(dir_.path(),
                                  readAll() | QFile::ExeOwner | QFile::ExeGroup | QFile::ExeOther);
            break;
        }
        }
    }
    ~SaveScene() { QFile::setPermissions(dir_.path(), QFile::Permissions(0x7777)); }
    SaveScene(const SaveScene&) = delete;
    SaveScene& operator=(const SaveScene&) = delete;

    const QString& path() const { return path_; }
    bool hadOldFile() const { return !old_.isNull(); }

    // Runs the save with the situation's fault in force.
    void save(const std::function<void()>& act) const {
        std::optional<OrdinaryUser> user;
        if (situation_ == Situation::OnlyFileWritable || situation_ == Situation::ReadOnlyFolder ||
            situation_ == Situation::FullDiskInPlace) {
            user.emplace();
            HELPER_VERIFY(user->active());
        }
#ifdef Q_OS_LINUX
        std::optional<FileSizeLimit> limit;
        if (situation_ == Situation::FullDisk || situation_ == Situation::FullDiskNewName ||
            situation_ == Situation::FullDiskInPlace) {
            limit.emplace(1024);
            HELPER_VERIFY(limit->active());
        }
#endif
        act();
    }

    // What is on disk afterwards: where the save succeeded, the new contents (as `isNew` judges
    // them) under the name, with the old file's permissions; where it failed, the old file byte
    // for byte (unless it was being written in place), or no file at all. Never a temporary file
    // left behind.
    void verify(bool saved, const std::function<bool(const QByteArray&)>& isNew) const {
        const QByteArray now = read(path_);
        if (saved) {
            HELPER_VERIFY2(isNew(now), now.left(200).constData());
            if (hadOldFile())
                HELPER_COMPARE(QFile::permissions(path_), oldPermissions_);
        } else if (situation_ == Situation::FolderOfThatName) {
            HELPER_VERIFY(QFileInfo(path_).isDir());
        } else if (situation_ == Situation::FullDiskInPlace) {
            HELPER_VERIFY(QFileInfo(path_).isFile());
        } else if (hadOldFile()) {
            HELPER_COMPARE(now, old_);
        } else {
            HELPER_VERIFY(!QFileInfo::exists(path_));
        }
        if (situation_ == Situation::HardLink)
            HELPER_COMPARE(read(link_), old_);
        QStringList expected;
        if (situation_ == Situation::MissingFolder)
            HELPER_VERIFY(!QFileInfo::exists(QFileInfo(path_).path()));
        else if (saved || hadOldFile() || situation_ == Situation::FolderOfThatName)
            expected << QFileInfo(path_).fileName();
        if (!link_.isEmpty())
            expected << QFileInfo(link_).fileName();
        expected.sort();
        HELPER_COMPARE(
            QDir(dir_.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden, QDir::Name),
            expected);
    }

private:
    static QFile::Permissions readAll() {
        return QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther;
    }
    static QFile::Permissions readWriteAll() {
        return readAll() | QFile::WriteOwner | QFile::WriteGroup | QFile::WriteOther;
    }
    static QByteArray read(const QString& path) {
        QFile f(path);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
    void putOldFile(QFile::Permissions permissions) {
        old_ = QByteArray("last week's order\r\n");
        QFile f(path_);
        if (!f.open(QIODevice::WriteOnly) || f.write(old_) != old_.size())
            qFatal("no old file");
        f.close();
        QFile::setPermissions(path_, permissions);
        oldPermissions_ = QFile::permissions(path_);
    }

    Situation situation_;
    QTemporaryDir dir_;
    QString path_;
    QString link_;
    QByteArray old_;
    QFile::Permissions oldPermissions_;
};

}  // namespace tovimar::testing
