#include "core/selection/result_lists.h"

#include "core/order/order.h"

#include <charconv>

namespace tovimar {

void ListLine(std::string& line, std::string_view number, std::string_view name, int quantity) {
    // Two tabs keep short numbers in the same column as the long ones, which take one.
    line.assign(number);
    line.append(number.size() > 8 ? "\t" : "\t\t");
    // The count opens the name's column, as on paper: in front of the number it would push some
    // numbers ("12 x 7190") to just short of a tab stop and run them into their names.
    if (quantity == 0) {
        line.append("in stock: ");  // in the order, but the shelf has it: nothing is ordered
    } else if (quantity > 1) {
        char digits[12];
        const auto [end, ec] = std::to_chars(digits, digits + sizeof digits, quantity);
        line.append(digits, ec == std::errc{} ? end : digits).append(" x ");
    }
    line.append(name);
}

namespace {

void sectionLines(const Order& order, OrderTable t, std::vector<std::string>& lines) {
    SectionTexts(order, t, lines, [&](std::string& line, const OrderLine& l) {
        ListLine(line, l.number, l.name, l.quantity);
    });
}

}  // namespace

void CalibListLines(const Order& order, std::vector<std::string>& lines) {
    sectionLines(order, OrderTable::Calibs, lines);
}

void CtrlListLines(const Order& order, std::vector<std::string>& lines) {
    sectionLines(order, OrderTable::Ctrls, lines);
}

}  // namespace tovimar
