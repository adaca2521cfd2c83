// The printed order's layout: label names, captions and positions in twips, and the pages.
#include "core/order/order.h"
#include "core/output/print_layout.h"
#include "core/planning/quantity_text.h"
#include "tests/support/loaded_catalogue.h"

#include <gtest/gtest.h>
#include <map>
#include <random>
#include <set>

namespace tovimar {
namespace {

using tovimar::testing::loaded;

const PrintLabel* find(const PrintPage& page, const std::string& name) {
    for (const PrintLabel& l : page.labels)
        if (l.name == name)
            return &l;
    return nullptr;
}

void expectLabel(const PrintPage& page, const std::string& name, const std::string& caption, int left,
                 int top, int width) {
    const PrintLabel* l = find(page, name);
    ASSERT_NE(l, nullptr) << name;
    EXPECT_EQ(l->caption, caption) << name;
    EXPECT_EQ(l->left, left) << name;
    EXPECT_EQ(l->top, top) << name;
    EXPECT_EQ(l->width, width) << name;
    EXPECT_EQ(l->height, 220) << name;
}

TEST(PrintKey, DropsBlanksAndHyphensKeepsTheRestInOrder) {
    EXPECT_EQ(PrintKey("1234 567"), "1234567");
    EXPECT_EQ(PrintKey("TDM1-4301"), "TDM14301");
    EXPECT_EQ(PrintKey("UC-1A"), "UC1A");
    EXPECT_EQ(PrintKey(" - "), "");
}

TEST(PrintLayout, EmptyOrderPrintsTheThreeHeadingsOnly) {
    const auto pages = BuildPrintLayout(loaded());
    ASSERT_EQ(pages.size(), 1u);
    ASSERT_EQ(pages[0].labels.size(), 3u);
    expectLabel(pages[0], "temp1_REAGENTS", "REAGENTS", 420, 420, 4500);
    expectLabel(pages[0], "temp1_CONTROLS", "CONTROLS", 420, 940, 4500);
    expectLabel(pages[0], "temp1_CALIBRATORS", "CALIBRATORS", 6300, 420, 4500);
}

TEST(PrintLayout, RowsStandInTheirColumnsWithNumberAndDescription) {
    const Catalogue& cat = TheCatalogue();
    Order order;
    order.Assays[1].Selected = 1;
    order.Assays[15].Selected = 1;
    order.Assays[15].SizeChoice = 2;
    order.Ctrls[43].Selected = 1;
    order.Calibs[1].Selected = 1;
    order.Calibs[1].SizeChoice = 2;
    order.Calibs[2].Selected = 1;
    const auto pages = BuildPrintLayout(order);
    ASSERT_EQ(pages.size(), 1u);
    const PrintPage& p = pages[0];
    const mAssay& r1 = cat.Assays[1];
    const mAssay& r15 = cat.Assays[15];
    expectLabel(p, "temp1_" + PrintKey(r1.OrderNo1), r1.OrderNo1, 420, 680, 900);
    expectLabel(p, "temp2_" + PrintKey(r1.OrderNo1), r1.Name1, 1320, 680, 4500);
    expectLabel(p, "temp1_" + PrintKey(r15.OrderNo2), r15.OrderNo2, 420, 940, 900);
    expectLabel(p, "temp2_" + PrintKey(r15.OrderNo2), r15.Name2, 1320, 940, 4500);
    // CONTROLS two empty lines below the last reagent.
    expectLabel(p, "temp1_CONTROLS", "CONTROLS", 420, 1460, 4500);
    expectLabel(p, "temp1_" + PrintKey(cat.Ctrls[43].OrderNo), cat.Ctrls[43].OrderNo, 420, 1720, 900);
    expectLabel(p, "temp1_" + PrintKey(cat.Calibs[1].OrderNo2), cat.Calibs[1].OrderNo2, 6300, 680, 900);
    expectLabel(p, "temp2_" + PrintKey(cat.Calibs[1].OrderNo2), cat.Calibs[1].Name + ", 15 ml", 7200, 680,
                4500);
    expectLabel(p, "temp2_" + PrintKey(cat.Calibs[2].OrderNo1), cat.Calibs[2].Name + ", 5 ml", 7200, 940,
                4500);
    EXPECT_EQ(p.labels.size(), 3u + 2u * 5u);  // three headings, five rows
}

// Select all is the longest order: both columns run over one page. Nothing may be lost or drawn
// below the margin, and the rows keep their order across the pages.
TEST(PrintLayout, LongOrderContinuesOnFollowingPagesInTheSameColumn) {
    const Catalogue& cat = TheCatalogue();
    Order order;
    SelectAllItems(order);
    const int pageHeight = PrintGeometry::kA4Height;
    const auto pages = BuildPrintLayout(order, pageHeight);
    ASSERT_EQ(pages.size(), 2u);

    std::vector<std::string> left, right;
    std::set<std::string> names;
    for (std::size_t i = 0; i < pages.size(); ++i) {
        std::map<int, int> lastTopOfColumn;
        for (const PrintLabel& l : pages[i].labels) {
            EXPECT_TRUE(names.insert(l.name).second) << "duplicate label " << l.name;
            EXPECT_LE(l.top + l.height, pageHeight - PrintGeometry::kBottomMargin) << l.name;
            EXPECT_TRUE(l.left == 420 || l.left == 1320 || l.left == 6300 || l.left == 7200) << l.name;
            if (l.name.rfind("temp1_", 0) != 0)
                continue;
            // Within a column, rows go down the page in steps of at least one row.
            auto [it, fresh] = lastTopOfColumn.emplace(l.left, l.top);
            if (!fresh) {
                EXPECT_GE(l.top - it->second, 260) << l.name;
                it->second = l.top;
            }
            (l.left == 420 ? left : right).push_back(l.caption);
        }
        EXPECT_EQ(find(pages[i], "temp1_REAGENTS") != nullptr, i == 0);
    }
    std::vector<std::string> expectedLeft{"REAGENTS"};
    for (int s = 1; s <= AssayTable::kFilled; ++s)
        if (order.Assays[s].Selected == 1)
            expectedLeft.push_back(cat.Assays[s].OrderNo1);
    expectedLeft.push_back("CONTROLS");
    std::vector<std::string> expectedRight{"CALIBRATORS"};
    for (int s = 1; s <= CalibTable::kFilled; ++s)
        if (order.Calibs[s].Selected == 1)
            expectedRight.push_back(cat.Calibs[s].OrderNo1);
    // The second page opens each running column with its heading marked as continued.
    auto withoutContinued = [](std::vector<std::string> v, const std::string& heading) {
        const auto it = std::find(v.begin(), v.end(), heading + " (continued)");
        EXPECT_NE(it, v.end()) << heading;
        if (it != v.end())
            v.erase(it);
        return v;
    };
    const auto rightRows = withoutContinued(right, "CALIBRATORS");
    EXPECT_EQ(rightRows, expectedRight);
    const auto leftRows = withoutContinued(left, "CONTROLS");
    for (int s = 1; s <= CtrlTable::kFilled; ++s)
        if (order.Ctrls[s].Selected == 1)
            expectedLeft.push_back(cat.Ctrls[s].OrderNo);
    EXPECT_EQ(leftRows, expectedLeft);
}

TEST(PrintLayout, AShortPageMovesAHeadingThatDoesNotFitToTheNextPage) {
    const Catalogue& cat = TheCatalogue();
    Order order;
    for (int s = 1; s <= 23; ++s)
        order.Assays[s].Selected = 1;
    // Room for the heading and 22 rows only (lastTop = 120 + 22 * 260).
    const int pageHeight =
        120 + 22 * 260 + PrintGeometry::kOffset + PrintGeometry::kLabelHeight + PrintGeometry::kBottomMargin;
    const auto pages = BuildPrintLayout(order, pageHeight);
    ASSERT_EQ(pages.size(), 2u);
    expectLabel(pages[1], "temp1_REAGENTS_2", "REAGENTS (continued)", 420, 420, 4500);
    expectLabel(pages[1], "temp1_" + PrintKey(cat.Assays[23].OrderNo1), cat.Assays[23].OrderNo1, 420, 680,
                900);
    // CONTROLS two lines under the last reagent, still on the second page, not continued.
    expectLabel(pages[1], "temp1_CONTROLS", "CONTROLS", 420, 1200, 4500);
}

// ---- Quantities ---------------------------------------------------------------------------------

// A line of three gets "3 x" at the start of its description, which gives up that room; a line of
// one is as before; the planning line sits two empty lines under the lowest row.
TEST(PrintLayout, QuantityStandsBeforeTheNameAndTheAssumptionsUnderTheOrder) {
    const Catalogue& cat = TheCatalogue();
    Order order;
    order.Assays[1].Selected = 1;
    order.Assays[2].Selected = 1;
    order.Calibs[1].Selected = 1;
    order.Ctrls[1].Selected = 1;
    order.Ctrls[39].Selected = 1;  // no name: the count stands beside the number
    OrderPlan& plan = order.plan;
    ASSERT_TRUE(plan.SetTyped(OrderTable::Assays, cat.Assays[2].OrderNo1, 3));
    ASSERT_TRUE(plan.SetTyped(OrderTable::Ctrls, cat.Ctrls[39].OrderNo, 12));
    ASSERT_TRUE(plan.SetWorkload({3, 22, 0, 0}));
    ASSERT_TRUE(plan.SetUsesPerPack(OrderTable::Ctrls, cat.Ctrls[1].OrderNo, 20));  // 66 runs: 4 packs
    const auto pages = BuildPrintLayout(order);
    ASSERT_EQ(pages.size(), 1u);
    const PrintPage& p = pages[0];
    const std::string r2 = PrintKey(cat.Assays[2].OrderNo1);
    expectLabel(p, "temp1_" + r2, cat.Assays[2].OrderNo1, 420, 940, 900);
    expectLabel(p, "temp3_" + r2, "3 x", 1320, 940, 600);
    expectLabel(p, "temp2_" + r2, cat.Assays[2].Name1, 1920, 940, 3900);
    expectLabel(p, "temp2_" + PrintKey(cat.Assays[1].OrderNo1), cat.Assays[1].Name1, 1320, 680, 4500);
    EXPECT_EQ(find(p, "temp3_" + PrintKey(cat.Assays[1].OrderNo1)), nullptr);
    expectLabel(p, "temp3_" + PrintKey(cat.Ctrls[1].OrderNo), "4 x", 1320, 1720, 600);
    const std::string k39 = PrintKey(cat.Ctrls[39].OrderNo);
    expectLabel(p, "temp1_" + k39, cat.Ctrls[39].OrderNo, 420, 1980, 900);
    expectLabel(p, "temp3_" + k39, "12 x", 1320, 1980, 600);
    EXPECT_EQ(find(p, "temp2_" + k39), nullptr);
    expectLabel(p, "temp1_PLANNING", "Quantities planned for 3 months: 22 runs a month.", 420, 2500, 11280);

    // Typed over the suggestion: nothing on paper was planned, so no assumptions.
    ASSERT_TRUE(plan.SetTyped(OrderTable::Ctrls, cat.Ctrls[1].OrderNo, 2));
    EXPECT_EQ(find(BuildPrintLayout(order)[0], "temp1_PLANNING"), nullptr);
}

// Figures that suggest nothing and quantities of one typed leave the page of an order of ones
// label for label.
TEST(PrintLayout, AnOrderOfOnesFromAnyPlanIsLaidOutAsWithoutOne) {
    Order ones;
    SelectAllItems(ones);
    Order order = ones;
    OrderPlan& plan = order.plan;
    ASSERT_TRUE(plan.SetWorkload({6, 0, 0, 10}));  // no runs or calibrations: nothing to divide
    ForEachOrderLine(ones, [&](const OrderLine& l) {
        const std::string number(l.number);
        if (l.section == OrderTable::Assays)
            ASSERT_TRUE(plan.SetReagentFigures(number, {1200, std::nullopt}));
        else
            ASSERT_TRUE(plan.SetUsesPerPack(l.section, number, 10));
        if (l.slot % 2 == 0) {
            ASSERT_TRUE(plan.SetTyped(l.section, number, 1));
        }
    });
    for (int height : {PrintGeometry::kA4Height, 5000, 1620})
        EXPECT_EQ(BuildPrintLayout(order, height), BuildPrintLayout(ones, height)) << height;
}

bool overlap(const PrintLabel& a, const PrintLabel& b) {
    return a.left < b.left + b.width && b.left < a.left + a.width && a.top < b.top + b.height &&
           b.top < a.top + a.height;
}

// The PDF's title names the order by its reference, else its date, and the laboratory.
TEST(PrintLayout, ThePdfTitleNamesTheOrder) {
    Order order;
    EXPECT_EQ(PdfTitle(order, "2026-12-09"), "Order 2026-12-09");
    order.details.date = "2026-12-01";
    EXPECT_EQ(PdfTitle(order, "2026-12-09"), "Order 2026-12-01");
    order.details.laboratory.name = "Labor M\xC3\xBCller";
    EXPECT_EQ(PdfTitle(order, "2026-12-09"), "Order 2026-12-01 - Labor M\xC3\xBCller");
    order.details.reference = "PO-2026-0117";
    EXPECT_EQ(PdfTitle(order, "2026-12-09"), "Order PO-2026-0117 - Labor M\xC3\xBCller");
}

// An order form's own labels: the head on the first pages in its order, the totals once after
// every line, and "Page x of y" as the lowest label of every page.
void checkOrderForm(const Order& order, const std::vector<PrintPage>& pages,
                    const std::map<std::string, std::pair<std::size_t, const PrintLabel*>>& where,
                    bool form) {
    ASSERT_EQ(where.count("temp1_HEAD_1") > 0, form);
    ASSERT_EQ(where.count("temp1_TOTALS") > 0, form);
    if (!form) {
        EXPECT_EQ(where.count("temp1_PAGE_1"), 0u);
        return;
    }
    EXPECT_EQ(where.at("temp1_HEAD_1").second->caption, order.details.laboratory.name);
    EXPECT_TRUE(where.at("temp1_HEAD_1").second->utf8);
    int lines = 0, packs = 0;
    ForEachOrderedLine(order, [&](const OrderLine& l) {
        ++lines;
        packs += l.quantity;
    });
    EXPECT_EQ(where.at("temp1_TOTALS").second->caption,
              std::to_string(lines) + (lines == 1 ? " line, " : " lines, ") + std::to_string(packs) +
                  (packs == 1 ? " pack" : " packs"));
    const std::size_t totalsPage = where.at("temp1_TOTALS").first;
    for (std::size_t i = 0; i < pages.size(); ++i) {
        const auto page = where.at("temp1_PAGE_" + std::to_string(i + 1));
        EXPECT_EQ(page.first, i);
        EXPECT_EQ(page.second->caption,
                  "Page " + std::to_string(i + 1) + " of " + std::to_string(pages.size()));
        for (const PrintLabel& l : pages[i].labels) {
            if (&l != page.second) {
                EXPECT_LT(l.top, page.second->top) << l.name;
            }
            const bool line = l.name.rfind("temp2_", 0) == 0 || l.name.rfind("temp3_", 0) == 0;
            if (line && i == totalsPage) {
                EXPECT_LT(l.top, where.at("temp1_TOTALS").second->top) << l.name;
            }
            EXPECT_FALSE(line && i > totalsPage) << l.name;
        }
    }
}

// Random orders, quantities, stock and page heights: no label overlaps another or crosses the
// margin, every line is printed once with its quantity label where it is more than 1 (on an order
// form always), the numbers
// and headings stand exactly where an order of ones without the covered lines has them, the
// assumptions follow the order once, on its last page, when and only when a quantity was
// suggested, and the covered products are named after everything else.
TEST(PrintLayout, RandomOrdersWithQuantitiesKeepEveryLineOnceAndNothingOverlaps) {
    std::mt19937 rng(20240611);
    const auto chance = [&rng](double p) { return std::bernoulli_distribution(p)(rng); };
    const auto pick = [&rng](int low, int high) {
        return std::uniform_int_distribution<int>(low, high)(rng);
    };
    for (int round = 0; round < 60; ++round) {
        Order ones;
        SelectAllItems(ones);
        const double keep = std::uniform_real_distribution<double>(0.05, 1.0)(rng);
        for (AssayOrder& a : ones.Assays) {
            a.Selected = a.Selected == 1 && chance(keep) ? 1 : 0;
            a.SizeChoice = chance(0.3) ? 2 : 0;
        }
        for (CalibOrder& c : ones.Calibs)
            c.Selected = c.Selected == 1 && chance(keep) ? 1 : 0;
        for (CtrlOrder& c : ones.Ctrls)
            c.Selected = c.Selected == 1 && chance(keep) ? 1 : 0;

        // Half the orders are order forms, with a head of 2 to 12 lines.
        const bool form = chance(0.5);
        if (form) {
            OrderDetails& d = ones.details;
            d.laboratory.name = "Laborat\xC3\xB3rio Central";
            for (int k = pick(0, 4); k > 0; --k)
                d.laboratory.address.push_back("Line " + std::to_string(k));
            d.laboratory.account = chance(0.5) ? "C-1234" : "";
            d.laboratory.email = chance(0.5) ? "lab@example.org" : "";
            d.reference = chance(0.5) ? "PO-2026-0117" : "";
            d.date = chance(0.5) ? "2026-12-01" : "";
        }
        Order order = ones;
        OrderPlan& plan = order.plan;
        ASSERT_TRUE(plan.SetWorkload(
            {pick(1, 24), chance(0.5) ? pick(1, 60) : 0, chance(0.5) ? pick(1, 12) : 0, pick(0, 20)}));
        bool suggested = false;
        ForEachOrderLine(ones, [&](const OrderLine& l) {
            const std::string number(l.number);
            if (chance(0.3)) {
                if (l.section == OrderTable::Assays)
                    plan.SetReagentFigures(number, {pick(0, 20000), pick(50, 500)});
                else
                    plan.SetUsesPerPack(l.section, number, pick(1, 40));
            }
            if (chance(0.2))
                plan.SetTyped(l.section, number, chance(0.8) ? pick(1, 30) : pick(1, 9999));
            if (chance(0.15))
                plan.SetStock(l.section, number,
                              {pick(0, 20), chance(0.5) ? std::optional(pick(0, 5)) : std::nullopt});
            suggested = suggested || plan.QuantityOf(l).source == QuantitySource::Suggested;
        });
        // The order as printed: without the lines the stock covers, which the foot names.
        Order shown = ones;
        std::string covered;
        ForEachOrderLine(order, [&](const OrderLine& l) {
            if (l.quantity > 0)
                return;
            WithRecord(static_cast<OrderFlags&>(shown), l.item(), [](auto& f) { f.Selected = 0; });
            covered += (covered.empty() ? "Covered by stock, not ordered: " : ", ") + std::string(l.number);
        });
        const int height = pick(1620, PrintGeometry::kA4Height);
        SCOPED_TRACE("round " + std::to_string(round) + ", page height " + std::to_string(height));

        const auto pages = BuildPrintLayout(order, height, "2026-12-09");
        // Numbers and headings as an order of ones has them, in order: nothing lost, repeated or moved.
        const auto firstLabels = [](const std::vector<PrintPage>& layout) {
            std::vector<std::pair<std::size_t, PrintLabel>> out;
            for (std::size_t i = 0; i < layout.size(); ++i)
                for (const PrintLabel& l : layout[i].labels)
                    if (l.name.rfind("temp1_", 0) == 0 && l.name != "temp1_PLANNING" &&
                        l.name != "temp1_TOTALS" && l.name.rfind("temp1_COVERED", 0) != 0 &&
                        l.name.rfind("temp1_PAGE_", 0) != 0)
                        out.emplace_back(i, PrintLabel{l.name, l.caption, l.left, l.top});  // widths aside
            return out;
        };
        EXPECT_EQ(firstLabels(pages), firstLabels(BuildPrintLayout(shown, height, "2026-12-09")));

        std::map<std::string, std::pair<std::size_t, const PrintLabel*>> where;
        for (std::size_t i = 0; i < pages.size(); ++i) {
            const auto& labels = pages[i].labels;
            for (std::size_t a = 0; a < labels.size(); ++a) {
                EXPECT_TRUE(where.emplace(labels[a].name, std::pair(i, &labels[a])).second) << labels[a].name;
                EXPECT_LE(labels[a].top + labels[a].height, height - PrintGeometry::kBottomMargin);
                for (std::size_t b = a + 1; b < labels.size(); ++b)
                    EXPECT_FALSE(overlap(labels[a], labels[b])) << labels[a].name << " / " << labels[b].name;
            }
        }
        // The covered products, in the order's order, on the last lines of all (the page numbers
        // aside).
        std::string named;
        const auto coveredOrPage = [](const PrintLabel& l) {
            return l.name.rfind("temp1_COVERED", 0) == 0 || l.name.rfind("temp1_PAGE_", 0) == 0;
        };
        for (std::size_t i = 0; i < pages.size(); ++i)
            for (const PrintLabel& l : pages[i].labels)
                if (l.name.rfind("temp1_COVERED", 0) == 0) {
                    named += (named.empty() ? "" : " ") + l.caption;
                    for (std::size_t later = i + 1; later < pages.size(); ++later)
                        for (const PrintLabel& after : pages[later].labels)
                            EXPECT_TRUE(coveredOrPage(after)) << after.name;
                    for (const PrintLabel& other : pages[i].labels)
                        if (!coveredOrPage(other)) {
                            EXPECT_LT(other.top, l.top) << other.name;
                        }
                }
        EXPECT_EQ(named, covered.empty() ? "" : covered + ".");
        // Each line's name and count stand on its number's page and row.
        ForEachOrderedLine(order, [&](const OrderLine& l) {
            const std::string key = PrintKey(l.number);
            const auto number = where.at("temp1_" + key);
            for (const char* prefix : {"temp2_", "temp3_"}) {
                const auto it = where.find(prefix + key);
                if (it == where.end())
                    continue;
                EXPECT_EQ(it->second.first, number.first) << prefix << key;
                EXPECT_EQ(it->second.second->top, number.second->top) << prefix << key;
            }
            const auto count = where.find("temp3_" + key);
            ASSERT_EQ(count != where.end(), l.quantity > 1 || form) << key;
            if (count != where.end()) {
                EXPECT_EQ(count->second.second->caption, std::to_string(l.quantity) + " x") << key;
            }
        });

        checkOrderForm(order, pages, where, form);
        const auto note = where.find("temp1_PLANNING");
        ASSERT_EQ(note != where.end(), suggested);
        if (!suggested)
            continue;
        EXPECT_TRUE(note->second.first == pages.size() - 1 || !covered.empty());
        EXPECT_EQ(note->second.second->caption.rfind("Quantities planned for ", 0), 0u);
        for (const PrintLabel& l : pages[note->second.first].labels) {
            if (&l != note->second.second && l.name.rfind("temp1_COVERED", 0) != 0 &&
                l.name.rfind("temp1_PAGE_", 0) != 0 && l.name != "temp1_TOTALS") {
                EXPECT_GE(note->second.second->top - l.top, 2 * PrintGeometry::kRowStep) << l.name;
            }
        }
    }
}

}  // namespace
}  // namespace tovimar
