#include "gui/output/order_files.h"

#include "core/output/order_export.h"
#include "core/output/order_file.h"

namespace tovimar {

namespace {

QByteArray bytesOf(const std::string& text) {
    return QByteArray(text.data(), qsizetype(text.size()));
}

}  // namespace

std::optional<SaveFailure> WriteOrderList(const Order& order, const QString& path, SaveFor who) {
    return SaveFile(QStringLiteral("The order list"), path, bytesOf(OrderListText(order)), who);
}

std::optional<SaveFailure> WriteOrderCsv(const Order& order, const QString& path, SaveFor who) {
    return SaveFile(QStringLiteral("The order"), path, bytesOf(OrderCsv(order)), who);
}

}  // namespace tovimar
