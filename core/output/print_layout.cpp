#include "core/output/print_layout.h"

#include "core/order/order.h"
#include "core/planning/quantity_text.h"

#include <algorithm>
#include <cmath>
#include <utility>

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
// The largest row position whose labels still fit above the margin, and above the page number of
// an order form.
int lastTopOf(int pageHeight, bool form) {
    return pageHeight - G::kBottomMargin - G::kLabelHeight - G::kOffset - (form ? G::kRowStep : 0);
}

class Column {
public:
    // On an order form (`form`) every row shows its count, 1 included.
    Column(std::vector<PrintPage>& pages, int x, int pageHeight, bool form)
        : pages_(pages), x_(x), lastTop_(lastTopOf(pageHeight, form)), form_(form) {}

    void heading(const std::string& text, int gap) {
        section_ = text;
        y_ += gap;
        if (y_ > lastTop_) {
            ++page_;
            y_ = G::kFirstRow;
        }
        place(text, y_, text, "", 0);
    }

    void row(std::string_view number, const std::string& description, int quantity) {
        y_ += G::kRowStep;
        if (y_ > lastTop_) {
            newPage();
            y_ += G::kRowStep;
        }
        place(PrintKey(number), y_, std::string(number), description, quantity);
    }

    void startAt(int y, std::size_t page = 0) {
        y_ = y;
        page_ = page;
    }

private:
    void newPage() {
        ++page_;
        y_ = G::kFirstRow;
        const std::string caption = section_ + " (continued)";
        place(section_ + "_" + std::to_string(page_ + 1), y_, caption, "", 0);
    }

