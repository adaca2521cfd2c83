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
    Catalogue cat = loaded();
    for (int s : {1, 3, 14, 17, 21})  // 14 and 21 carry one number twice
        cat.Assays[s].Selected = 1;
    cat.Assays[5].SizeChoice = 2;  // a stored choice alone puts up no box
    cat.Assays[15].Selected = 2;   // only the value 1 is in the order
    const std::vector<SizeBox> boxes = ReagSizeBoxes(cat);
    ASSERT_EQ(slotsOf(boxes), (std::vector<int>{1, 3, 17}));
    EXPECT_EQ(boxes[0].top, 290);
    EXPECT_EQ(boxes[1].top, 630);
    EXPECT_EQ(boxes[2].top, 970);  // the third box stands for slot 17
    EXPECT_EQ(boxes[2].caption, cat.Assays[17].Name1);
    EXPECT_FALSE(boxes[2].ticked);
}

TEST(SizeBoxes, CalibratorsWithEqualNumbersGetNoBoxEvenWithASecondPackText) {
    Catalogue cat = loaded();
    for (int s : {1, 2, 24, 44})
        cat.Calibs[s].Selected = 1;
    ASSERT_FALSE(cat.Calibs[24].Pack2.empty());
    cat.Calibs[44].SizeChoice = 2;
    const std::vector<SizeBox> boxes = CalSizeBoxes(cat);
    ASSERT_EQ(slotsOf(boxes), (std::vector<int>{1, 44}));
    EXPECT_EQ(boxes[0].caption, "5 ml  Negative Urine Calibrator");
    EXPECT_FALSE(boxes[0].ticked);
    EXPECT_EQ(boxes[1].caption, "25 ml  VEX Multi-Drug Urine Calibrator 1");
    EXPECT_TRUE(boxes[1].ticked);
    EXPECT_EQ(boxes[1].top, 630);
}

TEST(SizeBoxes, TheWholeCatalogueFitsTheFrames) {
    // The reagent frame is 10850 twips high, the calibrator frame 5400; a box is 255 high.
    Catalogue cat = loaded();
    SelectAllItems(cat);
    const std::vector<SizeBox> reag = ReagSizeBoxes(cat);
    const std::vector<SizeBox> cal = CalSizeBoxes(cat);
    ASSERT_EQ(reag.size(), 27u);
    ASSERT_EQ(cal.size(), 13u);
    EXPECT_EQ(reag.back().top, 9130);
    EXPECT_EQ(cal.back().top, 4370);
    EXPECT_LE(reag.back().top + 255, 10850);
    EXPECT_LE(cal.back().top + 255, 5400);
}

TEST(SizeBoxes, TickOrdersTheAlternativeAndUntickTheStandardExplicitly) {
    Catalogue cat = loaded();
    mAssay& vexAmph = cat.Assays[15];
    ChooseSize(vexAmph, true);
    EXPECT_EQ(vexAmph.SizeChoice, 2);
    EXPECT_EQ(SizeCaption(vexAmph), "VEX Amphetamines Assay 500 ml");
    ChooseSize(vexAmph, false);
    EXPECT_EQ(vexAmph.SizeChoice, 1);
    EXPECT_EQ(SizeCaption(vexAmph), "VEX Amphetamines Assay 100 ml");

    mCalib& thc = cat.Calibs[70];
    thc.Selected = 1;
    ChooseSize(thc, true);
    EXPECT_EQ(SizeCaption(thc), "25 ml  VEX THC Calibrator 50 ng/ml");
    EXPECT_EQ(tovimar::testing::calibLines(cat),
              (std::vector<std::string>{"6705\t\tVEX THC Calibrator 50 ng/ml"}));
    ChooseSize(thc, false);
    EXPECT_EQ(thc.SizeChoice, 1);
    EXPECT_EQ(tovimar::testing::calibLines(cat),
              (std::vector<std::string>{"6700\t\tVEX THC Calibrator 50 ng/ml"}));
}

