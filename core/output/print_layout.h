// The printed order as labels in twips: REAGENTS and, under them, CONTROLS in the left column,
// CALIBRATORS in the right one. A row is a number label ("temp1_" + key) and a description label
// ("temp2_" + key); a heading is one wide label. Rows that do not fit on a page continue on the
// next page in the same column, under the section's heading marked "(continued)". A line of
// quantity q > 1 has a third, narrow label "q x" ("temp3_" + key) at the start of the description,
// which moves right by its width; where suggested quantities were used, one line of the planning
// assumptions ("temp1_PLANNING") follows the order on its last page. A line the stock covers
// (quantity 0) is not printed; the products so left out are named at the very end
// ("temp1_COVERED", continued on "temp1_COVERED_1" ... where they are many).
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace tovimar {

struct PrintLabel {
    std::string name;     // "temp1_" or "temp2_" followed by the row's key
    std::string caption;  // the number or heading, or the description
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
    bool utf8 = false;  // the caption is the laboratory's UTF-8 text, not the catalogue's single bytes

    bool operator==(const PrintLabel&) const = default;
};

struct PrintPage {
    std::vector<PrintLabel> labels;

    bool operator==(const PrintPage&) const = default;
};

struct PrintGeometry {
    static constexpr int kRowStep = 260;
    static constexpr int kOffset = 300;  // every row stands 300 twips right of and below its position
    static constexpr int kNumberWidth = 900;
    static constexpr int kWideWidth = 4500;
    static constexpr int kQuantityWidth = 600;  // "9999 x" and a space after it
    static constexpr int kLabelHeight = 220;
    static constexpr int kLeftColumn = 120;
    static constexpr int kRightColumn = 6000;
    // The planning line runs from the left column's number to the end of the right column's text.
    static constexpr int kNoteWidth = kRightColumn + kNumberWidth + kWideWidth - kLeftColumn;
    // The characters a line of that width surely holds at the printout's font, wide ones included.
    static constexpr std::size_t kFootCharacters = 100;
    static constexpr int kFirstRow = 120;
    static constexpr int kA4Height = 16838;    // 297 mm
    static constexpr int kA4Width = 11906;     // 210 mm: the width the columns are placed for
    static constexpr int kBottomMargin = 720;  // half an inch kept free at the foot of each page
    static constexpr double kFontPoints = 10;
};

// A catalogue number without its blanks and hyphens: "1234 567" -> "1234567".
std::string PrintKey(std::string_view number);

struct Order;

// Lays out the order, each line with its quantity, on pages of `pageHeight` twips; labels end at
// most kBottomMargin above the page's foot. Always at least one page. With the laboratory's
// details the pages are an order form: the details, the reference and the date (`today` where the
// order has none) head the first page, every line shows its quantity, 1 included, the last line is
// followed by "<n> lines, <m> packs", and every page ends with "Page x of y".
std::vector<PrintPage> BuildPrintLayout(const Order& order, int pageHeight = PrintGeometry::kA4Height,
                                        std::string_view today = {});

// How the pages are put on paper of `paperWidth` x `paperHeight` twips. The columns are placed for
// A4's width: on narrower paper (A5, B5, Executive) every page is drawn smaller by `scale`, whole,
// rather than its right column cut off at the paper's edge, and laid out `pageHeight` twips high so
// that it still fills the paper. On A4 and wider paper, pages are drawn as laid out. An unknown
// paper is taken for A4.
struct PaperFit {
    int pageHeight = PrintGeometry::kA4Height;
    double scale = 1.0;
};
PaperFit FitToPaper(double paperWidth, double paperHeight);

// The PDF's title: "Order <reference> - <laboratory>", leaving out what is not given, and the
// date (the order's, else `today`) in place of a reference not given: "Order 2026-12-01".
std::string PdfTitle(const Order& order, std::string_view today);

}  // namespace tovimar
