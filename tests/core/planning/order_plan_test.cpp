// How many of each product: the suggestion formulas at their edges, which quantity wins, and the
// walk of the order with quantities.
#include "core/catalogue/order_lines.h"
#include "core/order/order.h"
#include "core/planning/order_plan.h"
#include "core/planning/quantity_text.h"
#include "tests/support/loaded_catalogue.h"

#include <cctype>
#include <gtest/gtest.h>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

namespace tovimar {
namespace {

using T = OrderTable;

struct Case {
    const char* what;
    Workload workload;
    T section;
    std::optional<int> testsPerMonth, testsPerBottle, usesPerPack;
    std::optional<std::int64_t> suggestion;  // none: the figures are not enough for one
    int quantity;
    QuantitySource source;
    const char* text;  // the line's quantity in words

    friend void PrintTo(const Case& c, std::ostream* os) { *os << c.what; }
};

class Suggestions : public ::testing::TestWithParam<Case> {};

TEST_P(Suggestions, FollowTheFormulaAndAreHeldToWholePacks) {
    const Case& c = GetParam();
    OrderPlan plan;
    ASSERT_TRUE(plan.SetWorkload(c.workload));
    const std::string number = "1234";
    if (c.section == T::Assays)
        ASSERT_TRUE(plan.SetReagentFigures(number, {c.testsPerMonth, c.testsPerBottle}));
    else
        ASSERT_TRUE(plan.SetUsesPerPack(c.section, number, c.usesPerPack));
    const OrderLine line{c.section, 1, number, "product", "", 1};
    EXPECT_EQ(plan.Suggestion(line), c.suggestion);
    const LineQuantity q = plan.QuantityOf(line);
    EXPECT_EQ(q.quantity, c.quantity);
    EXPECT_EQ(q.source, c.source);
    EXPECT_EQ(QuantityText(line, plan), c.text);
    // The same product under another number has no figures.
    EXPECT_EQ(plan.QuantityOf({c.section, 1, "9999", "other", "", 1}).quantity, 1);
}

// The first reagent sold in two bottle sizes; 0 if none.
int reagentWithTwoSizes() {
    const Catalogue& cat = TheCatalogue();
    for (int s = 1; s <= AssayTable::kFilled; ++s)
        if (cat.Assays[s].OrderNo1 != cat.Assays[s].OrderNo2 && !cat.Assays[s].OrderNo2.empty())
            return s;
    return 0;
}

constexpr auto S = QuantitySource::Suggested;
constexpr auto D = QuantitySource::Default;

INSTANTIATE_TEST_SUITE_P(
    Edges, Suggestions,
    // clang-format off
    ::testing::Values(
        Case{"reagent exact multiple", {1, 0, 0, 0}, T::Assays, 1200, 400, {}, 3, 3, S, "Quantity 3, suggested from 1,200 tests a month, 400 tests a bottle, 1 month."},
        Case{"reagent repeats round up", {1, 0, 0, 5}, T::Assays, 1200, 400, {}, 4, 4, S, "Quantity 4, suggested from 1,200 tests a month, 400 tests a bottle, 1 month, 5% of tests repeated."},
        Case{"reagent over months", {3, 0, 0, 0}, T::Assays, 1201, 400, {}, 10, 10, S, "Quantity 10, suggested from 1,201 tests a month, 400 tests a bottle, 3 months."},
        Case{"reagent all repeated", {1, 0, 0, 100}, T::Assays, 200, 400, {}, 1, 1, S, "Quantity 1, suggested from 200 tests a month, 400 tests a bottle, 1 month, 100% of tests repeated."},
        Case{"reagent no tests: at least one", {6, 0, 0, 50}, T::Assays, 0, 400, {}, 0, 1, S, "Quantity 1, the least a line takes: 0 suggested from 0 tests a month, 400 tests a bottle, 6 months, 50% of tests repeated."},
        Case{"reagent without bottle size", {1, 0, 0, 0}, T::Assays, 1200, {}, {}, {}, 1, D, ""},
        Case{"reagent without tests", {1, 0, 0, 0}, T::Assays, {}, 400, {}, {}, 1, D, ""},
        Case{"reagent capped at 9999", {24, 0, 0, 100}, T::Assays, 1000000, 1, {}, 48000000, 9999, S, "Quantity 9999, the most a line takes: 48,000,000 suggested from 1,000,000 tests a month, 1 test a bottle, 24 months, 100% of tests repeated."},
        Case{"reagent just under the cap", {1, 0, 0, 0}, T::Assays, 9999, 1, {}, 9999, 9999, S, "Quantity 9999, suggested from 9,999 tests a month, 1 test a bottle, 1 month."},
        Case{"calibrator rounds up", {3, 0, 4, 0}, T::Calibs, {}, {}, 20, 1, 1, S, "Quantity 1, suggested from 4 calibrations a month, 20 calibrations a pack, 3 months."},
        Case{"calibrator exact", {2, 0, 10, 0}, T::Calibs, {}, {}, 20, 1, 1, S, "Quantity 1, suggested from 10 calibrations a month, 20 calibrations a pack, 2 months."},
        Case{"calibrator one more", {1, 0, 21, 0}, T::Calibs, {}, {}, 20, 2, 2, S, "Quantity 2, suggested from 21 calibrations a month, 20 calibrations a pack, 1 month."},
        Case{"calibrator reads calibrations, not runs", {1, 50, 0, 0}, T::Calibs, {}, {}, 20, {}, 1, D, ""},
        Case{"calibrator without uses", {1, 0, 4, 0}, T::Calibs, {}, {}, {}, {}, 1, D, ""},
        Case{"control over months", {3, 22, 4, 0}, T::Ctrls, {}, {}, 30, 3, 3, S, "Quantity 3, suggested from 22 runs a month, 30 runs a pack, 3 months."},
        Case{"control reads runs, not calibrations", {1, 0, 40, 0}, T::Ctrls, {}, {}, 30, {}, 1, D, ""},
        Case{"control capped", {24, 10000, 0, 0}, T::Ctrls, {}, {}, 1, 240000, 9999, S, "Quantity 9999, the most a line takes: 240,000 suggested from 10,000 runs a month, 1 run a pack, 24 months."},
        Case{"control repeats do not count", {1, 30, 0, 100}, T::Ctrls, {}, {}, 30, 1, 1, S, "Quantity 1, suggested from 30 runs a month, 30 runs a pack, 1 month."}),
    // clang-format on
    [](const auto& info) {
        std::string name = info.param.what;
        for (char& ch : name)
            if (!std::isalnum(static_cast<unsigned char>(ch)))
                ch = '_';
        return name;
    });

// What the shelf lacks: the need less what is on hand and on order, at its edges. A control with
// 22 runs a month and 10 runs a pack needs 3 a month.
TEST(OrderPlan, OrdersWhatTheShelfLacks) {
    struct StockCase {
        const char* what;
        int months, safety;
        std::optional<int> uses, onHand, onOrder, typed;
        int quantity;
        const char* text;
        int runs = 22;
    };
    const StockCase cases[] = {
        {"no stock",
         1,
         0,
         10,
         {},
         {},
         {},
         3,
         "Quantity 3, suggested from 22 runs a month, 10 runs a pack, 1 month."},
        {"stock of 0",
         1,
         0,
         10,
         0,
         0,
         {},
         3,
         "Quantity 3, suggested from 22 runs a month, 10 runs a pack, 1 month."},
        {"some on hand",
         1,
         0,
         10,
         2,
         {},
         {},
         1,
         "Quantity 1, suggested from 22 runs a month, 10 runs a pack, 1 month, less 2 on hand."},
        {"on hand and on order",
         3,
         0,
         10,
         4,
         1,
         {},
         2,
         "Quantity 2, suggested from 22 runs a month, 10 runs a pack, 3 months, less 4 on hand and 1 on "
         "order."},
        {"stock equal to need", 3, 0, 10, 6, 1, {}, 0, "On hand 6, on order 1: covered for 3 months."},
        {"stock above need", 1, 0, 10, {}, 99999, {}, 0, "On hand 0, on order 99,999: covered for 1 month."},
        {"no figures: one needed", 1, 0, {}, 1, {}, {}, 0, "On hand 1, on order 0: covered."},
        {"safety months",
         2,
         1,
         10,
         4,
         {},
         {},
         3,
         "Quantity 3, suggested from 22 runs a month, 10 runs a pack, 2 months + 1 month of safety, less 4 "
         "on "
         "hand."},
        {"typed wins", 3, 0, 10, 99, {}, 5, 5, "Typed 5; the figures now suggest 0."},
        {"the cap after the stock",
         24,
         6,
         1,
         100,
         100,
         {},
         9999,
         "Quantity 9999, the most a line takes: 299,800 suggested from 10,000 runs a month, 1 run a pack, 24 "
         "months + 6 months of safety, less 100 on hand and 100 on order.",
         10000},
    };
    for (const StockCase& c : cases) {
        SCOPED_TRACE(c.what);
        OrderPlan plan;
        ASSERT_TRUE(plan.SetWorkload({c.months, c.runs, 0, 0, c.safety}));
        ASSERT_TRUE(plan.SetUsesPerPack(T::Ctrls, "701", c.uses));
        ASSERT_TRUE(plan.SetStock(T::Ctrls, "701", {c.onHand, c.onOrder}));
        ASSERT_TRUE(plan.SetTyped(T::Ctrls, "701", c.typed));
        const OrderLine line{T::Ctrls, 1, "701", "Control", "", 1};
        EXPECT_EQ(plan.QuantityOf(line).quantity, c.quantity);
        EXPECT_EQ(QuantityText(line, plan), c.text);
        // The stock is the control's, not a calibrator's of the same number.
        EXPECT_EQ(plan.StockOf(T::Calibs, "701"), Stock{});
    }
    OrderPlan plan;
    EXPECT_FALSE(plan.SetStock(T::Ctrls, "701", {100000, {}}));
    EXPECT_FALSE(plan.SetStock(T::Ctrls, "701", {{}, -1}));
    EXPECT_FALSE(plan.SetWorkload({1, 0, 0, 0, 7}));
    EXPECT_FALSE(plan.HasStock());
    ASSERT_TRUE(plan.SetStock(T::Ctrls, "701", {0, {}}));  // a 0 typed is kept, as typed
    EXPECT_TRUE(plan.HasStock());
    ASSERT_TRUE(plan.SetStock(T::Ctrls, "701", {}));
    EXPECT_FALSE(plan.HasStock());
}

// A reagent's tests a month belong to its assay: at the other bottle size it finds them under the
// first size's number, while tests a bottle belong to the size ordered. Typing at the new size
// sets them there, and there they win.
TEST(OrderPlan, TestsAMonthFollowTheAssayAcrossSizes) {
    const Catalogue& cat = TheCatalogue();
    const int slot = reagentWithTwoSizes();
    ASSERT_NE(slot, 0);
    const mAssay& a = cat.Assays[slot];
    OrderPlan plan;
    ASSERT_TRUE(plan.SetReagentFigures(a.OrderNo1, {1200, 400}));
    const OrderLine first{T::Assays, slot, a.OrderNo1, a.Name1, "", 1};
    const OrderLine other{T::Assays, slot, a.OrderNo2, a.Name2, "", 1};
    EXPECT_EQ(plan.TestsPerMonth(other), 1200);
    EXPECT_EQ(plan.Suggestion(other), std::nullopt);  // no tests a bottle at that size yet
    ASSERT_TRUE(plan.SetReagentFigures(a.OrderNo2, {{}, 200}));
    EXPECT_EQ(plan.Suggestion(other), 6);
    EXPECT_EQ(plan.Suggestion(first), 3);
    ASSERT_TRUE(plan.SetReagentFigures(a.OrderNo2, {800, 200}));
    EXPECT_EQ(plan.Suggestion(other), 4);
    EXPECT_EQ(plan.Suggestion(first), 3);  // each size its own where it has one
    // Controls and calibrators have no tests a month.
    EXPECT_EQ(plan.TestsPerMonth({T::Ctrls, 1, a.OrderNo1, "", "", 1}), std::nullopt);
}

// The printout's line of assumptions names only the figures that some suggested line used.
TEST(PlanningNote, NamesTheFiguresTheSuggestedSectionsUsed) {
    const Workload w{3, 22, 4, 5};
    EXPECT_EQ(PlanningNote(w, {}), "");
    EXPECT_EQ(PlanningNote(w, {true, true, true}),
              "Quantities planned for 3 months: 22 runs and 4 calibrations a month, 5% of tests repeated.");
    EXPECT_EQ(PlanningNote(w, {false, false, true}), "Quantities planned for 3 months: 22 runs a month.");
    EXPECT_EQ(PlanningNote({2, 0, 1, 5}, {true, true, false}),
              "Quantities planned for 2 months: 1 calibration a month, 5% of tests repeated.");
    EXPECT_EQ(PlanningNote({1, 1, 0, 0}, {true, false, true}),
              "Quantities planned for 1 month: 1 run a month.");  // no repeats to speak of
    EXPECT_EQ(PlanningNote({24, 10000, 10000, 100}, {true, false, false}),
              "Quantities planned for 24 months: 100% of tests repeated.");
    EXPECT_EQ(PlanningNote({1, 1, 0, 0, 2}, {false, false, true}),
              "Quantities planned for 1 month + 2 months of safety: 1 run a month.");
}

TEST(OrderPlan, RefusesFiguresOutOfRangeAndKeepsWhatItHad) {
    OrderPlan plan;
    ASSERT_TRUE(plan.SetWorkload({2, 10, 3, 5}));
    for (const Workload& bad : {Workload{0, 0, 0, 0}, Workload{25, 0, 0, 0}, Workload{1, -1, 0, 0},
                                Workload{1, 10001, 0, 0}, Workload{1, 0, 10001, 0}, Workload{1, 0, 0, 101}})
        EXPECT_FALSE(plan.SetWorkload(bad));
    EXPECT_EQ(plan.workload(), (Workload{2, 10, 3, 5}));

    ASSERT_TRUE(plan.SetReagentFigures("1", {1000000, 100000}));
    EXPECT_FALSE(plan.SetReagentFigures("1", {1000001, 400}));
    EXPECT_FALSE(plan.SetReagentFigures("1", {1200, 0}));
    EXPECT_EQ(plan.Reagent("1"), (ReagentFigures{1000000, 100000}));

    EXPECT_FALSE(plan.SetUsesPerPack(T::Calibs, "2", 0));
    EXPECT_FALSE(plan.SetUsesPerPack(T::Ctrls, "2", 10001));
    EXPECT_FALSE(plan.SetUsesPerPack(T::Assays, "2", 5));  // a reagent's figures are its own
    EXPECT_EQ(plan.UsesPerPack(T::Calibs, "2"), std::nullopt);

    EXPECT_FALSE(plan.SetTyped(T::Ctrls, "3", 0));
    EXPECT_FALSE(plan.SetTyped(T::Ctrls, "3", 10000));
    EXPECT_TRUE(plan.SetTyped(T::Ctrls, "3", 9999));
    EXPECT_EQ(plan.Typed(T::Ctrls, "3"), 9999);
}

TEST(OrderPlan, TypedWinsIsClearedByTheResetAndTheFiguresStay) {
    OrderPlan plan;
    EXPECT_FALSE(plan.HasFigures());
    EXPECT_FALSE(plan.HasTyped());
    ASSERT_TRUE(plan.SetWorkload({1, 22, 0, 0}));
    ASSERT_TRUE(plan.SetUsesPerPack(T::Ctrls, "701 105", 10));
    const OrderLine line{T::Ctrls, 1, "701 105", "Control", "", 1};
    EXPECT_EQ(plan.QuantityOf(line).quantity, 3);

    ASSERT_TRUE(plan.SetTyped(T::Ctrls, "701 105", 7));
    const LineQuantity typed = plan.QuantityOf(line);
    EXPECT_EQ(typed.quantity, 7);
    EXPECT_EQ(typed.source, QuantitySource::Typed);
    EXPECT_EQ(typed.suggestion, 3);  // still shown beside what was typed
    EXPECT_TRUE(typed.disagrees());
    EXPECT_EQ(QuantityText(line, plan), "Typed 7; the figures now suggest 3.");
    ASSERT_TRUE(plan.SetTyped(T::Ctrls, "701 105", 3));
    EXPECT_EQ(QuantityText(line, plan), "Quantity 3, typed.");
    ASSERT_TRUE(plan.SetTyped(T::Ctrls, "701 105", 7));
    // A number typed for a control is not a calibrator's of the same number.
    EXPECT_EQ(plan.Typed(T::Calibs, "701 105"), std::nullopt);

    plan.ClearTyped();
    EXPECT_FALSE(plan.HasTyped());
    EXPECT_TRUE(plan.HasFigures());
    EXPECT_EQ(plan.QuantityOf(line).quantity, 3);

    ASSERT_TRUE(plan.SetTyped(T::Ctrls, "701 105", std::nullopt));  // clearing what is not there
    plan.Clear();
    EXPECT_FALSE(plan.HasFigures());
    EXPECT_EQ(plan.QuantityOf(line).quantity, 1);
}

// The walk gives every line its quantity; a quantity belongs to the product as ordered, so the
// other bottle size starts at 1 and the first size finds its own again. The walk of the flags alone
// is an order of ones whatever the plan.
TEST(OrderPlan, TheWalkCarriesTheQuantityOfTheSizeOrdered) {
    const Catalogue& cat = TheCatalogue();
    const int slot = reagentWithTwoSizes();
    ASSERT_NE(slot, 0);
    Order order = testing::loaded();
    PutInOrder(order.Assays[slot]);
    PutInOrder(order.Ctrls[1]);

    const auto quantities = [](const auto& walked) {
        std::vector<int> q;
        ForEachOrderLine(walked, [&](const OrderLine& line) { q.push_back(line.quantity); });
        return q;
    };
    const OrderFlags& flags = order;
    EXPECT_EQ(quantities(order), (std::vector<int>{1, 1}));  // an order of ones without a plan

    ASSERT_TRUE(order.plan.SetTyped(T::Assays, cat.Assays[slot].OrderNo1, 3));
    ASSERT_TRUE(order.plan.SetTyped(T::Ctrls, cat.Ctrls[1].OrderNo, 2));
    EXPECT_EQ(quantities(order), (std::vector<int>{3, 2}));
    EXPECT_EQ(quantities(flags), (std::vector<int>{1, 1}));
    order.Assays[slot].SizeChoice = 2;
    EXPECT_EQ(quantities(order), (std::vector<int>{1, 2}));
    order.Assays[slot].SizeChoice = 1;
    EXPECT_EQ(quantities(order), (std::vector<int>{3, 2}));
}

}  // namespace
}  // namespace tovimar
