// The quantity of a line in words, for the lists' tooltips and the order window, and the one line
// of assumptions that the printout carries when suggested quantities were used.
#pragma once

#include "core/catalogue/order_lines.h"
#include "core/planning/order_plan.h"

#include <string>

namespace tovimar {

// Where a line's quantity is not the default 1, how many and why: "Quantity 3, typed.",
// "Quantity 4, suggested from 1,200 tests a month, 400 tests a bottle, 3 months, 5% of tests
// repeated.", with stock "..., less 4 on hand and 1 on order.", a line the stock covers "On hand
// 4, on order 1: covered for 3 months.", a typed quantity the figures no longer back "Typed 10;
// the figures now suggest 13." Nothing for a line of one by default. Appends to `out`, so a refill that keeps
// its strings allocates nothing.
void AppendQuantityText(std::string& out, const OrderLine& line, const OrderPlan& plan);
std::string QuantityText(const OrderLine& line, const OrderPlan& plan);

// The sections of an order whose quantities came, for at least one line, from a suggestion.
struct SuggestedSections {
    bool reagents = false;
    bool calibrators = false;
    bool controls = false;

    bool any() const { return reagents || calibrators || controls; }
    void add(OrderTable t);
};

// The assumptions behind suggested quantities, naming only the figures those sections used:
// "Quantities planned for 3 months: 22 runs and 4 calibrations a month, 5% of tests repeated."
// Empty where no quantity was suggested.
std::string PlanningNote(const Workload& w, SuggestedSections used);

}  // namespace tovimar
