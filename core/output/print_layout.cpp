#include "core/output/print_layout.h"

#include "core/catalogue/order_lines.h"

namespace tovimar {

using G = PrintGeometry;

std::string PrintKey(std::string_view number) {
    std::string key;
    for (char c : number)
        if (c != ' ' && c != '-')
            key += c;
    return key;
}

namespace {

// One column of the printout: rows go down from the top; a row that would cross the foot of the
// page opens the next page, which starts with the section's heading again.
class Column {
public:
    Column(std::vector<PrintPage>& pages, int x, int pageHeight)
        : pages_(pages), x_(x), lastTop_(pageHeight - G::kBottomMargin - G::kLabelHeight - G::kOffset) {}

    void heading(const std::string& text, int gap) {
        section_ = text;
        y_ += gap;
        if (y_ > lastTop_) {
            ++page_;
            y_ = G::kFirstRow;
        }
        place(text, y_, text, "");
    }

    void row(std::string_view number, const std::string& description) {
        y_ += G::kRowStep;
        if (y_ > lastTop_) {
            newPage();
            y_ += G::kRowStep;
        }
        place(PrintKey(number), y_, std::string(number), description);
    }

    void startAt(int y) { y_ = y; }

private:
    void newPage() {
        ++page_;
        y_ = G::kFirstRow;
        const std::string caption = section_ + " (continued)";
        place(section_ + "_" + std::to_string(page_ + 1), y_, caption, "");
    }

    // The same row placement for headings and items: a heading has no description and a wide
    // first label.
    void place(const std::string& key, int y, const std::string& caption, const std::string& description) {
        while (pages_.size() <= page_)
            pages_.emplace_back();
        std::vector<PrintLabel>& labels = pages_[page_].labels;
        const int top = y + G::kOffset;
        const int left = x_ + G::kOffset;
        labels.push_back({"temp1_" + key, caption, left, top,
                          description.empty() ? G::kWideWidth : G::kNumberWidth, G::kLabelHeight});
        if (!description.empty())
            labels.push_back(
                {"temp2_" + key, description, left + G::kNumberWidth, top, G::kWideWidth, G::kLabelHeight});
    }

    std::vector<PrintPage>& pages_;
    int x_;
    int lastTop_;  // the largest row position whose labels still fit above the margin
    int y_ = 0;
    std::size_t page_ = 0;
    std::string section_;
};

}  // namespace

std::vector<PrintPage> BuildPrintLayout(const Catalogue& cat, int pageHeight) {
    return BuildPrintLayout(cat, OrderPlan(), pageHeight);
}

std::vector<PrintPage> BuildPrintLayout(const Catalogue& cat, const OrderPlan& /*plan*/, int pageHeight) {
    std::vector<PrintPage> pages(1);
    // A section: its heading `gap` twips below the column's last row, then its items.
    const auto section = [&cat](Column& column, OrderTable t, int gap) {
        column.heading(std::string(SectionHeading(t)), gap);
        ForEachOrderLine(cat, t, [&column](const OrderLine& l) {
            // A calibrator's description carries its pack, empty or not.
            column.row(l.number, l.section == OrderTable::Calibs
                                     ? std::string(l.name) + ", " + std::string(l.pack)
                                     : std::string(l.name));
        });
    };

    Column left(pages, G::kLeftColumn, pageHeight);
    left.startAt(G::kFirstRow);
    section(left, OrderTable::Assays, 0);
    section(left, OrderTable::Ctrls, 2 * G::kRowStep);  // two empty lines under the reagents

    Column right(pages, G::kRightColumn, pageHeight);
    right.startAt(G::kFirstRow);
    section(right, OrderTable::Calibs, 0);
    return pages;
}

}  // namespace tovimar