TEST(SizeBoxes, ReagentColoursBySchemeSetVexApart) {
    const std::string vex = "VEX Opiate Assay 100 ml";
    const std::string orlan = "ORLAN Opiate Assay Line 1";
    EXPECT_EQ(ReagSizeBoxColour(1, vex), 0xB2B3B4u);
    EXPECT_EQ(ReagSizeBoxColour(1, orlan), 0xB2B3B4u);
    EXPECT_EQ(ReagSizeBoxColour(2, vex), 0xB2B3BDu);
    EXPECT_EQ(ReagSizeBoxColour(2, orlan), 0xE2C3A9u);
    EXPECT_EQ(ReagSizeBoxColour(3, vex), 0xACEDFDu);
    EXPECT_EQ(ReagSizeBoxColour(3, orlan), 0xE2C3A9u);
    // The family word decides, in capitals and at the start only.
    EXPECT_EQ(ReagSizeBoxColour(3, "Vex Opiate"), 0xE2C3A9u);
    EXPECT_EQ(ReagSizeBoxColour(3, "Acetaminophen Serum Tox Assay 25 ml"), 0xE2C3A9u);
}

// ---- Adding lists --------------------------------------------------------------------------------

TEST(MissLists, EveryNamedProductOutsideTheOrderInSlotOrder) {
    Catalogue cat = loaded();
    const std::vector<std::int16_t> cal = CalMissSlots(cat);
    const std::vector<std::int16_t> ctrl = CtrlMissSlots(cat);
    // Calibrator slots 52, 55..58 and 64..68 and control slots 21 and 38..42 have no name.
    EXPECT_EQ(cal.size(), 62u);
    EXPECT_EQ(ctrl.size(), 43u);
    EXPECT_TRUE(std::is_sorted(cal.begin(), cal.end()));
    for (int unnamed : {52, 55, 58, 64, 68})
        EXPECT_EQ(std::count(cal.begin(), cal.end(), unnamed), 0) << unnamed;
    for (int unnamed : {21, 38, 39, 42})
        EXPECT_EQ(std::count(ctrl.begin(), ctrl.end(), unnamed), 0) << unnamed;

    cat.Calibs[2].Selected = 1;
    cat.Calibs[3].Selected = 2;  // not in the order: still offered
    cat.Calibs[4].Name = "   ";
    cat.Calibs[5].Name = "  Padded name ";
    const std::vector<std::int16_t> after = CalMissSlots(cat);
    EXPECT_EQ(std::vector<std::int16_t>(after.begin(), after.begin() + 3),
              (std::vector<std::int16_t>{1, 3, 5}));
}

TEST(MissLists, TickedPositionsGoThroughTheMap) {
    Catalogue cat = loaded();
    cat.Calibs[2].Selected = 1;
    const std::vector<std::int16_t> map = CalMissSlots(cat);
    ASSERT_EQ(map[1], 3);
    ASSERT_EQ(map.size(), 61u);
    AddTickedCalibs(cat, map, {1, 60, 61, -1});  // 61 and -1 lie outside the list
    for (int s = 1; s <= CalibTable::kFilled; ++s)
        EXPECT_EQ(cat.Calibs[s].Selected, (s == 2 || s == 3 || s == 72) ? 1 : 0) << s;

    const std::vector<std::int16_t> ctrlMap = CtrlMissSlots(cat);
    AddTickedCtrls(cat, ctrlMap, {});
    for (const mCTRL& c : cat.Ctrls)
        EXPECT_EQ(c.Selected, 0);
    AddTickedCtrls(cat, ctrlMap, {20});  // past the unnamed slot 21
    EXPECT_EQ(cat.Ctrls[22].Selected, 1);
    EXPECT_EQ(CtrlMissSlots(cat).size(), 42u);
}

TEST(MissLists, BlanksAloneNameNothing) {
    EXPECT_FALSE(HasName(""));
    EXPECT_FALSE(HasName("    "));
    EXPECT_TRUE(HasName(" x "));
}
