// How many of each product: a quantity typed for a line of the order, or what the lab lacks for
// the months it orders for: the use its monthly workload suggests, less what is on the shelf and
// what is on order. Part of the order. Typed quantities belong to a product as ordered (a
// different bottle size is a different product, with a number of its own) and are cleared by the
// reset; the figures and the stock are kept by catalogue number whether the product is in the
// order or not, so that unticking and ticking an assay again finds them.
#pragma once

#include "core/catalogue/order_lines.h"

#include <array>
#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <string_view>

namespace tovimar {

// The whole numbers a figure may take.
struct FigureRange {
    std::int64_t low;
    std::int64_t high;
    bool holds(std::int64_t v) const { return v >= low && v <= high; }
};
inline constexpr FigureRange kQuantityRange{1, 9999};
inline constexpr FigureRange kMonthsRange{1, 24};
inline constexpr FigureRange kPerMonthRange{0, 10000};  // runs and calibrations a month
inline constexpr FigureRange kRetestRange{0, 100};      // per cent of tests repeated
inline constexpr FigureRange kTestsPerMonthRange{0, 1000000};
inline constexpr FigureRange kTestsPerBottleRange{1, 100000};
inline constexpr FigureRange kUsesPerPackRange{1, 10000};
inline constexpr FigureRange kSafetyMonthsRange{0, 6};
inline constexpr FigureRange kStockRange{0, 99999};  // packs on the shelf or on order

// The figures for the whole order.
struct Workload {
    int months = 1;
    int runsPerMonth = 0;
    int calibrationsPerMonth = 0;
    int retestPercent = 0;
    // Months more that the order is to last, for a delivery that comes late.
    int safetyMonths = 0;

    // The months the order is planned to last.
    int plannedMonths() const { return months + safetyMonths; }
    bool operator==(const Workload&) const = default;
};

// A reagent's figures: every test run on it in a month (samples, controls and calibrations), and
// the tests one bottle gives on the lab's analyser.
struct ReagentFigures {
    std::optional<int> testsPerMonth;
    std::optional<int> testsPerBottle;

    bool empty() const { return !testsPerMonth && !testsPerBottle; }
    bool operator==(const ReagentFigures&) const = default;
};

// Packs of a product on the lab's shelf and ordered but not yet delivered; absent counts 0.
struct Stock {
    std::optional<int> onHand;
    std::optional<int> onOrder;

    int total() const { return onHand.value_or(0) + onOrder.value_or(0); }
    bool empty() const { return !onHand && !onOrder; }
    bool operator==(const Stock&) const = default;
};

// Where a line's need comes from.
enum class QuantitySource { Default, Suggested, Typed };

struct LineQuantity {
    int quantity = 1;  // 0: the stock covers the need, nothing is ordered
    QuantitySource source = QuantitySource::Default;
    std::optional<std::int64_t> suggestion;  // before it is held to 1..9999
    Stock stock;
    // What the figures and the stock give, typed or not: min(9999, max(0, need - stock)).
    int fromFigures = 1;

    bool covered() const { return quantity == 0; }
    // A typed quantity where the figures now give another.
    bool disagrees() const {
        return source == QuantitySource::Typed && suggestion && fromFigures != quantity;
    }
};

class OrderPlan {
public:
    const Workload& workload() const { return workload_; }
    // Each setter refuses a value outside its range and then changes nothing.
    bool SetWorkload(const Workload& w);

    // Per product, by catalogue number as ordered; no value clears the figure.
    bool SetReagentFigures(const std::string& number, const ReagentFigures& f);
    ReagentFigures Reagent(std::string_view number) const;
    // How many calibrations one calibrator pack lasts, or how many runs one control pack lasts.
    bool SetUsesPerPack(OrderTable section, const std::string& number, std::optional<int> uses);
    std::optional<int> UsesPerPack(OrderTable section, std::string_view number) const;
    // The tests a month a reagent's line runs on: under its number as ordered, else under the same
    // reagent's number at its other bottle size (the workload belongs to the assay, not the size).
    std::optional<int> TestsPerMonth(const OrderLine& line) const;

    bool SetStock(OrderTable section, const std::string& number, const Stock& stock);
    Stock StockOf(OrderTable section, std::string_view number) const;

    bool SetTyped(OrderTable section, const std::string& number, std::optional<int> quantity);
    std::optional<int> Typed(OrderTable section, std::string_view number) const;
    // RESET SELECTION: the typed quantities go, the figures stay.
    void ClearTyped();
    // Opening a selection file replaces everything.
    void Clear() { *this = OrderPlan(); }

    // "Use the suggestions", line by line: drops the quantity typed for `line` where the figures
    // give it a suggestion. Returns whether it went.
    bool DropTypedWhereSuggested(const OrderLine& line);

    bool HasTyped() const;
    // Any figure given: a workload other than the defaults or a per-product figure.
    bool HasFigures() const;
    bool HasStock() const;
    // Every line of the order is one: nothing typed, no figure, no stock.
    bool AllOnes() const { return !HasTyped() && !HasFigures() && !HasStock(); }

    // The suggested quantity of a line, where its figures are enough for one:
    // with m the planned months (months + safety months),
    // reagent ceil(m x testsPerMonth x (100 + retest%) / (100 x testsPerBottle)),
    // calibrator ceil(m x calibrationsPerMonth / usesPerPack),
    // control ceil(m x runsPerMonth / usesPerPack).
    std::optional<std::int64_t> Suggestion(const OrderLine& line) const;
    // The quantity typed; else, with need = max(1, suggestion) or 1 without one,
    // min(9999, max(0, need - onHand - onOrder)). Without stock: the suggestion held to 1..9999.
    LineQuantity QuantityOf(const OrderLine& line) const;

    // The per-product figures as kept, for the selection file.
    const std::map<std::string, ReagentFigures, std::less<>>& reagents() const { return reagents_; }
    const std::map<std::string, int, std::less<>>& usesPerPack(OrderTable section) const;
    const std::map<std::string, int, std::less<>>& typed(OrderTable section) const;
    const std::map<std::string, Stock, std::less<>>& stock(OrderTable section) const;

    bool operator==(const OrderPlan&) const = default;

private:
    using Numbers = std::map<std::string, int, std::less<>>;
    static std::size_t at(OrderTable t) { return static_cast<std::size_t>(t); }

    Workload workload_;
    std::map<std::string, ReagentFigures, std::less<>> reagents_;
    std::array<Numbers, 3> uses_;  // by OrderTable; the reagents' stays empty
    std::array<Numbers, 3> typed_;
    std::array<std::map<std::string, Stock, std::less<>>, 3> stock_;
};

}  // namespace tovimar
