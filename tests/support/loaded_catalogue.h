// An order as the program has it after start-up: nothing ticked, nothing ordered. The products
// themselves are the constant TheCatalogue().
#pragma once

#include "core/order/order.h"

namespace tovimar::testing {

inline Order loaded() {
    return Order{};
}

}  // namespace tovimar::testing
