// The pickers choose shared calibrators and controls. Their answer depends on other rows and on
// what earlier rule blocks have already selected, and their numbered tests are checked in order,
// so most cases here set up two conditions that would give different answers and check that the
// earlier test wins. The second half runs whole combinations through update, where the block
// order decides what a later picker sees.
#include "catalogue/records.h"
#include "selection/assay_rows.h"
#include "selection/assay_state.h"
#include "selection/rules.h"

#include <gtest/gtest.h>
#include <initializer_list>
#include <set>
#include <string>
#include <vector>

namespace tovimar {
namespace {

using R = AssayRow;
using Slots = std::set<int>;

struct Tick {
    AssayRow row;
    double cut = 0.0;  // 0: ticked, no option chosen
    bool qual = false;
};

class PickerTest : public ::testing::Test {
protected:
    void SetUp() override { LoadCatalogue(cat); }

public:
    // Public so the helpers chain: a protected member cannot be reached through the returned
    // reference from the test bodies.

    PickerTest& tick(AssayRow row, double cut = 0.0) {
        s.SetSelected(row, true);
        if (cut != 0.0)
            s.ChooseCut(row, cut);
        return *this;
    }
    PickerTest& calib(int slot) {
        cat.Calibs[slot].Selected = 1;
        return *this;
    }
    PickerTest& ctrl(int slot) {
        cat.Ctrls[slot].Selected = 1;
        return *this;
    }
    void reset() {
        s.Clear();
        LoadCatalogue(cat);
    }

