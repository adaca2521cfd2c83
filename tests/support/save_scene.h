// The situations a save meets, each set up in a fresh folder: the same table for every writer,
// called directly, through the window and by the command line. A scene makes the folder and the
// old file, puts the fault in force only while the save runs, and checks afterwards what is on
// disk.
#pragma once

#include "gui/output/safe_file.h"
#include "tests/support/file_size_limit.h"
#include "tests/support/helper_checks.h"
#include "tests/support/ordinary_user.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>
#include <atomic>
#include <cstdio>
#include <fcntl.h>
#include <functional>
#include <optional>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <thread>
#include <unistd.h>
#include <utility>

namespace tovimar::testing {

enum class Situation {
    NewFile,             // a new name in a folder that can be written
    ReplacesFile,        // an existing file, readable by its owner's group only, of another owner
                         // and group where the test runs as root: it keeps all three
    HardLink,            // the target has a second name, which keeps the old contents
    SymLink,             // the name is a link into another folder: the link stays, its file is saved
    LinkToLockedFolder,  // a link to a shared file in a folder the user may not change
    OnlyFileWritable,    // a shared file in a folder the user may not change: written in place
    MissingFolder,
    FolderOfThatName,
    ReadOnlyFolder,   // neither the folder nor the file can be written
    LinkLoop,         // two links that lead to each other
    NamedPipe,        // a FIFO that a program reads: it gets the bytes, and stays a FIFO
    NullDevice,       // a device like /dev/null: it stays a device
    FullDevice,       // a device like /dev/full, whose every write fails
    AppendedStdout,   // /dev/stdout, appended to a log: the log keeps its lines
    OpenDescriptor,   // /proc/self/fd/N, open on a file at its end: written there
    FullDisk,         // the write is cut short; an old file is there
    FullDiskNewName,  // the write is cut short; no file was there
    FullDiskInPlace,  // the write in place is cut short: the old file cannot be kept
};

struct SituationRow {
    const char* name;
    Situation situation;
    const char* reason;  // part of the failure's reason; null where the save succeeds
    SaveFailure::OldFile oldFile = SaveFailure::OldFile::None;  // what a failure says of the old file
    bool inPlace = false;  // the window writes the file in place here; a script is refused instead

