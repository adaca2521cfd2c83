#include "core/output/order_export.h"

#include "core/output/latin1.h"

#include <string_view>

namespace tovimar {

namespace {

// Calls line(section, number, product, pack) for every item in the order, in the order list's order.
template <typename Line>
void forEachOrderLine(const Catalogue& cat, Line&& line) {
    for (const mAssay& a : cat.Assays)
        if (InOrder(a))
            line("REAGENTS", OrderedNo(a), OrderedName(a), "");
    for (const mCalib& c : cat.Calibs)
        if (InOrder(c))
            line("CALIBRATORS", OrderedNo(c), c.Name, OrderedPack(c));
    for (const mCTRL& c : cat.Ctrls)
        if (InOrder(c))
            line("CONTROLS", OrderedNo(c), c.Name, "");
}

void csvField(std::string& out, std::string_view latin1) {
    const std::string text = Latin1ToUtf8(latin1);
    if (text.find_first_of(",\"\r\n") == std::string::npos) {
        out += text;
        return;
    }
    out += '"';
    for (const char c : text) {
        if (c == '"')
            out += '"';
        out += c;
    }
    out += '"';
}

void htmlCell(std::string& out, std::string_view latin1) {
    out += "<td>";
    for (const char c : Latin1ToUtf8(latin1)) {
        switch (c) {
        case '&':
            out += "&amp;";
            break;
        case '<':
            out += "&lt;";
            break;
        case '>':
            out += "&gt;";
            break;
        case '"':
            out += "&quot;";
            break;
        case '\'':
            out += "&#39;";
            break;
        default:
            out += c;
        }
    }
    out += "</td>";
}

}  // namespace

std::string OrderCsv(const Catalogue& cat) {
    std::string out = "section,number,product,pack\r\n";
    forEachOrderLine(cat, [&](std::string_view section, std::string_view number, std::string_view product,
                              std::string_view pack) {
        csvField(out, section);
        out += ',';
        csvField(out, number);
        out += ',';
        csvField(out, product);
        out += ',';
        csvField(out, pack);
        out += "\r\n";
    });
    return out;
}

std::string OrderHtml(const Catalogue& cat) {
    std::string out = "<table>\n<tr><th>Section</th><th>Number</th><th>Product</th><th>Pack</th></tr>\n";
    forEachOrderLine(cat, [&](std::string_view section, std::string_view number, std::string_view product,
                              std::string_view pack) {
        out += "<tr>";
        for (const std::string_view cell : {section, number, product, pack})
            htmlCell(out, cell);
        out += "</tr>\n";
    });
    out += "</table>\n";
    return out;
}

}  // namespace tovimar
