// The pickers choose shared calibrators and controls. Their answer depends on other rows and on
// what earlier rule blocks have already selected, and their numbered tests are checked in order,
// so most cases here set up two conditions that would give different answers and check that the
// earlier test wins. The second half runs whole combinations through update, where the block
// order decides what a later picker sees.
#include "core/order/order_flags.h"
#include "core/selection/assay_rows.h"
#include "core/selection/assay_state.h"
#include "core/selection/rules.h"

#include <gtest/gtest.h>
#include <initializer_list>
#include <set>
#include <string>
#include <vector>

namespace tovimar {
namespace {

using R = AssayRow;
using Slots = std::set<int>;
using Picker = int (*)(const AssayState&, const OrderFlags&);

struct Tick {
    AssayRow row;
    double cut = 0.0;  // 0: ticked, no option chosen
    bool qual = false;
};

void tickRows(AssayState& s, const std::vector<Tick>& ticks) {
    for (const Tick& t : ticks) {
        s.SetSelected(t.row, true);
        if (t.cut != 0.0)
            s.ChooseCut(t.row, t.cut);
        if (t.qual)
            s.SetQual(t.row, true);
    }
}

// One call of a picker on a fresh order: the rows ticked and the slots already selected.
struct Call {
    std::string label;
    std::vector<Tick> rows;
    Slots calibs;
    Slots ctrls;
    int expected;
};

void expectCalls(Picker picker, const std::vector<Call>& calls) {
    for (const Call& c : calls) {
        SCOPED_TRACE(c.label);
        OrderFlags order;
        AssayState s;
        tickRows(s, c.rows);
        for (int slot : c.calibs)
            order.Calibs[slot].Selected = 1;
        for (int slot : c.ctrls)
            order.Ctrls[slot].Selected = 1;
        EXPECT_EQ(picker(s, order), c.expected);
    }
}

// ---- Negative calibrators ----

// The ORLAN rows (but BUPRENORPHINE) and SAMPLE CHECK share the ORLAN negative C 1; every other row
// leaves the VEX negative C 30 and the buprenorphine negative C 39 in place.
TEST(NegativeCalibratorPickers, FollowTheOtherTickedRow) {
    const std::set<AssayRow> usesOrlanNegative = {
        R::Orlan6am,  R::OrlanAmphXtc, R::OrlanBarb,        R::OrlanBenzo,    R::OrlanCoc,
        R::OrlanEddp, R::OrlanLsd,     R::OrlanMtd,         R::OrlanThcMulti, R::OrlanOpi,
        R::OrlanPcp,  R::OrlanPropox,  R::AdultSampleCheck,
    };
    for (const AssayRowDef& def : AssayRows()) {
        const bool orlan = usesOrlanNegative.contains(def.key);
        const std::string label(def.keyName);
        expectCalls(NegCalForVex, {{label, {{def.key}}, {}, {}, orlan ? 1 : 30}});
        expectCalls(NegCalForBup, {{label, {{def.key}}, {}, {}, orlan ? 1 : 39}});
    }
}

TEST(NegativeCalibratorPickers, IgnoreCutOffsAndFlags) {
    for (Picker picker : {NegCalForVex, NegCalForBup}) {
        const int own = picker == NegCalForVex ? 30 : 39;
        expectCalls(
            picker,
            {
                {"nothing", {}, {}, {}, own},
                // C 1 in the order (say, added by hand) does not stand for an ORLAN row.
                {"C 1 and K 7 selected", {}, {1}, {7}, own},
                {"AMPH/XTC at an unlisted cut-off", {{R::OrlanAmphXtc, 400}}, {}, {}, 1},
                {"BUPRENORPHINE with VEX row", {{R::OrlanBup, 5}, {R::VexAmph, 500}}, {}, {}, own},
                {"BUPRENORPHINE with SAMPLE CHECK", {{R::OrlanBup, 5}, {R::AdultSampleCheck}}, {}, {}, 1},
            });
    }
}

// ---- Control pickers ----

TEST(ControlPickers, MtdPcpPpx) {
    expectCalls(CtrlForMtdPcpPpx, {
                                      {"nothing", {}, {}, {}, 1},
                                      {"VEX METHADONE METABOLITE", {{R::VexMtdMetab}}, {}, {}, 2},
                                      {"VEX BENZODIAZEPINES, no cut-off", {{R::VexBenzo}}, {}, {}, 2},
                                      {"VEX METHAQUALONE", {{R::VexMethaq, 300}}, {}, {}, 2},
                                      {"ORLAN AMPH/XTC 1000", {{R::OrlanAmphXtc, 1000}}, {}, {}, 2},
                                      {"ORLAN AMPH/XTC 500", {{R::OrlanAmphXtc, 500}}, {}, {}, 1},
                                      {"ORLAN AMPH/XTC 300", {{R::OrlanAmphXtc, 300}}, {}, {}, 1},
                                      {"VEX AMPHETAMINES 1000", {{R::VexAmph, 1000}}, {}, {}, 2},
                                      {"VEX AMPHETAMINES 500", {{R::VexAmph, 500}}, {}, {}, 1},
                                      {"ORLAN BARBITURATES 300", {{R::OrlanBarb, 300}}, {}, {}, 1},
                                      {"ORLAN BARBITURATES, no cut-off", {{R::OrlanBarb}}, {}, {}, 1},
                                      {"ORLAN BENZODIAZEPINES 200", {{R::OrlanBenzo, 200}}, {}, {}, 1},
                                      {"VEX KETAMINE", {{R::VexKetamine}}, {}, {}, 1},
                                      {"the ORLAN rows that use it",
                                       {{R::OrlanMtd, 300}, {R::OrlanPcp, 25}, {R::OrlanPropox, 300}},
                                       {},
                                       {},
                                       1},
                                      {"other control flags are not read", {}, {}, {1, 2, 8, 27}, 1},
                                  });
}

// The barbiturate conditions hold only while K 3 is not yet in the order; the others do not care.
TEST(ControlPickers, MtdPcpPpxBarbituratesCountOnlyWithoutK3) {
    expectCalls(CtrlForMtdPcpPpx, {
                                      {"VEX BARBITURATES", {{R::VexBarb, 200}}, {}, {}, 2},
                                      {"VEX BARBITURATES, K 3", {{R::VexBarb, 200}}, {}, {3}, 1},
                                      {"ORLAN BARBITURATES 200", {{R::OrlanBarb, 200}}, {}, {}, 2},
                                      {"ORLAN BARBITURATES 200, K 3", {{R::OrlanBarb, 200}}, {}, {3}, 1},
                                      {"both, K 3", {{R::VexBarb, 200}, {R::OrlanBarb, 200}}, {}, {3}, 1},
                                      {"VEX BENZODIAZEPINES, K 3", {{R::VexBarb}, {R::VexBenzo}}, {}, {3}, 2},
                                  });
}

TEST(ControlPickers, Coc300TestsInOrder) {
    expectCalls(
        CtrlForCoc300,
        {
            {"1. K 2 before K 27", {}, {}, {1, 2, 27}, 1},
            {"2. K 27 before K 1", {}, {}, {1, 27}, 27},
            {"3. K 1 before AMPH/XTC 300", {{R::OrlanAmphXtc, 300}}, {}, {1}, 1},
            {"4. AMPH/XTC 300 before the fall-through", {{R::OrlanAmphXtc, 300}, {R::VexBenzo}}, {}, {}, 27},
            {"5. nothing", {}, {}, {}, 1},
            {"5. VEX METHAQUALONE", {{R::VexMethaq}}, {}, {}, 2},
            {"5. ORLAN AMPH/XTC 1000", {{R::OrlanAmphXtc, 1000}}, {}, {}, 2},
            {"5. ORLAN AMPH/XTC 500", {{R::OrlanAmphXtc, 500}}, {}, {}, 1},
            {"5. VEX BARBITURATES", {{R::VexBarb, 200}}, {}, {}, 2},
            {"5. VEX BARBITURATES, K 3", {{R::VexBarb, 200}}, {}, {3}, 1},
        });
}

TEST(ControlPickers, Amph500) {
    expectCalls(CtrlForAmph500, {
                                    {"nothing", {}, {}, {}, 1},
                                    {"VEX BARBITURATES, no cut-off", {{R::VexBarb}}, {}, {}, 3},
                                    {"ORLAN BARBITURATES 200", {{R::OrlanBarb, 200}}, {}, {}, 3},
                                    {"ORLAN BARBITURATES 300", {{R::OrlanBarb, 300}}, {}, {}, 1},
                                    {"ORLAN BENZODIAZEPINES 200", {{R::OrlanBenzo, 200}}, {}, {}, 3},
                                    {"ORLAN BENZODIAZEPINES 300", {{R::OrlanBenzo, 300}}, {}, {}, 1},
                                    {"ORLAN BENZODIAZEPINES, no cut-off", {{R::OrlanBenzo}}, {}, {}, 1},
                                    {"VEX BENZODIAZEPINES 200", {{R::VexBenzo, 200}}, {}, {}, 1},
                                    {"VEX COCAINE 150", {{R::VexCoc, 150}}, {}, {}, 3},
                                    {"VEX COCAINE 300", {{R::VexCoc, 300}}, {}, {}, 1},
                                    {"ORLAN COCAINE 150", {{R::OrlanCoc, 150}}, {}, {}, 3},
                                    {"ORLAN COCAINE 300", {{R::OrlanCoc, 300}}, {}, {}, 1},
                                    {"ORLAN AMPH/XTC 300", {{R::OrlanAmphXtc, 300}}, {}, {}, 1},
                                    {"control flags are not read", {}, {}, {2, 3, 27}, 1},
                                });
}

TEST(ControlPickers, Barb200TestsInOrder) {
    expectCalls(CtrlForBarb200, {
                                    {"1. K 2 before K 27", {}, {}, {2, 3, 27}, 1},
                                    {"2. K 27 before K 3", {}, {}, {3, 27}, 27},
                                    {"3. K 3 before AMPH/XTC 300", {{R::OrlanAmphXtc, 300}}, {}, {3}, 3},
                                    {"4. AMPH/XTC 300 before the rows of 5",
                                     {{R::OrlanAmphXtc, 300}, {R::OrlanCoc, 300}},
                                     {},
                                     {},
                                     27},
                                    {"K 1 is not read", {}, {}, {1}, 3},
                                });
}

TEST(ControlPickers, Barb200RowConditions) {
    expectCalls(CtrlForBarb200, {
                                    {"VEX COCAINE 300", {{R::VexCoc, 300}}, {}, {}, 2},
                                    {"ORLAN COCAINE 300", {{R::OrlanCoc, 300}}, {}, {}, 2},
                                    {"VEX AMPHETAMINES 1000", {{R::VexAmph, 1000}}, {}, {}, 2},
                                    {"ORLAN AMPH/XTC 1000", {{R::OrlanAmphXtc, 1000}}, {}, {}, 2},
                                    {"VEX METHADONE METABOLITE", {{R::VexMtdMetab}}, {}, {}, 2},
                                    {"VEX METHAQUALONE", {{R::VexMethaq}}, {}, {}, 2},
                                    {"VEX METHADONE", {{R::VexMtd}}, {}, {}, 2},
                                    {"ORLAN METHADONE", {{R::OrlanMtd}}, {}, {}, 2},
                                    {"VEX PHENCYCLIDINE", {{R::VexPcp}}, {}, {}, 2},
                                    {"ORLAN PHENCYCLIDINE", {{R::OrlanPcp}}, {}, {}, 2},
                                    {"VEX BENZODIAZEPINES", {{R::VexBenzo}}, {}, {}, 2},
                                    {"VEX PROPOXYPHENE", {{R::VexPropox}}, {}, {}, 2},
                                    {"ORLAN PROPOXYPHENE", {{R::OrlanPropox}}, {}, {}, 2},
                                    {"VEX COCAINE 150", {{R::VexCoc, 150}}, {}, {}, 3},
                                    {"ORLAN COCAINE, no cut-off", {{R::OrlanCoc}}, {}, {}, 3},
                                    {"VEX AMPHETAMINES 500", {{R::VexAmph, 500}}, {}, {}, 3},
                                    {"ORLAN AMPH/XTC 500", {{R::OrlanAmphXtc, 500}}, {}, {}, 3},
                                    {"ORLAN BENZODIAZEPINES 200", {{R::OrlanBenzo, 200}}, {}, {}, 3},
                                    {"VEX BARBITURATES 200", {{R::VexBarb, 200}}, {}, {}, 3},
                                    {"VEX ECSTASY", {{R::VexEcstasy, 500}}, {}, {}, 3},
                                });
}

TEST(ControlPickers, Benzo200TestsInOrder) {
    expectCalls(CtrlForBenzo200,
                {
                    {"1. K 8 before K 27", {}, {}, {3, 8, 27}, 8},
                    {"2. K 27 before K 3", {}, {}, {3, 27}, 27},
                    {"3. K 3 before ECSTASY", {{R::VexEcstasy}}, {}, {3}, 3},
                    {"4. LSD before AMPH/XTC 300", {{R::OrlanAmphXtc, 300}, {R::OrlanLsd}}, {}, {}, 8},
                    {"4. VEX ECSTASY", {{R::VexEcstasy}}, {}, {}, 8},
                    {"4. ORLAN LSD", {{R::OrlanLsd}}, {}, {}, 8},
                    {"4. ORLAN 6-AM", {{R::Orlan6am, 10}}, {}, {}, 8},
                    {"5. ORLAN AMPH/XTC 300", {{R::OrlanAmphXtc, 300}}, {}, {}, 27},
                    {"5. VEX COCAINE 300", {{R::VexCoc, 300}}, {}, {}, 27},
                    {"5. ORLAN COCAINE 300", {{R::OrlanCoc, 300}}, {}, {}, 27},
                    {"6. ORLAN AMPH/XTC 500", {{R::OrlanAmphXtc, 500}}, {}, {}, 3},
                    {"6. ORLAN COCAINE 150", {{R::OrlanCoc, 150}}, {}, {}, 3},
                    {"6. ORLAN BENZODIAZEPINES itself", {{R::OrlanBenzo, 200}}, {}, {}, 3},
                    {"K 2 is not read", {}, {}, {2}, 3},
                });
}

// The benzodiazepine picker counts K 27 with any non-zero flag; the others count only the value 1.
TEST(ControlPickers, OnlyBenzo200CountsK27WithAnyNonZeroFlag) {
    OrderFlags order;
    const AssayState s;
    order.Ctrls[27].Selected = 2;
    EXPECT_EQ(CtrlForBenzo200(s, order), 27);
    EXPECT_EQ(CtrlForCoc300(s, order), 1);
    EXPECT_EQ(CtrlForBarb200(s, order), 3);
    order.Ctrls[8].Selected = 2;
    EXPECT_EQ(CtrlForBenzo200(s, order), 27);
}

TEST(ControlPickers, Coc150ReadsRowsOnly) {
    expectCalls(CtrlForCoc150,
                {
                    {"nothing", {}, {}, {}, 3},
                    {"K 8 selected", {}, {}, {8}, 3},
                    {"VEX ECSTASY", {{R::VexEcstasy}}, {}, {}, 8},
                    {"ORLAN LSD", {{R::OrlanLsd}}, {}, {}, 8},
                    {"ORLAN 6-AM", {{R::Orlan6am}}, {}, {}, 8},
                    {"cocaine 300 rows", {{R::OrlanAmphXtc, 300}, {R::VexCoc, 300}}, {}, {}, 3},
                });
}

TEST(ControlPickers, Opiates) {
    expectCalls(
        CtrlForOpiates,
        {
            {"nothing", {}, {}, {}, 1},
            {"AMPH/XTC 300 before the amphetamine picker",
             {{R::OrlanAmphXtc, 300}, {R::OrlanCoc, 150}},
             {},
             {},
             27},
            {"through the amphetamine picker", {{R::OrlanAmphXtc, 500}, {R::OrlanCoc, 150}}, {}, {}, 3},
            {"ORLAN AMPH/XTC 1000", {{R::OrlanAmphXtc, 1000}}, {}, {}, 1},
            // K 27 in the order is not AMPH/XTC at 300.
            {"K 27 selected", {}, {}, {27}, 1},
        });
}

// ---- Calibrator pickers ----

TEST(CalibratorPickers, Pcp25) {
    expectCalls(CalForPcp25,
                {
                    {"1. C 3 before C 2", {}, {2, 3}, {}, 3},
                    {"1. C 3 before the rows of 3", {{R::OrlanCoc, 300}}, {3}, {}, 3},
                    {"2. C 2", {}, {2}, {}, 2},
                    {"C 19 is not read", {}, {19}, {}, 3},
                    {"ORLAN COCAINE 300", {{R::OrlanCoc, 300}}, {}, {}, 2},
                    {"ORLAN BENZODIAZEPINES 300", {{R::OrlanBenzo, 300}}, {}, {}, 2},
                    {"ORLAN BARBITURATES 300", {{R::OrlanBarb, 300}}, {}, {}, 2},
                    {"ORLAN AMPH/XTC 500", {{R::OrlanAmphXtc, 500}}, {}, {}, 2},
                    {"ORLAN AMPH/XTC 1000", {{R::OrlanAmphXtc, 1000}}, {}, {}, 2},
                    {"ORLAN AMPH/XTC 301, unlisted but above 300", {{R::OrlanAmphXtc, 301}}, {}, {}, 2},
                    {"ORLAN AMPH/XTC 300", {{R::OrlanAmphXtc, 300}}, {}, {}, 3},
                    {"ORLAN AMPH/XTC, no cut-off", {{R::OrlanAmphXtc}}, {}, {}, 3},
                    {"ORLAN COCAINE 150", {{R::OrlanCoc, 150}}, {}, {}, 3},
                    {"ORLAN BARBITURATES 200", {{R::OrlanBarb, 200}}, {}, {}, 3},
                    {"VEX COCAINE 300", {{R::VexCoc, 300}}, {}, {}, 3},
                    {"VEX AMPHETAMINES 1000", {{R::VexAmph, 1000}}, {}, {}, 3},
                });
}

TEST(CalibratorPickers, Coc300) {
    expectCalls(CalForCoc300, {
                                  {"nothing", {}, {}, {}, 2},
                                  {"1. C 2 before C 19", {}, {2, 19}, {}, 2},
                                  {"1. C 2 before the rows of 3", {{R::OrlanAmphXtc, 300}}, {2}, {}, 2},
                                  {"2. C 19", {}, {19}, {}, 19},
                                  {"C 3 is not read", {}, {3}, {}, 2},
                                  {"ORLAN BENZODIAZEPINES 200", {{R::OrlanBenzo, 200}}, {}, {}, 19},
                                  {"ORLAN BARBITURATES 200", {{R::OrlanBarb, 200}}, {}, {}, 19},
                                  {"ORLAN AMPH/XTC 300", {{R::OrlanAmphXtc, 300}}, {}, {}, 19},
                                  {"ORLAN BENZODIAZEPINES 300", {{R::OrlanBenzo, 300}}, {}, {}, 2},
                                  {"ORLAN AMPH/XTC 500", {{R::OrlanAmphXtc, 500}}, {}, {}, 2},
                                  {"VEX BARBITURATES 200", {{R::VexBarb, 200}}, {}, {}, 2},
                              });
}

TEST(CalibratorPickers, BarbBenzo200) {
    expectCalls(CalForBarbBenzo200, {
                                        {"nothing", {}, {}, {}, 3},
                                        {"1. C 3 before C 19", {}, {3, 19}, {}, 3},
                                        {"1. C 3 before the rows of 3", {{R::OrlanAmphXtc, 300}}, {3}, {}, 3},
                                        {"2. C 19", {}, {19}, {}, 19},
                                        {"C 2 is not read", {}, {2}, {}, 3},
                                        {"ORLAN AMPH/XTC 300", {{R::OrlanAmphXtc, 300}}, {}, {}, 19},
                                        {"ORLAN COCAINE 300", {{R::OrlanCoc, 300}}, {}, {}, 19},
                                        {"VEX COCAINE 300", {{R::VexCoc, 300}}, {}, {}, 3},
                                        {"ORLAN AMPH/XTC 500", {{R::OrlanAmphXtc, 500}}, {}, {}, 3},
                                        {"ORLAN COCAINE 150", {{R::OrlanCoc, 150}}, {}, {}, 3},
                                    });
}

TEST(CalibratorPickers, Opiates) {
    expectCalls(CalForOpiates, {
                                   {"1. C 3 before C 19 and C 2", {}, {2, 3, 19}, {}, 3},
                                   {"2. C 19 before C 2", {}, {2, 19}, {}, 19},
                                   {"3. C 2", {}, {2}, {}, 2},
                                   {"3. C 2 before the rows of 4", {{R::OrlanAmphXtc, 300}}, {2}, {}, 2},
                                   {"4. ORLAN AMPH/XTC 300", {{R::OrlanAmphXtc, 300}}, {}, {}, 19},
                                   {"4. ORLAN BARBITURATES 200", {{R::OrlanBarb, 200}}, {}, {}, 19},
                                   {"4. ORLAN BENZODIAZEPINES 200", {{R::OrlanBenzo, 200}}, {}, {}, 19},
                                   {"4. ORLAN COCAINE 300", {{R::OrlanCoc, 300}}, {}, {}, 19},
                                   // Through the PCP picker.
                                   {"5. nothing", {}, {}, {}, 3},
                                   {"5. ORLAN BARBITURATES 300", {{R::OrlanBarb, 300}}, {}, {}, 2},
                                   {"5. ORLAN AMPH/XTC 500", {{R::OrlanAmphXtc, 500}}, {}, {}, 2},
                                   {"5. ORLAN AMPH/XTC 1000", {{R::OrlanAmphXtc, 1000}}, {}, {}, 2},
                                   {"5. ORLAN COCAINE 150", {{R::OrlanCoc, 150}}, {}, {}, 3},
                                   {"5. ORLAN OPIATES itself", {{R::OrlanOpi, 300}}, {}, {}, 3},
                               });
}

// ---- Through update: block order decides what later pickers see ----

template <typename Table>
Slots selectedSlots(const Table& table) {
    Slots slots;
    for (int slot = 1; slot <= Table::kCapacity; ++slot)
        if (table[slot].Selected != 0)
            slots.insert(slot);
    return slots;
}

class CombinedOrder : public ::testing::Test {
protected:
    void set(std::initializer_list<Tick> ticks) { tickRows(s, ticks); }
    void expectOrder(const Slots& calibs, const Slots& ctrls, const Slots& reagents) {
        update(s, order);
        EXPECT_EQ(selectedSlots(order.Calibs), calibs) << "calibrators (C)";
        EXPECT_EQ(selectedSlots(order.Ctrls), ctrls) << "controls (K)";
        EXPECT_EQ(selectedSlots(order.Assays), reagents) << "reagents (R)";
    }

