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
        !kPerMonthRange.holds(w.calibrationsPerMonth) || !kRetestRange.holds(w.retestPercent) ||
        !kSafetyMonthsRange.holds(w.safetyMonths))
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

ReagentFigures OrderPlan::Reagent(std::string_view number) const {
    const auto it = reagents_.find(number);
    return it == reagents_.end() ? ReagentFigures{} : it->second;
}

bool OrderPlan::SetUsesPerPack(OrderTable section, const std::string& number, std::optional<int> uses) {
    if (section == OrderTable::Assays || !fits(uses, kUsesPerPackRange))
        return false;
    put(uses_[at(section)], number, uses);
    return true;
}

std::optional<int> OrderPlan::UsesPerPack(OrderTable section, std::string_view number) const {
    return find(uses_[at(section)], number);
}

std::optional<int> OrderPlan::TestsPerMonth(const OrderLine& line) const {
    if (line.section != OrderTable::Assays)
        return std::nullopt;
    if (const auto it = reagents_.find(line.number); it != reagents_.end() && it->second.testsPerMonth)
        return it->second.testsPerMonth;
    const mAssay& reagent = TheCatalogue().Assays[line.slot];
    const std::string& other = line.number == reagent.OrderNo1 ? reagent.OrderNo2 : reagent.OrderNo1;
    if (other == line.number)
        return std::nullopt;
    const auto it = reagents_.find(other);
    return it == reagents_.end() ? std::nullopt : it->second.testsPerMonth;
}

bool OrderPlan::SetStock(OrderTable section, const std::string& number, const Stock& stock) {
    if (!fits(stock.onHand, kStockRange) || !fits(stock.onOrder, kStockRange))
        return false;
    if (stock.empty())
        stock_[at(section)].erase(number);
    else
        stock_[at(section)][number] = stock;
    return true;
}

Stock OrderPlan::StockOf(OrderTable section, std::string_view number) const {
    const auto it = stock_[at(section)].find(number);
    return it == stock_[at(section)].end() ? Stock{} : it->second;
}

bool OrderPlan::SetTyped(OrderTable section, const std::string& number, std::optional<int> quantity) {
    if (!fits(quantity, kQuantityRange))
        return false;
    put(typed_[at(section)], number, quantity);
    return true;
}

std::optional<int> OrderPlan::Typed(OrderTable section, std::string_view number) const {
    return find(typed_[at(section)], number);
}

void OrderPlan::ClearTyped() {
    for (Numbers& t : typed_)
        t.clear();
}

bool OrderPlan::DropTypedWhereSuggested(const OrderLine& line) {
    if (!Suggestion(line))
        return false;
    Numbers& typed = typed_[at(line.section)];
    const auto it = typed.find(line.number);
    if (it == typed.end())
        return false;
    typed.erase(it);
    return true;
}

bool OrderPlan::HasStock() const {
    return std::any_of(stock_.begin(), stock_.end(), [](const auto& s) { return !s.empty(); });
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

const std::map<std::string, Stock, std::less<>>& OrderPlan::stock(OrderTable section) const {
    return stock_[at(section)];
}

std::optional<std::int64_t> OrderPlan::Suggestion(const OrderLine& line) const {
    const std::int64_t months = workload_.plannedMonths();
    if (line.section == OrderTable::Assays) {
        const std::optional<int> perMonth = TestsPerMonth(line);
        const std::optional<int> perBottle = Reagent(line.number).testsPerBottle;
        if (!perMonth || !perBottle)
            return std::nullopt;
        // At most 30 x 1,000,000 x 200: well inside 64 bits.
        const std::int64_t tests = months * *perMonth * (100 + workload_.retestPercent);
        return ceilDiv(tests, std::int64_t{100} * *perBottle);
    }
    const std::optional<int> uses = find(uses_[at(line.section)], line.number);
    const std::int64_t perMonth =
        line.section == OrderTable::Calibs ? workload_.calibrationsPerMonth : workload_.runsPerMonth;
    if (!uses || perMonth == 0)
        return std::nullopt;
    return ceilDiv(months * perMonth, *uses);
}

LineQuantity OrderPlan::QuantityOf(const OrderLine& line) const {
    LineQuantity q;
    q.suggestion = Suggestion(line);
    q.stock = StockOf(line.section, line.number);
    const std::int64_t need = q.suggestion ? std::max<std::int64_t>(1, *q.suggestion) : 1;
    q.fromFigures =
        static_cast<int>(std::clamp(need - q.stock.total(), std::int64_t{0}, kQuantityRange.high));
    q.quantity = q.fromFigures;
    if (q.suggestion)
        q.source = QuantitySource::Suggested;
    if (const std::optional<int> typed = find(typed_[at(line.section)], line.number)) {
        q.quantity = *typed;
        q.source = QuantitySource::Typed;
    }
    return q;
}

}  // namespace tovimar
