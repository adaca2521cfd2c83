#include "core/output/order_export.h"

#include "core/catalogue/order_lines.h"
#include "core/output/latin1.h"
#include "core/planning/order_plan.h"

#include <string_view>

namespace tovimar {

namespace {

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

std::string OrderCsv(const Catalogue& cat, const OrderPlan& plan) {
    std::string out = "section,number,product,pack,quantity\r\n";
    ForEachOrderLine(cat, plan, [&out](const OrderLine& l) {
        csvField(out, SectionHeading(l.section));
        out += ',';
        csvField(out, l.number);
        out += ',';
        csvField(out, l.name);
        out += ',';
        csvField(out, l.pack);
        out += ',';
        out += std::to_string(l.quantity);
        out += "\r\n";
    });
    return out;
}

std::string OrderHtml(const Catalogue& cat, const OrderPlan& plan) {
    std::string out = "<table>\n<tr><th>Section</th><th>Number</th><th>Product</th><th>Pack</th>"
                      "<th>Quantity</th></tr>\n";
    ForEachOrderLine(cat, plan, [&out](const OrderLine& l) {
        out += "<tr>";
        const std::string quantity = std::to_string(l.quantity);
        for (const std::string_view cell :
             {SectionHeading(l.section), l.number, l.name, l.pack, std::string_view(quantity)})
            htmlCell(out, cell);
        out += "</tr>\n";
    });
    out += "</table>\n";
    return out;
}

std::string OrderCsv(const Catalogue& cat) {
    return OrderCsv(cat, OrderPlan{});
}

std::string OrderHtml(const Catalogue& cat) {
    return OrderHtml(cat, OrderPlan{});
}

}  // namespace tovimar
