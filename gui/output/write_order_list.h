// Saving the order-list file.
#pragma once

#include "core/catalogue/records.h"
#include "gui/output/safe_file.h"

namespace tovimar {

// Writes the order's file bytes to `path` through SaveFile: either the whole new file is in place
// or the old one (if any) is untouched. Empty on success.
[[nodiscard]] std::optional<SaveFailure> WriteOrderList(const Catalogue& cat, const QString& path);

}  // namespace tovimar