    OrderFlags order;
    AssayState s;
};

// Block 1 selects K 27, so the cocaine control picker answers 27 and adds nothing new.
TEST_F(CombinedOrder, AmphXtc300WithCocaine300SharesK27) {
    set({{R::OrlanAmphXtc, 300}, {R::OrlanCoc, 300}});
    expectOrder({1, 2, 3, 4, 5, 19}, {27}, {1, 5});
}

// In QUAL mode block 1 leaves only C 19, so the cocaine calibrator picker takes C 19 as well.
TEST_F(CombinedOrder, AmphXtc300WithCocaine300InQualShareC19) {
    set({{R::OrlanAmphXtc, 300, true}, {R::OrlanCoc, 300, true}});
    expectOrder({1, 19}, {27}, {1, 5});
}

TEST_F(CombinedOrder, AmphXtc300QualWithBarbiturates200FollowsC19AndK27) {
    set({{R::OrlanAmphXtc, 300, true}, {R::OrlanBarb, 200}});
    expectOrder({1, 4, 5, 19}, {27}, {1, 2});
}

// TCA adds K 46 only when no other serum TOX row has already selected K 43.
TEST_F(CombinedOrder, AcetaminophenSuppressesTcaControl) {
    set({{R::ToxAcet}, {R::ToxTca}});
    expectOrder({32, 34, 35, 36, 37, 38}, {43, 44, 45}, {36, 38});
}

TEST_F(CombinedOrder, SalicylateSuppressesTcaControlInQual) {
    set({{R::ToxSali}, {R::ToxTca, 0.0, true}});
    expectOrder({33, 34, 36}, {43, 44, 45}, {37, 38});
}

// The TOX barbiturate and benzodiazepine blocks add K 46 regardless.
TEST_F(CombinedOrder, ToxBarbituratesAddK46EvenWithAcetaminophen) {
    set({{R::ToxAcet}, {R::ToxTca, 0.0, true}, {R::ToxBarb, 0.0, true}});
    expectOrder({32, 34, 35, 36}, {43, 44, 45, 46}, {35, 36, 38});
}

TEST_F(CombinedOrder, VexAmphetaminesAloneUseTheVexNegative) {
    set({{R::VexAmph, 500}});
    expectOrder({30, 44, 45, 46, 47}, {1}, {15});
}

TEST_F(CombinedOrder, VexAmphetaminesWithLsdUseTheOrlanNegative) {
    set({{R::VexAmph, 500}, {R::OrlanLsd, 0.5}});
    expectOrder({1, 14, 15, 16, 44, 45, 46, 47}, {1, 8}, {7, 15});
}

TEST_F(CombinedOrder, VexAmphetaminesWithLsdWithoutCutOffUseTheOrlanNegative) {
    set({{R::VexAmph, 500}, {R::OrlanLsd}});
    expectOrder({1, 44, 45, 46, 47}, {1}, {7, 15});
}

TEST_F(CombinedOrder, BuprenorphineWithSampleCheckUsesC1) {
    set({{R::OrlanBup, 5}, {R::AdultSampleCheck}});
    expectOrder({1, 40, 41, 42, 43}, {7, 22}, {4, 14});
}

TEST_F(CombinedOrder, BuprenorphineWithVexRowKeepsC39) {
    set({{R::OrlanBup, 5, true}, {R::VexThc, 50, true}});
    expectOrder({30, 39, 40, 70}, {22, 28, 29}, {4, 18});
}

// Block 1 (AMPH/XTC 500 with VEX barbiturates ticked) selects K 3; the VEX barbiturate block then
// takes K 3, and the PCP block's control picker no longer counts the VEX barbiturates.
TEST_F(CombinedOrder, EarlierK3SwitchesOffTheBarbiturateConditionForPcp) {
    set({{R::OrlanAmphXtc, 500}, {R::VexBarb, 200}, {R::OrlanPcp, 25}});
    expectOrder({1, 2, 3, 4, 5, 44, 45, 46, 47}, {1, 3}, {1, 12, 16});
}

TEST_F(CombinedOrder, VexBarbituratesWithPcpWithoutK3GiveK2) {
    set({{R::VexBarb, 200}, {R::OrlanPcp, 25}});
    expectOrder({1, 3, 4, 5, 44, 45, 46, 47}, {2}, {12, 16});
}

// The PCP calibrator picker sees the C 2 that cocaine at 300 selected.
TEST_F(CombinedOrder, PcpFollowsCocaine300CalibratorC2) {
    set({{R::OrlanCoc, 300}, {R::OrlanPcp, 25}});
    expectOrder({1, 2, 4, 5}, {1}, {5, 12});
}

TEST_F(CombinedOrder, EddpFollowsBarbiturates300CalibratorC2) {
    set({{R::OrlanBarb, 300, true}, {R::OrlanEddp, 100, true}});
    expectOrder({1, 2}, {1}, {2, 9});
}

TEST_F(CombinedOrder, OpiatesFollowCocaine150) {
    set({{R::OrlanCoc, 150}, {R::OrlanOpi, 300}});
    expectOrder({1, 3, 4, 5}, {3}, {5, 11});
}

TEST_F(CombinedOrder, BarbituratesAndBenzodiazepinesAt200ShareC3AndK3) {
    set({{R::OrlanBarb, 200}, {R::OrlanBenzo, 200}});
    expectOrder({1, 3, 4, 5}, {3}, {2, 3});
}

TEST_F(CombinedOrder, Benzodiazepines200WithEcstasyTakeK8) {
    set({{R::OrlanBenzo, 200}, {R::VexEcstasy, 500}});
    expectOrder({1, 3, 4, 5, 20, 21, 22, 23}, {8}, {3, 21});
}

// VEX AMPHETAMINES at 1000 selects K 2 first, so VEX COCAINE at 300 gets K 1 on top.
TEST_F(CombinedOrder, VexCocaine300AfterAmphetamines1000AddsK1) {
    set({{R::VexAmph, 1000}, {R::VexCoc, 300}});
    expectOrder({30, 44, 45, 46, 47}, {1, 2}, {15, 19});
}

// VEX COCAINE at 150 turns the amphetamine control to K 3, which disappears with the cocaine row.
TEST_F(CombinedOrder, AmphetamineControlFollowsCocaine150) {
    set({{R::VexAmph, 500}, {R::VexCoc, 150}});
    expectOrder({30, 44, 45, 46, 47}, {3}, {15, 19});
    s.SetSelected(R::VexCoc, false);
    expectOrder({30, 44, 45, 46, 47}, {1}, {15});
}

// Two rows needing the same slots select them once; unticking one keeps what the other needs.
TEST_F(CombinedOrder, SharedSlotsStayWhileAnotherRowNeedsThem) {
    set({{R::OrlanMtd, 300}, {R::OrlanPropox, 300}});
    expectOrder({1, 11, 12, 13}, {1}, {8, 13});
    s.SetSelected(R::OrlanPropox, false);
    expectOrder({1, 11, 12, 13}, {1}, {8});
    s.SetSelected(R::OrlanMtd, false);
    expectOrder({}, {}, {});
}

TEST_F(CombinedOrder, SharedAcetaminophenControlsStayForSalicylate) {
    set({{R::ToxAcet}, {R::ToxSali}});
    expectOrder({32, 33}, {43, 44, 45}, {36, 37});
    s.SetSelected(R::ToxAcet, false);
    expectOrder({33}, {43, 44, 45}, {37});
}

// The hidden METHADONE METABOLITE row selects nothing itself but still steers the controls.
TEST_F(CombinedOrder, HiddenMethadoneMetaboliteSteersPcpControl) {
    set({{R::VexMtdMetab}, {R::VexPcp, 25}});
    expectOrder({30, 44, 45, 46, 47}, {2}, {27});
}

}  // namespace
}  // namespace tovimar
