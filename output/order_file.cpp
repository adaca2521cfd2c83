#include "output/order_file.h"

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

std::string OrderListText(const Catalogue& cat) {
    std::string out;
    out.reserve(4096);
    line(out, {"REAGENTS"});
    for (const mAssay& a : cat.Assays)
        if (a.Selected == 1) {
            const bool alt = a.SizeChoice == 2;
            line(out, {alt ? a.OrderNo2 : a.OrderNo1, alt ? a.Name2 : a.Name1});
        }
    line(out, {""});
    line(out, {"CALIBRATORS"});
    for (const mCalib& c : cat.Calibs)
        if (c.Selected == 1) {
            const bool alt = c.SizeChoice == 2;
            line(out, {alt ? c.OrderNo2 : c.OrderNo1, c.Name, alt ? c.Pack2 : c.Pack1});
        }
    line(out, {""});
    line(out, {"CONTROLS"});
    for (const mCTRL& c : cat.Ctrls)
        if (c.Selected == 1)
            line(out, {c.OrderNo, c.Name});
    return out;
}

}  // namespace tovimar
