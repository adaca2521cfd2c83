// Reading a selection file from disk, for the window and the command line alike: the selection,
// or the first problem as one sentence for people.
#pragma once

#include "core/output/selection_file.h"

#include <QString>
#include <optional>

namespace tovimar {

struct SelectionFromFile {
    std::optional<Selection> selection;
    QString problem;  // set exactly when there is no selection
};

// A named pipe, a device or a folder is refused at once, never waited on. Reads at most one byte
// past the size limit, so that a huge file is refused, by its real size, without being loaded.
SelectionFromFile ReadSelectionFile(const QString& path);

}  // namespace tovimar