    // What a script meets: never a write in place, so the old file stays as it was.
    SituationRow forScript() const {
        return inPlace
                   ? SituationRow{name, situation, "cannot be written to", SaveFailure::OldFile::Unchanged}
                   : *this;
    }
};

using Old = SaveFailure::OldFile;
inline const SituationRow kSituations[] = {
    {"new file", Situation::NewFile, nullptr},
    {"replaces a file", Situation::ReplacesFile, nullptr},
    {"hard link", Situation::HardLink, nullptr},
    {"symbolic link", Situation::SymLink, nullptr},
    {"link into a locked folder", Situation::LinkToLockedFolder, nullptr, Old::None, true},
    {"only the file writable", Situation::OnlyFileWritable, nullptr, Old::None, true},
    {"missing folder", Situation::MissingFolder, "does not exist", Old::None},
    {"folder of that name", Situation::FolderOfThatName, "There is a folder of that name", Old::None},
    {"read-only folder", Situation::ReadOnlyFolder, "cannot be written to", Old::Unchanged},
    {"link loop", Situation::LinkLoop, "leads round in a circle", Old::None},
    {"named pipe", Situation::NamedPipe, nullptr},
    {"null device", Situation::NullDevice, nullptr},
    {"full device", Situation::FullDevice, "no space left on device", Old::None},
    {"standard output appended to a log", Situation::AppendedStdout, nullptr},
    {"open descriptor", Situation::OpenDescriptor, nullptr},
#ifdef Q_OS_LINUX  // a full disk is a file-size limit, set the Linux way
    {"full disk", Situation::FullDisk, "Writing the file failed", Old::Unchanged},
    {"full disk, new name", Situation::FullDiskNewName, "Writing the file failed", Old::None},
    {"full disk, written in place", Situation::FullDiskInPlace, "Writing the file failed", Old::Damaged,
     true},
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
    explicit SaveScene(Situation s, SaveFor who = SaveFor::Window) : situation_(s), who_(who) {
        QFile::setPermissions(dir_.path(), QFile::Permissions(0x7777));  // "nobody" works in it too
        path_ = dir_.filePath(QStringLiteral("order.out"));
        written_ = path_;
        switch (s) {
        case Situation::NewFile:
        case Situation::FullDiskNewName:
            break;
        case Situation::MissingFolder:
            path_ = written_ = dir_.filePath(QStringLiteral("gone/order.out"));
            break;
        case Situation::FolderOfThatName:
            QDir(dir_.path()).mkdir(QStringLiteral("order.out"));
            break;
        case Situation::ReplacesFile:
        case Situation::FullDisk:
            putOldFile(QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup);
            // Root saves a file of another: it stays theirs (nobody:users).
            if (s == Situation::ReplacesFile && geteuid() == 0 &&
                ::chown(QFile::encodeName(written_).constData(), 65534, 100) != 0)
                qFatal("no chown");
            break;
        case Situation::HardLink:
            putOldFile(QFile::ReadOwner | QFile::WriteOwner);
            others_ << QStringLiteral("other name");
            if (::link(QFile::encodeName(path_).constData(),
                       QFile::encodeName(dir_.filePath(others_[0])).constData()) != 0)
                qFatal("no hard link");
            break;
        case Situation::SymLink:
        case Situation::LinkToLockedFolder: {
            const QString folder =
                s == Situation::SymLink ? QStringLiteral("real") : QStringLiteral("locked");
            others_ << folder;
            QDir(dir_.path()).mkdir(folder);
            written_ = dir_.filePath(folder + QStringLiteral("/order.txt"));
            putOldFile(s == Situation::SymLink ? QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup
                                               : readWriteAll());
            links_ << link(folder + QStringLiteral("/order.txt"), path_);
            if (s == Situation::LinkToLockedFolder)
                QFile::setPermissions(dir_.filePath(folder), readAll() | executeAll());
            break;
        }
        case Situation::LinkLoop:
            others_ << QStringLiteral("other");
            links_ << link(QStringLiteral("other"), path_)
                   << link(QStringLiteral("order.out"), dir_.filePath(QStringLiteral("other")));
            break;
        case Situation::NamedPipe:
            if (::mkfifo(QFile::encodeName(path_).constData(), 0666) != 0)
                qFatal("no FIFO");
            break;
        case Situation::NullDevice:
        case Situation::FullDevice:
            path_ = device(s == Situation::NullDevice ? 3 : 7);
            break;
        case Situation::AppendedStdout:
            path_ = QStringLiteral("/dev/stdout");
            written_ = dir_.filePath(QStringLiteral("orders.log"));
            putOldFile(QFile::ReadOwner | QFile::WriteOwner);
            break;
        case Situation::OpenDescriptor:
            putOldFile(QFile::ReadOwner | QFile::WriteOwner);
            // Inherited by a program the test starts, which names its own descriptor the same.
            descriptor_ = ::open(QFile::encodeName(written_).constData(), O_WRONLY);
            if (descriptor_ < 0 || ::lseek(descriptor_, 0, SEEK_END) < 0)
                qFatal("no descriptor");
            path_ = QStringLiteral("/proc/self/fd/%1").arg(descriptor_);
            break;
        case Situation::OnlyFileWritable:
        case Situation::FullDiskInPlace:
        case Situation::ReadOnlyFolder: {
            const QFile::Permissions everyone = s == Situation::ReadOnlyFolder ? readAll() : readWriteAll();
            putOldFile(everyone);
            QFile::setPermissions(dir_.path(), readAll() | executeAll());
            break;
        }
        }
        if (hadOldFile()) {
            oldOwner_ = QFileInfo(written_).ownerId();
            oldGroup_ = QFileInfo(written_).groupId();
        }
    }
    ~SaveScene() {
        if (descriptor_ >= 0)
            ::close(descriptor_);
        QFile::setPermissions(dir_.filePath(QStringLiteral("locked")), QFile::Permissions(0x7777));
        QFile::setPermissions(dir_.path(), QFile::Permissions(0x7777));
    }
    SaveScene(const SaveScene&) = delete;
    SaveScene& operator=(const SaveScene&) = delete;

    const QString& path() const { return path_; }
    bool hadOldFile() const { return !old_.isNull(); }

    // Runs the save with the situation's fault in force: another user, a full disk, a program
    // reading the pipe, standard output appended to the log.
    void save(const std::function<void()>& act) {
        std::optional<OrdinaryUser> user;
        if (situation_ == Situation::OnlyFileWritable || situation_ == Situation::ReadOnlyFolder ||
            situation_ == Situation::FullDiskInPlace || situation_ == Situation::LinkToLockedFolder) {
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
        std::atomic<bool> read{false};
        std::thread reader;
        if (situation_ == Situation::NamedPipe)
            reader = std::thread([this, &read] {
                QFile pipe(path_);
                if (pipe.open(QIODevice::ReadOnly))
                    received_ = pipe.readAll();
                read = true;
            });
        int standardOutput = -1;
        if (situation_ == Situation::AppendedStdout) {
            std::fflush(stdout);
            standardOutput = ::dup(1);
            const int log = ::open(QFile::encodeName(written_).constData(), O_WRONLY | O_APPEND);
            HELPER_VERIFY(standardOutput >= 0 && log >= 0 && ::dup2(log, 1) == 1);
            ::close(log);
        }
        act();
        if (standardOutput >= 0) {
            std::fflush(stdout);
            ::dup2(standardOutput, 1);
            ::close(standardOutput);
        }
        // A save that never opened the pipe leaves the reader waiting for a writer: be one.
        while (reader.joinable() && !read) {
            const int fd = ::open(QFile::encodeName(path_).constData(), O_WRONLY | O_NONBLOCK);
            if (fd >= 0)
                ::close(fd);
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        if (reader.joinable())
            reader.join();
    }

    // What is on disk afterwards: where the save succeeded, the new contents (as `isNew` judges
    // them) where the name leads (after the old contents, for a descriptor; to the reader, for a
    // pipe), with the old file's permissions, owner and group; where it failed, the old file byte
    // for byte (unless it was being written in place), or no file at all. Links stay links, pipes
    // and devices stay what they were, and no temporary file is left behind.
    void verify(bool saved, const std::function<bool(const QByteArray&)>& isNew) const {
        const QByteArray now = read(written_);
        const bool appended =
            situation_ == Situation::AppendedStdout || situation_ == Situation::OpenDescriptor;
        if (situation_ == Situation::NamedPipe) {
            HELPER_VERIFY2(!saved || isNew(received_), received_.left(200).constData());
            HELPER_VERIFY(S_ISFIFO(mode(path_)));
        } else if (situation_ == Situation::NullDevice || situation_ == Situation::FullDevice) {
            HELPER_VERIFY(S_ISCHR(mode(path_)));
        } else if (saved && appended) {
            HELPER_VERIFY2(now.startsWith(old_) && isNew(now.mid(old_.size())), now.left(200).constData());
        } else if (saved) {
            HELPER_VERIFY2(isNew(now), now.left(200).constData());
            if (hadOldFile()) {
                HELPER_COMPARE(QFile::permissions(written_), oldPermissions_);
                HELPER_COMPARE(QFileInfo(written_).ownerId(), oldOwner_);
                HELPER_COMPARE(QFileInfo(written_).groupId(), oldGroup_);
            }
        } else if (situation_ == Situation::FolderOfThatName) {
            HELPER_VERIFY(QFileInfo(path_).isDir());
        } else if (situation_ == Situation::FullDiskInPlace && who_ == SaveFor::Window) {
            HELPER_VERIFY(QFileInfo(path_).isFile());
        } else if (hadOldFile()) {
            HELPER_COMPARE(now, old_);
        } else {
            HELPER_VERIFY(!QFileInfo::exists(path_));
        }
        if (situation_ == Situation::HardLink)
            HELPER_COMPARE(read(dir_.filePath(others_[0])), old_);
        for (const auto& [name, target] : links_)
            HELPER_COMPARE(QFileInfo(name).symLinkTarget(), QFileInfo(target).absoluteFilePath());

        QStringList expected = others_;
        const QFileInfo target(path_);
        if (situation_ == Situation::MissingFolder)
            HELPER_VERIFY(!QFileInfo::exists(target.path()));
        else if (target.path() == dir_.path() &&
                 (saved || hadOldFile() || QFileInfo(path_).isSymLink() || QFileInfo::exists(path_)))
            expected << target.fileName();
        if (appended)
            expected << QFileInfo(written_).fileName();
        expected.sort();
        HELPER_COMPARE(entries(dir_.path()), expected);
        for (const QString& folder : {QStringLiteral("real"), QStringLiteral("locked")})
            if (others_.contains(folder))
                HELPER_COMPARE(entries(dir_.filePath(folder)), QStringList{QStringLiteral("order.txt")});
    }

private:
    static QFile::Permissions readAll() {
        return QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther;
    }
    static QFile::Permissions executeAll() {
        return QFile::ExeOwner | QFile::ExeGroup | QFile::ExeOther;
    }
    static QFile::Permissions readWriteAll() {
        return readAll() | QFile::WriteOwner | QFile::WriteGroup | QFile::WriteOther;
    }
    static QByteArray read(const QString& path) {
        if (!S_ISREG(mode(path)))
            return QByteArray();  // a pipe would wait for a writer
        QFile f(path);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
    static mode_t mode(const QString& path) {
        struct stat st {};
        return ::stat(QFile::encodeName(path).constData(), &st) == 0 ? st.st_mode : 0;
    }
    static QStringList entries(const QString& folder) {
        return QDir(folder).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System,
                                      QDir::Name);
    }
    // The link `name` to `target` (relative to the link's folder); returns both, to check later.
    static std::pair<QString, QString> link(const QString& target, const QString& name) {
        if (::symlink(QFile::encodeName(target).constData(), QFile::encodeName(name).constData()) != 0)
            qFatal("no symbolic link");
        return {name, QFileInfo(name).dir().filePath(target)};
    }
    // A device node of the memory driver (3 is null, 7 is full) in the folder where the test may
    // make one, so that a save that replaced it would replace nothing of the system's; else the
    // system's own.
    QString device(unsigned minor) {
        const QByteArray name = QFile::encodeName(path_);
        if (::mknod(name.constData(), S_IFCHR | 0666, makedev(1, minor)) == 0) {
            const int fd = ::open(name.constData(), O_WRONLY);  // not on a folder mounted nodev
            if (fd >= 0) {
                ::close(fd);
                return path_;
            }
            ::unlink(name.constData());
        }
        return minor == 3 ? QStringLiteral("/dev/null") : QStringLiteral("/dev/full");
    }
    void putOldFile(QFile::Permissions permissions) {
        old_ = QByteArray("last week's order\r\n");
        QFile f(written_);
        if (!f.open(QIODevice::WriteOnly) || f.write(old_) != old_.size())
            qFatal("no old file");
        f.close();
        QFile::setPermissions(written_, permissions);
        oldPermissions_ = QFile::permissions(written_);
    }

    Situation situation_;
    SaveFor who_;
    QTemporaryDir dir_;
    QString path_;        // the name the save is given
    QString written_;     // the file the bytes end up in
    QStringList others_;  // the other names in the folder, which stay
    QList<std::pair<QString, QString>> links_;
    QByteArray old_;
    QFile::Permissions oldPermissions_;
    uint oldOwner_ = 0;
    uint oldGroup_ = 0;
    int descriptor_ = -1;
    QByteArray received_;  // what the program reading the pipe got
};

}  // namespace tovimar::testing
