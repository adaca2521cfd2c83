// The order: what is in it and at which size, the assays ticked with their cut-offs and QUAL
// marks, why each product is in it, and how many of each. One plain value: copied to keep a step
// of the user's work, compared to see whether a click changed anything. The products themselves
// are the constant catalogue's (TheCatalogue()).
//
// The walk of the order lives here too: every reader of the order (the lists and their tooltips,
// the order-list file, CSV and HTML, the printout, the selection file) goes through it, so the flag
// rules are applied in one place, and a new column of the order (a quantity) is one field of
// OrderLine, filled in below.
#pragma once

#include "core/catalogue/order_lines.h"
#include "core/order/details.h"
#include "core/order/order_flags.h"
#include "core/planning/order_plan.h"
#include "core/planning/quantity_text.h"
#include "core/selection/assay_state.h"
#include "core/selection/provenance.h"

#include <string>
#include <vector>

namespace tovimar {

struct Order : OrderFlags {
    AssayState state;
    // Why each product is in the order; rebuilt by every run of the rules.
    Provenance provenance;
    // How many of each: typed quantities and the lab's figures.
    OrderPlan plan;
    // Who orders, the order's reference and its date.
    OrderDetails details;

    bool operator==(const Order&) const = default;
};

namespace detail {
// The flag rules, applied here once: the number, name and pack of the size in force.
inline OrderLine LineOf(const mAssay& a, const AssayOrder& f, int slot) {
    return {OrderTable::Assays, slot, OrderedNo(a, f), OrderedName(a, f), {}};
}
inline OrderLine LineOf(const mCalib& c, const CalibOrder& f, int slot) {
    return {OrderTable::Calibs, slot, OrderedNo(c, f), c.Name, OrderedPack(c, f)};
}
inline OrderLine LineOf(const mCTRL& c, const CtrlOrder& f, int slot) {
    return {OrderTable::Ctrls, slot, OrderedNo(c, f), c.Name, {}};
}

// The walk of the flags alone: f(const OrderLine&) for every product of section t in the order
// (Selected exactly 1, filled slots only), in slot order, each of quantity 1. Builds nothing, so a
// caller that writes into kept buffers stays free of allocations.
template <typename Records, typename Flags, typename F>
void ForEachInOrder(const Records& records, const Flags& flags, F&& f) {
    for (int slot = 1; slot <= Records::kFilled; ++slot)
        if (InOrder(flags[slot]))
            f(LineOf(records[slot], flags[slot], slot));
}
}  // namespace detail

// The walk of the flags alone: f(const OrderLine&) for every product of section t in the order
// (Selected exactly 1, filled slots only), in slot order, each of quantity 1. Builds nothing, so a
// caller that writes into kept buffers stays free of allocations.
template <typename F>
void ForEachOrderLine(const OrderFlags& order, OrderTable t, F&& f) {
    const Catalogue& cat = TheCatalogue();
    switch (t) {
    case OrderTable::Calibs:
        return detail::ForEachInOrder(cat.Calibs, order.Calibs, f);
    case OrderTable::Ctrls:
        return detail::ForEachInOrder(cat.Ctrls, order.Ctrls, f);
    case OrderTable::Assays:
        break;
    }
    detail::ForEachInOrder(cat.Assays, order.Assays, f);
}

template <typename F>
void ForEachOrderLine(const OrderFlags& order, F&& f) {
    for (const OrderSection& s : kOrderSections)
        ForEachOrderLine(order, s.table, f);
}

// The walk of one section of the order with each line's quantity. A plan with nothing in it gives
// an order of ones without a lookup.
template <typename F>
void ForEachOrderLine(const Order& order, OrderTable section, F&& f) {
    const OrderPlan& plan = order.plan;
    const bool ones = plan.AllOnes();
    ForEachOrderLine(static_cast<const OrderFlags&>(order), section, [&](OrderLine line) {
        if (!ones)
            line.quantity = plan.QuantityOf(line).quantity;
        f(static_cast<const OrderLine&>(line));
    });
}

// The same for the whole order: reagents, then calibrators, then controls.
template <typename F>
void ForEachOrderLine(const Order& order, F&& f) {
    for (const OrderSection& s : kOrderSections)
        ForEachOrderLine(order, s.table, f);
}

// The lines that order something: the walk without the lines whose quantity is 0 because the
// stock covers them. Every written order (the order-list file, CSV, HTML, the printout) is this.
template <typename F>
void ForEachOrderedLine(const Order& order, OrderTable section, F&& f) {
    ForEachOrderLine(order, section, [&f](const OrderLine& line) {
        if (line.quantity > 0)
            f(line);
    });
}

template <typename F>
void ForEachOrderedLine(const Order& order, F&& f) {
    for (const OrderSection& s : kOrderSections)
        ForEachOrderedLine(order, s.table, f);
}

// The catalogue numbers of the lines the stock covers, in the walk's order.
std::vector<std::string_view> CoveredNumbers(const Order& order);

// One text per line of section t into `texts`: write(std::string&, const OrderLine&) fills the
// string already at that place, whose storage is reused, and `texts` ends as long as the section.
// The window refills its lists and their tooltips on every click; this keeps a refill free of
// allocations once the texts have been that long.
template <typename Write>
void SectionTexts(const Order& order, OrderTable t, std::vector<std::string>& texts, Write&& write) {
    std::size_t n = 0;
    ForEachOrderLine(order, t, [&](const OrderLine& line) {
        if (n == texts.size())
            texts.emplace_back();
        write(texts[n++], line);
    });
    texts.resize(n);
}

// The whole order as lines with their quantities, reagents, calibrators, controls, slot order in
// each. The texts are the constant catalogue's.
std::vector<OrderLine> OrderLines(const Order& order);

// The sections of the order whose quantities came, for at least one line, from a suggestion.
SuggestedSections SuggestedIn(const Order& order);

// Runs `add` on the order and marks what it put into the order as added by `how`: every addition
// outside the rules (select all, the adding view, an opened selection) is this one call.
template <typename Add>
void AddToOrder(Order& order, Addition how, Add&& add) {
    const OrderSnapshot before(order);
    add(order);
    order.provenance.MarkAdded(before, order, how);
}

}  // namespace tovimar
