#include "core/planning/order_plan.h"

#include <algorithm>

namespace tovimar {

namespace {

bool fits(const std::optional<int>& v, FigureRange range) {
    return !v || range.holds(*v);
}

// Sets or, without a value, removes `key` in `numbers`.
void put(std::map<std::string, int, std::less<>>& numbers, const std::string& key, std::optional<int> v) {
    if (v)
        numbers[key] = *v;
    else
        numbers.erase(key);
}

std::optional<int> find(const std::map<std::string, int, std::less<>>& numbers, std::string_view key) {
    const auto it = numbers.find(key);
    return it == numbers.end() ? std::nullopt : std::optional<int>(it->second);
}

// Whole packs: the smallest n with n x per >= need.
std::int64_t ceilDiv(std::int64_t need, std::int64_t per) {
    return (need + per - 1) / per;
}

}  // namespace

bool OrderPlan::SetWorkload(const Workload& w) {
    if (!kMonthsRange.holds(w.months) || !kPerMonthRange.holds(w.runsPerMonth) ||
        !kPerMonthRange.holds(w.calibrationsPerMonth) || !kRetestRange.holds(w.retestPercent))
        return false;
    workload_ = w;
    return true;
}

bool OrderPlan::SetReagentFigures(const std::string& number, const ReagentFigures& f) {
    if (!fits(f.testsPerMonth, kTestsPerMonthRange) || !fits(f.testsPerBottle, kTestsPerBottleRange))
        return false;
    if (f.empty())
        reagents_.erase(number);
    else
        reagents_[number] = f;
    return true;
}

ReagentFigures OrderPlan::Reagent(const std::string& number) const {
    const auto it = reagents_.find(number);
    return it == reagents_.end() ? ReagentFigures{} : it->second;
}

bool OrderPlan::SetUsesPerPack(OrderTable section, const std::string& number, std::optional<int> uses) {
    if (section == OrderTable::Assays || !fits(uses, kUsesPerPackRange))
        return false;
    put(uses_[at(section)], number, uses);
    return true;
}

std::optional<int> OrderPlan::UsesPerPack(OrderTable section, const std::string& number) const {
    return find(uses_[at(section)], number);
}

bool OrderPlan::SetTyped(OrderTable section, const std::string& number, std::optional<int> quantity) {
    if (!fits(quantity, kQuantityRange))
        return false;
    put(typed_[at(section)], number, quantity);
    return true;
}

std::optional<int> OrderPlan::Typed(OrderTable section, const std::string& number) const {
    return find(typed_[at(section)], number);
}

void OrderPlan::ClearTyped() {
    for (Numbers& t : typed_)
        t.clear();
}

bool OrderPlan::HasTyped() const {
    return std::any_of(typed_.begin(), typed_.end(), [](const Numbers& t) { return !t.empty(); });
}

bool OrderPlan::HasFigures() const {
    return workload_ != Workload{} || !reagents_.empty() ||
           std::any_of(uses_.begin(), uses_.end(), [](const Numbers& u) { return !u.empty(); });
}

const std::map<std::string, int, std::less<>>& OrderPlan::usesPerPack(OrderTable section) const {
    return uses_[at(section)];
}

const std::map<std::string, int, std::less<>>& OrderPlan::typed(OrderTable section) const {
    return typed_[at(section)];
}

std::optional<std::int64_t> OrderPlan::Suggestion(const OrderLine& line) const {
    const std::int64_t months = workload_.months;
    if (line.section == OrderTable::Assays) {
        const auto it = reagents_.find(line.number);
        if (it == reagents_.end() || !it->second.testsPerMonth || !it->second.testsPerBottle)
            return std::nullopt;
        // At most 24 x 1,000,000 x 200: well inside 64 bits.
        const std::int64_t tests = months * *it->second.testsPerMonth * (100 + workload_.retestPercent);
        return ceilDiv(tests, std::int64_t{100} * *it->second.testsPerBottle);
    }
    const std::optional<int> uses = find(uses_[at(line.section)], line.number);
    const std::int64_t perMonth =
        line.section == OrderTable::Calibs ? workload_.calibrationsPerMonth : workload_.runsPerMonth;
    if (!uses || perMonth == 0)
        return std::nullopt;
    return ceilDiv(months * perMonth, *uses);
}

LineQuantity OrderPlan::QuantityOf(const OrderLine& line) const {
    if (const std::optional<int> typed = find(typed_[at(line.section)], line.number))
        return {*typed, QuantitySource::Typed, Suggestion(line)};
    if (const std::optional<std::int64_t> suggestion = Suggestion(line))
        return {static_cast<int>(std::clamp(*suggestion, kQuantityRange.low, kQuantityRange.high)),
                QuantitySource::Suggested, suggestion};
    return {};
}

}  // namespace tovimar
