// How many of each product: a quantity typed for a line of the order, or one suggested from the
// lab's monthly workload. Part of the order. Typed quantities belong to a product as
// ordered (a different bottle size is a different product, with a number of its own) and are
// cleared by the reset; the figures are kept by catalogue number whether the product is in the
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

// The figures for the whole order.
struct Workload {
    int months = 1;
    int runsPerMonth = 0;
    int calibrationsPerMonth = 0;
    int retestPercent = 0;

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

// Where a line's quantity comes from.
enum class QuantitySource { Default, Suggested, Typed };

struct LineQuantity {
    int quantity = 1;
    QuantitySource source = QuantitySource::Default;
    std::optional<std::int64_t> suggestion;  // before it is held to 1..9999
};

class OrderPlan {
public:
    const Workload& workload() const { return workload_; }
    // Each setter refuses a value outside its range and then changes nothing.
    bool SetWorkload(const Workload& w);

    // Per product, by catalogue number as ordered; no value clears the figure.
    bool SetReagentFigures(const std::string& number, const ReagentFigures& f);
    ReagentFigures Reagent(const std::string& number) const;
    // How many calibrations one calibrator pack lasts, or how many runs one control pack lasts.
    bool SetUsesPerPack(OrderTable section, const std::string& number, std::optional<int> uses);
    std::optional<int> UsesPerPack(OrderTable section, const std::string& number) const;

    bool SetTyped(OrderTable section, const std::string& number, std::optional<int> quantity);
    std::optional<int> Typed(OrderTable section, const std::string& number) const;
    // RESET SELECTION: the typed quantities go, the figures stay.
    void ClearTyped();
    // Opening a selection file replaces everything.
    void Clear() { *this = OrderPlan(); }

    bool HasTyped() const;
    // Any figure given: a workload other than the defaults or a per-product figure.
    bool HasFigures() const;

    // The suggested quantity of a line, where its figures are enough for one:
    // reagent ceil(months x testsPerMonth x (100 + retest%) / (100 x testsPerBottle)),
    // calibrator ceil(months x calibrationsPerMonth / usesPerPack),
    // control ceil(months x runsPerMonth / usesPerPack).
    std::optional<std::int64_t> Suggestion(const OrderLine& line) const;
    // The quantity typed, else the suggestion held to 1..9999, else 1.
    LineQuantity QuantityOf(const OrderLine& line) const;

    // The per-product figures as kept, for the selection file.
    const std::map<std::string, ReagentFigures, std::less<>>& reagents() const { return reagents_; }
    const std::map<std::string, int, std::less<>>& usesPerPack(OrderTable section) const;
    const std::map<std::string, int, std::less<>>& typed(OrderTable section) const;

    bool operator==(const OrderPlan&) const = default;

private:
    using Numbers = std::map<std::string, int, std::less<>>;
    static std::size_t at(OrderTable t) { return static_cast<std::size_t>(t); }

    Workload workload_;
    std::map<std::string, ReagentFigures, std::less<>> reagents_;
    std::array<Numbers, 3> uses_;  // by OrderTable; the reagents' stays empty
    std::array<Numbers, 3> typed_;
};

}  // namespace tovimar
