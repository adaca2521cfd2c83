// Where a save's name leads: its symbolic links followed, and what is found at the end. The kind
// decides how the file is saved (see SaveFile).
#pragma once

#include <QString>

namespace tovimar {

// What a name leads to once its symbolic links are followed.
struct SaveTarget {
    enum class Kind {
        Missing,     // nothing there yet: a new file
        Regular,     // a file, replaced whole
        Folder,      // refused
        Stream,      // a named pipe, a device or a socket: written to, never replaced
        Descriptor,  // a name of one of this process's open descriptors: written through it
        Circle,      // links that lead round in a circle: refused
    };
    Kind kind = Kind::Missing;
    QString file;  // the name at the end of the links
    bool namedPipe = false;
    int descriptor = -1;
};

// Follows `path`'s links (up to the kernel's own limit of 40) and says what it leads to.
SaveTarget ResolveSaveTarget(const QString& path);

}  // namespace tovimar
