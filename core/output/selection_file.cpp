#include "core/output/selection_file.h"

#include "core/order/order.h"
#include "core/output/latin1.h"
#include "core/refinement/size_boxes.h"
#include "core/selection/rules.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <functional>
#include <initializer_list>
#include <map>
#include <nlohmann/json.hpp>
#include <utility>

namespace tovimar {

namespace {

using json = nlohmann::json;

constexpr std::string_view kFormat = "tovimar-selection";

// ---- Names in the file -----------------------------------------------------------------------

struct FrameName {
    Frame frame;
    std::string_view name;
};
constexpr std::array<FrameName, 4> kFrameNames{
    {{Frame::Orlan, "ORLAN"}, {Frame::Vex, "VEX"}, {Frame::Tox, "TOX"}, {Frame::Adult, "ADULT"}}};

std::string_view frameName(Frame f) {
    for (const FrameName& n : kFrameNames)
        if (n.frame == f)
            return n.name;
    return {};
}

// The sections of "added", in the order list's order.
struct Section {
    OrderTable table;
    std::string_view key;
    std::string_view kind;
};
constexpr std::array<Section, 3> kSections{{{OrderTable::Assays, "reagents", "reagent"},
                                            {OrderTable::Calibs, "calibrators", "calibrator"},
                                            {OrderTable::Ctrls, "controls", "control"}}};

std::string_view kindOf(OrderTable t) {
    for (const Section& s : kSections)
        if (s.table == t)
            return s.kind;
    return {};
}

std::string_view trimmed(std::string_view s) {
    const auto blank = [](char c) { return c == ' ' || c == '\t'; };
    while (!s.empty() && blank(s.front()))
        s.remove_prefix(1);
    while (!s.empty() && blank(s.back()))
        s.remove_suffix(1);
    return s;
}

// Captions and frame names are ASCII; case is folded in ASCII only.
bool equalIgnoringCase(std::string_view a, std::string_view b) {
    const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; };
    return std::ranges::equal(a, b, [&](char x, char y) { return lower(x) == lower(y); });
}

const CutOption* optionFor(const AssayRowDef& def, double value) {
    for (const CutOption& o : def.options())
        if (o.value == value)
            return &o;
    return nullptr;
}

// ---- The catalogue by item -------------------------------------------------------------------

// Each kind of record's standard number and alternative's number. Controls come in one size: their
// alternative is their only number.
const std::string& standardNo(const mAssay& a) {
    return a.OrderNo1;
}
const std::string& standardNo(const mCalib& c) {
    return c.OrderNo1;
}
const std::string& standardNo(const mCTRL& c) {
    return c.OrderNo;
}
const std::string& alternativeNo(const mAssay& a) {
    return a.OrderNo2;
}
const std::string& alternativeNo(const mCalib& c) {
    return c.OrderNo2;
}
const std::string& alternativeNo(const mCTRL& c) {
    return c.OrderNo;
}

int filledSlots(const Catalogue& cat, OrderTable t) {
    return WithTable(cat, t, [](const auto& table) { return table.kFilled; });
}

bool inOrder(const OrderFlags& order, ItemRef i) {
    return WithRecord(order, i, [](const auto& f) { return InOrder(f); });
}

const std::string& standardNo(const Catalogue& cat, ItemRef i) {
    return WithRecord(cat, i, [](const auto& r) -> const std::string& { return standardNo(r); });
}

const std::string& alternativeNo(const Catalogue& cat, ItemRef i) {
    return WithRecord(cat, i, [](const auto& r) -> const std::string& { return alternativeNo(r); });
}

bool hasAlternative(const Catalogue& cat, ItemRef i) {
    return i.table != OrderTable::Ctrls && alternativeNo(cat, i) != standardNo(cat, i);
}

// Whether `number` is one of section t's catalogue numbers, in either size.
bool isNumberOf(const Catalogue& cat, OrderTable t, std::string_view number) {
    for (int slot = 1; slot <= filledSlots(cat, t); ++slot) {
        const ItemRef i{t, slot};
        if (!number.empty() &&
            (standardNo(cat, i) == number || (hasAlternative(cat, i) && alternativeNo(cat, i) == number)))
            return true;
    }
    return false;
}

// ---- Writing ---------------------------------------------------------------------------------

std::string quotedUtf8(std::string_view latin1) {
    return json(Latin1ToUtf8(latin1)).dump();
}

void appendNumbers(std::string& out, const Catalogue& cat, const std::vector<ItemRef>& items, OrderTable only,
                   const std::string& (*number)(const Catalogue&, ItemRef)) {
    out += '[';
    bool first = true;
    for (const ItemRef& i : items) {
        if (i.table != only)
            continue;
        if (!first)
            out += ", ";
        out += quotedUtf8(number(cat, i));
        first = false;
    }
    out += ']';
}

// {"4155": <value>, ...} in the order of `numbers` (sorted as text), or {}.
template <typename Numbered, typename Write>
void appendByNumber(std::string& out, const Numbered& numbers, Write&& write) {
    out += '{';
    bool first = true;
    for (const auto& [number, value] : numbers) {
        if (!first)
            out += ", ";
        first = false;
        out += quotedUtf8(number);
        out += ": ";
        write(value);
    }
    out += '}';
}

void appendFigure(std::string& out, std::string_view key, int value, bool& first) {
    if (!first)
        out += ", ";
    first = false;
    out += '"';
    out += key;
    out += "\": ";
    out += std::to_string(value);
}

void appendQuantities(std::string& out, const OrderPlan& plan) {
    out += "  \"quantities\": {";
    for (const Section& s : kSections) {
        if (s.table != OrderTable::Assays)
            out += ", ";
        out += '"';
        out += s.key;
        out += "\": ";
        appendByNumber(out, plan.typed(s.table), [&](int q) { out += std::to_string(q); });
    }
    out += '}';
}

void appendPlan(std::string& out, const OrderPlan& plan) {
    const Workload& w = plan.workload();
    out += "  \"plan\": {\n    ";
    bool first = true;
    appendFigure(out, "months", w.months, first);
    appendFigure(out, "runsPerMonth", w.runsPerMonth, first);
    appendFigure(out, "calibrationsPerMonth", w.calibrationsPerMonth, first);
    appendFigure(out, "retestPercent", w.retestPercent, first);
    if (w.safetyMonths > 0)
        appendFigure(out, "safetyMonths", w.safetyMonths, first);
    out += ",\n    \"reagents\": ";
    appendByNumber(out, plan.reagents(), [&](const ReagentFigures& f) {
        bool none = true;
        out += '{';
        if (f.testsPerMonth)
            appendFigure(out, "testsPerMonth", *f.testsPerMonth, none);
        if (f.testsPerBottle)
            appendFigure(out, "testsPerBottle", *f.testsPerBottle, none);
        out += '}';
    });
    for (const Section& s : kSections) {
        if (s.table == OrderTable::Assays)
            continue;
        out += ",\n    \"";
        out += s.key;
        out += "\": ";
        appendByNumber(out, plan.usesPerPack(s.table),
                       [&](int uses) { out += "{\"usesPerPack\": " + std::to_string(uses) + "}"; });
    }
    out += "\n  }";
}

// A UTF-8 text of the user's, as JSON.
std::string quoted(const std::string& utf8) {
    return json(utf8).dump();
}

void appendText(std::string& out, std::string_view key, const std::string& text, bool& first) {
    if (text.empty())
        return;
    out += first ? "" : ", ";
    first = false;
    out += '"';
    out += key;
    out += "\": ";
    out += quoted(text);
}

void appendDetails(std::string& out, const OrderDetails& d) {
    const Laboratory& lab = d.laboratory;
    if (lab.given()) {
        out += ",\n  \"laboratory\": {";
        bool first = true;
        appendText(out, "name", lab.name, first);
        if (!lab.address.empty()) {
            out += ", \"address\": [";
            for (std::size_t k = 0; k < lab.address.size(); ++k)
                out += (k > 0 ? ", " : "") + quoted(lab.address[k]);
            out += ']';
        }
        appendText(out, "account", lab.account, first);
        appendText(out, "contact", lab.contact, first);
        appendText(out, "phone", lab.phone, first);
        appendText(out, "email", lab.email, first);
        out += '}';
    }
    if (!d.reference.empty() || !d.date.empty()) {
        out += ",\n  \"order\": {";
        bool first = true;
        appendText(out, "reference", d.reference, first);
        appendText(out, "date", d.date, first);
        out += '}';
    }
}

void appendStock(std::string& out, const OrderPlan& plan) {
    out += "  \"stock\": {";
    for (const Section& s : kSections) {
        if (s.table != OrderTable::Assays)
            out += ",";
        out += "\n    \"";
        out += s.key;
        out += "\": ";
        appendByNumber(out, plan.stock(s.table), [&](const Stock& stock) {
            bool none = true;
            out += '{';
            if (stock.onHand)
                appendFigure(out, "onHand", *stock.onHand, none);
            if (stock.onOrder)
                appendFigure(out, "onOrder", *stock.onOrder, none);
            out += '}';
        });
    }
    out += "\n  }";
}

// ---- Reading ---------------------------------------------------------------------------------

// Thrown inside the reader only: the first problem ends the reading.
struct Refusal {
    SelectionProblem problem;
};

[[noreturn]] void refuse(std::string item, std::string message) {
    throw Refusal{SelectionProblem{std::move(message), 0, 0, std::move(item)}};
}

// A text of the file inside a message: quoted and escaped like JSON, and cut short (at a character
// boundary) so that a message stays one readable line whatever the file holds.
std::string shown(std::string_view utf8) {
    constexpr std::size_t kLongest = 60;
    std::string text(utf8);
    bool cut = false;
    if (text.size() > kLongest) {
        std::size_t n = kLongest;
        while (n > 0 && (static_cast<unsigned char>(text[n]) & 0xC0) == 0x80)
            --n;
        text.resize(n);
        cut = true;
    }
    const std::string dumped = json(text).dump(-1, ' ', false, json::error_handler_t::replace);
    // JSON escapes the C0 controls only; DEL and the C1 controls would show as nothing or as boxes.
    std::string out;
    out.reserve(dumped.size());
    for (std::size_t k = 0; k < dumped.size(); ++k) {
        const auto c = static_cast<unsigned char>(dumped[k]);
        const auto next = k + 1 < dumped.size() ? static_cast<unsigned char>(dumped[k + 1]) : 0;
        if (c == 0x7F) {
            out += "\\u007f";
        } else if (c == 0xC2 && next >= 0x80 && next <= 0x9F) {
            constexpr std::string_view kHex = "0123456789abcdef";
            out += "\\u00";
            out += kHex[next >> 4];
            out += kHex[next & 0xF];
            ++k;
        } else {
            out += dumped[k];
        }
    }
    if (cut)
        out.insert(out.size() - 1, "...");
    return out;
}

std::string_view kindOf(const json& v) {
    switch (v.type()) {
    case json::value_t::null:
        return "null";
    case json::value_t::boolean:
        return "true or false";
    case json::value_t::number_integer:
    case json::value_t::number_unsigned:
    case json::value_t::number_float:
        return "a number";
    case json::value_t::string:
        return "a text in quotes";
    case json::value_t::array:
        return "an array";
    case json::value_t::object:
        return "an object";
    case json::value_t::binary:
    case json::value_t::discarded:
        break;
    }
    return "an unreadable value";
}

// `what` must be of the kind `expected` ("an array"), else the reading stops at `item`.
void expect(const json& v, bool ok, std::string_view expected, const std::string& item,
            std::string_view what) {
    if (!ok)
        refuse(item, std::string(what) + " must be " + std::string(expected) + ", not " +
                         std::string(kindOf(v)) + ".");
}

std::string valueOf(std::string_view key) {
    return "The value of \"" + std::string(key) + "\"";
}

std::string itemAt(std::string_view list, std::size_t i) {
    return std::string(list) + "[" + std::to_string(i) + "]";
}

// Every catalogue number, as the file writes it (UTF-8), to its product and variant. Numbers are
// unique across the catalogue; were one not, the first slot in order-list order would win.
class Numbers {
public:
    struct Ref {
        ItemRef item;
        bool alternative = false;
    };

