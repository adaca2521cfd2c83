#include "core/selection/result_lists.h"

namespace tovimar {

namespace {

// Writes line n of `lines`, reusing the string already there.
void put(std::vector<std::string>& lines, std::size_t n, std::string_view number, std::string_view name) {
    if (n == lines.size())
        lines.emplace_back();
    ListLine(lines[n], number, name);
}

}  // namespace

void ListLine(std::string& line, std::string_view number, std::string_view name) {
    // Two tabs keep short numbers in the same column as the long ones, which take one.
    line.assign(number);
    line.append(number.size() > 8 ? "\t" : "\t\t");
    line.append(name);
}

void CalibListLines(const Catalogue& cat, std::vector<std::string>& lines) {
    std::size_t n = 0;
    for (const mCalib& c : cat.Calibs)
        if (InOrder(c))
            put(lines, n++, OrderedNo(c), c.Name);
    lines.resize(n);
}

void CtrlListLines(const Catalogue& cat, std::vector<std::string>& lines) {
    std::size_t n = 0;
    for (const mCTRL& c : cat.Ctrls)
        if (InOrder(c))
            put(lines, n++, OrderedNo(c), c.Name);
    lines.resize(n);
}

}  // namespace tovimar
