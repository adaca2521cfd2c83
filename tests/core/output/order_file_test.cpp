// The bytes of the order-list file, and the same order as CSV and as an HTML table.
#include "core/order/order.h"
#include "core/output/latin1.h"
#include "core/output/order_export.h"
#include "core/output/order_file.h"
#include "core/planning/order_plan.h"
#include "core/selection/result_lists.h"
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
    const Catalogue& cat = TheCatalogue();
    Order order;
    AssayState& s = order.state;
    // Ticked in an order unlike the slot order: the file must not care.
    s.SetSelected(AssayRow::VexEtg, true);
    s.ChooseCut(AssayRow::VexEtg, 500);
    s.SetQual(AssayRow::VexEtg, true);
    s.SetSelected(AssayRow::OrlanLsd, true);
    s.ChooseCut(AssayRow::OrlanLsd, 0.5);
    update(order);
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
    EXPECT_EQ(OrderListText(order), expected);
}

TEST(OrderFile, AlternativeSizesUseSecondNumberNameAndPack) {
    const Catalogue& cat = TheCatalogue();
    Order order;
    order.Assays[15].Selected = 1;
    order.Assays[15].SizeChoice = 2;
    order.Assays[16].Selected = 1;
    order.Assays[16].SizeChoice = 1;  // explicitly the standard bottle
    order.Calibs[1].Selected = 1;
    order.Calibs[1].SizeChoice = 2;
    const std::string text = OrderListText(order);
    EXPECT_EQ(text, "REAGENTS\r\n" + cat.Assays[15].OrderNo2 + ", " + cat.Assays[15].Name2 + "\r\n" +
                        cat.Assays[16].OrderNo1 + ", " + cat.Assays[16].Name1 + "\r\n\r\nCALIBRATORS\r\n" +
                        cat.Calibs[1].OrderNo2 + ", " + cat.Calibs[1].Name + ", 15 ml\r\n\r\nCONTROLS\r\n");
}

// More than one of a product: the line begins with the count; lines of one, also where the plan
// has figures that suggest nothing, are the file as it always was.
TEST(OrderFile, QuantitiesAboveOneLeadTheirLines) {
    const Catalogue& cat = TheCatalogue();
    Order order;
    order.Assays[15].Selected = 1;
    order.Calibs[1].Selected = 1;
    order.Ctrls[8].Selected = 1;
    const std::string ones = OrderListText(order);
    OrderPlan& plan = order.plan;
    ASSERT_TRUE(plan.SetWorkload({6, 0, 0, 10}));
    ASSERT_TRUE(plan.HasFigures());
    EXPECT_EQ(OrderListText(order), ones);
    ASSERT_TRUE(plan.SetTyped(OrderTable::Assays, cat.Assays[15].OrderNo1, 3));
    ASSERT_TRUE(plan.SetTyped(OrderTable::Calibs, cat.Calibs[1].OrderNo1, 1));
    ASSERT_TRUE(plan.SetTyped(OrderTable::Ctrls, cat.Ctrls[8].OrderNo, 9999));
    EXPECT_EQ(OrderListText(order), "REAGENTS\r\n3 x " + cat.Assays[15].OrderNo1 + ", " +
                                        cat.Assays[15].Name1 + "\r\n\r\nCALIBRATORS\r\n" +
                                        cat.Calibs[1].OrderNo1 + ", " + cat.Calibs[1].Name +
                                        ", 5 ml\r\n\r\nCONTROLS\r\n9999 x " + cat.Ctrls[8].OrderNo + ", " +
                                        cat.Ctrls[8].Name + "\r\n");
}

TEST(OrderFile, EmptyPackEndsInSeparatorAndOnlyValueOneInFilledRangeCounts) {
    const Catalogue& cat = TheCatalogue();
    Order order;
    order.Calibs[2].Selected = 1;
    order.Calibs[2].SizeChoice = 2;  // no alternative pack: Pack2 is empty
    order.Assays[41].Selected = 1;
    order.Calibs[73].Selected = 1;
    order.Ctrls[50].Selected = 1;
    order.Ctrls[1].Selected = 2;
    order.Assays[1].Selected = -1;
    EXPECT_EQ(OrderListText(order), "REAGENTS\r\n\r\nCALIBRATORS\r\n" + cat.Calibs[2].OrderNo2 + ", " +
                                        cat.Calibs[2].Name + ", \r\n\r\nCONTROLS\r\n");
}

