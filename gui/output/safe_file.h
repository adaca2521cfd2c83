// Saving a file so that a failure never costs the user the old one. Every file the program writes
// goes through here: the new contents go to a temporary file beside the target, every write and
// the flush are checked, and only a complete file takes the old one's place, by renaming. A
// failure comes back as a value that says what, where and why; nothing is reported as saved that
// is not on disk. Only a regular file is ever replaced: a pipe, a device or an open descriptor is
// written to as a stream, as a shell's ">" would.
#pragma once

#include <QByteArray>
#include <QString>
#include <functional>
#include <optional>

class QIODevice;

namespace tovimar {

struct SaveFailure {
    // What became of a file that already had the target's name.
    enum class OldFile {
        None,       // there was none, and none is left behind
        Unchanged,  // it is byte for byte as it was
        Damaged,    // it could only be written in place (see SaveFile) and may now be incomplete
    };
    QString what;    // what could not be saved, as a sentence begins: "The order list"
    QString path;    // the full path of the target
    QString reason;  // one sentence, starting with a capital letter and ending with a full stop
    OldFile oldFile = OldFile::None;
};

// Who saves. The window may write a file in place where its folder forbids the safe replace, and
// says so if that fails; a script is never left a damaged file, and it waits for a reader on a
// named pipe as a shell does, where the window gives up after a few seconds.
enum class SaveFor { Window, Script };

// Fills the open device with the file's contents. Returns an empty text, or the reason (one
// sentence) when it could not produce them. It need not check its writes: the device does, and a
// failed write fails the save whatever the writer goes on to do.
using ContentsWriter = std::function<QString(QIODevice& device)>;

// Saves `bytes`, or whatever `write` puts on the device, as `path`. Empty on success.
//
// Where the target's folder cannot be written but an existing target file can (a shared file in
// a folder the user may not change), renaming is impossible: the window writes the file in place,
// still checking every write, and a failure then reports the old file as Damaged; a script is
// refused. The target keeps its permissions and group, and its owner where the process may set
// it. A target that is a hard link is replaced by a new file: the other names keep the old
// contents. A symbolic link stays a link: the file it leads to is saved (in that file's folder);
// a chain of links that leads round in a circle is refused. A FIFO, a device or a name of an open
// descriptor (/dev/stdout, /dev/fd/N, /proc/self/fd/N) is written as a stream: a descriptor's
// own offset and append mode are kept, so "--output /dev/stdout >> log" appends.
[[nodiscard]] std::optional<SaveFailure> SaveFile(const QString& what, const QString& path,
                                                  const QByteArray& bytes, SaveFor who = SaveFor::Window);
[[nodiscard]] std::optional<SaveFailure> SaveFile(const QString& what, const QString& path,
                                                  const ContentsWriter& write, SaveFor who = SaveFor::Window);

// The message for the user, the same form for every file: what could not be saved, the full path,
// the reason, and what was kept. Only the window's message speaks of the order on screen.
QString SaveFailureMessage(const SaveFailure& failure, SaveFor who = SaveFor::Window);

// Whether two names lead to the same file (the same device and inode, however each is named:
// links, hard links, /dev/stdout). False where either does not exist.
bool NamesSameFile(const QString& a, const QString& b);

// The folder a save dialog starts in: the program's folder where it can be written, else the
// documents folder where it exists and can be written, else the home folder. Never the working
// directory, which for a program started from a menu may be "/".
QString ChooseStartFolder(const QString& programFolder, const QString& documentsFolder,
                          const QString& homeFolder);

}  // namespace tovimar
