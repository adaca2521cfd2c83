#include "core/selection/result_lists.h"

namespace tovimar {

namespace {

void writeLine(std::string& line, std::string_view number, std::string_view name) {
    // Two tabs keep short numbers in the same column as the long ones, which take one.
    line.assign(number);
    line.append(number.size() > 8 ? "\t" : "\t\t");
    line.append(name);
}

// Writes line n of `lines`, reusing the string already there.
void put(std::vector<std::string>& lines, std::size_t n, std::string_view number, std::string_view name) {
    if (n == lines.size())
        lines.emplace_back();
    writeLine(lines[n], number, name);
}

}  // namespace

std::string ListLine(std::string_view number, std::string_view name) {
    std::string line;
    writeLine(line, number, name);
    return line;
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

std::vector<std::string> CalibListLines(const Catalogue& cat) {
    std::vector<std::string> lines;
    CalibListLines(cat, lines);
    return lines;
}

std::vector<std::string> CtrlListLines(const Catalogue& cat) {
    std::vector<std::string> lines;
    CtrlListLines(cat, lines);
    return lines;
}

}  // namespace tovimar
