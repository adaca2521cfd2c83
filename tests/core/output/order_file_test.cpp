// The bytes of the order-list file, and the same order as CSV and as an HTML table.
#include "core/output/order_export.h"
#include "core/output/order_file.h"
#include "core/planning/order_plan.h"
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

// More than one of a product: the line begins with the count; lines of one and an empty plan
// are the file as it always was.
TEST(OrderFile, QuantitiesAboveOneLeadTheirLines) {
    Catalogue cat = loaded();
    cat.Assays[15].Selected = 1;
    cat.Calibs[1].Selected = 1;
    cat.Ctrls[8].Selected = 1;
    const std::string ones = OrderListText(cat);
    OrderPlan plan;
    EXPECT_EQ(OrderListText(cat, plan), ones);
    ASSERT_TRUE(plan.SetTyped(OrderTable::Assays, cat.Assays[15].OrderNo1, 3));
    ASSERT_TRUE(plan.SetTyped(OrderTable::Calibs, cat.Calibs[1].OrderNo1, 1));
    ASSERT_TRUE(plan.SetTyped(OrderTable::Ctrls, cat.Ctrls[8].OrderNo, 9999));
    EXPECT_EQ(OrderListText(cat, plan), "REAGENTS\r\n3 x " + cat.Assays[15].OrderNo1 + ", " +
                                            cat.Assays[15].Name1 + "\r\n\r\nCALIBRATORS\r\n" +
                                            cat.Calibs[1].OrderNo1 + ", " + cat.Calibs[1].Name +
                                            ", 5 ml\r\n\r\nCONTROLS\r\n9999 x " + cat.Ctrls[8].OrderNo +
                                            ", " + cat.Ctrls[8].Name + "\r\n");
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

// ---- CSV and HTML ------------------------------------------------------------------------------

// An order whose texts need every kind of care: a comma and quotes, markup characters and a Latin-1
// letter, a line break.
Catalogue awkwardOrder() {
    Catalogue cat = loaded();
    cat.Assays[15].Name2 = "VEX Amph, \"big\" 500 ml";
    PutInOrder(cat.Assays[15]);
    cat.Assays[15].SizeChoice = 2;
    cat.Calibs[1].Name = "Neg <&> Cal\xE9";
    cat.Calibs[1].Pack1 = "5 'ml'";
    PutInOrder(cat.Calibs[1]);
    cat.Ctrls[2].Name = "Set B\r\nlevel 2";
    PutInOrder(cat.Ctrls[2]);
    return cat;
}

// A plan with one line of more than one: the others still say 1.
OrderPlan twelveOf(const mCTRL& control) {
    OrderPlan plan;
    EXPECT_TRUE(plan.SetTyped(OrderTable::Ctrls, control.OrderNo, 12));
    return plan;
}

TEST(OrderExport, CsvQuotesOnlyWhatNeedsItAndIsUtf8WithCrLf) {
    EXPECT_EQ(OrderCsv(loaded()), "section,number,product,pack,quantity\r\n");
    const Catalogue cat = awkwardOrder();
    EXPECT_EQ(OrderCsv(cat, twelveOf(cat.Ctrls[2])), "section,number,product,pack,quantity\r\n"
                                                     "REAGENTS," +
                                                         cat.Assays[15].OrderNo2 +
                                                         ",\"VEX Amph, \"\"big\"\" 500 ml\",,1\r\n"
                                                         "CALIBRATORS," +
                                                         cat.Calibs[1].OrderNo1 +
                                                         ",Neg <&> Cal\xC3\xA9,5 'ml',1\r\n"
                                                         "CONTROLS," +
                                                         cat.Ctrls[2].OrderNo +
                                                         ",\"Set B\r\nlevel 2\",,12\r\n");
}

TEST(OrderExport, HtmlTableEscapesEveryText) {
    const std::string head = "<table>\n<tr><th>Section</th><th>Number</th><th>Product</th><th>Pack</th>"
                             "<th>Quantity</th></tr>\n";
    EXPECT_EQ(OrderHtml(loaded()), head + "</table>\n");
    const Catalogue cat = awkwardOrder();
    EXPECT_EQ(OrderHtml(cat, twelveOf(cat.Ctrls[2])),
              head + "<tr><td>REAGENTS</td><td>" + cat.Assays[15].OrderNo2 +
                  "</td><td>VEX Amph, &quot;big&quot; 500 ml</td><td></td><td>1</td></tr>\n"
                  "<tr><td>CALIBRATORS</td><td>" +
                  cat.Calibs[1].OrderNo1 +
                  "</td><td>Neg &lt;&amp;&gt; Cal\xC3\xA9</td><td>5 &#39;ml&#39;</td><td>1</td></tr>\n"
                  "<tr><td>CONTROLS</td><td>" +
                  cat.Ctrls[2].OrderNo +
                  "</td><td>Set B\r\nlevel 2</td><td></td><td>12</td></tr>\n</table>\n");
}

}  // namespace
}  // namespace tovimar