TEST(OrderFile, SelectAllWritesEveryNumberedItemAsSingleByteText) {
    Order order;
    SelectAllItems(order);
    const std::string text = OrderListText(order);
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

// An order of each section: a reagent in its alternative size, a calibrator with its pack, and a
// control of twelve; the others still say 1.
Order mixedOrder() {
    Order order;
    PutInOrder(order.Assays[15]);
    order.Assays[15].SizeChoice = 2;
    PutInOrder(order.Calibs[1]);
    PutInOrder(order.Ctrls[2]);
    EXPECT_TRUE(order.plan.SetTyped(OrderTable::Ctrls, TheCatalogue().Ctrls[2].OrderNo, 12));
    return order;
}

TEST(OrderExport, CsvIsOneRecordPerLineWithCrLf) {
    const Catalogue& cat = TheCatalogue();
    EXPECT_EQ(OrderCsv(loaded()), "section,number,product,pack,quantity\r\n");
    EXPECT_EQ(OrderCsv(mixedOrder()), "section,number,product,pack,quantity\r\n"
                                      "REAGENTS," +
                                          cat.Assays[15].OrderNo2 + "," + cat.Assays[15].Name2 +
                                          ",,1\r\n"
                                          "CALIBRATORS," +
                                          cat.Calibs[1].OrderNo1 + "," + cat.Calibs[1].Name + "," +
                                          cat.Calibs[1].Pack1 +
                                          ",1\r\n"
                                          "CONTROLS," +
                                          cat.Ctrls[2].OrderNo + "," + cat.Ctrls[2].Name + ",,12\r\n");
}

// Every field and cell goes through these: a text that could break a record or a row is quoted or
// escaped, and the catalogue's single-byte letters come out as UTF-8.
TEST(OrderExport, FieldsAreQuotedAndCellsEscaped) {
    const auto csv = [](std::string_view t) {
        std::string out;
        AppendCsvField(out, t);
        return out;
    };
    const auto html = [](std::string_view t) {
        std::string out;
        AppendHtmlCell(out, t);
        return out;
    };
    EXPECT_EQ(csv("5 ml"), "5 ml");
    EXPECT_EQ(csv("a, b"), "\"a, b\"");
    EXPECT_EQ(csv("say \"x\""), "\"say \"\"x\"\"\"");
    EXPECT_EQ(csv("two\r\nlines"), "\"two\r\nlines\"");
    EXPECT_EQ(csv("\xB5g"), "\xC2\xB5g");
    EXPECT_EQ(html("<a&b> \"c\" 'd'"), "<td>&lt;a&amp;b&gt; &quot;c&quot; &#39;d&#39;</td>");
    EXPECT_EQ(html("\xB5g"), "<td>\xC2\xB5g</td>");
}

TEST(OrderExport, HtmlTableHasOneRowPerLine) {
    const Catalogue& cat = TheCatalogue();
    const std::string head = "<table>\n<tr><th>Section</th><th>Number</th><th>Product</th><th>Pack</th>"
                             "<th>Quantity</th></tr>\n";
    EXPECT_EQ(OrderHtml(loaded()), head + "</table>\n");
    EXPECT_EQ(OrderHtml(mixedOrder()), head + "<tr><td>REAGENTS</td><td>" + cat.Assays[15].OrderNo2 +
                                           "</td><td>" + cat.Assays[15].Name2 +
                                           "</td><td></td><td>1</td></tr>\n"
                                           "<tr><td>CALIBRATORS</td><td>" +
                                           cat.Calibs[1].OrderNo1 + "</td><td>" + cat.Calibs[1].Name +
                                           "</td><td>" + cat.Calibs[1].Pack1 +
                                           "</td><td>1</td></tr>\n"
                                           "<tr><td>CONTROLS</td><td>" +
                                           cat.Ctrls[2].OrderNo + "</td><td>" + cat.Ctrls[2].Name +
                                           "</td><td></td><td>12</td></tr>\n</table>\n");
}

// A line the stock covers stays in the order but orders nothing: every written form leaves it out,
// a section so left empty keeps its heading, and the result lists say "in stock" instead of a count.
TEST(OrderExport, LinesTheStockCoversAreLeftOut) {
    const Catalogue& cat = TheCatalogue();
    Order order = mixedOrder();
    const std::string control = cat.Ctrls[2].OrderNo;
    ASSERT_TRUE(order.plan.SetTyped(OrderTable::Ctrls, control, std::nullopt));
    ASSERT_TRUE(order.plan.SetStock(OrderTable::Ctrls, control, {std::nullopt, 1}));
    Order without = mixedOrder();
    without.Ctrls[2].Selected = 0;
    EXPECT_EQ(OrderListText(order), OrderListText(without));
    EXPECT_NE(OrderListText(order).find("CONTROLS\r\n"), std::string::npos);
    EXPECT_EQ(OrderCsv(order), OrderCsv(without));
    EXPECT_EQ(OrderHtml(order), OrderHtml(without));
    EXPECT_EQ(CoveredNumbers(order), std::vector<std::string_view>{control});
    std::vector<std::string> lines;
    CtrlListLines(order, lines);
    EXPECT_EQ(lines, std::vector<std::string>{control + "\t\tin stock: " + cat.Ctrls[2].Name});
}

// The catalogue's single-byte texts leave as UTF-8: ASCII as it is, every other byte in two.
TEST(OrderExport, Latin1TextsBecomeUtf8) {
    EXPECT_EQ(Latin1ToUtf8("Neg <&> Cal\xE9"), "Neg <&> Cal\xC3\xA9");
    EXPECT_EQ(Latin1ToUtf8(std::string("\x80\xFF\x7F\0", 4)), std::string("\xC2\x80\xC3\xBF\x7F\0", 6));
}

}  // namespace
}  // namespace tovimar
