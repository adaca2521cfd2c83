#include "gui/output/write_order_list.h"

#include "core/output/order_file.h"

namespace tovimar {

std::optional<SaveFailure> WriteOrderList(const Catalogue& cat, const QString& path) {
    return SaveFile(QStringLiteral("The order list"), path, QByteArray::fromStdString(OrderListText(cat)));
}

}  // namespace tovimar
