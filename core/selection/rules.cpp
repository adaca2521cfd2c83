#include "core/selection/rules.h"

#include "core/order/order.h"

#include <optional>
#include <vector>

namespace tovimar {

namespace {

using R = AssayRow;

bool calSelected(const OrderFlags& order, int slot) {
    return InOrder(order.Calibs[slot]);
}
bool ctrlSelected(const OrderFlags& order, int slot) {
    return InOrder(order.Ctrls[slot]);
}

// The rows whose ticking puts the shared ORLAN negative calibrator (C 1) into the order.
bool orlanNegativeInUse(const AssayState& s) {
    return s.ticked(R::Orlan6am) || s.ticked(R::OrlanAmphXtc) || s.ticked(R::OrlanBarb) ||
           s.ticked(R::OrlanBenzo) || s.ticked(R::OrlanCoc) || s.ticked(R::OrlanEddp) ||
           s.ticked(R::OrlanLsd) || s.ticked(R::OrlanMtd) || s.ticked(R::OrlanThcMulti) ||
           s.ticked(R::OrlanOpi) || s.ticked(R::OrlanPcp) || s.ticked(R::OrlanPropox) ||
           s.ticked(R::AdultSampleCheck);
}

}  // namespace

// ---- Pickers ---------------------------------------------------------------------------------

int NegCalForVex(const AssayState& s, const OrderFlags&) {
    return orlanNegativeInUse(s) ? 1 : 30;
}

int NegCalForBup(const AssayState& s, const OrderFlags&) {
    return orlanNegativeInUse(s) ? 1 : 39;
}

int CtrlForMtdPcpPpx(const AssayState& s, const OrderFlags& order) {
    const bool k3 = ctrlSelected(order, 3);
    if (s.ticked(R::VexMtdMetab) || s.ticked(R::VexBenzo) || s.ticked(R::VexMethaq) ||
        s.at(R::OrlanAmphXtc, 1000) || s.at(R::VexAmph, 1000) || (s.at(R::OrlanBarb, 200) && !k3) ||
        (s.ticked(R::VexBarb) && !k3))
        return 2;
    return 1;
}

int CtrlForCoc300(const AssayState& s, const OrderFlags& order) {
    if (ctrlSelected(order, 2))
        return 1;
    if (ctrlSelected(order, 27))
        return 27;
    if (ctrlSelected(order, 1))
        return 1;
    if (s.at(R::OrlanAmphXtc, 300))
        return 27;
    return CtrlForMtdPcpPpx(s, order);
}

int CtrlForAmph500(const AssayState& s, const OrderFlags&) {
    if (s.ticked(R::VexBarb) || s.at(R::OrlanBarb, 200) || s.at(R::OrlanBenzo, 200) || s.at(R::VexCoc, 150) ||
        s.at(R::OrlanCoc, 150))
        return 3;
    return 1;
}

int CtrlForBarb200(const AssayState& s, const OrderFlags& order) {
    if (ctrlSelected(order, 2))
        return 1;
    if (ctrlSelected(order, 27))
        return 27;
    if (ctrlSelected(order, 3))
        return 3;
    if (s.at(R::OrlanAmphXtc, 300))
        return 27;
    if (s.at(R::VexCoc, 300) || s.at(R::OrlanCoc, 300) || s.at(R::VexAmph, 1000) ||
        s.at(R::OrlanAmphXtc, 1000) || s.ticked(R::VexMtdMetab) || s.ticked(R::VexMethaq) ||
        s.ticked(R::VexMtd) || s.ticked(R::OrlanMtd) || s.ticked(R::VexPcp) || s.ticked(R::OrlanPcp) ||
        s.ticked(R::VexBenzo) || s.ticked(R::VexPropox) || s.ticked(R::OrlanPropox))
        return 2;
    return 3;
}

int CtrlForBenzo200(const AssayState& s, const OrderFlags& order) {
    if (ctrlSelected(order, 8))
        return 8;
    if (order.Ctrls[27].Selected != 0)  // any value, not only 1
        return 27;
    if (ctrlSelected(order, 3))
        return 3;
    if (s.ticked(R::VexEcstasy) || s.ticked(R::OrlanLsd) || s.ticked(R::Orlan6am))
        return 8;
    if (s.at(R::OrlanAmphXtc, 300) || s.at(R::VexCoc, 300) || s.at(R::OrlanCoc, 300))
        return 27;
    return 3;
}

int CtrlForCoc150(const AssayState& s, const OrderFlags&) {
    return (s.ticked(R::VexEcstasy) || s.ticked(R::OrlanLsd) || s.ticked(R::Orlan6am)) ? 8 : 3;
}

int CtrlForOpiates(const AssayState& s, const OrderFlags& order) {
    return s.at(R::OrlanAmphXtc, 300) ? 27 : CtrlForAmph500(s, order);
}

int CalForPcp25(const AssayState& s, const OrderFlags& order) {
    if (calSelected(order, 3))
        return 3;
    if (calSelected(order, 2))
        return 2;
    if (s.at(R::OrlanCoc, 300) || s.at(R::OrlanBenzo, 300) || s.at(R::OrlanBarb, 300) ||
        s.above(R::OrlanAmphXtc, 300))
        return 2;
    return 3;
}

int CalForCoc300(const AssayState& s, const OrderFlags& order) {
    if (calSelected(order, 2))
        return 2;
    if (calSelected(order, 19))
        return 19;
    if (s.at(R::OrlanBenzo, 200) || s.at(R::OrlanBarb, 200) || s.at(R::OrlanAmphXtc, 300))
        return 19;
    return 2;
}

int CalForBarbBenzo200(const AssayState& s, const OrderFlags& order) {
    if (calSelected(order, 3))
        return 3;
    if (calSelected(order, 19))
        return 19;
    if (s.at(R::OrlanAmphXtc, 300) || s.at(R::OrlanCoc, 300))
        return 19;
    return 3;
}

int CalForOpiates(const AssayState& s, const OrderFlags& order) {
    if (calSelected(order, 3))
        return 3;
    if (calSelected(order, 19))
        return 19;
    if (calSelected(order, 2))
        return 2;
    if (s.at(R::OrlanAmphXtc, 300) || s.at(R::OrlanBarb, 200) || s.at(R::OrlanBenzo, 200) ||
        s.at(R::OrlanCoc, 300))
        return 19;
    return CalForPcp25(s, order);
}

// ---- Rule blocks -----------------------------------------------------------------------------

namespace {

using Picker = int (*)(const AssayState&, const OrderFlags&);

// K 46 for TCA only while the acetaminophen/salicylate blocks have not put in K 43; 0 = none.
int TdmControlForTca(const AssayState&, const OrderFlags& order) {
    return ctrlSelected(order, 43) ? 0 : 46;
}

// One item of a block: a fixed slot or a picker asked at the moment the item is reached.
struct Item {
    int slot = 0;
    Picker picker = nullptr;
    Item(int s) : slot(s) {}       // NOLINT: a bare slot number reads like the rule table
    Item(Picker p) : picker(p) {}  // NOLINT: so does a picker name
    int resolve(const AssayState& s, const OrderFlags& order) const {
        return picker ? picker(s, order) : slot;
    }
};
using Items = std::vector<Item>;

struct CutCase {
    std::optional<double> cut;  // nullopt: the row has no cut-off test (QUAL only)
    Items calQual;              // calibrators when the QUAL mark is set
    Items calFull;              // calibrators when it is not
    Items ctrls;
};

// One block of the rule table; the blocks run in the table's order, numbered in a comment.
struct RuleBlock {
    AssayRow row;
    Items alwaysCal;
    Items alwaysCtrl;
    std::vector<CutCase> cases;
    int reagent;
};

constexpr std::nullopt_t anyCut = std::nullopt;

// A table of data: one entry per rule block, read against the rule table line by line.
const std::vector<RuleBlock>& ruleBlocks() {
    // clang-format off
    static const std::vector<RuleBlock> blocks{
        //       row               always cal         always ctrl
        //      cut   cal QUAL                 cal full                           controls            reagent
        /*  1 */ {R::OrlanAmphXtc,   {1},                 {}, {
            {300,  {19},                   {19, 2, 3, 4},                     {27}},
            {500,  {3},                    {2, 3, 4},                         {CtrlForAmph500}},
            {1000, {2},                    {2, 4, 5},                         {2}}},             1},
        /*  2 */ {R::VexAmph,        {NegCalForVex},      {}, {
            {500,  {44},                   {44, 45, 46, 47},                  {CtrlForAmph500}},
            {1000, {45},                   {44, 45, 46, 47},                  {2}}},             15},
        /*  3 */ {R::Orlan6am,       {1},                 {}, {
            {10,   {17},                   {17, 18},                          {8}}},             6},
        /*  4 */ {R::OrlanBarb,      {1},                 {}, {
            {200,  {CalForBarbBenzo200},   {CalForBarbBenzo200, 4, 5},        {CtrlForBarb200}},
            {300,  {2},                    {2, 4, 5},                         {1}}},             2},
        /*  5 */ {R::VexBarb,        {NegCalForVex},      {}, {
            {200,  {45},                   {44, 45, 46, 47},                  {CtrlForBarb200}}}, 16},
        /*  6 */ {R::OrlanBenzo,     {1},                 {}, {
            {200,  {CalForBarbBenzo200},   {CalForBarbBenzo200, 4, 5},        {CtrlForBenzo200}},
            {300,  {2},                    {2, 4, 5},                         {1}}},             3},
        /*  7 */ {R::VexBenzo,       {NegCalForVex},      {}, {
            {200,  {45},                   {44, 45, 46, 47},                  {2}}},             17},
        /*  8 */ {R::OrlanCoc,       {1},                 {}, {
            {150,  {3},                    {3, 4, 5},                         {CtrlForCoc150}},
            {300,  {CalForCoc300},         {CalForCoc300, 4, 5},              {CtrlForCoc300}}}, 5},
        /*  9 */ {R::VexCoc,         {NegCalForVex},      {}, {
            {150,  {44},                   {44, 45, 46, 47},                  {CtrlForCoc150}},
            {300,  {45},                   {44, 45, 46, 47},                  {CtrlForCoc300}}}, 19},
        /* 10 */ {R::OrlanEddp,     {1},                 {}, {
            {100,  {CalForOpiates},        {CalForOpiates, 4, 5},             {CtrlForOpiates}}}, 9},
        /* 11 */ {R::OrlanOpi,      {1},                 {}, {
            {300,  {CalForOpiates},        {CalForOpiates, 4, 5},             {CtrlForOpiates}}}, 11},
        /* 12 */ {R::OrlanLsd,      {1},                 {}, {
            {0.5,  {14},                   {14, 15, 16},                      {8}}},             7},
        /* 13 */ {R::OrlanThcMulti, {1},                 {}, {
            {25,   {6},                    {6, 7, 8},                         {4}},
            {50,   {7},                    {6, 7, 8, 9},                      {5}},
            {100,  {9},                    {7, 8, 9, 10},                     {6}}},             10},
        /* 14 */ {R::VexThc,        {NegCalForVex},      {}, {
            {50,   {70},                   {69, 70, 71, 72},                  {28, 29}},
            {100,  {71},                   {69, 70, 71, 72},                  {30, 31}}},        18},
        /* 15 */ {R::AdultSampleCheck, {1},              {7}, {},                                             14},
        /* 16 */ {R::OrlanBup,      {NegCalForBup},      {}, {
            {5,    {40},                   {40, 41, 42, 43},                  {22}}},            4},
        /* 17 */ {R::VexEtoh,       {24, 25},            {17, 18}, {},                                        22},
        /* 18 */ {R::ToxAcet,       {32},                {43, 44, 45}, {},                                    36},
        /* 19 */ {R::ToxSali,       {33},                {43, 44, 45}, {},                                    37},
        /* 20 */ {R::ToxTca,        {34},                {}, {
            {anyCut, {36},                 {35, 36, 37, 38},                  {TdmControlForTca}}}, 38},
        /* 21 */ {R::OrlanMtd,      {1},                 {}, {
            {300,  {11},                   {11, 12, 13},                      {CtrlForMtdPcpPpx}}}, 8},
        /* 22 */ {R::OrlanPropox,   {1},                 {}, {
            {300,  {11},                   {11, 12, 13},                      {CtrlForMtdPcpPpx}}}, 13},
        /* 23 */ {R::OrlanPcp,      {1},                 {}, {
            {25,   {CalForPcp25},          {CalForPcp25, 4, 5},               {CtrlForMtdPcpPpx}}}, 12},
        /* 24 */ {R::VexCotinine,   {26},                {19, 20}, {},                                        20},
        /* 25 */ {R::VexEcstasy,    {NegCalForVex},      {}, {
            {500,  {21},                   {20, 21, 22, 23},                  {8}}},             21},
        /* 26 */ {R::VexMethaq,     {NegCalForVex},      {}, {
            {300,  {45},                   {44, 45, 46, 47},                  {2}}},             39},
        /* 27 */ {R::VexOpi,        {1},                 {}, {
            {300,  {CalForOpiates},        {CalForOpiates, 4, 5},             {CtrlForOpiates}}}, 25},
        /* 28 */ {R::VexPcp,        {NegCalForVex},      {}, {
            {25,   {45},                   {44, 45, 46, 47},                  {CtrlForMtdPcpPpx}}}, 27},
        /* 29 */ {R::VexPropox,     {NegCalForVex},      {}, {
            {300,  {45},                   {44, 45, 46, 47},                  {CtrlForMtdPcpPpx}}}, 28},
        /* 30 */ {R::VexMtd,        {NegCalForVex},      {}, {
            {300,  {45},                   {44, 45, 46, 47},                  {CtrlForMtdPcpPpx}}}, 23},
        /* 31 */ {R::VexOxy,        {NegCalForVex},      {}, {
            {100,  {48},                   {48, 49, 50, 51},                  {25, 26}}},        26},
        /* 32 */ {R::AdultCreat,    {31},                {15, 16}, {},                                        34},
        /* 33 */ {R::AdultPh,       {29},                {11, 13}, {},                                        33},
        /* 34 */ {R::AdultSg,       {27, 28},            {9, 10}, {},                                         32},
        /* 35 */ {R::ToxBarb,       {34},                {}, {
            {anyCut, {35},                 {35, 36, 37, 38},                  {46}}},            35},
        /* 36 */ {R::ToxBenzo,      {34},                {}, {
            {anyCut, {35},                 {35, 36, 37, 38},                  {46}}},            40},
        /* 37 */ {R::VexEtg,        {59},                {}, {
            {500,  {61},                   {60, 61, 62, 63},                  {32, 33}},
            {1000, {62},                   {60, 61, 62, 63},                  {34, 35}}},        29},
    };
    // clang-format on
    return blocks;
}

// Recorders: the plain run records nothing and compiles to what it was before recording existed;
// the recording run notes each selection in the provenance. Neither touches a flag.
struct NoRecord {
    void operator()(OrderTable, int, AssayRow) const {}
};
struct Record {
    Provenance& p;
    void operator()(OrderTable t, int slot, AssayRow row) const { p.Required(t, slot, row); }
};

// Items are resolved one by one, so a picker sees what the earlier items of its own block
// selected, as well as every earlier block.
template <typename Recorder>
void runBlock(const RuleBlock& b, const AssayState& s, OrderFlags& order, Recorder record) {
    const RowState& row = s[b.row];
    const auto selectCal = [&](int slot) {
        if (slot == 0)
            return;
        PutInOrder(order.Calibs[slot]);
        record(OrderTable::Calibs, slot, b.row);
    };
    const auto selectCtrl = [&](int slot) {
        if (slot == 0)
            return;
        PutInOrder(order.Ctrls[slot]);
        record(OrderTable::Ctrls, slot, b.row);
    };
    for (const Item& i : b.alwaysCal)
        selectCal(i.resolve(s, order));
    for (const Item& i : b.alwaysCtrl)
        selectCtrl(i.resolve(s, order));
    for (const CutCase& c : b.cases) {
        if (c.cut && *c.cut != row.Cut)
            continue;
        for (const Item& i : row.Qual ? c.calQual : c.calFull)
            selectCal(i.resolve(s, order));
        for (const Item& i : c.ctrls)
            selectCtrl(i.resolve(s, order));
        break;  // the first matching cut-off decides
    }
    PutInOrder(order.Assays[b.reagent]);
    record(OrderTable::Assays, b.reagent, b.row);
}

template <typename Recorder>
void runRules(const AssayState& state, OrderFlags& order, Recorder record) {
    ClearOrderFlags(order);
    for (const RuleBlock& b : ruleBlocks())
        if (state.ticked(b.row))
            runBlock(b, state, order, record);
}

}  // namespace

void update(const AssayState& state, OrderFlags& order) {
    runRules(state, order, NoRecord{});
}

void update(const AssayState& state, OrderFlags& order, Provenance& provenance) {
    provenance.BeginRun(state);
    runRules(state, order, Record{provenance});
}

void update(Order& order) {
    update(order.state, order, order.provenance);
}

}  // namespace tovimar
