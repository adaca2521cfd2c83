#include "core/catalogue/order_lines.h"

namespace tovimar {

std::string_view SectionHeading(OrderTable t) {
    for (const OrderSection& s : kOrderSections)
        if (s.table == t)
            return s.heading;
    return {};
}

}  // namespace tovimar
