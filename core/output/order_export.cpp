#include "core/output/order_export.h"

#include "core/order/order.h"
#include "core/output/latin1.h"

#include <string_view>

namespace tovimar {

void AppendCsvField(std::string& out, std::string_view latin1) {
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

void AppendHtmlCell(std::string& out, std::string_view latin1) {
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

std::string OrderCsv(const Order& order) {
    std::string out = "section,number,product,pack,quantity\r\n";
    ForEachOrderedLine(order, [&out](const OrderLine& l) {
        AppendCsvField(out, SectionHeading(l.section));
        out += ',';
        AppendCsvField(out, l.number);
        out += ',';
        AppendCsvField(out, l.name);
        out += ',';
        AppendCsvField(out, l.pack);
        out += ',';
        out += std::to_string(l.quantity);
        out += "\r\n";
    });
    return out;
}

std::string OrderHtml(const Order& order) {
    std::string out = "<table>\n<tr><th>Section</th><th>Number</th><th>Product</th><th>Pack</th>"
                      "<th>Quantity</th></tr>\n";
    ForEachOrderedLine(order, [&out](const OrderLine& l) {
        out += "<tr>";
        const std::string quantity = std::to_string(l.quantity);
        for (const std::string_view cell :
             {SectionHeading(l.section), l.number, l.name, l.pack, std::string_view(quantity)})
            AppendHtmlCell(out, cell);
        out += "</tr>\n";
    });
    out += "</table>\n";
    return out;
}

}  // namespace tovimar