    explicit Numbers(const Catalogue& cat) {
        for (const Section& s : kSections)
            for (int slot = 1; slot <= filledSlots(cat, s.table); ++slot) {
                const ItemRef i{s.table, slot};
                if (!standardNo(cat, i).empty())
                    refs_.emplace(Latin1ToUtf8(standardNo(cat, i)), Ref{i, false});
                if (hasAlternative(cat, i) && !alternativeNo(cat, i).empty())
                    refs_.emplace(Latin1ToUtf8(alternativeNo(cat, i)), Ref{i, true});
            }
    }

    // The product a number of the file names (surrounding blanks ignored).
    const Ref& find(const json& v, const std::string& item) const {
        expect(v, v.is_string(), "a text in quotes", item, "A catalogue number");
        return find(v.get_ref<const std::string&>(), item);
    }

    const Ref& find(const std::string& text, const std::string& item) const {
        const std::string_view number = trimmed(text);
        if (number.empty())
            refuse(item, "The catalogue number is empty.");
        const auto it = refs_.find(number);
        if (it == refs_.end())
            refuse(item, "Unknown catalogue number " + shown(text) + ".");
        return it->second;
    }

private:
    std::map<std::string, Ref, std::less<>> refs_;
};

void addOnce(std::vector<ItemRef>& items, ItemRef i) {
    if (std::ranges::find(items, i) == items.end())
        items.push_back(i);
}

const json* member(const json& object, std::string_view key) {
    const auto it = object.find(key);
    return it == object.end() ? nullptr : &*it;
}

// "300, 500 and 1000": the texts of `items` as `text(item)` gives them.
template <typename Items, typename Text>
std::string listed(const Items& items, Text&& text) {
    std::string out;
    std::size_t n = 0;
    for (const auto& item : items) {
        if (n++ > 0)
            out += n == std::size(items) ? " and " : ", ";
        out += text(item);
    }
    return out;
}

// "its cut-offs are 300, 500 and 1000", "its only cut-off is 5"
std::string offered(const AssayRowDef& def) {
    const auto options = def.options();
    return (options.size() == 1 ? "its only cut-off is " : "its cut-offs are ") +
           listed(options, [](const CutOption& o) { return std::string(o.caption); });
}

SelectedAssay readAssay(const json& v, const std::string& item, std::array<int, kAssayRowCount>& listedAt,
                        int position) {
    expect(v, v.is_object(), "an object", item, "Each assay");
    const auto text = [&](std::string_view key) -> const std::string& {
        const json* m = member(v, key);
        if (m == nullptr)
            refuse(item, "The assay has no \"" + std::string(key) + "\".");
        expect(*m, m->is_string(), "a text in quotes", item + "." + std::string(key), valueOf(key));
        return m->get_ref<const std::string&>();
    };
    const std::string& frameText = text("frame");
    const std::string& caption = text("assay");

    const auto frame = std::ranges::find_if(
        kFrameNames, [&](const FrameName& n) { return equalIgnoringCase(trimmed(frameText), n.name); });
    if (frame == kFrameNames.end())
        refuse(item + ".frame",
               "Unknown frame " + shown(frameText) + "; the frames are ORLAN, VEX, TOX and ADULT.");
    const auto& rows = AssayRows();
    const auto def = std::ranges::find_if(rows, [&](const AssayRowDef& d) {
        return d.frame == frame->frame && equalIgnoringCase(trimmed(d.caption), trimmed(caption));
    });
    if (def == rows.end())
        refuse(item + ".assay",
               "Unknown assay " + shown(caption) + " in frame " + std::string(frame->name) + ".");

    const std::string named =
        "Assay " + shown(trimmed(def->caption)) + " in frame " + std::string(frame->name);
    if (def->secondColumn)
        refuse(item + ".assay", named + " is never shown and cannot be ticked.");
    int& first = listedAt[index(def->key)];
    if (first >= 0)
        refuse(item, named + " is listed twice, also as " +
                         itemAt("assays", static_cast<std::size_t>(first)) + ".");
    first = position;

    SelectedAssay a{def->key, 0.0, false};
    if (const json* cut = member(v, "cutoff")) {
        if (!def->hasOptions())
            refuse(item + ".cutoff", named + " has no cut-off to choose.");
        expect(*cut, cut->is_number(), "a number", item + ".cutoff", valueOf("cutoff"));
        const CutOption* option = optionFor(*def, cut->get<double>());
        if (option == nullptr)
            refuse(item + ".cutoff",
                   named + " offers no cut-off " + cut->dump() + "; " + offered(*def) + ".");
        a.cut = option->value;
    }
    if (const json* qual = member(v, "qual")) {
        if (!def->hasQual())
            refuse(item + ".qual", named + " has no QUAL box.");
        expect(*qual, qual->is_boolean(), "true or false", item + ".qual", valueOf("qual"));
        a.qual = qual->get<bool>();
    }
    return a;
}

void readFormatAndVersion(const json& doc) {
    const json* format = member(doc, "format");
    if (format == nullptr)
        refuse("format", "This is not a Tovimar selection: the file has no \"format\".");
    if (!format->is_string() || format->get_ref<const std::string&>() != kFormat)
        refuse("format", "This is not a Tovimar selection: \"format\" is " +
                             (format->is_string() ? shown(format->get_ref<const std::string&>())
                                                  : std::string(kindOf(*format))) +
                             ", not \"tovimar-selection\".");

    const json* version = member(doc, "version");
    if (version == nullptr)
        refuse("version", "The file has no \"version\".");
    if (version->is_number_float()) {
        // A whole number too large for the parser's integers arrives as a floating-point one.
        const double v = version->get<double>();
        if (std::isfinite(v) && v == std::trunc(v) && std::fabs(v) >= 0x1p63)
            refuse("version", v > 0 ? "The version number is out of range, far too large for any version; "
                                      "this Tovimar reads versions up to " +
                                          std::to_string(kSelectionVersion) + "."
                                    : std::string("The version must be 1 or more, not a negative number."));
    }
    if (!version->is_number_integer())
        refuse("version", valueOf("version") + " must be a whole number, not " +
                              (version->is_number() ? version->dump() : std::string(kindOf(*version))) + ".");
    const bool belowOne =
        version->is_number_unsigned() ? version->get<std::uint64_t>() < 1 : version->get<std::int64_t>() < 1;
    if (belowOne)
        refuse("version", "The version must be 1 or more, not " + version->dump() + ".");
    if (version->is_number_unsigned() ? version->get<std::uint64_t>() > kSelectionVersion
                                      : version->get<std::int64_t>() > kSelectionVersion)
        refuse("version", "This file was written by a newer Tovimar (selection version " + version->dump() +
                              "); this Tovimar reads versions up to " + std::to_string(kSelectionVersion) +
                              ".");
}

std::string keyAt(std::string_view object, const std::string& key) {
    return std::string(object) + "[" + shown(key) + "]";
}

std::string fromTo(FigureRange range) {
    return "a whole number from " + std::to_string(range.low) + " to " + std::to_string(range.high);
}

// A JSON integer within `range`: 3.0, 1e3, "3" and true are not what the window lets anyone type.
int readWhole(const json& v, FigureRange range, const std::string& item, std::string_view what) {
    std::optional<std::int64_t> n;
    if (v.is_number_unsigned()) {
        if (const auto u = v.get<std::uint64_t>(); u <= std::uint64_t(range.high))
            n = std::int64_t(u);
    } else if (v.is_number_integer()) {
        n = v.get<std::int64_t>();
    }
    if (!n || !range.holds(*n))
        refuse(item, std::string(what) + " must be " + fromTo(range) + ", not " +
                         (v.is_number() ? v.dump() : std::string(kindOf(v))) + ".");
    return static_cast<int>(*n);
}

// f(table, number, value, item) for each entry of the sections of `parent` (an object keyed by
// catalogue number per section), the number as the catalogue writes it. The entries come sorted
// by key, as the parser keeps them.
template <typename F>
void readByNumber(const json& parent, const std::string& where, const Numbers& numbers, F&& f) {
    expect(parent, parent.is_object(), "an object", where, valueOf(where.substr(where.rfind('.') + 1)));
    for (const Section& s : kSections) {
        const json* object = member(parent, s.key);
        if (object == nullptr)
            continue;
        const std::string at = where + "." + std::string(s.key);
        expect(*object, object->is_object(), "an object", at, valueOf(s.key));
        std::map<std::string, std::string> keyOf;  // number as the catalogue writes it -> the file's key
        for (const auto& [key, value] : object->items()) {
            const std::string item = keyAt(at, key);
            const Numbers::Ref& ref = numbers.find(key, item);
            if (ref.item.table != s.table)
                refuse(item, "Catalogue number " + shown(key) + " is a " +
                                 std::string(kindOf(ref.item.table)) + ", not a " + std::string(s.kind) +
                                 ".");
            const std::string& number = ref.alternative ? alternativeNo(TheCatalogue(), ref.item)
                                                        : standardNo(TheCatalogue(), ref.item);
            const auto [first, fresh] = keyOf.emplace(number, key);
            if (!fresh)
                refuse(item, "Catalogue number " + shown(key) + " is the same as " + shown(first->second) +
                                 ", listed already.");
            f(s.table, number, value, item);
        }
    }
}

struct TypedAt {
    OrderTable table;
    std::string number;
    std::string item;
};

std::vector<TypedAt> readQuantities(const json& quantities, const Numbers& numbers, OrderPlan& plan) {
    std::vector<TypedAt> typed;
    readByNumber(quantities, "quantities", numbers,
                 [&](OrderTable t, const std::string& number, const json& v, const std::string& item) {
                     plan.SetTyped(t, number, readWhole(v, kQuantityRange, item, "A quantity"));
                     typed.push_back({t, number, item});
                 });
    return typed;
}

// A figure of `object`, when given.
std::optional<int> figure(const json& object, std::string_view key, FigureRange range,
                          const std::string& item) {
    const json* v = member(object, key);
    if (v == nullptr)
        return std::nullopt;
    return readWhole(*v, range, item + "." + std::string(key), valueOf(key));
}

// An entry of "plan" or "stock" holds only the keys of its section: a misspelt figure would be
// dropped without a word, and the order would be smaller than the lab planned.
void onlyKeys(const json& entry, std::initializer_list<std::string_view> keys, std::string_view whose,
              const std::string& item) {
    for (const auto& [key, value] : entry.items()) {
        if (std::ranges::find(keys, std::string_view(key)) != keys.end())
            continue;
        const std::string known =
            listed(keys, [](std::string_view k) { return "\"" + std::string(k) + "\""; });
        refuse(item, "Unknown key " + shown(key) + " in " + std::string(whose) + "; " +
                         (keys.size() == 1 ? "the only one is " : "they are ") + known + ".");
    }
}

void readPlan(const json& doc, const Numbers& numbers, OrderPlan& plan) {
    Workload w;
    const std::string at = "plan";
    w.months = figure(doc, "months", kMonthsRange, at).value_or(w.months);
    w.runsPerMonth = figure(doc, "runsPerMonth", kPerMonthRange, at).value_or(w.runsPerMonth);
    w.calibrationsPerMonth =
        figure(doc, "calibrationsPerMonth", kPerMonthRange, at).value_or(w.calibrationsPerMonth);
    w.retestPercent = figure(doc, "retestPercent", kRetestRange, at).value_or(w.retestPercent);
    w.safetyMonths = figure(doc, "safetyMonths", kSafetyMonthsRange, at).value_or(w.safetyMonths);
    plan.SetWorkload(w);
    readByNumber(
        doc, at, numbers,
        [&](OrderTable t, const std::string& number, const json& v, const std::string& item) {
            expect(v, v.is_object(), "an object", item, "The figures of a product");
            if (t == OrderTable::Assays) {
                onlyKeys(v, {"testsPerMonth", "testsPerBottle"}, "a reagent's figures", item);
                plan.SetReagentFigures(number, {figure(v, "testsPerMonth", kTestsPerMonthRange, item),
                                                figure(v, "testsPerBottle", kTestsPerBottleRange, item)});
            } else {
                onlyKeys(v, {"usesPerPack"},
                         t == OrderTable::Calibs ? "a calibrator's figures" : "a control's figures", item);
                plan.SetUsesPerPack(t, number, figure(v, "usesPerPack", kUsesPerPackRange, item));
            }
        });
}

// A text of "laboratory" or "order", when given.
std::string text(const json& object, std::string_view key, const std::string& at) {
    const json* v = member(object, key);
    if (v == nullptr)
        return {};
    expect(*v, v->is_string(), "a text in quotes", at + "." + std::string(key), valueOf(key));
    return v->get<std::string>();
}

void readDetails(const json& doc, OrderDetails& d) {
    if (const json* lab = member(doc, "laboratory")) {
        expect(*lab, lab->is_object(), "an object", "laboratory", valueOf("laboratory"));
        onlyKeys(*lab, {"name", "address", "account", "contact", "phone", "email"},
                 "the laboratory's details", "laboratory");
        Laboratory& l = d.laboratory;
        l.name = text(*lab, "name", "laboratory");
        if (const json* address = member(*lab, "address")) {
            expect(*address, address->is_array(), "an array", "laboratory.address", valueOf("address"));
            for (std::size_t k = 0; k < address->size(); ++k) {
                const json& line = (*address)[k];
                expect(line, line.is_string(), "a text in quotes", itemAt("laboratory.address", k),
                       "A line of the address");
                l.address.push_back(line.get<std::string>());
            }
        }
        l.account = text(*lab, "account", "laboratory");
        l.contact = text(*lab, "contact", "laboratory");
        l.phone = text(*lab, "phone", "laboratory");
        l.email = text(*lab, "email", "laboratory");
    }
    if (const json* order = member(doc, "order")) {
        expect(*order, order->is_object(), "an object", "order", valueOf("order"));
        onlyKeys(*order, {"reference", "date"}, "the order's details", "order");
        d.reference = text(*order, "reference", "order");
        d.date = text(*order, "date", "order");
    }
    if (const std::optional<DetailsProblem> p = CheckDetails(d))
        refuse(p->item, p->message);
}

// "stock": packs on hand and on order per product, in the order or not.
void readStock(const json& doc, const Numbers& numbers, OrderPlan& plan) {
    readByNumber(doc, "stock", numbers,
                 [&](OrderTable t, const std::string& number, const json& v, const std::string& item) {
                     expect(v, v.is_object(), "an object", item, "The stock of a product");
                     onlyKeys(v, {"onHand", "onOrder"}, "the stock's figures", item);
                     plan.SetStock(
                         t, number,
                         {figure(v, "onHand", kStockRange, item), figure(v, "onOrder", kStockRange, item)});
                 });
}

// A quantity typed for a product the file does not put in the order would vanish on opening.
void refuseQuantitiesOutsideTheOrder(const Selection& sel, const std::vector<TypedAt>& typed) {
    if (typed.empty())
        return;
    Order opened;
    ApplySelection(sel, opened);
    for (const TypedAt& t : typed) {
        bool ordered = false;
        ForEachOrderLine(opened, t.table,
                         [&](const OrderLine& line) { ordered = ordered || line.number == t.number; });
        if (!ordered)
            refuse(t.item, "Catalogue number " + shown(Latin1ToUtf8(t.number)) +
                               " is not in the order this file gives, so its quantity would be lost.");
    }
}

// "bottleSizes": alternatives' numbers only.
void readBottleSizes(const json& sizes, const Numbers& numbers, const Catalogue& cat, Selection& sel) {
    expect(sizes, sizes.is_array(), "an array", "bottleSizes", valueOf("bottleSizes"));
    for (std::size_t k = 0; k < sizes.size(); ++k) {
        const std::string item = itemAt("bottleSizes", k);
        const Numbers::Ref& ref = numbers.find(sizes[k], item);
        const std::string number = shown(sizes[k].get_ref<const std::string&>());
        if (ref.alternative)
            addOnce(sel.bottleSizes, ref.item);
        else if (ref.item.table == OrderTable::Ctrls)
            refuse(item, "Catalogue number " + number + " is a control, and controls come in one size.");
        else if (hasAlternative(cat, ref.item))
            refuse(item, "Catalogue number " + number + " is the standard size; its alternative is " +
                             shown(Latin1ToUtf8(alternativeNo(cat, ref.item))) + ".");
        else
            refuse(item, "Catalogue number " + number + " is a " + std::string(kindOf(ref.item.table)) +
                             " without an alternative size.");
    }
}

// "added": each number under the section it belongs to.
void readAdded(const json& added, const Numbers& numbers, Selection& sel) {
    expect(added, added.is_object(), "an object", "added", valueOf("added"));
    for (const Section& s : kSections) {
        const json* list = member(added, s.key);
        if (list == nullptr)
            continue;
        const std::string where = "added." + std::string(s.key);
        expect(*list, list->is_array(), "an array", where, valueOf(s.key));
        for (std::size_t k = 0; k < list->size(); ++k) {
            const std::string item = itemAt(where, k);
            const Numbers::Ref& ref = numbers.find((*list)[k], item);
            if (ref.item.table != s.table)
                refuse(item, "Catalogue number " + shown((*list)[k].get_ref<const std::string&>()) +
                                 " is a " + std::string(kindOf(ref.item.table)) + ", not a " +
                                 std::string(s.kind) + ".");
            addOnce(sel.added, ref.item);
            // The alternative's number names the size too.
            if (ref.alternative)
                addOnce(sel.bottleSizes, ref.item);
        }
    }
}

Selection readDocument(const json& doc, const Catalogue& cat) {
    expect(doc, doc.is_object(), "one JSON object", "", "The file");
    readFormatAndVersion(doc);

    Selection sel;
    if (const json* assays = member(doc, "assays")) {
        expect(*assays, assays->is_array(), "an array", "assays", valueOf("assays"));
        std::array<int, kAssayRowCount> listedAt;
        listedAt.fill(-1);
        for (std::size_t k = 0; k < assays->size(); ++k)
            sel.assays.push_back(readAssay((*assays)[k], itemAt("assays", k), listedAt, static_cast<int>(k)));
    }

    const Numbers numbers(cat);
    if (const json* sizes = member(doc, "bottleSizes"))
        readBottleSizes(*sizes, numbers, cat, sel);
    if (const json* added = member(doc, "added"))
        readAdded(*added, numbers, sel);

    std::vector<TypedAt> typed;
    if (const json* quantities = member(doc, "quantities"))
        typed = readQuantities(*quantities, numbers, sel.plan);
    if (const json* plan = member(doc, "plan"))
        readPlan(*plan, numbers, sel.plan);
    if (const json* stock = member(doc, "stock"))
        readStock(*stock, numbers, sel.plan);
    readDetails(doc, sel.details);
    refuseQuantitiesOutsideTheOrder(sel, typed);
    return sel;
}

// Where the parser stopped in a file that json::parse refused. The same parser, through its event
// interface, hands over the position, which not all its exceptions carry (a number too large to
// hold has none).
class ErrorLocator final : public nlohmann::json_sax<json> {
public:
    std::size_t position = 0;
    std::string what;

