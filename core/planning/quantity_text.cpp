#include "core/planning/quantity_text.h"

#include <algorithm>
#include <charconv>
#include <cstdint>
#include <string_view>

namespace tovimar {

namespace {

// A figure as a person writes it: "1,200". Quantities are shown without the comma, as the line
// shows them ("1200 x").
void appendFigure(std::string& out, std::int64_t v) {
    char digits[24];
    const auto [end, ec] = std::to_chars(digits, digits + sizeof digits, v);
    const std::string_view text(digits, ec == std::errc{} ? static_cast<std::size_t>(end - digits) : 0);
    const std::size_t sign = !text.empty() && text.front() == '-' ? 1 : 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (i > sign && (text.size() - i) % 3 == 0)
            out.push_back(',');
        out.push_back(text[i]);
    }
}

void appendQuantity(std::string& out, int q) {
    char digits[12];
    const auto [end, ec] = std::to_chars(digits, digits + sizeof digits, q);
    out.append(digits, ec == std::errc{} ? end : digits);
}

// "1 run a month", "22 runs a month".
void appendCount(std::string& out, std::int64_t v, std::string_view one, std::string_view many) {
    appendFigure(out, v);
    out.push_back(' ');
    out.append(v == 1 ? one : many);
}

void appendRepeats(std::string& out, int percent) {
    appendFigure(out, percent);
    out.append("% of tests repeated");
}

// "3 months", or "3 months + 1 month of safety".
void appendMonths(std::string& out, const Workload& w) {
    appendCount(out, w.months, "month", "months");
    if (w.safetyMonths > 0) {
        out.append(" + ");
        appendCount(out, w.safetyMonths, "month", "months");
        out.append(" of safety");
    }
}

// The figures a suggestion was made from, in the order a person would say them.
void appendFigures(std::string& out, const OrderLine& line, const OrderPlan& plan) {
    const Workload& w = plan.workload();
    if (line.section == OrderTable::Assays) {
        appendCount(out, plan.TestsPerMonth(line).value_or(0), "test a month", "tests a month");
        out.append(", ");
        appendCount(out, plan.Reagent(line.number).testsPerBottle.value_or(0), "test a bottle",
                    "tests a bottle");
    } else {
        const bool calib = line.section == OrderTable::Calibs;
        appendCount(out, calib ? w.calibrationsPerMonth : w.runsPerMonth,
                    calib ? "calibration a month" : "run a month",
                    calib ? "calibrations a month" : "runs a month");
        out.append(", ");
        appendCount(out, plan.UsesPerPack(line.section, line.number).value_or(0),
                    calib ? "calibration a pack" : "run a pack",
                    calib ? "calibrations a pack" : "runs a pack");
    }
    out.append(", ");
    appendMonths(out, w);
    if (line.section == OrderTable::Assays && w.retestPercent > 0) {
        out.append(", ");
        appendRepeats(out, w.retestPercent);
    }
}

// ", less 4 on hand and 1 on order": the stock taken off the need.
void appendStock(std::string& out, const Stock& stock) {
    if (stock.total() == 0)
        return;
    out.append(", less ");
    if (stock.onHand.value_or(0) > 0) {
        appendFigure(out, *stock.onHand);
        out.append(" on hand");
    }
    if (stock.onHand.value_or(0) > 0 && stock.onOrder.value_or(0) > 0)
        out.append(" and ");
    if (stock.onOrder.value_or(0) > 0) {
        appendFigure(out, *stock.onOrder);
        out.append(" on order");
    }
}

// "On hand 4, on order 1: covered for 3 months."
void appendCovered(std::string& out, const LineQuantity& q, const Workload& w) {
    out.append("On hand ");
    appendFigure(out, q.stock.onHand.value_or(0));
    out.append(", on order ");
    appendFigure(out, q.stock.onOrder.value_or(0));
    if (!q.suggestion) {
        out.append(": covered.");
        return;
    }
    out.append(": covered for ");
    appendCount(out, w.plannedMonths(), "month", "months");
    out.push_back('.');
}

}  // namespace

void AppendQuantityText(std::string& out, const OrderLine& line, const OrderPlan& plan) {
    const LineQuantity q = plan.QuantityOf(line);
    if (q.source == QuantitySource::Typed) {
        if (q.disagrees()) {
            out.append("Typed ");
            appendQuantity(out, q.quantity);
            out.append("; the figures now suggest ");
            appendQuantity(out, q.fromFigures);
            out.push_back('.');
            return;
        }
        out.append("Quantity ");
        appendQuantity(out, q.quantity);
        out.append(", typed.");
        return;
    }
    if (q.covered())
        return appendCovered(out, q, plan.workload());
    if (q.source == QuantitySource::Default)
        return;
    out.append("Quantity ");
    appendQuantity(out, q.quantity);
    // A quantity outside 1..9999 was held to the nearer end: say so, and what it was.
    const std::int64_t suggested = *q.suggestion;
    const std::int64_t wanted =
        q.stock.total() == 0 ? suggested : std::max<std::int64_t>(1, suggested) - q.stock.total();
    if (wanted == q.quantity) {
        out.append(", suggested from ");
    } else {
        out.append(wanted > q.quantity ? ", the most a line takes: " : ", the least a line takes: ");
        appendFigure(out, wanted);
        out.append(" suggested from ");
    }
    appendFigures(out, line, plan);
    appendStock(out, q.stock);
    out.push_back('.');
}

std::string QuantityText(const OrderLine& line, const OrderPlan& plan) {
    std::string out;
    AppendQuantityText(out, line, plan);
    return out;
}

void SuggestedSections::add(OrderTable t) {
    (t == OrderTable::Assays ? reagents : t == OrderTable::Calibs ? calibrators : controls) = true;
}

std::string PlanningNote(const Workload& w, SuggestedSections used) {
    std::string out;
    if (!used.any())
        return out;
    out.append("Quantities planned for ");
    appendMonths(out, w);
    // Only the figures some suggested line was made from: runs for controls, calibrations for
    // calibrators, repeats for reagents.
    std::string_view lead = ": ";
    if (used.controls || used.calibrators) {
        out.append(lead);
        if (used.controls)
            appendCount(out, w.runsPerMonth, "run", "runs");
        if (used.controls && used.calibrators)
            out.append(" and ");
        if (used.calibrators)
            appendCount(out, w.calibrationsPerMonth, "calibration", "calibrations");
        out.append(" a month");
        lead = ", ";
    }
    if (used.reagents && w.retestPercent > 0) {
        out.append(lead);
        appendRepeats(out, w.retestPercent);
    }
    out.push_back('.');
    return out;
}

}  // namespace tovimar
