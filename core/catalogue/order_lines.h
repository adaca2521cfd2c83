// The one way to reach a product by table and slot, what a line of the order says, and what is kept
// per product. The walk of the order that makes the lines is the order's (core/order/order.h).
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

// One line of the order: a product in it, in the size chosen. The texts are the constant
// catalogue's own.
struct OrderLine {
    OrderTable section = OrderTable::Assays;
    int slot = 0;
    std::string_view number;  // the catalogue number ordered
    std::string_view name;    // the product's name; a reagent's is its variant's
    std::string_view pack;    // a calibrator's pack; empty for reagents and controls (in their name)
    int quantity = 1;         // how many; the walk with a plan fills it in

    ItemRef item() const { return {section, slot}; }
};

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

    bool operator==(const PerItem&) const = default;

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
