// Reading a selection file from disk, for the window and the command line alike: the selection,
// or the first problem as one sentence for people.
#pragma once

#include "core/catalogue/records.h"
#include "core/output/selection_file.h"

#include <QString>
#include <optional>

namespace tovimar {

struct SelectionFromFile {
    std::optional<Selection> selection;
    QString problem;  // set exactly when there is no selection
};

// Reads at most one byte past the size limit, so that a huge file is refused without being loaded.
SelectionFromFile ReadSelectionFile(const QString& path, const Catalogue& cat);

}  // namespace tovimar