    bool null() override { return true; }
    bool boolean(bool) override { return true; }
    bool number_integer(number_integer_t) override { return true; }
    bool number_unsigned(number_unsigned_t) override { return true; }
    bool number_float(number_float_t, const string_t&) override { return true; }
    bool string(string_t&) override { return true; }
    bool binary(binary_t&) override { return true; }
    bool start_object(std::size_t) override { return true; }
    bool key(string_t&) override { return true; }
    bool end_object() override { return true; }
    bool start_array(std::size_t) override { return true; }
    bool end_array() override { return true; }
    bool parse_error(std::size_t at, const std::string&, const json::exception& ex) override {
        position = at;
        what = ex.what();
        return false;
    }
};

// The parser's own words, without its prefixes and without the bytes it last read (which may be
// anything): "unexpected '}'; expected string literal", "invalid literal".
std::string syntaxDetail(std::string_view what) {
    if (const auto p = what.find("] "); p != std::string_view::npos)
        what.remove_prefix(p + 2);
    if (what.starts_with("parse error"))
        if (const auto p = what.find(": "); p != std::string_view::npos)
            what.remove_prefix(p + 2);
    if (what.starts_with("syntax error"))
        if (const auto p = what.find(" - "); p != std::string_view::npos)
            what.remove_prefix(p + 3);
    what = what.substr(0, what.find("; last read"));
    std::string detail;
    for (const char c : what)
        detail.push_back(c >= 0x20 && c < 0x7F ? c : '?');
    return detail;
}

// Line and column (from 1; columns count characters, not the bytes of UTF-8) of the byte at `offset`.
void placeAt(SelectionProblem& p, std::string_view bytes, std::size_t offset) {
    p.line = 1;
    p.column = 1;
    for (std::size_t k = 0; k < std::min(offset, bytes.size()); ++k) {
        if (bytes[k] == '\n') {
            ++p.line;
            p.column = 1;
        } else if ((static_cast<unsigned char>(bytes[k]) & 0xC0) != 0x80) {
            ++p.column;
        }
    }
}

SelectionProblem syntaxProblem(std::string_view bytes, std::string_view fallback) {
    ErrorLocator locator;
    json::sax_parse(bytes.begin(), bytes.end(), &locator);
    SelectionProblem p;
    const std::string detail = syntaxDetail(locator.what.empty() ? fallback : std::string_view(locator.what));
    p.message =
        detail.empty() ? "The file is not valid JSON." : "The file is not valid JSON: " + detail + ".";
    // The position counts the characters read, the offending one included.
    placeAt(p, bytes, locator.position > 0 ? locator.position - 1 : 0);
    return p;
}

// A key given twice in one object, by the keys' numbers in the order of the file (from 0). The
// parser would silently keep the last: an assay would vanish from the order.
struct DuplicateKey {
    std::string key;
    std::size_t first = 0;
    std::size_t second = 0;
};

json parseRefusingDuplicateKeys(std::string_view bytes) {
    std::vector<std::map<std::string, std::size_t, std::less<>>> open;
    std::size_t keys = 0;
    const json::parser_callback_t check = [&](int, json::parse_event_t event, json& parsed) {
        if (event == json::parse_event_t::object_start) {
            open.emplace_back();
        } else if (event == json::parse_event_t::object_end) {
            open.pop_back();
        } else if (event == json::parse_event_t::key) {
            const auto [at, fresh] = open.back().emplace(parsed.get<std::string>(), keys);
            if (!fresh)
                throw DuplicateKey{at->first, at->second, keys};
            ++keys;
        }
        return true;
    };
    return json::parse(bytes.begin(), bytes.end(), check);
}

// Where key number `ordinal` (from 0, in the order of the file) begins. The parser tells no
// positions, so the file, sound JSON up to there, is walked again: a key is a text followed by ':'.
std::size_t keyOffset(std::string_view bytes, std::size_t ordinal) {
    std::size_t seen = 0;
    for (std::size_t k = 0; k < bytes.size(); ++k) {
        if (bytes[k] != '"')
            continue;
        const std::size_t start = k;
        for (++k; k < bytes.size() && bytes[k] != '"'; ++k)
            if (bytes[k] == '\\')
                ++k;
        std::size_t next = k + 1;
        while (next < bytes.size() &&
               (bytes[next] == ' ' || bytes[next] == '\t' || bytes[next] == '\n' || bytes[next] == '\r'))
            ++next;
        if (next < bytes.size() && bytes[next] == ':' && seen++ == ordinal)
            return start;
        k = next - 1;
    }
    return bytes.size();
}

SelectionProblem duplicateProblem(std::string_view bytes, const DuplicateKey& d) {
    SelectionProblem first;
    placeAt(first, bytes, keyOffset(bytes, d.first));
    SelectionProblem p;
    placeAt(p, bytes, keyOffset(bytes, d.second));
    p.message = "The key " + shown(d.key) + " is given twice in one object; the first is " +
                (first.line == p.line ? std::string("earlier on this line")
                                      : "on line " + std::to_string(first.line)) +
                ".";
    return p;
}

}  // namespace

