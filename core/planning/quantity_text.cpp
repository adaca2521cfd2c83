#include "core/planning/quantity_text.h"

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

// The figures a suggestion was made from, in the order a person would say them.
void appendFigures(std::string& out, const OrderLine& line, const OrderPlan& plan) {
    const Workload& w = plan.workload();
    if (line.section == OrderTable::Assays) {
        const ReagentFigures f = plan.Reagent(std::string(line.number));
        appendCount(out, f.testsPerMonth.value_or(0), "test a month", "tests a month");
        out.append(", ");
        appendCount(out, f.testsPerBottle.value_or(0), "test a bottle", "tests a bottle");
    } else {
        const bool calib = line.section == OrderTable::Calibs;
        appendCount(out, calib ? w.calibrationsPerMonth : w.runsPerMonth,
                    calib ? "calibration a month" : "run a month",
                    calib ? "calibrations a month" : "runs a month");
        out.append(", ");
        appendCount(out, plan.UsesPerPack(line.section, std::string(line.number)).value_or(0),
                    calib ? "calibration a pack" : "run a pack",
                    calib ? "calibrations a pack" : "runs a pack");
    }
    out.append(", ");
    appendCount(out, w.months, "month", "months");
    if (line.section == OrderTable::Assays && w.retestPercent > 0) {
        out.append(", ");
        appendRepeats(out, w.retestPercent);
    }
}

}  // namespace

void AppendQuantityText(std::string& out, const OrderLine& line, const OrderPlan& plan) {
    const LineQuantity q = plan.QuantityOf(line);
    if (q.source == QuantitySource::Default)
        return;
    out.append("Quantity ");
    appendQuantity(out, q.quantity);
    if (q.source == QuantitySource::Typed) {
        out.append(", typed.");
        return;
    }
    // A suggestion outside 1..9999 was held to the nearer end: say so, and what it was.
    const std::int64_t suggested = q.suggestion.value_or(q.quantity);
    if (suggested == q.quantity) {
        out.append(", suggested from ");
    } else {
        out.append(suggested > q.quantity ? ", the most a line takes: " : ", the least a line takes: ");
        appendFigure(out, suggested);
        out.append(" suggested from ");
    }
    appendFigures(out, line, plan);
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
    appendCount(out, w.months, "month", "months");
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
