// The result-list lines and reasons as whole values, for comparing in tests.
#pragma once

#include "core/order/order.h"
#include "core/selection/provenance.h"
#include "core/selection/result_lists.h"

#include <string>
#include <vector>

namespace tovimar::testing {

inline std::string listLine(std::string_view number, std::string_view name, int quantity = 1) {
    std::string line;
    ListLine(line, number, name, quantity);
    return line;
}

inline std::vector<std::string> calibLines(const Order& cat) {
    std::vector<std::string> lines;
    CalibListLines(cat, lines);
    return lines;
}

inline std::vector<std::string> ctrlLines(const Order& cat) {
    std::vector<std::string> lines;
    CtrlListLines(cat, lines);
    return lines;
}

inline std::string provenanceText(const Provenance& p, OrderTable t, int slot) {
    std::string out;
    ProvenanceText(out, p, t, slot);
    return out;
}

}  // namespace tovimar::testing