Selection SelectionOf(const Order& order) {
    const Catalogue& cat = TheCatalogue();
    const AssayState& state = order.state;
    const OrderPlan& plan = order.plan;
    Selection sel;
    for (const AssayRowDef& def : AssayRows()) {
        if (!state.ticked(def.key) || def.secondColumn)
            continue;
        const RowState& row = state[def.key];
        // A cut-off no option offers selects what no cut-off does: the file leaves it out.
        const CutOption* option = optionFor(def, row.Cut);
        sel.assays.push_back({def.key, option != nullptr ? option->value : 0.0, def.hasQual() && row.Qual});
    }
    for (int slot = 1; slot <= AssayTable::kFilled; ++slot)
        if (AlternativeChosen(order.Assays[slot]) && HasAlternative(cat.Assays[slot]))
            sel.bottleSizes.push_back({OrderTable::Assays, slot});
    for (int slot = 1; slot <= CalibTable::kFilled; ++slot)
        if (AlternativeChosen(order.Calibs[slot]) && HasAlternative(cat.Calibs[slot]))
            sel.bottleSizes.push_back({OrderTable::Calibs, slot});

    // What the rules alone make of this state; the rest of the order was added.
    OrderFlags byRules = order;
    update(state, byRules);
    // Every figure under a number of its section, which the file can name; a quantity only while
    // its line is in the order.
    sel.plan = plan;
    sel.plan.ClearTyped();
    sel.details = order.details;
    for (const auto& [number, figures] : plan.reagents())
        if (!isNumberOf(cat, OrderTable::Assays, number))
            sel.plan.SetReagentFigures(number, {});
    for (const OrderTable t : {OrderTable::Calibs, OrderTable::Ctrls})
        for (const auto& [number, uses] : plan.usesPerPack(t))
            if (!isNumberOf(cat, t, number))
                sel.plan.SetUsesPerPack(t, number, std::nullopt);
    for (const Section& s : kSections)
        for (const auto& [number, stock] : plan.stock(s.table))
            if (!isNumberOf(cat, s.table, number))
                sel.plan.SetStock(s.table, number, {});
    const bool typed = plan.HasTyped();
    ForEachOrderLine(static_cast<const OrderFlags&>(order), [&](const OrderLine& line) {
        if (!inOrder(byRules, line.item()) && !standardNo(cat, line.item()).empty())
            sel.added.push_back(line.item());
        if (typed) {
            const std::string number(line.number);
            sel.plan.SetTyped(line.section, number, plan.Typed(line.section, number));
        }
    });
    return sel;
}

