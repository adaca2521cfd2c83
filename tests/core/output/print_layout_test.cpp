// The printed order's layout: label names, captions and positions in twips, and the pages.
#include "core/output/print_layout.h"
#include "tests/support/loaded_catalogue.h"

#include <gtest/gtest.h>
#include <map>
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
    Catalogue cat = loaded();
    cat.Assays[1].Selected = 1;
    cat.Assays[15].Selected = 1;
    cat.Assays[15].SizeChoice = 2;
    cat.Ctrls[43].Selected = 1;
    cat.Calibs[1].Selected = 1;
    cat.Calibs[1].SizeChoice = 2;
    cat.Calibs[2].Selected = 1;
    const auto pages = BuildPrintLayout(cat);
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
    Catalogue cat = loaded();
    SelectAllItems(cat);
    const int pageHeight = PrintGeometry::kA4Height;
    const auto pages = BuildPrintLayout(cat, pageHeight);
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
    for (const mAssay& a : cat.Assays)
        if (a.Selected == 1)
            expectedLeft.push_back(a.OrderNo1);
    expectedLeft.push_back("CONTROLS");
    std::vector<std::string> expectedRight{"CALIBRATORS"};
    for (const mCalib& c : cat.Calibs)
        if (c.Selected == 1)
            expectedRight.push_back(c.OrderNo1);
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
    for (const mCTRL& c : cat.Ctrls)
        if (c.Selected == 1)
            expectedLeft.push_back(c.OrderNo);
    EXPECT_EQ(leftRows, expectedLeft);
}

TEST(PrintLayout, AShortPageMovesAHeadingThatDoesNotFitToTheNextPage) {
    Catalogue cat = loaded();
    for (int s = 1; s <= 23; ++s)
        cat.Assays[s].Selected = 1;
    // Room for the heading and 22 rows only (lastTop = 120 + 22 * 260).
    const int pageHeight =
        120 + 22 * 260 + PrintGeometry::kOffset + PrintGeometry::kLabelHeight + PrintGeometry::kBottomMargin;
    const auto pages = BuildPrintLayout(cat, pageHeight);
    ASSERT_EQ(pages.size(), 2u);
    expectLabel(pages[1], "temp1_REAGENTS_2", "REAGENTS (continued)", 420, 420, 4500);
    expectLabel(pages[1], "temp1_" + PrintKey(cat.Assays[23].OrderNo1), cat.Assays[23].OrderNo1, 420, 680,
                900);
    // CONTROLS two lines under the last reagent, still on the second page, not continued.
    expectLabel(pages[1], "temp1_CONTROLS", "CONTROLS", 420, 1200, 4500);
}

}  // namespace
}  // namespace tovimar
