// The lines of the two result lists.
#include "core/selection/result_lists.h"
#include "core/selection/rules.h"
#include "tests/support/order_lines.h"

#include <gtest/gtest.h>

namespace tovimar {
namespace {

TEST(ResultLists, TabsDependOnNumberLength) {
    EXPECT_EQ(tovimar::testing::listLine("1234 567", "Eight"), "1234 567\t\tEight");  // exactly 8: two tabs
    EXPECT_EQ(tovimar::testing::listLine("1234 5678", "Nine"), "1234 5678\tNine");    // 9: one tab
    EXPECT_EQ(tovimar::testing::listLine("UC-1A", ""), "UC-1A\t\t");
    // A count opens the name's column; the tabs follow the number alone.
    EXPECT_EQ(tovimar::testing::listLine("4150", "Four", 12), "4150\t\t12 x Four");
    EXPECT_EQ(tovimar::testing::listLine("1234 5678", "Nine", 9999), "1234 5678\t9999 x Nine");
    EXPECT_EQ(tovimar::testing::listLine("1234 567", "Eight", 1), "1234 567\t\tEight");
}

TEST(ResultLists, EmptyOrderGivesEmptyLists) {
    Catalogue cat;
    LoadCatalogue(cat);
    EXPECT_TRUE(tovimar::testing::calibLines(cat).empty());
    EXPECT_TRUE(tovimar::testing::ctrlLines(cat).empty());
}

TEST(ResultLists, SlotOrderOnlyValueOneAndAlternativeNumbers) {
    Catalogue cat;
    LoadCatalogue(cat);
    cat.Calibs[44].Selected = 1;
    cat.Calibs[1].Selected = 1;
    cat.Calibs[1].SizeChoice = 2;
    cat.Calibs[3].Selected = 2;    // not 1: not in the order
    cat.Calibs[4].Selected = -1;   // nor this
    cat.Calibs[5].SizeChoice = 2;  // chosen size but not ordered
    cat.Calibs[60].Selected = 1;
    cat.Ctrls[43].Selected = 1;
    cat.Ctrls[1].Selected = 1;
    EXPECT_EQ(
        tovimar::testing::calibLines(cat),
        (std::vector<std::string>{tovimar::testing::listLine(cat.Calibs[1].OrderNo2, cat.Calibs[1].Name),
                                  tovimar::testing::listLine(cat.Calibs[44].OrderNo1, cat.Calibs[44].Name),
                                  cat.Calibs[60].OrderNo1 + "\t" + cat.Calibs[60].Name}));
    EXPECT_EQ(tovimar::testing::ctrlLines(cat),
              (std::vector<std::string>{cat.Ctrls[1].OrderNo + "\t\t" + cat.Ctrls[1].Name,
                                        cat.Ctrls[43].OrderNo + "\t" + cat.Ctrls[43].Name}));
    cat.Calibs[1].SizeChoice = 1;  // back to the standard pack
    EXPECT_EQ(tovimar::testing::calibLines(cat).front(),
              tovimar::testing::listLine(cat.Calibs[1].OrderNo1, cat.Calibs[1].Name));

    // With quantities: typed for the standard pack only, and suggested for one control.
    OrderPlan plan;
    ASSERT_TRUE(plan.SetTyped(OrderTable::Calibs, cat.Calibs[1].OrderNo1, 3));
    ASSERT_TRUE(plan.SetWorkload({2, 15, 0, 0}));
    ASSERT_TRUE(plan.SetUsesPerPack(OrderTable::Ctrls, cat.Ctrls[43].OrderNo, 10));
    std::vector<std::string> cal, ctl;
    CalibListLines(cat, plan, cal);
    CtrlListLines(cat, plan, ctl);
    EXPECT_EQ(cal, (std::vector<std::string>{
                       tovimar::testing::listLine(cat.Calibs[1].OrderNo1, cat.Calibs[1].Name, 3),
                       tovimar::testing::listLine(cat.Calibs[44].OrderNo1, cat.Calibs[44].Name),
                       cat.Calibs[60].OrderNo1 + "\t" + cat.Calibs[60].Name}));
    EXPECT_EQ(ctl, (std::vector<std::string>{cat.Ctrls[1].OrderNo + "\t\t" + cat.Ctrls[1].Name,
                                             cat.Ctrls[43].OrderNo + "\t3 x " + cat.Ctrls[43].Name}));
    cat.Calibs[1].SizeChoice = 2;  // the other pack is another product: one again
    CalibListLines(cat, plan, cal);
    EXPECT_EQ(cal, tovimar::testing::calibLines(cat));
}

TEST(ResultLists, CalibratorRequiredByTwoRowsIsListedOnce) {
    Catalogue cat;
    LoadCatalogue(cat);
    AssayState s;
    s.SetSelected(AssayRow::OrlanAmphXtc, true);
    s.SetSelected(AssayRow::OrlanLsd, true);
    update(s, cat);
    const auto lines = tovimar::testing::calibLines(cat);
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(lines[0], tovimar::testing::listLine(cat.Calibs[1].OrderNo1, cat.Calibs[1].Name));
}

}  // namespace
}  // namespace tovimar

namespace tovimar {
namespace {

// The window refills into the same buffers on every click; a shorter order must not leave
// stale lines behind, and a longer one must not lose any.
TEST(ResultLists, RefillIntoUsedBuffersEqualsAFreshFill) {
    Catalogue cat;
    LoadCatalogue(cat);
    std::vector<std::string> cal, ctl;
    SelectAllItems(cat);
    CalibListLines(cat, cal);
    CtrlListLines(cat, ctl);
    ASSERT_EQ(cal.size(), 70u);
    ASSERT_EQ(ctl.size(), 47u);
    AssayState s;
    s.SetSelected(AssayRow::VexCotinine, true);
    update(s, cat);
    CalibListLines(cat, cal);
    CtrlListLines(cat, ctl);
    EXPECT_EQ(cal, tovimar::testing::calibLines(cat));
    EXPECT_EQ(ctl, tovimar::testing::ctrlLines(cat));
    EXPECT_EQ(ctl.size(), 2u);
    SelectAllItems(cat);
    CalibListLines(cat, cal);
    EXPECT_EQ(cal, tovimar::testing::calibLines(cat));
}

}  // namespace
}  // namespace tovimar
