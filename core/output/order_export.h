// The order for other programs: a CSV file for purchasing systems and spreadsheets, and an HTML
// table for pasting into a mail. The same rows as the order-list file: reagents, calibrators,
// controls, each in slot order and in the size chosen, only items in the order. The catalogue's
// single-byte texts come out as UTF-8.
#pragma once

#include <string>
#include <string_view>

namespace tovimar {

struct Order;

// One field of a record and one cell of a row, from the catalogue's single-byte text: the quoting
// and escaping every field of the two goes through.
void AppendCsvField(std::string& out, std::string_view latin1);
void AppendHtmlCell(std::string& out, std::string_view latin1);

// RFC 4180: the header "section,number,product,pack,quantity", then one record per item with the
// section REAGENTS, CALIBRATORS or CONTROLS (the order list's headings), the catalogue number, the
// product name, the pack (empty for reagents and controls, whose name says it) and how many (1
// included). CR LF after every record; a field holding a comma, a double quote, CR or LF is
// quoted, its quotes doubled. No byte-order mark. Without a plan every quantity is 1.
std::string OrderCsv(const Order& order);

// A <table> with a header row (Section, Number, Product, Pack, Quantity) and one row per item,
// every text HTML-escaped; one row per line.
std::string OrderHtml(const Order& order);

}  // namespace tovimar
