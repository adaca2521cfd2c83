#include "core/output/order_file.h"

#include "core/order/order.h"

#include <string_view>

namespace tovimar {

namespace {

void line(std::string& out, std::initializer_list<std::string_view> fields) {
    bool first = true;
    for (std::string_view f : fields) {
        if (!first)
            out += ", ";
        out += f;
        first = false;
    }
    out += "\r\n";
}

}  // namespace

std::string OrderListText(const Order& order) {
    std::string out;
    out.reserve(4096);
    for (const OrderSection& section : kOrderSections) {
        if (&section != &kOrderSections.front())
            line(out, {""});  // between sections only: nothing follows the last
        line(out, {section.heading});
        ForEachOrderedLine(order, section.table, [&out](const OrderLine& l) {
            // A line of one is written as it always was; more begin with the count.
            if (l.quantity > 1)
                out.append(std::to_string(l.quantity)).append(" x ");
            // A calibrator's line always has its pack field, empty or not.
            if (l.section == OrderTable::Calibs)
                line(out, {l.number, l.name, l.pack});
            else
                line(out, {l.number, l.name});
        });
    }
    return out;
}

}  // namespace tovimar