namespace {

void appendAssays(std::string& out, const std::vector<SelectedAssay>& assays) {
    out += "  \"assays\": [";
    bool first = true;
    for (const SelectedAssay& a : assays) {
        const AssayRowDef& def = RowDef(a.row);
        out += first ? "\n    " : ",\n    ";
        first = false;
        out += "{\"frame\": \"";
        out += frameName(def.frame);
        out += "\", \"assay\": ";
        out += quotedUtf8(trimmed(def.caption));
        if (const CutOption* option = optionFor(def, a.cut)) {
            out += ", \"cutoff\": ";
            out += option->caption;
        }
        if (def.hasQual())
            out += a.qual ? ", \"qual\": true" : ", \"qual\": false";
        out += '}';
    }
    out += first ? "],\n" : "\n  ],\n";
}

void appendSizesAndAdded(std::string& out, const Selection& selection) {
    out += "  \"bottleSizes\": ";
    std::vector<ItemRef> sizes;
    for (const Section& s : kSections)
        for (const ItemRef& i : selection.bottleSizes)
            if (i.table == s.table)
                sizes.push_back(i);
    out += '[';
    for (std::size_t k = 0; k < sizes.size(); ++k) {
        if (k > 0)
            out += ", ";
        out += quotedUtf8(alternativeNo(TheCatalogue(), sizes[k]));
    }
    out += "],\n  \"added\": {";
    for (const Section& s : kSections) {
        if (s.table != OrderTable::Assays)
            out += ", ";
        out += '"';
        out += s.key;
        out += "\": ";
        appendNumbers(out, TheCatalogue(), selection.added, s.table, standardNo);
    }
    out += '}';
}

}  // namespace

