// The bytes of the order-list file.
#include "core/output/order_file.h"
#include "core/selection/rules.h"
#include "tests/support/loaded_catalogue.h"

#include <gtest/gtest.h>

namespace tovimar {
namespace {

using tovimar::testing::loaded;

TEST(OrderFile, EmptyOrderIsFiveLinesEachEndingInCrLf) {
    EXPECT_EQ(OrderListText(loaded()), "REAGENTS\r\n\r\nCALIBRATORS\r\n\r\nCONTROLS\r\n");
}

TEST(OrderFile, RealisticOrderInSlotOrderPerSection) {
    Catalogue cat = loaded();
    AssayState s;
    // Ticked in an order unlike the slot order: the file must not care.
    s.SetSelected(AssayRow::VexEtg, true);
    s.ChooseCut(AssayRow::VexEtg, 500);
    s.SetQual(AssayRow::VexEtg, true);
    s.SetSelected(AssayRow::OrlanLsd, true);
    s.ChooseCut(AssayRow::OrlanLsd, 0.5);
    update(s, cat);
    const std::string expected =
        "REAGENTS\r\n" + cat.Assays[7].OrderNo1 + ", " + cat.Assays[7].Name1 + "\r\n" +
        cat.Assays[29].OrderNo1 + ", " + cat.Assays[29].Name1 + "\r\n" + "\r\nCALIBRATORS\r\n" +
        cat.Calibs[1].OrderNo1 + ", " + cat.Calibs[1].Name + ", 5 ml\r\n" + cat.Calibs[14].OrderNo1 + ", " +
        cat.Calibs[14].Name + ", 5 ml\r\n" + cat.Calibs[15].OrderNo1 + ", " + cat.Calibs[15].Name +
        ", 5 ml\r\n" + cat.Calibs[16].OrderNo1 + ", " + cat.Calibs[16].Name + ", 5 ml\r\n" +
        cat.Calibs[59].OrderNo1 + ", " + cat.Calibs[59].Name + ", 25 ml\r\n" + cat.Calibs[61].OrderNo1 +
        ", " + cat.Calibs[61].Name + ", 10 ml\r\n" + "\r\nCONTROLS\r\n" + cat.Ctrls[8].OrderNo + ", " +
        cat.Ctrls[8].Name + "\r\n" + cat.Ctrls[32].OrderNo + ", " + cat.Ctrls[32].Name + "\r\n" +
        cat.Ctrls[33].OrderNo + ", " + cat.Ctrls[33].Name + "\r\n";
    EXPECT_EQ(OrderListText(cat), expected);
}

TEST(OrderFile, AlternativeSizesUseSecondNumberNameAndPack) {
    Catalogue cat = loaded();
    cat.Assays[15].Selected = 1;
    cat.Assays[15].SizeChoice = 2;
    cat.Assays[16].Selected = 1;
    cat.Assays[16].SizeChoice = 1;  // explicitly the standard bottle
    cat.Calibs[1].Selected = 1;
    cat.Calibs[1].SizeChoice = 2;
    const std::string text = OrderListText(cat);
    EXPECT_EQ(text, "REAGENTS\r\n" + cat.Assays[15].OrderNo2 + ", " + cat.Assays[15].Name2 + "\r\n" +
                        cat.Assays[16].OrderNo1 + ", " + cat.Assays[16].Name1 + "\r\n\r\nCALIBRATORS\r\n" +
                        cat.Calibs[1].OrderNo2 + ", " + cat.Calibs[1].Name + ", 15 ml\r\n\r\nCONTROLS\r\n");
}

TEST(OrderFile, EmptyPackEndsInSeparatorAndOnlyValueOneInFilledRangeCounts) {
    Catalogue cat = loaded();
    cat.Calibs[2].Selected = 1;
    cat.Calibs[2].SizeChoice = 2;  // no alternative pack: Pack2 is empty
    cat.Assays[41].Selected = 1;
    cat.Calibs[73].Selected = 1;
    cat.Ctrls[50].Selected = 1;
    cat.Ctrls[1].Selected = 2;
    cat.Assays[1].Selected = -1;
    EXPECT_EQ(OrderListText(cat), "REAGENTS\r\n\r\nCALIBRATORS\r\n" + cat.Calibs[2].OrderNo2 + ", " +
                                      cat.Calibs[2].Name + ", \r\n\r\nCONTROLS\r\n");
}

TEST(OrderFile, SelectAllWritesEveryNumberedItemAsSingleByteText) {
    Catalogue cat = loaded();
    SelectAllItems(cat);
    const std::string text = OrderListText(cat);
    std::size_t lines = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        EXPECT_LT(static_cast<unsigned char>(text[i]), 0x80);
        if (text[i] == '\n') {
            ASSERT_GT(i, 0u);
            EXPECT_EQ(text[i - 1], '\r');
            ++lines;
        }
        if (text[i] == '\r') {
            EXPECT_EQ(text[i + 1], '\n');
        }
    }
    // 5 fixed lines, 37 reagents, 70 calibrators, 47 controls.
    EXPECT_EQ(lines, 5u + 37u + 70u + 47u);
}

}  // namespace
}  // namespace tovimar
