#include "core/selection/result_lists.h"

#include "core/catalogue/order_lines.h"

#include <charconv>

namespace tovimar {

void ListLine(std::string& line, std::string_view number, std::string_view name, int quantity) {
    // Two tabs keep short numbers in the same column as the long ones, which take one.
    line.assign(number);
    line.append(number.size() > 8 ? "\t" : "\t\t");
    // The count opens the name's column, as on paper: in front of the number it would push some
    // numbers ("12 x 7190") to just short of a tab stop and run them into their names.
    if (quantity > 1) {
        char digits[12];
        const auto [end, ec] = std::to_chars(digits, digits + sizeof digits, quantity);
        line.append(digits, ec == std::errc{} ? end : digits).append(" x ");
    }
    line.append(name);
}

namespace {

const OrderPlan kOnes;

void sectionLines(const Catalogue& cat, const OrderPlan& plan, OrderTable t,
                  std::vector<std::string>& lines) {
    const bool ones = !plan.HasTyped() && !plan.HasFigures();
    SectionTexts(cat, t, lines, [&](std::string& line, const OrderLine& l) {
        ListLine(line, l.number, l.name, ones ? 1 : plan.QuantityOf(l).quantity);
    });
}

}  // namespace

void CalibListLines(const Catalogue& cat, std::vector<std::string>& lines) {
    sectionLines(cat, kOnes, OrderTable::Calibs, lines);
}

void CtrlListLines(const Catalogue& cat, std::vector<std::string>& lines) {
    sectionLines(cat, kOnes, OrderTable::Ctrls, lines);
}

void CalibListLines(const Catalogue& cat, const OrderPlan& plan, std::vector<std::string>& lines) {
    sectionLines(cat, plan, OrderTable::Calibs, lines);
}

void CtrlListLines(const Catalogue& cat, const OrderPlan& plan, std::vector<std::string>& lines) {
    sectionLines(cat, plan, OrderTable::Ctrls, lines);
}

}  // namespace tovimar
