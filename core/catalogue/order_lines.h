// The order as lines, and the one way to reach a product by table and slot. Every reader of the
// order (the lists and their tooltips, the order-list file, CSV and HTML, the printout, the
// selection file) goes through here, so the record rules are applied in one place, and a new
// column of the order (a quantity) is one field of OrderLine, filled in LineOf below.
#pragma once

#include "core/catalogue/records.h"

#include <array>
#include <cstddef>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace tovimar {

// The three tables.
enum class OrderTable { Calibs, Ctrls, Assays };

// The sections of the order and their headings, in the order-list file's order.
struct OrderSection {
    OrderTable table;
    std::string_view heading;
};
inline constexpr std::array<OrderSection, 3> kOrderSections{
    {{OrderTable::Assays, "REAGENTS"}, {OrderTable::Calibs, "CALIBRATORS"}, {OrderTable::Ctrls, "CONTROLS"}}};

std::string_view SectionHeading(OrderTable t);

// One product: a reagent (Assays), calibrator (Calibs) or control (Ctrls) slot.
struct ItemRef {
    OrderTable table = OrderTable::Assays;
    int slot = 0;

    bool operator==(const ItemRef&) const = default;
};

// Calls f with the member of `tables` that holds table t: `tables` is the catalogue, or anything
// else kept per table with the members Assays, Calibs and Ctrls. The one place that turns a table
// into a type.
template <typename Tables, typename F>
decltype(auto) WithTable(Tables& tables, OrderTable t, F&& f) {
    switch (t) {
    case OrderTable::Calibs:
        return f(tables.Calibs);
    case OrderTable::Ctrls:
        return f(tables.Ctrls);
    case OrderTable::Assays:
        break;
    }
    return f(tables.Assays);
}

// Calls f with the record `ref` names (mAssay, mCalib or mCTRL; const when `cat` is).
template <typename Cat, typename F>
decltype(auto) WithRecord(Cat& cat, ItemRef ref, F&& f) {
    return WithTable(cat, ref.table, [&](auto& table) -> decltype(auto) { return f(table[ref.slot]); });
}

// One line of the order: a product in it, in the size chosen. The texts are the catalogue's own,
// so a line lives no longer than the catalogue's texts stay unchanged (until the next reload).
struct OrderLine {
    OrderTable section = OrderTable::Assays;
    int slot = 0;
    std::string_view number;  // the catalogue number ordered
    std::string_view name;    // the product's name; a reagent's is its variant's
    std::string_view pack;    // a calibrator's pack; empty for reagents and controls (in their name)
    int quantity = 1;         // how many; the walk with a plan fills it in

    ItemRef item() const { return {section, slot}; }
};

namespace detail {
// The record rules, applied here once: the number, name and pack of the size in force.
inline OrderLine LineOf(const mAssay& a, int slot) {
    return {OrderTable::Assays, slot, OrderedNo(a), OrderedName(a), {}};
}
inline OrderLine LineOf(const mCalib& c, int slot) {
    return {OrderTable::Calibs, slot, OrderedNo(c), c.Name, OrderedPack(c)};
}
inline OrderLine LineOf(const mCTRL& c, int slot) {
    return {OrderTable::Ctrls, slot, OrderedNo(c), c.Name, {}};
}
}  // namespace detail

// The walk of the order: f(const OrderLine&) for every product of section t in the order
// (Selected exactly 1, filled slots only), in slot order. Builds nothing, so a caller that writes
// into kept buffers stays free of allocations.
template <typename F>
void ForEachOrderLine(const Catalogue& cat, OrderTable t, F&& f) {
    WithTable(cat, t, [&](const auto& table) {
        int slot = 0;
        for (const auto& record : table) {  // the filled slots, 1 upwards
            ++slot;
            if (InOrder(record))
                f(detail::LineOf(record, slot));
        }
    });
}

// The same for the whole order: reagents, then calibrators, then controls.
template <typename F>
void ForEachOrderLine(const Catalogue& cat, F&& f) {
    for (const OrderSection& s : kOrderSections)
        ForEachOrderLine(cat, s.table, f);
}

// One text per line of section t into `texts`: write(std::string&, const OrderLine&) fills the
// string already at that place, whose storage is reused, and `texts` ends as long as the section.
// The window refills its lists and their tooltips on every click; this keeps a refill free of
// allocations once the texts have been that long.
template <typename Write>
void SectionTexts(const Catalogue& cat, OrderTable t, std::vector<std::string>& texts, Write&& write) {
    std::size_t n = 0;
    ForEachOrderLine(cat, t, [&](const OrderLine& line) {
        if (n == texts.size())
            texts.emplace_back();
        write(texts[n++], line);
    });
    texts.resize(n);
}

// The whole order as lines, reagents, calibrators, controls, slot order in each.
std::vector<OrderLine> OrderLines(const Catalogue& cat);
// The lines point into the catalogue: a temporary one would leave them dangling.
std::vector<OrderLine> OrderLines(const Catalogue&& cat) = delete;

// One T per filled slot of each table: what is kept beside the catalogue about its products
// (why one is in the order, whether it was before a step). A slot outside the filled range is a
// programming error and throws.
template <typename T>
struct PerItem {
    std::array<T, AssayTable::kFilled> Assays{};
    std::array<T, CalibTable::kFilled> Calibs{};
    std::array<T, CtrlTable::kFilled> Ctrls{};

    T& operator[](ItemRef ref) { return at(*this, ref); }
    const T& operator[](ItemRef ref) const { return at(*this, ref); }

    void fill(const T& value) {
        Assays.fill(value);
        Calibs.fill(value);
        Ctrls.fill(value);
    }

private:
    // Self is PerItem or const PerItem: one body for reading and writing.
    template <typename Self>
    static auto& at(Self& self, ItemRef ref) {
        return WithTable(
            self, ref.table, [ref](auto& table) -> auto& {
                if (ref.slot < 1 || static_cast<std::size_t>(ref.slot) > table.size())
                    throw std::out_of_range("slot " + std::to_string(ref.slot) + " outside the filled range");
                return table[static_cast<std::size_t>(ref.slot - 1)];
            });
    }
};

}  // namespace tovimar
