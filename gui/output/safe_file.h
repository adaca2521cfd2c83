// Saving a file so that a failure never costs the user the old one. Every file the program writes
// goes through here: the new contents go to a temporary file beside the target, every write and
// the flush are checked, and only a complete file takes the old one's place, by renaming. A
// failure comes back as a value that says what, where and why; nothing is reported as saved that
// is not on disk.
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

// Fills the open device with the file's contents. Returns an empty text, or the reason (one
// sentence) when it could not produce them. It need not check its writes: the device does, and a
// failed write fails the save whatever the writer goes on to do.
using ContentsWriter = std::function<QString(QIODevice& device)>;

// Saves `bytes`, or whatever `write` puts on the device, as `path`. Empty on success.
//
// Where the target's folder cannot be written but an existing target file can (a shared file in
// a folder the user may not change), renaming is impossible, and the file is written in place,
// still checking every write; a failure then reports the old file as Damaged. The target keeps
// its permissions. A target that is a hard link is replaced by a new file: the other names keep
// the old contents.
[[nodiscard]] std::optional<SaveFailure> SaveFile(const QString& what, const QString& path,
                                                  const QByteArray& bytes);
[[nodiscard]] std::optional<SaveFailure> SaveFile(const QString& what, const QString& path,
                                                  const ContentsWriter& write);

// The message for the user, the same form for every file: what could not be saved, the full path,
// the reason, and what was kept.
QString SaveFailureMessage(const SaveFailure& failure);

// The folder a save dialog starts in: the program's folder where it can be written, else the
// documents folder where it exists and can be written, else the home folder. Never the working
// directory, which for a program started from a menu may be "/".
QString ChooseStartFolder(const QString& programFolder, const QString& documentsFolder,
                          const QString& homeFolder);

}  // namespace tovimar