    // The same row placement for headings and items: a heading has no description, no count
    // (quantity 0) and a wide first label.
    void place(const std::string& key, int y, const std::string& caption, const std::string& description,
               int quantity) {
        while (pages_.size() <= page_)
            pages_.emplace_back();
        std::vector<PrintLabel>& labels = pages_[page_].labels;
        const int top = y + G::kOffset;
        const int left = x_ + G::kOffset;
        // The count reads in front of the product's name, as "3 x" in the order-list file; the name
        // gives up that room at its start so the columns stay where they are. A product without a
        // name still has its count beside its number.
        const bool counted = quantity > 1 || (form_ && quantity > 0);
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
    bool form_;
    int y_ = 0;
    std::size_t page_ = 0;
    std::string section_;
};

// The lines at the foot of the order: the first two empty lines under the lowest row of the last
// page, each further one on the next row; a line that does not fit opens a page of its own.
void addFootLines(std::vector<PrintPage>& pages, const std::vector<PrintLabel>& lines, int pageHeight,
                  bool form) {
    const int lastTop = lastTopOf(pageHeight, form);
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

// "1 line", "3 packs".
std::string Counted(int n, std::string_view one, std::string_view many) {
    return std::to_string(n) + " " + std::string(n == 1 ? one : many);
}

// The laboratory, its account and contact, the reference and the date, one line each from the
// top of the first page (continued on the next where a short page cannot hold them). Returns the
// page and row position under which the order begins.
std::pair<std::size_t, int> addHead(std::vector<PrintPage>& pages, const OrderDetails& d,
                                    std::string_view today, int pageHeight) {
    const Laboratory& lab = d.laboratory;
    std::vector<std::string> texts{lab.name};
    texts.insert(texts.end(), lab.address.begin(), lab.address.end());
    const std::pair<const char*, const std::string*> labelled[] = {{"Customer account: ", &lab.account},
                                                                   {"Contact: ", &lab.contact},
                                                                   {"Phone: ", &lab.phone},
                                                                   {"E-mail: ", &lab.email},
                                                                   {"Reference: ", &d.reference}};
    for (const auto& [label, text] : labelled)
        if (!text->empty())
            texts.push_back(label + *text);
    texts.push_back("Date: " + (d.date.empty() ? std::string(today) : d.date));

    const int lastTop = lastTopOf(pageHeight, true);
    std::size_t page = 0;
    int y = G::kFirstRow;
    for (std::size_t k = 0; k < texts.size(); ++k, y += G::kRowStep) {
        if (y > lastTop) {
            pages.emplace_back();
            ++page;
            y = G::kFirstRow;
        }
        pages[page].labels.push_back({"temp1_HEAD_" + std::to_string(k + 1), texts[k],
                                      G::kLeftColumn + G::kOffset, y + G::kOffset, G::kNoteWidth,
                                      G::kLabelHeight, true});
    }
    return {page, y + G::kRowStep};  // one empty line under the head
}

// "Page x of y" at the foot of every page, under everything else.
void addPageNumbers(std::vector<PrintPage>& pages, int pageHeight) {
    const std::string of = " of " + std::to_string(pages.size());
    for (std::size_t i = 0; i < pages.size(); ++i)
        pages[i].labels.push_back({"temp1_PAGE_" + std::to_string(i + 1),
                                   "Page " + std::to_string(i + 1) + of, G::kLeftColumn + G::kOffset,
                                   pageHeight - G::kBottomMargin - G::kLabelHeight, G::kNoteWidth,
                                   G::kLabelHeight});
}

}  // namespace

std::vector<PrintPage> BuildPrintLayout(const Order& order, int pageHeight, std::string_view today) {
    std::vector<PrintPage> pages(1);
    const bool form = order.details.laboratory.given();
    int lines = 0, packs = 0;
    // A section: its heading `gap` twips below the column's last row, then its items.
    const auto section = [&](Column& column, OrderTable t, int gap) {
        column.heading(std::string(SectionHeading(t)), gap);
        ForEachOrderedLine(order, t, [&](const OrderLine& l) {
            ++lines;
            packs += l.quantity;
            // A calibrator's description carries its pack, empty or not.
            column.row(l.number,
                       l.section == OrderTable::Calibs ? std::string(l.name) + ", " + std::string(l.pack)
                                                       : std::string(l.name),
                       l.quantity);
        });
    };
    // The order form's head: the columns start one empty line under it.
    const auto [headPage, headEnd] = form ? addHead(pages, order.details, today, pageHeight)
                                          : std::pair<std::size_t, int>(0, G::kFirstRow);

    Column left(pages, G::kLeftColumn, pageHeight, form);
    left.startAt(headEnd, headPage);
    section(left, OrderTable::Assays, 0);
    section(left, OrderTable::Ctrls, 2 * G::kRowStep);  // two empty lines under the reagents

    Column right(pages, G::kRightColumn, pageHeight, form);
    right.startAt(headEnd, headPage);
    section(right, OrderTable::Calibs, 0);

    std::vector<PrintLabel> foot;
    if (form)
        foot.push_back({"temp1_TOTALS",
                        Counted(lines, "line", "lines") + ", " + Counted(packs, "pack", "packs"), 0, 0, 0,
                        0});
    if (std::string note = PlanningNote(order.plan.workload(), SuggestedIn(order)); !note.empty())
        foot.push_back({"temp1_PLANNING", std::move(note), 0, 0, 0, 0});
    if (const std::vector<std::string_view> covered = CoveredNumbers(order); !covered.empty())
        addCoveredLines(foot, covered);
    addFootLines(pages, foot, pageHeight, form);
    if (form)
        addPageNumbers(pages, pageHeight);
    return pages;
}

PaperFit FitToPaper(double paperWidth, double paperHeight) {
    if (!(paperWidth > 0 && paperHeight > 0))
        return {};
    // A4 is 11905.5 twips wide, and a printer may round its paper: within a point is A4.
    constexpr double kPoint = 20;
    const double scale =
        paperWidth >= PrintGeometry::kA4Width - kPoint ? 1.0 : paperWidth / PrintGeometry::kA4Width;
    // However odd the paper, a height a page can be laid out on.
    constexpr double kTallest = 1e8;
    return {static_cast<int>(std::lround(std::min(paperHeight / scale, kTallest))), scale};
}

std::string PdfTitle(const Order& order, std::string_view today) {
    const OrderDetails& d = order.details;
    std::string title = "Order ";
    title += !d.reference.empty() ? d.reference : !d.date.empty() ? d.date : std::string(today);
    if (d.laboratory.given())
        title += " - " + d.laboratory.name;
    return title;
}

}  // namespace tovimar
