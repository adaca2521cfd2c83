#include "core/output/order_file.h"

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
        if (InOrder(a))
            line(out, {OrderedNo(a), OrderedName(a)});
    line(out, {""});
    line(out, {"CALIBRATORS"});
    for (const mCalib& c : cat.Calibs)
        if (InOrder(c))
            line(out, {OrderedNo(c), c.Name, OrderedPack(c)});
    line(out, {""});
    line(out, {"CONTROLS"});
    for (const mCTRL& c : cat.Ctrls)
        if (InOrder(c))
            line(out, {OrderedNo(c), c.Name});
    return out;
}

}  // namespace tovimar
