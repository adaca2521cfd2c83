// The lines of the two result lists.
#include "core/order/order.h"
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
    const Order order;
    EXPECT_TRUE(tovimar::testing::calibLines(order).empty());
    EXPECT_TRUE(tovimar::testing::ctrlLines(order).empty());
}

TEST(ResultLists, SlotOrderOnlyValueOneAndAlternativeNumbers) {
    const Catalogue& cat = TheCatalogue();
    Order order;
    order.Calibs[44].Selected = 1;
    order.Calibs[1].Selected = 1;
    order.Calibs[1].SizeChoice = 2;
    order.Calibs[3].Selected = 2;    // not 1: not in the order
    order.Calibs[4].Selected = -1;   // nor this
    order.Calibs[5].SizeChoice = 2;  // chosen size but not ordered
    order.Calibs[60].Selected = 1;
    order.Ctrls[43].Selected = 1;
    order.Ctrls[1].Selected = 1;
    EXPECT_EQ(
        tovimar::testing::calibLines(order),
        (std::vector<std::string>{tovimar::testing::listLine(cat.Calibs[1].OrderNo2, cat.Calibs[1].Name),
                                  tovimar::testing::listLine(cat.Calibs[44].OrderNo1, cat.Calibs[44].Name),
                                  cat.Calibs[60].OrderNo1 + "\t" + cat.Calibs[60].Name}));
    EXPECT_EQ(tovimar::testing::ctrlLines(order),
              (std::vector<std::string>{cat.Ctrls[1].OrderNo + "\t\t" + cat.Ctrls[1].Name,
                                        cat.Ctrls[43].OrderNo + "\t" + cat.Ctrls[43].Name}));
    order.Calibs[1].SizeChoice = 1;  // back to the standard pack
    EXPECT_EQ(tovimar::testing::calibLines(order).front(),
              tovimar::testing::listLine(cat.Calibs[1].OrderNo1, cat.Calibs[1].Name));

    // With quantities: typed for the standard pack only, and suggested for one control.
    Order ones = order;
    OrderPlan& plan = order.plan;
    ASSERT_TRUE(plan.SetTyped(OrderTable::Calibs, cat.Calibs[1].OrderNo1, 3));
    ASSERT_TRUE(plan.SetWorkload({2, 15, 0, 0}));
    ASSERT_TRUE(plan.SetUsesPerPack(OrderTable::Ctrls, cat.Ctrls[43].OrderNo, 10));
    std::vector<std::string> cal, ctl;
    CalibListLines(order, cal);
    CtrlListLines(order, ctl);
    EXPECT_EQ(cal, (std::vector<std::string>{
                       tovimar::testing::listLine(cat.Calibs[1].OrderNo1, cat.Calibs[1].Name, 3),
                       tovimar::testing::listLine(cat.Calibs[44].OrderNo1, cat.Calibs[44].Name),
                       cat.Calibs[60].OrderNo1 + "\t" + cat.Calibs[60].Name}));
    EXPECT_EQ(ctl, (std::vector<std::string>{cat.Ctrls[1].OrderNo + "\t\t" + cat.Ctrls[1].Name,
                                             cat.Ctrls[43].OrderNo + "\t3 x " + cat.Ctrls[43].Name}));
    // The other pack is another product: one again, as in the order without a plan.
    order.Calibs[1].SizeChoice = ones.Calibs[1].SizeChoice = 2;
    CalibListLines(order, cal);
    EXPECT_EQ(cal, tovimar::testing::calibLines(ones));
}

TEST(ResultLists, CalibratorRequiredByTwoRowsIsListedOnce) {
    Order order;
    order.state.SetSelected(AssayRow::OrlanAmphXtc, true);
    order.state.SetSelected(AssayRow::OrlanLsd, true);
    update(order);
    const auto lines = tovimar::testing::calibLines(order);
    const mCalib& c1 = TheCatalogue().Calibs[1];
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(lines[0], tovimar::testing::listLine(c1.OrderNo1, c1.Name));
}

}  // namespace
}  // namespace tovimar

namespace tovimar {
namespace {

// The window refills into the same buffers on every click; a shorter order must not leave
// stale lines behind, and a longer one must not lose any.
TEST(ResultLists, RefillIntoUsedBuffersEqualsAFreshFill) {
    Order order;
    std::vector<std::string> cal, ctl;
    SelectAllItems(order);
    CalibListLines(order, cal);
    CtrlListLines(order, ctl);
    ASSERT_EQ(cal.size(), 70u);
    ASSERT_EQ(ctl.size(), 47u);
    AssayState s;
    s.SetSelected(AssayRow::VexCotinine, true);
    update(s, order);
    CalibListLines(order, cal);
    CtrlListLines(order, ctl);
    EXPECT_EQ(cal, tovimar::testing::calibLines(order));
    EXPECT_EQ(ctl, tovimar::testing::ctrlLines(order));
    EXPECT_EQ(ctl.size(), 2u);
    SelectAllItems(order);
    CalibListLines(order, cal);
    EXPECT_EQ(cal, tovimar::testing::calibLines(order));
}

}  // namespace
}  // namespace tovimar
