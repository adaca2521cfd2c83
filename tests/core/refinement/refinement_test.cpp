// Order refinement in the core: which products get a size box and what it says, what a tick does
// to the record, and which products the adding lists offer and add.
#include "core/refinement/miss_lists.h"
#include "core/refinement/size_boxes.h"
#include "core/selection/result_lists.h"
#include "tests/support/loaded_catalogue.h"
#include "tests/support/order_lines.h"

#include <algorithm>
#include <gtest/gtest.h>

using namespace tovimar;

namespace {

using tovimar::testing::loaded;

std::vector<int> slotsOf(const std::vector<SizeBox>& boxes) {
    std::vector<int> slots;
    for (const SizeBox& b : boxes)
        slots.push_back(b.slot);
    return slots;
}

}  // namespace

// ---- Size boxes ----------------------------------------------------------------------------------

TEST(SizeBoxes, OnlyOrderedReagentsWithAnAlternativePackedInSlotOrder) {
    OrderFlags order;
    for (int s : {1, 3, 14, 17, 21})  // 14 and 21 carry one number twice
        order.Assays[s].Selected = 1;
    order.Assays[5].SizeChoice = 2;  // a stored choice alone puts up no box
    order.Assays[15].Selected = 2;   // only the value 1 is in the order
    const std::vector<SizeBox> boxes = ReagSizeBoxes(order);
    ASSERT_EQ(slotsOf(boxes), (std::vector<int>{1, 3, 17}));
    EXPECT_EQ(boxes[0].top, 290);
    EXPECT_EQ(boxes[1].top, 630);
    EXPECT_EQ(boxes[2].top, 970);  // the third box stands for slot 17
    EXPECT_EQ(boxes[2].caption, TheCatalogue().Assays[17].Name1);
    EXPECT_FALSE(boxes[2].ticked);
}

TEST(SizeBoxes, CalibratorsWithEqualNumbersGetNoBoxEvenWithASecondPackText) {
    OrderFlags order;
    for (int s : {1, 2, 24, 44})
        order.Calibs[s].Selected = 1;
    ASSERT_FALSE(TheCatalogue().Calibs[24].Pack2.empty());
    order.Calibs[44].SizeChoice = 2;
    const std::vector<SizeBox> boxes = CalSizeBoxes(order);
    ASSERT_EQ(slotsOf(boxes), (std::vector<int>{1, 44}));
    EXPECT_EQ(boxes[0].caption, "5 ml  Negative Urine Calibrator");
    EXPECT_FALSE(boxes[0].ticked);
    EXPECT_EQ(boxes[1].caption, "25 ml  VEX Multi-Drug Urine Calibrator 1");
    EXPECT_TRUE(boxes[1].ticked);
    EXPECT_EQ(boxes[1].top, 630);
}

TEST(SizeBoxes, TheWholeCatalogueFitsTheFrames) {
    // The reagent frame is 10850 twips high, the calibrator frame 5400; a box is 255 high.
    OrderFlags order;
    SelectAllItems(order);
    const std::vector<SizeBox> reag = ReagSizeBoxes(order);
    const std::vector<SizeBox> cal = CalSizeBoxes(order);
    ASSERT_EQ(reag.size(), 27u);
    ASSERT_EQ(cal.size(), 13u);
    EXPECT_EQ(reag.back().top, 9130);
    EXPECT_EQ(cal.back().top, 4370);
    EXPECT_LE(reag.back().top + 255, 10850);
    EXPECT_LE(cal.back().top + 255, 5400);
}