    Catalogue cat;
    AssayState s;
};

// ---- Negative calibrators ----

// The ORLAN rows (but BUPRENORPHINE) and SAMPLE CHECK share the ORLAN negative C 1; every other row
// leaves the VEX negative C 30 (and the buprenorphine negative C 39) in place.
const std::set<AssayRow> kUsesOrlanNegative = {
    R::Orlan6am,  R::OrlanAmphXtc, R::OrlanBarb,        R::OrlanBenzo,    R::OrlanCoc,
    R::OrlanEddp, R::OrlanLsd,     R::OrlanMtd,         R::OrlanThcMulti, R::OrlanOpi,
    R::OrlanPcp,  R::OrlanPropox,  R::AdultSampleCheck,
};

TEST_F(PickerTest, NegativeCalibratorsFollowTheOtherTickedRow) {
    for (const AssayRowDef& def : AssayRows()) {
        SCOPED_TRACE(std::string(def.keyName));
        reset();
        tick(def.key);
        const bool orlan = kUsesOrlanNegative.contains(def.key);
        EXPECT_EQ(NegCalForVex(s, cat), orlan ? 1 : 30);
        EXPECT_EQ(NegCalForBup(s, cat), orlan ? 1 : 39);
    }
}

TEST_F(PickerTest, NegativeCalibratorsIgnoreCutOffsAndFlags) {
    EXPECT_EQ(NegCalForVex(s, cat), 30);
    EXPECT_EQ(NegCalForBup(s, cat), 39);

    // C 1 already in the order (for example added by hand) does not stand for an ORLAN row.
    calib(1).ctrl(7);
    EXPECT_EQ(NegCalForVex(s, cat), 30);
    EXPECT_EQ(NegCalForBup(s, cat), 39);

    // Any cut-off of the ORLAN row counts, also one the row does not offer.
    tick(R::OrlanAmphXtc, 400);
    EXPECT_EQ(NegCalForVex(s, cat), 1);
    EXPECT_EQ(NegCalForBup(s, cat), 1);
}

TEST_F(PickerTest, BuprenorphineDoesNotMoveTheVexNegative) {
    tick(R::OrlanBup, 5).tick(R::VexAmph, 500);
    EXPECT_EQ(NegCalForVex(s, cat), 30);
    EXPECT_EQ(NegCalForBup(s, cat), 39);
    tick(R::AdultSampleCheck);
    EXPECT_EQ(NegCalForVex(s, cat), 1);
    EXPECT_EQ(NegCalForBup(s, cat), 1);
}

// ---- CtrlForMtdPcpPpx ----

TEST_F(PickerTest, MtdPcpPpxControlIsTwoForEachListedCondition) {
    const std::vector<std::pair<std::string, std::vector<Tick>>> twos = {
        {"VEX METHADONE METABOLITE", {{R::VexMtdMetab}}},
        {"VEX BENZODIAZEPINES, no cut-off", {{R::VexBenzo}}},
        {"VEX METHAQUALONE", {{R::VexMethaq, 300}}},
        {"ORLAN AMPH/XTC 1000", {{R::OrlanAmphXtc, 1000}}},
        {"VEX AMPHETAMINES 1000", {{R::VexAmph, 1000}}},
        {"ORLAN BARBITURATES 200", {{R::OrlanBarb, 200}}},
        {"VEX BARBITURATES, no cut-off", {{R::VexBarb}}},
    };
    for (const auto& [label, ticks] : twos) {
        SCOPED_TRACE(label);
        reset();
        for (const Tick& t : ticks)
            tick(t.row, t.cut);
        EXPECT_EQ(CtrlForMtdPcpPpx(s, cat), 2);
    }
}

TEST_F(PickerTest, MtdPcpPpxControlIsOneOtherwise) {
    const std::vector<std::pair<std::string, std::vector<Tick>>> ones = {
        {"nothing", {}},
        {"ORLAN AMPH/XTC 500", {{R::OrlanAmphXtc, 500}}},
        {"ORLAN AMPH/XTC 300", {{R::OrlanAmphXtc, 300}}},
        {"VEX AMPHETAMINES 500", {{R::VexAmph, 500}}},
        {"ORLAN BARBITURATES 300", {{R::OrlanBarb, 300}}},
        {"ORLAN BARBITURATES, no cut-off", {{R::OrlanBarb}}},
        {"ORLAN BENZODIAZEPINES 200", {{R::OrlanBenzo, 200}}},
        {"VEX KETAMINE", {{R::VexKetamine}}},
        {"ORLAN METHADONE, PCP, PROPOXYPHENE",
         {{R::OrlanMtd, 300}, {R::OrlanPcp, 25}, {R::OrlanPropox, 300}}},
    };
    for (const auto& [label, ticks] : ones) {
        SCOPED_TRACE(label);
        reset();
        for (const Tick& t : ticks)
            tick(t.row, t.cut);
        EXPECT_EQ(CtrlForMtdPcpPpx(s, cat), 1);
    }
}

// The barbiturate conditions hold only while K 3 is not yet in the order; the others do not care.
TEST_F(PickerTest, MtdPcpPpxBarbituratesCountOnlyWithoutK3) {
    tick(R::VexBarb, 200);
    EXPECT_EQ(CtrlForMtdPcpPpx(s, cat), 2);
    ctrl(3);
    EXPECT_EQ(CtrlForMtdPcpPpx(s, cat), 1);
    tick(R::OrlanBarb, 200);
    EXPECT_EQ(CtrlForMtdPcpPpx(s, cat), 1);
    tick(R::VexBenzo);
    EXPECT_EQ(CtrlForMtdPcpPpx(s, cat), 2);

    reset();
    tick(R::OrlanBarb, 200).ctrl(3);
    EXPECT_EQ(CtrlForMtdPcpPpx(s, cat), 1);
    // Other control flags are not looked at.
    reset();
    ctrl(2).ctrl(27);
    EXPECT_EQ(CtrlForMtdPcpPpx(s, cat), 1);
}

// ---- CtrlForCoc300 ----

TEST_F(PickerTest, Coc300ControlTestsInOrder) {
    // 1. K 2 wins over K 27.
    ctrl(2).ctrl(27).ctrl(1);
    EXPECT_EQ(CtrlForCoc300(s, cat), 1);
    // 2. K 27 wins over K 1.
    reset();
    ctrl(27).ctrl(1);
    EXPECT_EQ(CtrlForCoc300(s, cat), 27);
    // 3. K 1 wins over AMPH/XTC at 300.
    reset();
    ctrl(1).tick(R::OrlanAmphXtc, 300);
    EXPECT_EQ(CtrlForCoc300(s, cat), 1);
    // 4. AMPH/XTC at 300 wins over the fall-through (VEX BENZODIAZEPINES would give 2).
    reset();
    tick(R::OrlanAmphXtc, 300).tick(R::VexBenzo);
    EXPECT_EQ(CtrlForCoc300(s, cat), 27);
}

TEST_F(PickerTest, Coc300ControlFallsThroughToMtdPcpPpx) {
    EXPECT_EQ(CtrlForCoc300(s, cat), 1);
    tick(R::VexMethaq);
    EXPECT_EQ(CtrlForCoc300(s, cat), 2);
    reset();
    tick(R::OrlanAmphXtc, 1000);
    EXPECT_EQ(CtrlForCoc300(s, cat), 2);
    reset();
    tick(R::OrlanAmphXtc, 500);
    EXPECT_EQ(CtrlForCoc300(s, cat), 1);
    // K 3 selected: not one of this picker's tests, but it switches off the VEX barbiturate case.
    reset();
    tick(R::VexBarb, 200);
    EXPECT_EQ(CtrlForCoc300(s, cat), 2);
    ctrl(3);
    EXPECT_EQ(CtrlForCoc300(s, cat), 1);
}

// ---- CtrlForAmph500 ----

TEST_F(PickerTest, Amph500ControlIsThreeOnlyForTheListedRows) {
    const std::vector<std::pair<std::string, std::vector<Tick>>> threes = {
        {"VEX BARBITURATES, no cut-off", {{R::VexBarb}}},
        {"ORLAN BARBITURATES 200", {{R::OrlanBarb, 200}}},
        {"ORLAN BENZODIAZEPINES 200", {{R::OrlanBenzo, 200}}},
        {"VEX COCAINE 150", {{R::VexCoc, 150}}},
        {"ORLAN COCAINE 150", {{R::OrlanCoc, 150}}},
    };
    for (const auto& [label, ticks] : threes) {
        SCOPED_TRACE(label);
        reset();
        for (const Tick& t : ticks)
            tick(t.row, t.cut);
        EXPECT_EQ(CtrlForAmph500(s, cat), 3);
    }
    const std::vector<std::pair<std::string, std::vector<Tick>>> ones = {
        {"nothing", {}},
        {"ORLAN BARBITURATES 300", {{R::OrlanBarb, 300}}},
        {"ORLAN BENZODIAZEPINES 300", {{R::OrlanBenzo, 300}}},
        {"ORLAN BENZODIAZEPINES, no cut-off", {{R::OrlanBenzo}}},
        {"VEX BENZODIAZEPINES 200", {{R::VexBenzo, 200}}},
        {"VEX COCAINE 300", {{R::VexCoc, 300}}},
        {"ORLAN COCAINE 300", {{R::OrlanCoc, 300}}},
        {"ORLAN AMPH/XTC 300", {{R::OrlanAmphXtc, 300}}},
    };
    for (const auto& [label, ticks] : ones) {
        SCOPED_TRACE(label);
        reset();
        for (const Tick& t : ticks)
            tick(t.row, t.cut);
        EXPECT_EQ(CtrlForAmph500(s, cat), 1);
    }
}

TEST_F(PickerTest, Amph500ControlIgnoresSelectedFlags) {
    ctrl(3).ctrl(27).ctrl(2);
    EXPECT_EQ(CtrlForAmph500(s, cat), 1);
}

// ---- CtrlForBarb200 ----

TEST_F(PickerTest, Barb200ControlTestsInOrder) {
    ctrl(2).ctrl(27).ctrl(3);
    EXPECT_EQ(CtrlForBarb200(s, cat), 1);
    reset();
    ctrl(27).ctrl(3);
    EXPECT_EQ(CtrlForBarb200(s, cat), 27);
    // 3. K 3 wins over AMPH/XTC at 300.
    reset();
    ctrl(3).tick(R::OrlanAmphXtc, 300);
    EXPECT_EQ(CtrlForBarb200(s, cat), 3);
    // 4. AMPH/XTC at 300 wins over the rows of test 5 (ORLAN COCAINE 300 would give 2).
    reset();
    tick(R::OrlanAmphXtc, 300).tick(R::OrlanCoc, 300);
    EXPECT_EQ(CtrlForBarb200(s, cat), 27);
    // K 1 is not one of its tests.
    reset();
    ctrl(1);
    EXPECT_EQ(CtrlForBarb200(s, cat), 3);
}

TEST_F(PickerTest, Barb200ControlIsTwoForTheListedRows) {
    const std::vector<std::pair<std::string, Tick>> twos = {
        {"VEX COCAINE 300", {R::VexCoc, 300}},
        {"ORLAN COCAINE 300", {R::OrlanCoc, 300}},
        {"VEX AMPHETAMINES 1000", {R::VexAmph, 1000}},
        {"ORLAN AMPH/XTC 1000", {R::OrlanAmphXtc, 1000}},
        {"VEX METHADONE METABOLITE", {R::VexMtdMetab}},
        {"VEX METHAQUALONE", {R::VexMethaq}},
        {"VEX METHADONE", {R::VexMtd}},
        {"ORLAN METHADONE", {R::OrlanMtd}},
        {"VEX PHENCYCLIDINE", {R::VexPcp}},
        {"ORLAN PHENCYCLIDINE", {R::OrlanPcp}},
        {"VEX BENZODIAZEPINES", {R::VexBenzo}},
        {"VEX PROPOXYPHENE", {R::VexPropox}},
        {"ORLAN PROPOXYPHENE", {R::OrlanPropox}},
    };
    for (const auto& [label, t] : twos) {
        SCOPED_TRACE(label);
        reset();
        tick(t.row, t.cut);
        EXPECT_EQ(CtrlForBarb200(s, cat), 2);
    }
    const std::vector<std::pair<std::string, Tick>> threes = {
        {"VEX COCAINE 150", {R::VexCoc, 150}},
        {"ORLAN COCAINE, no cut-off", {R::OrlanCoc}},
        {"VEX AMPHETAMINES 500", {R::VexAmph, 500}},
        {"ORLAN AMPH/XTC 500", {R::OrlanAmphXtc, 500}},
        {"ORLAN BENZODIAZEPINES 200", {R::OrlanBenzo, 200}},
        {"VEX BARBITURATES 200", {R::VexBarb, 200}},
        {"VEX ECSTASY", {R::VexEcstasy, 500}},
    };
    for (const auto& [label, t] : threes) {
        SCOPED_TRACE(label);
        reset();
        tick(t.row, t.cut);
        EXPECT_EQ(CtrlForBarb200(s, cat), 3);
    }
}

// ---- CtrlForBenzo200 ----

TEST_F(PickerTest, Benzo200ControlTestsInOrder) {
    ctrl(8).ctrl(27).ctrl(3);
    EXPECT_EQ(CtrlForBenzo200(s, cat), 8);
    reset();
    ctrl(27).ctrl(3);
    EXPECT_EQ(CtrlForBenzo200(s, cat), 27);
    // 3. K 3 wins over ECSTASY.
    reset();
    ctrl(3).tick(R::VexEcstasy);
    EXPECT_EQ(CtrlForBenzo200(s, cat), 3);
    // 4. The rows with control K 8 win over AMPH/XTC at 300.
    reset();
    tick(R::OrlanAmphXtc, 300).tick(R::OrlanLsd);
    EXPECT_EQ(CtrlForBenzo200(s, cat), 8);
    // K 2 is not one of its tests.
    reset();
    ctrl(2);
    EXPECT_EQ(CtrlForBenzo200(s, cat), 3);
}

TEST_F(PickerTest, Benzo200ControlRowConditions) {
    const std::vector<std::pair<std::string, std::pair<Tick, int>>> cases = {
        {"VEX ECSTASY", {{R::VexEcstasy}, 8}},
        {"ORLAN LSD", {{R::OrlanLsd}, 8}},
        {"ORLAN 6-AM", {{R::Orlan6am, 10}, 8}},
        {"ORLAN AMPH/XTC 300", {{R::OrlanAmphXtc, 300}, 27}},
        {"VEX COCAINE 300", {{R::VexCoc, 300}, 27}},
        {"ORLAN COCAINE 300", {{R::OrlanCoc, 300}, 27}},
        {"ORLAN AMPH/XTC 500", {{R::OrlanAmphXtc, 500}, 3}},
        {"ORLAN COCAINE 150", {{R::OrlanCoc, 150}, 3}},
        {"nothing else (ORLAN BENZODIAZEPINES 200 itself)", {{R::OrlanBenzo, 200}, 3}},
    };
    for (const auto& [label, c] : cases) {
        SCOPED_TRACE(label);
        reset();
        tick(c.first.row, c.first.cut);
        EXPECT_EQ(CtrlForBenzo200(s, cat), c.second);
    }
}

// The benzodiazepine picker counts K 27 with any non-zero flag; the others count only the value 1.
TEST_F(PickerTest, OnlyBenzo200ControlCountsK27WithAnyNonZeroFlag) {
    cat.Ctrls[27].Selected = 2;
    EXPECT_EQ(CtrlForBenzo200(s, cat), 27);
    EXPECT_EQ(CtrlForCoc300(s, cat), 1);
    EXPECT_EQ(CtrlForBarb200(s, cat), 3);
    cat.Ctrls[8].Selected = 2;
    EXPECT_EQ(CtrlForBenzo200(s, cat), 27);
}

// ---- CtrlForCoc150 and CtrlForOpiates ----

TEST_F(PickerTest, Coc150ControlDependsOnRowsOnly) {
    EXPECT_EQ(CtrlForCoc150(s, cat), 3);
    ctrl(8);
    EXPECT_EQ(CtrlForCoc150(s, cat), 3);
    for (AssayRow row : {R::VexEcstasy, R::OrlanLsd, R::Orlan6am}) {
        SCOPED_TRACE(std::string(RowDef(row).keyName));
        reset();
        tick(row);
        EXPECT_EQ(CtrlForCoc150(s, cat), 8);
    }
    reset();
    tick(R::OrlanAmphXtc, 300).tick(R::VexCoc, 300);
    EXPECT_EQ(CtrlForCoc150(s, cat), 3);
}

TEST_F(PickerTest, OpiatesControl) {
    EXPECT_EQ(CtrlForOpiates(s, cat), 1);
    // AMPH/XTC at 300 comes before the amphetamine picker's rows.
    tick(R::OrlanAmphXtc, 300).tick(R::OrlanCoc, 150);
    EXPECT_EQ(CtrlForOpiates(s, cat), 27);
    reset();
    tick(R::OrlanAmphXtc, 500).tick(R::OrlanCoc, 150);
    EXPECT_EQ(CtrlForOpiates(s, cat), 3);
    reset();
    tick(R::OrlanAmphXtc, 1000);
    EXPECT_EQ(CtrlForOpiates(s, cat), 1);
    // It reads rows, not flags: K 27 in the order is not AMPH/XTC at 300.
    reset();
    ctrl(27);
    EXPECT_EQ(CtrlForOpiates(s, cat), 1);
}

// ---- Calibrator pickers ----

TEST_F(PickerTest, Pcp25CalibratorTestsInOrder) {
    calib(3).calib(2);
    EXPECT_EQ(CalForPcp25(s, cat), 3);
    reset();
    calib(2);
    EXPECT_EQ(CalForPcp25(s, cat), 2);
    // 1. C 3 wins over the rows of test 3.
    reset();
    calib(3).tick(R::OrlanCoc, 300);
    EXPECT_EQ(CalForPcp25(s, cat), 3);
    // C 19 is not one of its tests.
    reset();
    calib(19);
    EXPECT_EQ(CalForPcp25(s, cat), 3);
}

TEST_F(PickerTest, Pcp25CalibratorRowConditions) {
    const std::vector<std::pair<std::string, std::pair<Tick, int>>> cases = {
        {"ORLAN COCAINE 300", {{R::OrlanCoc, 300}, 2}},
        {"ORLAN BENZODIAZEPINES 300", {{R::OrlanBenzo, 300}, 2}},
        {"ORLAN BARBITURATES 300", {{R::OrlanBarb, 300}, 2}},
        {"ORLAN AMPH/XTC 500", {{R::OrlanAmphXtc, 500}, 2}},
        {"ORLAN AMPH/XTC 1000", {{R::OrlanAmphXtc, 1000}, 2}},
        {"ORLAN AMPH/XTC 400, not an option but above 300", {{R::OrlanAmphXtc, 400}, 2}},
        {"ORLAN AMPH/XTC 300", {{R::OrlanAmphXtc, 300}, 3}},
        {"ORLAN AMPH/XTC, no cut-off", {{R::OrlanAmphXtc}, 3}},
        {"ORLAN COCAINE 150", {{R::OrlanCoc, 150}, 3}},
        {"ORLAN BARBITURATES 200", {{R::OrlanBarb, 200}, 3}},
        {"VEX COCAINE 300", {{R::VexCoc, 300}, 3}},
        {"VEX AMPHETAMINES 1000", {{R::VexAmph, 1000}, 3}},
    };
    for (const auto& [label, c] : cases) {
        SCOPED_TRACE(label);
        reset();
        tick(c.first.row, c.first.cut);
        EXPECT_EQ(CalForPcp25(s, cat), c.second);
    }
}

TEST_F(PickerTest, Coc300CalibratorTestsInOrder) {
    EXPECT_EQ(CalForCoc300(s, cat), 2);
    calib(2).calib(19);
    EXPECT_EQ(CalForCoc300(s, cat), 2);
    reset();
    calib(19);
    EXPECT_EQ(CalForCoc300(s, cat), 19);
    // 1. C 2 wins over the rows of test 3.
    reset();
    calib(2).tick(R::OrlanAmphXtc, 300);
    EXPECT_EQ(CalForCoc300(s, cat), 2);
    // C 3 is not one of its tests.
    reset();
    calib(3);
    EXPECT_EQ(CalForCoc300(s, cat), 2);

    const std::vector<std::pair<std::string, std::pair<Tick, int>>> cases = {
        {"ORLAN BENZODIAZEPINES 200", {{R::OrlanBenzo, 200}, 19}},
        {"ORLAN BARBITURATES 200", {{R::OrlanBarb, 200}, 19}},
        {"ORLAN AMPH/XTC 300", {{R::OrlanAmphXtc, 300}, 19}},
        {"ORLAN BENZODIAZEPINES 300", {{R::OrlanBenzo, 300}, 2}},
        {"ORLAN AMPH/XTC 500", {{R::OrlanAmphXtc, 500}, 2}},
        {"VEX BARBITURATES 200", {{R::VexBarb, 200}, 2}},
    };
    for (const auto& [label, c] : cases) {
        SCOPED_TRACE(label);
        reset();
        tick(c.first.row, c.first.cut);
        EXPECT_EQ(CalForCoc300(s, cat), c.second);
    }
}

TEST_F(PickerTest, BarbBenzo200CalibratorTestsInOrder) {
    EXPECT_EQ(CalForBarbBenzo200(s, cat), 3);
    calib(3).calib(19);
    EXPECT_EQ(CalForBarbBenzo200(s, cat), 3);
    reset();
    calib(19);
    EXPECT_EQ(CalForBarbBenzo200(s, cat), 19);
    reset();
    calib(3).tick(R::OrlanAmphXtc, 300);
    EXPECT_EQ(CalForBarbBenzo200(s, cat), 3);
    reset();
    calib(2);
    EXPECT_EQ(CalForBarbBenzo200(s, cat), 3);

    const std::vector<std::pair<std::string, std::pair<Tick, int>>> cases = {
        {"ORLAN AMPH/XTC 300", {{R::OrlanAmphXtc, 300}, 19}},
        {"ORLAN COCAINE 300", {{R::OrlanCoc, 300}, 19}},
        {"VEX COCAINE 300", {{R::VexCoc, 300}, 3}},
        {"ORLAN AMPH/XTC 500", {{R::OrlanAmphXtc, 500}, 3}},
        {"ORLAN COCAINE 150", {{R::OrlanCoc, 150}, 3}},
    };
    for (const auto& [label, c] : cases) {
        SCOPED_TRACE(label);
        reset();
        tick(c.first.row, c.first.cut);
        EXPECT_EQ(CalForBarbBenzo200(s, cat), c.second);
    }
}

TEST_F(PickerTest, OpiatesCalibratorTestsInOrder) {
    calib(3).calib(19).calib(2);
    EXPECT_EQ(CalForOpiates(s, cat), 3);
    reset();
    calib(19).calib(2);
    EXPECT_EQ(CalForOpiates(s, cat), 19);
    reset();
    calib(2);
    EXPECT_EQ(CalForOpiates(s, cat), 2);
    // 3. C 2 wins over the rows of test 4.
    reset();
    calib(2).tick(R::OrlanAmphXtc, 300);
    EXPECT_EQ(CalForOpiates(s, cat), 2);
}

TEST_F(PickerTest, OpiatesCalibratorRowsAndFallThrough) {
    const std::vector<std::pair<std::string, std::pair<Tick, int>>> cases = {
        {"ORLAN AMPH/XTC 300", {{R::OrlanAmphXtc, 300}, 19}},
        {"ORLAN BARBITURATES 200", {{R::OrlanBarb, 200}, 19}},
        {"ORLAN BENZODIAZEPINES 200", {{R::OrlanBenzo, 200}, 19}},
        {"ORLAN COCAINE 300", {{R::OrlanCoc, 300}, 19}},
        // Through the PCP picker.
        {"ORLAN BARBITURATES 300", {{R::OrlanBarb, 300}, 2}},
        {"ORLAN AMPH/XTC 500", {{R::OrlanAmphXtc, 500}, 2}},
        {"ORLAN AMPH/XTC 1000", {{R::OrlanAmphXtc, 1000}, 2}},
        {"ORLAN COCAINE 150", {{R::OrlanCoc, 150}, 3}},
        {"ORLAN OPIATES itself", {{R::OrlanOpi, 300}, 3}},
    };
    for (const auto& [label, c] : cases) {
        SCOPED_TRACE(label);
        reset();
        tick(c.first.row, c.first.cut);
        EXPECT_EQ(CalForOpiates(s, cat), c.second);
    }
    reset();
    EXPECT_EQ(CalForOpiates(s, cat), 3);
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
    void SetUp() override { LoadCatalogue(cat); }

    void set(std::initializer_list<Tick> ticks) {
        for (const Tick& t : ticks) {
            s.SetSelected(t.row, true);
            if (t.cut != 0.0)
                s.ChooseCut(t.row, t.cut);
            if (t.qual)
                s.SetQual(t.row, true);
        }
    }
    void expectOrder(const Slots& calibs, const Slots& ctrls, const Slots& reagents) {
        update(s, cat);
        EXPECT_EQ(selectedSlots(cat.Calibs), calibs) << "calibrators (C)";
        EXPECT_EQ(selectedSlots(cat.Ctrls), ctrls) << "controls (K)";
        EXPECT_EQ(selectedSlots(cat.Assays), reagents) << "reagents (R)";
    }

    Catalogue cat;
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
