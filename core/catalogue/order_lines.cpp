#include "core/catalogue/order_lines.h"

namespace tovimar {

std::string_view SectionHeading(OrderTable t) {
    for (const OrderSection& s : kOrderSections)
        if (s.table == t)
            return s.heading;
    return {};
}

std::vector<OrderLine> OrderLines(const Catalogue& cat) {
    std::vector<OrderLine> lines;
    ForEachOrderLine(cat, [&lines](const OrderLine& line) { lines.push_back(line); });
    return lines;
}

}  // namespace tovimar