std::string SelectionText(const Selection& selection) {
    std::string out;
    out.reserve(2048);
    out += "{\n  \"format\": \"";
    out += kFormat;
    const OrderPlan& plan = selection.plan;
    const bool typed = plan.HasTyped(), figures = plan.HasFigures(), stock = plan.HasStock();
    // The oldest version that holds what is written, so that older copies of the program open it.
    const bool v3 = stock || plan.workload().safetyMonths > 0 || selection.details.laboratory.given() ||
                    !selection.details.reference.empty() || !selection.details.date.empty();
    const char* version = v3 ? "3" : typed || figures ? "2" : "1";
    out += "\",\n  \"version\": " + std::string(version) + ",\n";
    appendAssays(out, selection.assays);
    appendSizesAndAdded(out, selection);
    if (typed) {
        out += ",\n";
        appendQuantities(out, plan);
    }
    if (figures) {
        out += ",\n";
        appendPlan(out, plan);
    }
    if (stock) {
        out += ",\n";
        appendStock(out, plan);
    }
    appendDetails(out, selection.details);
    out += "\n}\n";
    return out;
}

std::string ProblemText(const SelectionProblem& problem) {
    if (problem.line > 0)
        return "line " + std::to_string(problem.line) + ", column " + std::to_string(problem.column) + ": " +
               problem.message;
    if (!problem.item.empty())
        return problem.item + ": " + problem.message;
    return problem.message;
}