TEST(SizeBoxes, TickOrdersTheAlternativeAndUntickTheStandardExplicitly) {
    const Catalogue& cat = TheCatalogue();
    Order order = loaded();
    AssayOrder& vexAmph = order.Assays[15];
    ChooseSize(vexAmph, true);
    EXPECT_EQ(vexAmph.SizeChoice, 2);
    EXPECT_EQ(SizeCaption(cat.Assays[15], vexAmph), "VEX Amphetamines Assay 500 ml");
    ChooseSize(vexAmph, false);
    EXPECT_EQ(vexAmph.SizeChoice, 1);
    EXPECT_EQ(SizeCaption(cat.Assays[15], vexAmph), "VEX Amphetamines Assay 100 ml");

    CalibOrder& thc = order.Calibs[70];
    thc.Selected = 1;
    ChooseSize(thc, true);
    EXPECT_EQ(SizeCaption(cat.Calibs[70], thc), "25 ml  VEX THC Calibrator 50 ng/ml");
    EXPECT_EQ(tovimar::testing::calibLines(order),
              (std::vector<std::string>{"6705\t\tVEX THC Calibrator 50 ng/ml"}));
    ChooseSize(thc, false);
    EXPECT_EQ(thc.SizeChoice, 1);
    EXPECT_EQ(tovimar::testing::calibLines(order),
              (std::vector<std::string>{"6700\t\tVEX THC Calibrator 50 ng/ml"}));

    // The box of a slot reaches the same flags.
    ChooseAlternativeSize(order, SizedProduct::Calibrator, 70, true);
    EXPECT_EQ(thc.SizeChoice, 2);
    ChooseAlternativeSize(order, SizedProduct::Reagent, 15, true);
    EXPECT_EQ(vexAmph.SizeChoice, 2);
    EXPECT_EQ(order.Calibs[15].SizeChoice, 0);
}

TEST(SizeBoxes, VexReagentsAreSetApart) {
    EXPECT_EQ(ReagSizeBoxGroup("VEX Opiate Assay 100 ml"), ColourGroup::V);
    EXPECT_EQ(ReagSizeBoxGroup("ORLAN Opiate Assay Line 1"), ColourGroup::O);
    // The family word decides, in capitals and at the start only.
    EXPECT_EQ(ReagSizeBoxGroup("Vex Opiate"), ColourGroup::O);
    EXPECT_EQ(ReagSizeBoxGroup("Acetaminophen Serum Tox Assay 25 ml"), ColourGroup::O);
}

// ---- Adding lists --------------------------------------------------------------------------------

TEST(MissLists, EveryNamedProductOutsideTheOrderInSlotOrder) {
    OrderFlags order;
    const std::vector<std::int16_t> cal = CalMissSlots(order);
    const std::vector<std::int16_t> ctrl = CtrlMissSlots(order);
    // Calibrator slots 52, 55..58 and 64..68 and control slots 21 and 38..42 have no name.
    EXPECT_EQ(cal.size(), 62u);
    EXPECT_EQ(ctrl.size(), 43u);
    EXPECT_TRUE(std::is_sorted(cal.begin(), cal.end()));
    for (int unnamed : {52, 55, 58, 64, 68})
        EXPECT_EQ(std::count(cal.begin(), cal.end(), unnamed), 0) << unnamed;
    for (int unnamed : {21, 38, 39, 42})
        EXPECT_EQ(std::count(ctrl.begin(), ctrl.end(), unnamed), 0) << unnamed;

    order.Calibs[2].Selected = 1;
    order.Calibs[3].Selected = 2;  // not in the order: still offered
    const std::vector<std::int16_t> after = CalMissSlots(order);
    EXPECT_EQ(std::vector<std::int16_t>(after.begin(), after.begin() + 3),
              (std::vector<std::int16_t>{1, 3, 4}));
}

TEST(MissLists, TickedPositionsGoThroughTheMap) {
    OrderFlags order;
    order.Calibs[2].Selected = 1;
    const std::vector<std::int16_t> map = CalMissSlots(order);
    ASSERT_EQ(map[1], 3);
    ASSERT_EQ(map.size(), 61u);
    AddTickedCalibs(order, map, {1, 60, 61, -1});  // 61 and -1 lie outside the list
    for (int s = 1; s <= CalibTable::kFilled; ++s)
        EXPECT_EQ(order.Calibs[s].Selected, (s == 2 || s == 3 || s == 72) ? 1 : 0) << s;

    const std::vector<std::int16_t> ctrlMap = CtrlMissSlots(order);
    AddTickedCtrls(order, ctrlMap, {});
    for (const CtrlOrder& c : order.Ctrls)
        EXPECT_EQ(c.Selected, 0);
    AddTickedCtrls(order, ctrlMap, {20});  // past the unnamed slot 21
    EXPECT_EQ(order.Ctrls[22].Selected, 1);
    EXPECT_EQ(CtrlMissSlots(order).size(), 42u);
}

TEST(MissLists, BlanksAloneNameNothing) {
    EXPECT_FALSE(HasName(""));
    EXPECT_FALSE(HasName("    "));
    EXPECT_TRUE(HasName(" x "));
}
