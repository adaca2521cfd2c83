// The order's text files, the order list and CSV: what a script's export writes as well as the
// window, with nothing of the toolkit but its core.
#pragma once

#include "core/order/order.h"
#include "gui/output/safe_file.h"

#include <QString>
#include <optional>

namespace tovimar {

// Each saved whole through SaveFile. Empty on success.
[[nodiscard]] std::optional<SaveFailure> WriteOrderList(const Order& order, const QString& path,
                                                        SaveFor who = SaveFor::Window);
[[nodiscard]] std::optional<SaveFailure> WriteOrderCsv(const Order& order, const QString& path,
                                                       SaveFor who = SaveFor::Window);

}  // namespace tovimar