SelectionProblem SelectionTooLarge(std::uint64_t size) {
    return {"The file is " + std::to_string(size) +
                " bytes long, more than the 1 MiB a selection file may hold.",
            0, 0, ""};
}

SelectionReading ReadSelection(std::string_view bytes) {
    SelectionReading reading;
    try {
        if (bytes.size() > kSelectionMaxBytes)
            throw Refusal{SelectionTooLarge(bytes.size())};
        // The parser would only say "invalid literal" at the first byte.
        if (bytes.starts_with("\xFF\xFE") || bytes.starts_with("\xFE\xFF"))
            refuse("", "The file is UTF-16 text (it begins with a UTF-16 byte-order mark); a selection file "
                       "must be UTF-8.");
        if (bytes.find('\0') != std::string_view::npos)
            refuse("",
                   "The file holds NUL bytes, so it is not UTF-8 text (UTF-16 has them); a selection file "
                   "must be UTF-8.");
        if (bytes.find_first_not_of(" \t\r\n") == std::string_view::npos)
            refuse("", "The file is empty.");
        json doc;
        try {
            doc = parseRefusingDuplicateKeys(bytes);
        } catch (const json::exception& e) {
            reading.problem = syntaxProblem(bytes, e.what());
            return reading;
        } catch (const DuplicateKey& d) {
            reading.problem = duplicateProblem(bytes, d);
            return reading;
        }
        reading.selection = readDocument(doc, TheCatalogue());
    } catch (Refusal& r) {
        reading.problem = std::move(r.problem);
    }
    return reading;
}

void ApplySelection(const Selection& selection, Order& order) {
    // The reset.
    order = Order{};
    AssayState& state = order.state;
    // The clicks: the select box, then the option, then the QUAL box. Only the last run of the rules
    // counts, so they run once.
    for (const SelectedAssay& a : selection.assays) {
        state.SetSelected(a.row, true);
        if (a.cut != 0.0)
            state.ChooseCut(a.row, a.cut);
        if (a.qual)
            state.SetQual(a.row, true);
    }
    update(order);
    ApplySizesAndAdditions(selection, order);
    order.plan = selection.plan;
    order.details = selection.details;
}

void ApplySizesAndAdditions(const Selection& selection, Order& order) {
    for (const ItemRef& i : selection.bottleSizes)
        WithRecord(order, i, [](auto& r) {
            // Controls come in one size: there is nothing to choose.
            if constexpr (requires { ChooseSize(r, true); })
                ChooseSize(r, true);
        });
    AddToOrder(order, Addition::ByHand, [&](Order& o) {
        for (const ItemRef& i : selection.added)
            WithRecord(static_cast<OrderFlags&>(o), i, [](auto& f) { PutInOrder(f); });
    });
}

}  // namespace tovimar
