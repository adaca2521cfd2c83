// The requirement rules, one assay row at a time. Each case ticks a single row, sets its cut-off and
// QUAL mark, runs update and compares the whole order (every selected calibrator, control and
// reagent slot) with the set worked out by hand from the rule table. Whole-set comparison matters:
// a rule that selects one slot too many is as wrong as one that forgets one.
//
// A row alone still goes through the pickers, with no other row ticked and nothing selected by
// earlier blocks: VEX rows get the VEX negative calibrator C 30, BUPRENORPHINE gets C 39, the
// opiate calibrator picker falls through to the PCP picker (C 3), and the shared control pickers
// fall through to their last answer.
#include "core/order/order_flags.h"
#include "core/selection/assay_rows.h"
#include "core/selection/assay_state.h"
#include "core/selection/rules.h"

#include <gtest/gtest.h>
#include <set>
#include <string>
#include <vector>

namespace tovimar {
namespace {

using R = AssayRow;
using Slots = std::set<int>;

constexpr bool kQual = true;
constexpr bool kFull = false;
constexpr double kNoCut = 0.0;

// Every slot of the table, also those above the filled range, whose flag is set. A flag set to
// anything but 1 is reported on its own: only 1 puts an item into the order.
template <typename Table>
Slots selectedSlots(const Table& table, const char* what) {
    Slots slots;
    for (int slot = 1; slot <= Table::kCapacity; ++slot) {
        const auto flag = table[slot].Selected;
        if (flag == 0)
            continue;
        slots.insert(slot);
        EXPECT_EQ(flag, 1) << what << " slot " << slot << " has a Selected value other than 1";
    }
    return slots;
}

void expectOrder(const OrderFlags& order, const Slots& calibs, const Slots& ctrls, const Slots& reagents) {
    EXPECT_EQ(selectedSlots(order.Calibs, "calibrator"), calibs) << "calibrators (C)";
    EXPECT_EQ(selectedSlots(order.Ctrls, "control"), ctrls) << "controls (K)";
    EXPECT_EQ(selectedSlots(order.Assays, "reagent"), reagents) << "reagents (R)";
}

struct SingleRowCase {
    std::string name;
    AssayRow row;
    double cut;  // kNoCut: ticked, no option chosen
    bool qual;
    Slots calibs;
    Slots ctrls;
    Slots reagents;
};

// Test names and messages show the case's name, not a dump of its bytes.
void PrintTo(const SingleRowCase& c, std::ostream* os) {
    *os << c.name;
}

// ORLAN rows. The negative calibrator is C 1, except BUPRENORPHINE (C 39 while alone).
const std::vector<SingleRowCase> kOrlanCases = {
    // AMPH / XTC: controls at 500 from the amphetamine picker, which answers K 1 with nothing else.
    {"AmphXtc_300_Full", R::OrlanAmphXtc, 300, kFull, {1, 2, 3, 4, 19}, {27}, {1}},
    {"AmphXtc_300_Qual", R::OrlanAmphXtc, 300, kQual, {1, 19}, {27}, {1}},
    {"AmphXtc_500_Full", R::OrlanAmphXtc, 500, kFull, {1, 2, 3, 4}, {1}, {1}},
    {"AmphXtc_500_Qual", R::OrlanAmphXtc, 500, kQual, {1, 3}, {1}, {1}},
    {"AmphXtc_1000_Full", R::OrlanAmphXtc, 1000, kFull, {1, 2, 4, 5}, {2}, {1}},
    {"AmphXtc_1000_Qual", R::OrlanAmphXtc, 1000, kQual, {1, 2}, {2}, {1}},
    {"AmphXtc_NoCut", R::OrlanAmphXtc, kNoCut, kFull, {1}, {}, {1}},
    {"AmphXtc_NoCut_Qual", R::OrlanAmphXtc, kNoCut, kQual, {1}, {}, {1}},

    {"6am_10_Full", R::Orlan6am, 10, kFull, {1, 17, 18}, {8}, {6}},
    {"6am_10_Qual", R::Orlan6am, 10, kQual, {1, 17}, {8}, {6}},
    {"6am_NoCut", R::Orlan6am, kNoCut, kFull, {1}, {}, {6}},
    {"6am_NoCut_Qual", R::Orlan6am, kNoCut, kQual, {1}, {}, {6}},

    // BARBITURATES / BENZODIAZEPINES at 200: calibrator picker falls to C 3, control picker to K 3.
    {"Barb_200_Full", R::OrlanBarb, 200, kFull, {1, 3, 4, 5}, {3}, {2}},
    {"Barb_200_Qual", R::OrlanBarb, 200, kQual, {1, 3}, {3}, {2}},
    {"Barb_300_Full", R::OrlanBarb, 300, kFull, {1, 2, 4, 5}, {1}, {2}},
    {"Barb_300_Qual", R::OrlanBarb, 300, kQual, {1, 2}, {1}, {2}},
    {"Barb_NoCut", R::OrlanBarb, kNoCut, kFull, {1}, {}, {2}},
    {"Barb_NoCut_Qual", R::OrlanBarb, kNoCut, kQual, {1}, {}, {2}},

    {"Benzo_200_Full", R::OrlanBenzo, 200, kFull, {1, 3, 4, 5}, {3}, {3}},
    {"Benzo_200_Qual", R::OrlanBenzo, 200, kQual, {1, 3}, {3}, {3}},
    {"Benzo_300_Full", R::OrlanBenzo, 300, kFull, {1, 2, 4, 5}, {1}, {3}},
    {"Benzo_300_Qual", R::OrlanBenzo, 300, kQual, {1, 2}, {1}, {3}},
    {"Benzo_NoCut", R::OrlanBenzo, kNoCut, kFull, {1}, {}, {3}},
    {"Benzo_NoCut_Qual", R::OrlanBenzo, kNoCut, kQual, {1}, {}, {3}},

    // COCAINE: 150 control picker answers K 3; at 300 the calibrator picker gives C 2 and the
    // control picker falls through to the methadone/PCP picker, K 1.
    {"Coc_150_Full", R::OrlanCoc, 150, kFull, {1, 3, 4, 5}, {3}, {5}},
    {"Coc_150_Qual", R::OrlanCoc, 150, kQual, {1, 3}, {3}, {5}},
    {"Coc_300_Full", R::OrlanCoc, 300, kFull, {1, 2, 4, 5}, {1}, {5}},
    {"Coc_300_Qual", R::OrlanCoc, 300, kQual, {1, 2}, {1}, {5}},
    {"Coc_NoCut", R::OrlanCoc, kNoCut, kFull, {1}, {}, {5}},
    {"Coc_NoCut_Qual", R::OrlanCoc, kNoCut, kQual, {1}, {}, {5}},

    // EDDP and OPIATES: opiate calibrator picker ends in the PCP picker (C 3), control in K 1.
    {"Eddp_100_Full", R::OrlanEddp, 100, kFull, {1, 3, 4, 5}, {1}, {9}},
    {"Eddp_100_Qual", R::OrlanEddp, 100, kQual, {1, 3}, {1}, {9}},
    {"Eddp_NoCut", R::OrlanEddp, kNoCut, kFull, {1}, {}, {9}},
    {"Eddp_NoCut_Qual", R::OrlanEddp, kNoCut, kQual, {1}, {}, {9}},

    {"Opi_300_Full", R::OrlanOpi, 300, kFull, {1, 3, 4, 5}, {1}, {11}},
    {"Opi_300_Qual", R::OrlanOpi, 300, kQual, {1, 3}, {1}, {11}},
    {"Opi_NoCut", R::OrlanOpi, kNoCut, kFull, {1}, {}, {11}},
    {"Opi_NoCut_Qual", R::OrlanOpi, kNoCut, kQual, {1}, {}, {11}},

    {"Lsd_0p5_Full", R::OrlanLsd, 0.5, kFull, {1, 14, 15, 16}, {8}, {7}},
    {"Lsd_0p5_Qual", R::OrlanLsd, 0.5, kQual, {1, 14}, {8}, {7}},
    {"Lsd_NoCut", R::OrlanLsd, kNoCut, kFull, {1}, {}, {7}},
    {"Lsd_NoCut_Qual", R::OrlanLsd, kNoCut, kQual, {1}, {}, {7}},

    {"ThcMulti_25_Full", R::OrlanThcMulti, 25, kFull, {1, 6, 7, 8}, {4}, {10}},
    {"ThcMulti_25_Qual", R::OrlanThcMulti, 25, kQual, {1, 6}, {4}, {10}},
    {"ThcMulti_50_Full", R::OrlanThcMulti, 50, kFull, {1, 6, 7, 8, 9}, {5}, {10}},
    {"ThcMulti_50_Qual", R::OrlanThcMulti, 50, kQual, {1, 7}, {5}, {10}},
    {"ThcMulti_100_Full", R::OrlanThcMulti, 100, kFull, {1, 7, 8, 9, 10}, {6}, {10}},
    {"ThcMulti_100_Qual", R::OrlanThcMulti, 100, kQual, {1, 9}, {6}, {10}},
    {"ThcMulti_NoCut", R::OrlanThcMulti, kNoCut, kFull, {1}, {}, {10}},
    {"ThcMulti_NoCut_Qual", R::OrlanThcMulti, kNoCut, kQual, {1}, {}, {10}},

    {"Bup_5_Full", R::OrlanBup, 5, kFull, {39, 40, 41, 42, 43}, {22}, {4}},
    {"Bup_5_Qual", R::OrlanBup, 5, kQual, {39, 40}, {22}, {4}},
    {"Bup_NoCut", R::OrlanBup, kNoCut, kFull, {39}, {}, {4}},
    {"Bup_NoCut_Qual", R::OrlanBup, kNoCut, kQual, {39}, {}, {4}},

    {"Mtd_300_Full", R::OrlanMtd, 300, kFull, {1, 11, 12, 13}, {1}, {8}},
    {"Mtd_300_Qual", R::OrlanMtd, 300, kQual, {1, 11}, {1}, {8}},
    {"Mtd_NoCut", R::OrlanMtd, kNoCut, kFull, {1}, {}, {8}},
    {"Mtd_NoCut_Qual", R::OrlanMtd, kNoCut, kQual, {1}, {}, {8}},

    {"Propox_300_Full", R::OrlanPropox, 300, kFull, {1, 11, 12, 13}, {1}, {13}},
    {"Propox_300_Qual", R::OrlanPropox, 300, kQual, {1, 11}, {1}, {13}},
    {"Propox_NoCut", R::OrlanPropox, kNoCut, kFull, {1}, {}, {13}},
    {"Propox_NoCut_Qual", R::OrlanPropox, kNoCut, kQual, {1}, {}, {13}},

    {"Pcp_25_Full", R::OrlanPcp, 25, kFull, {1, 3, 4, 5}, {1}, {12}},
    {"Pcp_25_Qual", R::OrlanPcp, 25, kQual, {1, 3}, {1}, {12}},
    {"Pcp_NoCut", R::OrlanPcp, kNoCut, kFull, {1}, {}, {12}},
    {"Pcp_NoCut_Qual", R::OrlanPcp, kNoCut, kQual, {1}, {}, {12}},
};

// VEX rows. Alone, the VEX negative calibrator is C 30; OPIATES uses the ORLAN calibrators
// instead and ETHYL GLUCURONIDE its own negative C 59.
const std::vector<SingleRowCase> kVexCases = {
    {"Amph_500_Full", R::VexAmph, 500, kFull, {30, 44, 45, 46, 47}, {1}, {15}},
    {"Amph_500_Qual", R::VexAmph, 500, kQual, {30, 44}, {1}, {15}},
    {"Amph_1000_Full", R::VexAmph, 1000, kFull, {30, 44, 45, 46, 47}, {2}, {15}},
    {"Amph_1000_Qual", R::VexAmph, 1000, kQual, {30, 45}, {2}, {15}},
    {"Amph_NoCut", R::VexAmph, kNoCut, kFull, {30}, {}, {15}},
    {"Amph_NoCut_Qual", R::VexAmph, kNoCut, kQual, {30}, {}, {15}},

    {"Barb_200_Full", R::VexBarb, 200, kFull, {30, 44, 45, 46, 47}, {3}, {16}},
    {"Barb_200_Qual", R::VexBarb, 200, kQual, {30, 45}, {3}, {16}},
    {"Barb_NoCut", R::VexBarb, kNoCut, kFull, {30}, {}, {16}},
    {"Barb_NoCut_Qual", R::VexBarb, kNoCut, kQual, {30}, {}, {16}},

    {"Benzo_200_Full", R::VexBenzo, 200, kFull, {30, 44, 45, 46, 47}, {2}, {17}},
    {"Benzo_200_Qual", R::VexBenzo, 200, kQual, {30, 45}, {2}, {17}},
    {"Benzo_NoCut", R::VexBenzo, kNoCut, kFull, {30}, {}, {17}},
    {"Benzo_NoCut_Qual", R::VexBenzo, kNoCut, kQual, {30}, {}, {17}},

    {"Thc_50_Full", R::VexThc, 50, kFull, {30, 69, 70, 71, 72}, {28, 29}, {18}},
    {"Thc_50_Qual", R::VexThc, 50, kQual, {30, 70}, {28, 29}, {18}},
    {"Thc_100_Full", R::VexThc, 100, kFull, {30, 69, 70, 71, 72}, {30, 31}, {18}},
    {"Thc_100_Qual", R::VexThc, 100, kQual, {30, 71}, {30, 31}, {18}},
    {"Thc_NoCut", R::VexThc, kNoCut, kFull, {30}, {}, {18}},
    {"Thc_NoCut_Qual", R::VexThc, kNoCut, kQual, {30}, {}, {18}},

    {"Coc_150_Full", R::VexCoc, 150, kFull, {30, 44, 45, 46, 47}, {3}, {19}},
    {"Coc_150_Qual", R::VexCoc, 150, kQual, {30, 44}, {3}, {19}},
    {"Coc_300_Full", R::VexCoc, 300, kFull, {30, 44, 45, 46, 47}, {1}, {19}},
    {"Coc_300_Qual", R::VexCoc, 300, kQual, {30, 45}, {1}, {19}},
    {"Coc_NoCut", R::VexCoc, kNoCut, kFull, {30}, {}, {19}},
    {"Coc_NoCut_Qual", R::VexCoc, kNoCut, kQual, {30}, {}, {19}},

    {"Cotinine", R::VexCotinine, kNoCut, kFull, {26}, {19, 20}, {20}},

    {"Ecstasy_500_Full", R::VexEcstasy, 500, kFull, {20, 21, 22, 23, 30}, {8}, {21}},
    {"Ecstasy_500_Qual", R::VexEcstasy, 500, kQual, {21, 30}, {8}, {21}},
    {"Ecstasy_NoCut", R::VexEcstasy, kNoCut, kFull, {30}, {}, {21}},
    {"Ecstasy_NoCut_Qual", R::VexEcstasy, kNoCut, kQual, {30}, {}, {21}},

    {"Etoh", R::VexEtoh, kNoCut, kFull, {24, 25}, {17, 18}, {22}},

    {"Etg_500_Full", R::VexEtg, 500.0, kFull, {59, 60, 61, 62, 63}, {32, 33}, {29}},
    {"Etg_500_Qual", R::VexEtg, 500.0, kQual, {59, 61}, {32, 33}, {29}},
    {"Etg_1000_Full", R::VexEtg, 1000.0, kFull, {59, 60, 61, 62, 63}, {34, 35}, {29}},
    {"Etg_1000_Qual", R::VexEtg, 1000.0, kQual, {59, 62}, {34, 35}, {29}},
    {"Etg_NoCut", R::VexEtg, kNoCut, kFull, {59}, {}, {29}},
    {"Etg_NoCut_Qual", R::VexEtg, kNoCut, kQual, {59}, {}, {29}},

    {"Mtd_300_Full", R::VexMtd, 300, kFull, {30, 44, 45, 46, 47}, {1}, {23}},
    {"Mtd_300_Qual", R::VexMtd, 300, kQual, {30, 45}, {1}, {23}},
    {"Mtd_NoCut", R::VexMtd, kNoCut, kFull, {30}, {}, {23}},
    {"Mtd_NoCut_Qual", R::VexMtd, kNoCut, kQual, {30}, {}, {23}},

    {"Methaq_300_Full", R::VexMethaq, 300, kFull, {30, 44, 45, 46, 47}, {2}, {39}},
    {"Methaq_300_Qual", R::VexMethaq, 300, kQual, {30, 45}, {2}, {39}},
    {"Methaq_NoCut", R::VexMethaq, kNoCut, kFull, {30}, {}, {39}},
    {"Methaq_NoCut_Qual", R::VexMethaq, kNoCut, kQual, {30}, {}, {39}},

    {"Opi_300_Full", R::VexOpi, 300, kFull, {1, 3, 4, 5}, {1}, {25}},
    {"Opi_300_Qual", R::VexOpi, 300, kQual, {1, 3}, {1}, {25}},
    {"Opi_NoCut", R::VexOpi, kNoCut, kFull, {1}, {}, {25}},
    {"Opi_NoCut_Qual", R::VexOpi, kNoCut, kQual, {1}, {}, {25}},

    {"Oxy_100_Full", R::VexOxy, 100, kFull, {30, 48, 49, 50, 51}, {25, 26}, {26}},
    {"Oxy_100_Qual", R::VexOxy, 100, kQual, {30, 48}, {25, 26}, {26}},
    {"Oxy_NoCut", R::VexOxy, kNoCut, kFull, {30}, {}, {26}},
    {"Oxy_NoCut_Qual", R::VexOxy, kNoCut, kQual, {30}, {}, {26}},

    {"Pcp_25_Full", R::VexPcp, 25, kFull, {30, 44, 45, 46, 47}, {1}, {27}},
    {"Pcp_25_Qual", R::VexPcp, 25, kQual, {30, 45}, {1}, {27}},
    {"Pcp_NoCut", R::VexPcp, kNoCut, kFull, {30}, {}, {27}},
    {"Pcp_NoCut_Qual", R::VexPcp, kNoCut, kQual, {30}, {}, {27}},

    {"Propox_300_Full", R::VexPropox, 300.0, kFull, {30, 44, 45, 46, 47}, {1}, {28}},
    {"Propox_300_Qual", R::VexPropox, 300.0, kQual, {30, 45}, {1}, {28}},
    {"Propox_NoCut", R::VexPropox, kNoCut, kFull, {30}, {}, {28}},
    {"Propox_NoCut_Qual", R::VexPropox, kNoCut, kQual, {30}, {}, {28}},

    // The three never-shown rows have no rule and no reagent.
    {"MtdMetab", R::VexMtdMetab, kNoCut, kFull, {}, {}, {}},
    {"MtdMetab_Qual", R::VexMtdMetab, kNoCut, kQual, {}, {}, {}},
    {"Ketamine", R::VexKetamine, kNoCut, kFull, {}, {}, {}},
    {"Ketamine_Qual", R::VexKetamine, kNoCut, kQual, {}, {}, {}},
    {"Fentanyl", R::VexFentanyl, kNoCut, kFull, {}, {}, {}},
    {"Fentanyl_Qual", R::VexFentanyl, kNoCut, kQual, {}, {}, {}},
};

// Serum TOX rows. TCA, BARBITURATE TOX and BENZODIAZEPINE TOX have no cut-off; QUAL alone picks
// between the single calibrator and the ladder C 35..38.
const std::vector<SingleRowCase> kToxCases = {
    {"Acet", R::ToxAcet, kNoCut, kFull, {32}, {43, 44, 45}, {36}},
    {"Sali", R::ToxSali, kNoCut, kFull, {33}, {43, 44, 45}, {37}},
    {"Tca_Full", R::ToxTca, kNoCut, kFull, {34, 35, 36, 37, 38}, {46}, {38}},
    {"Tca_Qual", R::ToxTca, kNoCut, kQual, {34, 36}, {46}, {38}},
    {"Barb_Full", R::ToxBarb, kNoCut, kFull, {34, 35, 36, 37, 38}, {46}, {35}},
    {"Barb_Qual", R::ToxBarb, kNoCut, kQual, {34, 35}, {46}, {35}},
    {"Benzo_Full", R::ToxBenzo, kNoCut, kFull, {34, 35, 36, 37, 38}, {46}, {40}},
    {"Benzo_Qual", R::ToxBenzo, kNoCut, kQual, {34, 35}, {46}, {40}},
};

const std::vector<SingleRowCase> kAdultCases = {
    {"Creat", R::AdultCreat, kNoCut, kFull, {31}, {15, 16}, {34}},
    {"Ph", R::AdultPh, kNoCut, kFull, {29}, {11, 13}, {33}},
    {"Sg", R::AdultSg, kNoCut, kFull, {27, 28}, {9, 10}, {32}},
    {"SampleCheck", R::AdultSampleCheck, kNoCut, kFull, {1}, {7}, {14}},
};

// Cut-off values a row does not offer: the row keeps its Always items and its reagent only. The
// values are chosen near or equal to another row's options to catch rules that compare loosely.
const std::vector<SingleRowCase> kUnlistedCutCases = {
    {"OrlanAmphXtc_400", R::OrlanAmphXtc, 400, kFull, {1}, {}, {1}},
    {"OrlanAmphXtc_400_Qual", R::OrlanAmphXtc, 400, kQual, {1}, {}, {1}},
    {"OrlanLsd_5", R::OrlanLsd, 5, kFull, {1}, {}, {7}},
    {"OrlanLsd_1", R::OrlanLsd, 1, kQual, {1}, {}, {7}},
    {"OrlanBarb_150", R::OrlanBarb, 150, kFull, {1}, {}, {2}},
    {"OrlanBup_25", R::OrlanBup, 25, kFull, {39}, {}, {4}},
    {"VexAmph_300", R::VexAmph, 300, kFull, {30}, {}, {15}},
    {"VexThc_25", R::VexThc, 25, kQual, {30}, {}, {18}},
    {"VexEtg_750", R::VexEtg, 750.0, kFull, {59}, {}, {29}},
    {"VexEtg_499p5", R::VexEtg, 499.5, kQual, {59}, {}, {29}},
    {"VexPropox_300p25", R::VexPropox, 300.25, kFull, {30}, {}, {28}},
};

class SingleRowOrder : public ::testing::TestWithParam<SingleRowCase> {};

TEST_P(SingleRowOrder, SelectsExactlyTheRowsItems) {
    const SingleRowCase& c = GetParam();
    OrderFlags order;
    AssayState s;
    s.SetSelected(c.row, true);
    if (c.cut != kNoCut)
        s.ChooseCut(c.row, c.cut);
    if (c.qual)
        s.SetQual(c.row, true);

    update(s, order);

    expectOrder(order, c.calibs, c.ctrls, c.reagents);
}

std::string caseName(const ::testing::TestParamInfo<SingleRowCase>& info) {
    return info.param.name;
}

INSTANTIATE_TEST_SUITE_P(Orlan, SingleRowOrder, ::testing::ValuesIn(kOrlanCases), caseName);
INSTANTIATE_TEST_SUITE_P(Vex, SingleRowOrder, ::testing::ValuesIn(kVexCases), caseName);
INSTANTIATE_TEST_SUITE_P(Tox, SingleRowOrder, ::testing::ValuesIn(kToxCases), caseName);
INSTANTIATE_TEST_SUITE_P(Adulteration, SingleRowOrder, ::testing::ValuesIn(kAdultCases), caseName);
INSTANTIATE_TEST_SUITE_P(UnlistedCutOff, SingleRowOrder, ::testing::ValuesIn(kUnlistedCutCases), caseName);

// The tables above are meant to cover every row of the panel with every option it offers, with and
// without QUAL where it has a QUAL box, and the ticked-without-cut-off state. This keeps them
// honest when a row or an option is added.
TEST(SingleRowOrderTables, CoverEveryRowOptionAndQualMark) {
    std::vector<const SingleRowCase*> all;
    for (const auto* table : {&kOrlanCases, &kVexCases, &kToxCases, &kAdultCases})
        for (const SingleRowCase& c : *table)
            all.push_back(&c);
    const auto has = [&](AssayRow row, double cut, bool qual) {
        for (const SingleRowCase* c : all)
            if (c->row == row && c->cut == cut && c->qual == qual)
                return true;
        return false;
    };
    for (const AssayRowDef& def : AssayRows()) {
        SCOPED_TRACE(std::string(def.keyName));
        std::vector<double> cuts{kNoCut};
        for (const CutOption& o : def.options())
            cuts.push_back(o.value);
        for (double cut : cuts) {
            EXPECT_TRUE(has(def.key, cut, kFull)) << "no case at cut-off " << cut;
            if (def.hasQual()) {
                EXPECT_TRUE(has(def.key, cut, kQual)) << "no QUAL case at cut-off " << cut;
            }
        }
    }
}

// ---- The order as a whole ----

TEST(UpdateOrder, NothingTickedSelectsNothing) {
    OrderFlags order;
    update(AssayState{}, order);
    expectOrder(order, {}, {}, {});
}

// Items added by hand are plain flags; the next run of the rules starts from zero and drops them.
TEST(UpdateOrder, ClearsHandSetFlags) {
    OrderFlags order;
    order.Calibs[50].Selected = 1;
    order.Calibs[72].Selected = 1;
    order.Ctrls[40].Selected = 1;
    order.Ctrls[49].Selected = 1;
    order.Assays[31].Selected = 1;
    order.Assays[40].Selected = 1;

    AssayState s;
    s.SetSelected(R::AdultPh, true);
    update(s, order);
    expectOrder(order, {29}, {11, 13}, {33});

    order.Calibs[50].Selected = 1;
    update(AssayState{}, order);
    EXPECT_EQ(order.Calibs[50].Selected, 0);
    expectOrder(order, {}, {}, {});
}

// A run never leaves the previous run's result behind: unticking a row removes its items.
TEST(UpdateOrder, RecomputesFromScratchOnEveryRun) {
    OrderFlags order;
    AssayState s;
    s.SetSelected(R::OrlanThcMulti, true);
    s.ChooseCut(R::OrlanThcMulti, 25);
    update(s, order);
    expectOrder(order, {1, 6, 7, 8}, {4}, {10});

    // Another option replaces the cut-off; nothing of the 25 set may survive.
    s.ChooseCut(R::OrlanThcMulti, 100);
    update(s, order);
    expectOrder(order, {1, 7, 8, 9, 10}, {6}, {10});

    s.SetSelected(R::OrlanThcMulti, false);
    update(s, order);
    expectOrder(order, {}, {}, {});
}

// The bottle-size choice belongs to the user and survives every run of the rules, also for items
// the run leaves out of the order.
TEST(UpdateOrder, NeverTouchesSizeChoice) {
    OrderFlags order;
    order.Assays[1].SizeChoice = 2;
    order.Assays[29].SizeChoice = 2;
    order.Calibs[1].SizeChoice = 2;
    order.Calibs[19].SizeChoice = 1;
    order.Calibs[63].SizeChoice = 2;

    AssayState s;
    s.SetSelected(R::OrlanAmphXtc, true);
    s.ChooseCut(R::OrlanAmphXtc, 300);
    update(s, order);
    update(AssayState{}, order);

    EXPECT_EQ(order.Assays[1].SizeChoice, 2);
    EXPECT_EQ(order.Assays[29].SizeChoice, 2);
    EXPECT_EQ(order.Calibs[1].SizeChoice, 2);
    EXPECT_EQ(order.Calibs[19].SizeChoice, 1);
    EXPECT_EQ(order.Calibs[63].SizeChoice, 2);
    for (int slot = 1; slot <= AssayTable::kFilled; ++slot)
        if (slot != 1 && slot != 29) {
            EXPECT_EQ(order.Assays[slot].SizeChoice, 0) << "reagent slot " << slot;
        }
}

}  // namespace
}  // namespace tovimar
