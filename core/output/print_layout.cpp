#include "core/output/print_layout.h"

#include "core/order/order.h"
#include "core/planning/quantity_text.h"

#include <algorithm>

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

    void row(std::string_view number, const std::string& description, int quantity) {
        y_ += G::kRowStep;
        if (y_ > lastTop_) {
            newPage();
            y_ += G::kRowStep;
        }
        place(PrintKey(number), y_, std::string(number), description, quantity);
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
    void place(const std::string& key, int y, const std::string& caption, const std::string& description,
               int quantity = 1) {
        while (pages_.size() <= page_)
            pages_.emplace_back();
        std::vector<PrintLabel>& labels = pages_[page_].labels;
        const int top = y + G::kOffset;
        const int left = x_ + G::kOffset;
        // The count reads in front of the product's name, as "3 x" in the order-list file; the name
        // gives up that room at its start so the columns stay where they are. A product without a
        // name still has its count beside its number.
        const bool counted = quantity > 1;
        labels.push_back({"temp1_" + key, caption, left, top,
                          description.empty() && !counted ? G::kWideWidth : G::kNumberWidth,
                          G::kLabelHeight});
        const int shift = counted ? G::kQuantityWidth : 0;
        if (counted)
            labels.push_back({"temp3_" + key, std::to_string(quantity) + " x", left + G::kNumberWidth, top,
                              G::kQuantityWidth, G::kLabelHeight});
        if (!description.empty())
            labels.push_back({"temp2_" + key, description, left + G::kNumberWidth + shift, top,
                              G::kWideWidth - shift, G::kLabelHeight});
    }

    std::vector<PrintPage>& pages_;
    int x_;
    int lastTop_;  // the largest row position whose labels still fit above the margin
    int y_ = 0;
    std::size_t page_ = 0;
    std::string section_;
};

// The lines at the foot of the order: the first two empty lines under the lowest row of the last
// page, each further one on the next row; a line that does not fit opens a page of its own.
void addFootLines(std::vector<PrintPage>& pages, const std::vector<PrintLabel>& lines, int pageHeight) {
    const int lastTop = pageHeight - G::kBottomMargin - G::kLabelHeight - G::kOffset;
    int lowest = G::kFirstRow;
    for (const PrintLabel& l : pages.back().labels)
        lowest = std::max(lowest, l.top - G::kOffset);
    int y = lowest + 2 * G::kRowStep;
    for (PrintLabel label : lines) {
        if (y > lastTop) {
            pages.emplace_back();
            y = G::kFirstRow;
        }
        label.left = G::kLeftColumn + G::kOffset;
        label.top = y + G::kOffset;
        label.width = G::kNoteWidth;
        label.height = G::kLabelHeight;
        pages.back().labels.push_back(std::move(label));
        y += G::kRowStep;
    }
}

// "Covered by stock, not ordered: 5001 005, 6240.", broken after a comma into lines that the
// foot's width holds at the printout's font.
void addCoveredLines(std::vector<PrintLabel>& lines, const std::vector<std::string_view>& numbers) {
    int count = 0;
    const auto put = [&lines, &count](std::string text) {
        while (!text.empty() && text.back() == ' ')
            text.pop_back();
        const std::string key = count == 0 ? "" : "_" + std::to_string(count);
        ++count;
        lines.push_back({"temp1_COVERED" + key, std::move(text), 0, 0, 0, 0});
    };
    std::string text = "Covered by stock, not ordered: ";
    for (std::size_t k = 0; k < numbers.size(); ++k) {
        if (text.size() + numbers[k].size() + 1 > G::kFootCharacters) {
            put(std::move(text));
            text.clear();
        }
        text.append(numbers[k]).append(k + 1 == numbers.size() ? "." : ", ");
    }
    put(std::move(text));
}

}  // namespace

std::vector<PrintPage> BuildPrintLayout(const Order& order, int pageHeight) {
    std::vector<PrintPage> pages(1);
    // A section: its heading `gap` twips below the column's last row, then its items.
    const auto section = [&order](Column& column, OrderTable t, int gap) {
        column.heading(std::string(SectionHeading(t)), gap);
        ForEachOrderedLine(order, t, [&column](const OrderLine& l) {
            // A calibrator's description carries its pack, empty or not.
            column.row(l.number,
                       l.section == OrderTable::Calibs ? std::string(l.name) + ", " + std::string(l.pack)
                                                       : std::string(l.name),
                       l.quantity);
        });
    };

    Column left(pages, G::kLeftColumn, pageHeight);
    left.startAt(G::kFirstRow);
    section(left, OrderTable::Assays, 0);
    section(left, OrderTable::Ctrls, 2 * G::kRowStep);  // two empty lines under the reagents

    Column right(pages, G::kRightColumn, pageHeight);
    right.startAt(G::kFirstRow);
    section(right, OrderTable::Calibs, 0);

    std::vector<PrintLabel> foot;
    if (std::string note = PlanningNote(order.plan.workload(), SuggestedIn(order)); !note.empty())
        foot.push_back({"temp1_PLANNING", std::move(note), 0, 0, 0, 0});
    if (const std::vector<std::string_view> covered = CoveredNumbers(order); !covered.empty())
        addCoveredLines(foot, covered);
    addFootLines(pages, foot, pageHeight);
    return pages;
}

}  // namespace tovimar
