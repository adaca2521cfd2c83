#include "core/selection/result_lists.h"

#include "core/catalogue/order_lines.h"

namespace tovimar {

void ListLine(std::string& line, std::string_view number, std::string_view name) {
    // Two tabs keep short numbers in the same column as the long ones, which take one.
    line.assign(number);
    line.append(number.size() > 8 ? "\t" : "\t\t");
    line.append(name);
}

void CalibListLines(const Catalogue& cat, std::vector<std::string>& lines) {
    SectionTexts(cat, OrderTable::Calibs, lines,
                 [](std::string& line, const OrderLine& l) { ListLine(line, l.number, l.name); });
}

void CtrlListLines(const Catalogue& cat, std::vector<std::string>& lines) {
    SectionTexts(cat, OrderTable::Ctrls, lines,
                 [](std::string& line, const OrderLine& l) { ListLine(line, l.number, l.name); });
}

}  // namespace tovimar
