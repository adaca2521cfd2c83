// The copy of the work left unsaved: a selection file with everything, kept in the user's data
// folder while the window holds work not saved in a file, so that no way of ending the program
// (X, a crash, a power cut) loses what the lab typed. Each window keeps a copy of its own, under a
// lock while the program runs, so two programs running at once never overwrite each other's, and
// a start finds only the copies of programs that have ended.
#pragma once

#include <QDateTime>
#include <QLockFile>
#include <QString>
#include <memory>
#include <optional>

namespace tovimar {

class RecoveryCopy {
public:
    // Copies live in `folder`; an empty folder keeps none (the tests' windows, unless they ask).
    explicit RecoveryCopy(QString folder);
    ~RecoveryCopy();
    RecoveryCopy(const RecoveryCopy&) = delete;
    RecoveryCopy& operator=(const RecoveryCopy&) = delete;

    // The user's recovery folder: "recovery" in the program's data folder.
    static QString DefaultFolder();

    // Keeps `selection` (a selection file's bytes) as this window's copy, the work of `file` (the
    // selection file it belongs to; empty for none). Written whole or not at all.
    bool Keep(const QByteArray& selection, const QString& file);
    // Nothing left to keep: this window's copy goes.
    void Remove();
    bool Kept() const;

    // A copy left by a program that has ended: its path, the selection file its work belongs to,
    // and when it was last written.
    struct Left {
        QString path;
        QString file;
        QDateTime when;
    };
    // The newest such copy in the folder; none where every copy belongs to a running program.
    std::optional<Left> FindLeft() const;
    static void Discard(const Left& left);

private:
    QString folder_;
    QString mine_;  // this window's copy, named for the process and the window
    std::unique_ptr<QLockFile> lock_;
};

}  // namespace tovimar
