// The catalogue rows: every slot's numbers against their form, uniqueness, the blank and
// number-only slots, the alternatives, and what a reload restores; the order as a value of its own,
// and read as lines.
#include "core/catalogue/order_lines.h"
#include "core/catalogue/records.h"
#include "core/order/order.h"

#include <array>
#include <cctype>
#include <gtest/gtest.h>
#include <map>
#include <random>
#include <set>
#include <string>
#include <tuple>
#include <vector>

namespace tovimar {
namespace {

// '9' a digit, 'A' a letter, '_' one blank, anything else itself; "" an empty number.
bool matchesForm(const std::string& number, const std::string& form) {
    if (number.size() != form.size())
        return false;
    for (std::size_t i = 0; i < form.size(); ++i) {
        const unsigned char c = static_cast<unsigned char>(number[i]);
        switch (form[i]) {
        case '9':
            if (!std::isdigit(c))
                return false;
            break;
        case 'A':
            if (!std::isalpha(c))
                return false;
            break;
        case '_':
            if (c != ' ')
                return false;
            break;
        default:
            if (c != static_cast<unsigned char>(form[i]))
                return false;
        }
    }
    return true;
}

// Number form of both variants per reagent slot; "" = empty slot.
const std::map<int, std::string> kReagentForms = {
    {1, "999_999"},  {2, "999_999"},   {3, "999_999"},  {4, "999_999"},  {5, "999_999"},    {6, "999_999"},
    {7, "9999_999"}, {8, "999_999"},   {9, "999_999"},  {10, "999_999"}, {11, "999_999"},   {12, "999_999"},
    {13, "999_999"}, {14, "9999_999"}, {15, "9999"},    {16, "9999"},    {17, "9999"},      {18, "9999"},
    {19, "9999"},    {20, "9999"},     {21, "999_999"}, {22, "9999"},    {23, "9999"},      {24, ""},
    {25, "9999"},    {26, "999_999"},  {27, "9999"},    {28, "9999"},    {29, "9999_9999"}, {30, ""},
    {31, ""},        {32, "9999"},     {33, "999_999"}, {34, "9999"},    {35, "9999"},      {36, "9999"},
    {37, "9999"},    {38, "9999"},     {39, "9999"},    {40, "9999"},
};
const std::set<int> kReagentsSame = {14, 21, 24, 30, 31, 32, 33, 34, 35, 36, 37, 38, 40};
const std::set<int> kVexReagents = {15, 16, 17, 18, 19, 20, 21, 22, 23, 25, 26,
                                    27, 28, 29, 32, 33, 34, 35, 38, 39, 40};

std::string calibForm(int slot) {
    if (slot == 52 || slot == 64)
        return "";
    if ((slot >= 1 && slot <= 16) || (slot >= 55 && slot <= 58))
        return "9999_999";
    if ((slot >= 59 && slot <= 63) || (slot >= 65 && slot <= 68))
        return "9999_9999";
    const std::set<int> sixDigit = {17, 18, 19, 20, 21, 22, 23, 29, 31, 39, 40, 41, 42, 43, 48, 49, 50, 51};
    return sixDigit.count(slot) ? "999_999" : "9999";
}
const std::set<int> kCalibsWithAlternative = {1, 3, 4, 5, 30, 44, 45, 46, 47, 69, 70, 71, 72};

const std::map<int, std::string> kCtrlForms = {
    {1, "999_999"},    {2, "999_999"},    {3, "9999_999"},   {4, "9999_999"},   {5, "9999_999"},
    {6, "9999_999"},   {7, "9999_999"},   {8, "999_999"},    {9, "9999"},       {10, "9999"},
    {11, "999_999"},   {12, "999_999"},   {13, "999_999"},   {14, "999_999"},   {15, "999_999"},
    {16, "999_999"},   {17, "9999"},      {18, "9999"},      {19, "9999"},      {20, "9999"},
    {21, ""},          {22, "999_999"},   {23, "9999"},      {24, "9999"},      {25, "999_999"},
    {26, "999_999"},   {27, "999_999"},   {28, "9999"},      {29, "9999"},      {30, "9999"},
    {31, "9999"},      {32, "9999_9999"}, {33, "9999_9999"}, {34, "9999_9999"}, {35, "9999_9999"},
    {36, "9999"},      {37, "9999"},      {38, ""},          {39, "9999_9999"}, {40, "9999_9999"},
    {41, "9999_9999"}, {42, "9999_9999"}, {43, "AAA9-9999"}, {44, "AAA9-9999"}, {45, "AAA9-9999"},
    {46, "9999_9999"}, {47, "999_999"},   {48, "AA-9A"},     {49, "AA-9A"},
};

TEST(CatalogueRows, ReagentNumbersHaveTheirFormAndVariantsDifferExactlyWhereListed) {
    const Catalogue& cat = TheCatalogue();
    ASSERT_EQ(kReagentForms.size(), 40u);
    for (const auto& [slot, form] : kReagentForms) {
        SCOPED_TRACE("reagent slot " + std::to_string(slot));
        const mAssay& a = cat.Assays[slot];
        EXPECT_TRUE(matchesForm(a.OrderNo1, form)) << a.OrderNo1;
        EXPECT_TRUE(matchesForm(a.OrderNo2, form)) << a.OrderNo2;
        const bool same = kReagentsSame.count(slot) > 0;
        EXPECT_EQ(a.OrderNo1 == a.OrderNo2, same);
        EXPECT_EQ(a.Name1 == a.Name2, same);
        EXPECT_EQ(a.Name1.empty(), form.empty());
        EXPECT_EQ(a.Name2.empty(), form.empty());
    }
}

TEST(CatalogueRows, OnlyVexFamilyReagentNamesBeginWithVex) {
    const Catalogue& cat = TheCatalogue();
    for (int slot = 1; slot <= 40; ++slot) {
        SCOPED_TRACE("reagent slot " + std::to_string(slot));
        const bool vex = kVexReagents.count(slot) > 0;
        EXPECT_EQ(cat.Assays[slot].Name1.rfind("VEX", 0) == 0, vex) << cat.Assays[slot].Name1;
        EXPECT_EQ(cat.Assays[slot].Name2.rfind("VEX", 0) == 0, vex) << cat.Assays[slot].Name2;
    }
}

TEST(CatalogueRows, CalibratorNumbersHaveTheirFormAndAlternativesAreExactlyTheListedSlots) {
    const Catalogue& cat = TheCatalogue();
    for (int slot = 1; slot <= 72; ++slot) {
        SCOPED_TRACE("calibrator slot " + std::to_string(slot));
        const mCalib& c = cat.Calibs[slot];
        const std::string form = calibForm(slot);
        EXPECT_TRUE(matchesForm(c.OrderNo1, form)) << c.OrderNo1;
        EXPECT_TRUE(matchesForm(c.OrderNo2, form)) << c.OrderNo2;
        const bool alternative = kCalibsWithAlternative.count(slot) > 0;
        EXPECT_EQ(c.OrderNo1 != c.OrderNo2, alternative);
        EXPECT_EQ(c.Pack1.empty(), form.empty());
        // Slots 24 and 25 list the same 25 ml pack twice under one number.
        const bool listsSecondPack = alternative || slot == 24 || slot == 25;
        EXPECT_EQ(c.Pack2.empty(), !listsSecondPack) << c.Pack2;
    }
}

TEST(CatalogueRows, ControlNumbersHaveTheirForm) {
    const Catalogue& cat = TheCatalogue();
    ASSERT_EQ(kCtrlForms.size(), 49u);
    for (const auto& [slot, form] : kCtrlForms) {
        SCOPED_TRACE("control slot " + std::to_string(slot));
        EXPECT_TRUE(matchesForm(cat.Ctrls[slot].OrderNo, form)) << cat.Ctrls[slot].OrderNo;
    }
}

TEST(CatalogueRows, NumbersLongerThanEightCharactersAreExactlyTheNineCharacterForms) {
    const Catalogue& cat = TheCatalogue();
    std::set<int> longCalibs, longCtrls;
    for (int slot = 1; slot <= 72; ++slot)
        if (cat.Calibs[slot].OrderNo1.size() > 8 || cat.Calibs[slot].OrderNo2.size() > 8)
            longCalibs.insert(slot);
    for (int slot = 1; slot <= 49; ++slot)
        if (cat.Ctrls[slot].OrderNo.size() > 8)
            longCtrls.insert(slot);
    EXPECT_EQ(longCalibs, (std::set<int>{59, 60, 61, 62, 63, 65, 66, 67, 68}));
    EXPECT_EQ(longCtrls, (std::set<int>{32, 33, 34, 35, 39, 40, 41, 42, 43, 44, 45, 46}));
}

TEST(CatalogueRows, BlankAndNumberOnlySlots) {
    const Catalogue& cat = TheCatalogue();
    for (int slot : {24, 30, 31}) {
        const mAssay& a = cat.Assays[slot];
        EXPECT_TRUE(a.OrderNo1.empty() && a.OrderNo2.empty() && a.Name1.empty() && a.Name2.empty()) << slot;
    }
    for (int slot : {52, 64}) {
        const mCalib& c = cat.Calibs[slot];
        EXPECT_TRUE(c.OrderNo1.empty() && c.OrderNo2.empty() && c.Name.empty() && c.Pack1.empty()) << slot;
    }
    for (int slot : {21, 38})
        EXPECT_TRUE(cat.Ctrls[slot].OrderNo.empty() && cat.Ctrls[slot].Name.empty()) << slot;

    const std::set<int> numberOnlyCalibs = {55, 56, 57, 58, 65, 66, 67, 68};
    for (int slot = 1; slot <= 72; ++slot) {
        const bool blank = slot == 52 || slot == 64;
        EXPECT_EQ(cat.Calibs[slot].Name.empty(), blank || numberOnlyCalibs.count(slot) > 0) << slot;
    }
    const std::set<int> numberOnlyCtrls = {39, 40, 41, 42};
    for (int slot = 1; slot <= 49; ++slot) {
        const bool blank = slot == 21 || slot == 38;
        EXPECT_EQ(cat.Ctrls[slot].Name.empty(), blank || numberOnlyCtrls.count(slot) > 0) << slot;
    }
}

// One number must never stand for two products: the order file and the printout name products
// by number only.
TEST(CatalogueRows, NumbersAndNamesAreUniqueAcrossTheCatalogue) {
    const Catalogue& cat = TheCatalogue();
    std::map<std::string, std::string> numberOwner, nameOwner;
    auto claim = [](std::map<std::string, std::string>& owners, const std::string& key,
                    const std::string& who) {
        if (key.empty())
            return;
        auto [it, fresh] = owners.emplace(key, who);
        EXPECT_TRUE(fresh || it->second == who)
            << '"' << key << "\" used by " << it->second << " and " << who;
    };
    for (int s = 1; s <= 40; ++s) {
        const std::string who = "R" + std::to_string(s);
        claim(numberOwner, cat.Assays[s].OrderNo1, who);
        claim(numberOwner, cat.Assays[s].OrderNo2, who);
        claim(nameOwner, cat.Assays[s].Name1, who);
        claim(nameOwner, cat.Assays[s].Name2, who);
    }
    for (int s = 1; s <= 72; ++s) {
        const std::string who = "C" + std::to_string(s);
        claim(numberOwner, cat.Calibs[s].OrderNo1, who);
        claim(numberOwner, cat.Calibs[s].OrderNo2, who);
        claim(nameOwner, cat.Calibs[s].Name, who);
    }
    for (int s = 1; s <= 49; ++s) {
        const std::string who = "K" + std::to_string(s);
        claim(numberOwner, cat.Ctrls[s].OrderNo, who);
        claim(nameOwner, cat.Ctrls[s].Name, who);
    }
}

// The order file is single-byte text with ", " between fields: every text must be printable
// ASCII, and no name may contain the separator.
TEST(CatalogueRows, TextsArePrintableAsciiWithoutTheFileSeparator) {
    const Catalogue& cat = TheCatalogue();
    auto check = [](const std::string& text) {
        for (unsigned char c : text)
            EXPECT_TRUE(c >= 0x20 && c < 0x7f) << '"' << text << '"';
        EXPECT_EQ(text.find(", "), std::string::npos) << '"' << text << '"';
        EXPECT_EQ(text, text.empty() ? text : text.substr(text.find_first_not_of(' ')));
    };
    for (const mAssay& a : cat.Assays)
        for (const std::string* t : {&a.OrderNo1, &a.OrderNo2, &a.Name1, &a.Name2})
            check(*t);
    for (const mCalib& c : cat.Calibs)
        for (const std::string* t : {&c.OrderNo1, &c.OrderNo2, &c.Name, &c.Pack1, &c.Pack2})
            check(*t);
    for (const mCTRL& c : cat.Ctrls)
        for (const std::string* t : {&c.OrderNo, &c.Name})
            check(*t);
}

// Every text of every slot, also above the filled range, in one list to compare.
std::vector<std::string> everyText(const Catalogue& cat) {
    std::vector<std::string> texts;
    for (int s = 1; s <= 100; ++s) {
        const mAssay& a = cat.Assays[s];
        const mCalib& c = cat.Calibs[s];
        texts.insert(texts.end(), {a.OrderNo1, a.OrderNo2, a.Name1, a.Name2, c.OrderNo1, c.OrderNo2, c.Name,
                                   c.Pack1, c.Pack2, cat.Ctrls[s].OrderNo, cat.Ctrls[s].Name});
    }
    return texts;
}

// The one catalogue is the built-in rows, and a load over scribbled texts restores them all.
TEST(CatalogueLoad, TheCatalogueIsTheBuiltInRowsAndAReloadRestoresThem) {
    Catalogue cat;
    LoadCatalogue(cat);
    EXPECT_EQ(everyText(cat), everyText(TheCatalogue()));
    cat.Assays[15].Name2 = "scribbled";
    cat.Calibs[1].Name = "scribbled";
    cat.Ctrls[1].OrderNo = "scribbled";
    LoadCatalogue(cat);
    EXPECT_EQ(everyText(cat), everyText(TheCatalogue()));
}

TEST(CatalogueLoad, SlotsAboveTheFilledRangeStayEmptyAndOutOfRangeSlotsThrow) {
    const Catalogue& cat = TheCatalogue();
    EXPECT_TRUE(cat.Assays[41].OrderNo1.empty());
    EXPECT_TRUE(cat.Assays[100].Name1.empty());
    EXPECT_TRUE(cat.Calibs[73].OrderNo1.empty());
    EXPECT_TRUE(cat.Calibs[100].OrderNo1.empty());
    EXPECT_TRUE(cat.Ctrls[50].OrderNo.empty());
    EXPECT_TRUE(cat.Ctrls[100].OrderNo.empty());
    EXPECT_THROW((void)cat.Assays[0], std::out_of_range);
    EXPECT_THROW((void)cat.Calibs[101], std::out_of_range);
    EXPECT_THROW((void)cat.Ctrls[-1], std::out_of_range);
    const OrderFlags order;
    EXPECT_THROW((void)order.Assays[101], std::out_of_range);
    EXPECT_THROW((void)order.Ctrls[0], std::out_of_range);
}

// ---- The order as a value ----------------------------------------------------------------------

// A new order holds nothing; a copy is equal until one flag, tick, reason or quantity of it changes.
TEST(OrderValue, StartsEmptyAndACopyDiffersByAnyOneChange) {
    const Order empty;
    EXPECT_TRUE(OrderLines(empty).empty());
    for (int s = 1; s <= 100; ++s) {
        const AssayOrder& a = empty.Assays[s];
        const CalibOrder& c = empty.Calibs[s];
        EXPECT_TRUE(a.Selected == 0 && a.SizeChoice == 0 && c.Selected == 0 && c.SizeChoice == 0 &&
                    empty.Ctrls[s].Selected == 0)
            << s;
    }

    Order order;
    SelectAllItems(order);
    const std::vector<void (*)(Order&)> changes = {
        [](Order& o) { o.Assays[40].Selected = 0; },
        [](Order& o) { o.Assays[1].SizeChoice = 2; },
        [](Order& o) { o.Calibs[72].Selected = 2; },
        [](Order& o) { o.Calibs[1].SizeChoice = 1; },
        [](Order& o) { o.Ctrls[49].Selected = 0; },
        [](Order& o) { o.state.SetSelected(AssayRow::VexEtoh, true); },
        [](Order& o) { o.provenance.Required(OrderTable::Ctrls, 1, AssayRow::VexEtoh); },
        [](Order& o) { o.plan.SetTyped(OrderTable::Ctrls, "1", 2); },
    };
    for (std::size_t k = 0; k < changes.size(); ++k) {
        Order copy = order;
        EXPECT_TRUE(copy == order) << k;
        changes[k](copy);
        EXPECT_FALSE(copy == order) << "change " << k;
    }
}

TEST(OrderFlagsReset, ClearOrderFlagsKeepsSizeChoice) {
    OrderFlags order;
    SelectAllItems(order);
    order.Calibs[3].SizeChoice = 2;
    order.Assays[15].SizeChoice = 1;
    ClearOrderFlags(order);
    OrderFlags expected;
    expected.Calibs[3].SizeChoice = 2;
    expected.Assays[15].SizeChoice = 1;
    EXPECT_TRUE(order == expected);
}

TEST(OrderFlagsReset, SelectAllTakesExactlyTheItemsWithANumber) {
    OrderFlags order;
    SelectAllItems(order);
    for (int s = 1; s <= 40; ++s)
        EXPECT_EQ(order.Assays[s].Selected, (s == 24 || s == 30 || s == 31) ? 0 : 1) << "R" << s;
    for (int s = 1; s <= 72; ++s)
        EXPECT_EQ(order.Calibs[s].Selected, (s == 52 || s == 64) ? 0 : 1) << "C" << s;
    for (int s = 1; s <= 49; ++s)
        EXPECT_EQ(order.Ctrls[s].Selected, (s == 21 || s == 38) ? 0 : 1) << "K" << s;
    EXPECT_EQ(order.Assays[41].Selected, 0);
    EXPECT_EQ(order.Calibs[73].Selected, 0);
}

// ---- The order as lines ----------------------------------------------------------------------

// Random flags, with values beyond the ones the program sets (the fields are plain 16-bit
// integers), on every slot up to 100: the lines must be exactly the filled slots whose Selected is
// 1, in the file's order, with the alternative's texts exactly where SizeChoice is 2.
TEST(OrderLines, FollowTheRawFlagsOfRandomOrders) {
    using Line = std::tuple<OrderTable, int, std::string, std::string, std::string>;
    static constexpr std::array<std::int16_t, 8> kValues{-32768, -1, 0, 1, 1, 2, 3, 7};
    std::mt19937 rng(4155);
    const auto any = [&rng] { return kValues[rng() % kValues.size()]; };
    const Catalogue& cat = TheCatalogue();
    for (int round = 0; round < 100; ++round) {
        Order order;
        for (int s = 1; s <= 100; ++s) {
            order.Assays[s].Selected = any();
            order.Assays[s].SizeChoice = any();
            order.Calibs[s].Selected = any();
            order.Calibs[s].SizeChoice = any();
            order.Ctrls[s].Selected = any();
        }
        std::vector<Line> expected;
        for (int s = 1; s <= 40; ++s) {
            const mAssay& a = cat.Assays[s];
            const bool alt = order.Assays[s].SizeChoice == 2;
            if (order.Assays[s].Selected == 1)
                expected.emplace_back(OrderTable::Assays, s, alt ? a.OrderNo2 : a.OrderNo1,
                                      alt ? a.Name2 : a.Name1, "");
        }
        for (int s = 1; s <= 72; ++s) {
            const mCalib& c = cat.Calibs[s];
            const bool alt = order.Calibs[s].SizeChoice == 2;
            if (order.Calibs[s].Selected == 1)
                expected.emplace_back(OrderTable::Calibs, s, alt ? c.OrderNo2 : c.OrderNo1, c.Name,
                                      alt ? c.Pack2 : c.Pack1);
        }
        for (int s = 1; s <= 49; ++s)
            if (order.Ctrls[s].Selected == 1)
                expected.emplace_back(OrderTable::Ctrls, s, cat.Ctrls[s].OrderNo, cat.Ctrls[s].Name, "");

        std::vector<Line> lines;
        for (const OrderLine& l : OrderLines(order))
            lines.emplace_back(l.section, l.slot, l.number, l.name, l.pack);
        ASSERT_EQ(lines, expected) << "round " << round;
    }
}

// The one accessor by table and slot reaches the record itself, in the catalogue as in the order's
// flags and anything else kept per table, and refuses a slot outside the filled range there.
TEST(OrderLines, RecordsAndPerItemValuesAreFoundByTableAndSlot) {
    const Catalogue& cat = TheCatalogue();
    const auto address = [](const auto& record) { return static_cast<const void*>(&record); };
    for (int s : {1, 40, 100}) {
        EXPECT_EQ(WithRecord(cat, {OrderTable::Assays, s}, address), &cat.Assays[s]) << s;
        EXPECT_EQ(WithRecord(cat, {OrderTable::Calibs, s}, address), &cat.Calibs[s]) << s;
        EXPECT_EQ(WithRecord(cat, {OrderTable::Ctrls, s}, address), &cat.Ctrls[s]) << s;
    }
    OrderFlags order;
    WithRecord(order, {OrderTable::Calibs, 3}, [](auto& f) { PutInOrder(f); });
    EXPECT_EQ(order.Calibs[3].Selected, 1);
    EXPECT_EQ(order.Ctrls[3].Selected, 0);

    PerItem<int> kept;
    kept[{OrderTable::Assays, 40}] = 1;
    kept[{OrderTable::Calibs, 72}] = 2;
    kept[{OrderTable::Ctrls, 49}] = 3;
    EXPECT_EQ(kept.Assays.back(), 1);
    EXPECT_EQ(kept.Calibs.back(), 2);
    EXPECT_EQ(kept.Ctrls.back(), 3);
    const ItemRef calib40{OrderTable::Calibs, 40}, ctrl40{OrderTable::Ctrls, 40};
    EXPECT_EQ(kept[calib40] + kept[ctrl40], 0);
    for (const ItemRef outside :
         {ItemRef{OrderTable::Assays, 41}, ItemRef{OrderTable::Calibs, 73}, ItemRef{OrderTable::Ctrls, 0}})
        EXPECT_THROW(kept[outside], std::out_of_range) << outside.slot;
}

}  // namespace
}  // namespace tovimar
