// Saving the order-list file.
#pragma once

#include "core/catalogue/records.h"

#include <QString>

namespace tovimar {

// Writes the order's file bytes to `path`, atomically: either the whole new file is in place or
// the old one (if any) is untouched. Returns an empty text on success, else the reason in words.
QString WriteOrderList(const Catalogue& cat, const QString& path);

}  // namespace tovimar
