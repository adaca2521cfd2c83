#include "core/selection/assay_rows.h"

namespace tovimar {

namespace {

using R = AssayRow;
using F = Frame;
using G = ColourGroup;
using C = ResetCut;

constexpr std::array<CutOption, 3> none{};

constexpr std::array<CutOption, 3> opts(CutOption a) {
    return {a, {}, {}};
}
constexpr std::array<CutOption, 3> opts(CutOption a, CutOption b) {
    return {a, b, {}};
}
constexpr std::array<CutOption, 3> opts(CutOption a, CutOption b, CutOption c) {
    return {a, b, c};
}

// clang-format off
constexpr std::array<AssayRowDef, kAssayRowCount> kRows{{
    // key               frame     keyName             select      caption                  top   QUAL       container
    //     options, count, second column, colour group, what the reset does to the cut-off
    {R::OrlanAmphXtc,    F::Orlan, "OrlanAmphXtc",     "Check1",   "AMPH / XTC",            840,  "Check21", "Picture1",
        opts({"Option4", "300", 300}, {"Option5", "500", 500}, {"Option6", "1000", 1000}), 3, false, G::O, C::ClearedAndUnchosen},
    {R::OrlanBarb,       F::Orlan, "OrlanBarb",        "Check4",   "BARBITURATES",          1200, "Check25", "Picture2",
        opts({"Option9", "200", 200}, {"Option8", "300", 300}), 2, false, G::O, C::ClearedAndUnchosen},
    {R::OrlanBenzo,      F::Orlan, "OrlanBenzo",       "Check3",   "BENZODIAZEPINES",       1560, "Check24", "Picture3",
        opts({"Option7", "200", 200}, {"Option10", "300", 300}), 2, false, G::O, C::ClearedAndUnchosen},
    {R::OrlanBup,        F::Orlan, "OrlanBup",         "Check11",  "BUPRENORPHINE",         1920, "Check32", "Picture4",
        opts({"Option22", "5", 5}), 1, false, G::O, C::Kept},
    {R::OrlanCoc,        F::Orlan, "OrlanCoc",         "Check6",   "COCAINE",               2280, "Check27", "Picture5",
        opts({"Option12", "150", 150}, {"Option11", "300", 300}), 2, false, G::O, C::ClearedAndUnchosen},
    {R::OrlanEddp,       F::Orlan, "OrlanEddp",        "Check5",   "EDDP",                  2640, "Check26", "Picture6",
        opts({"Option23", "100", 100}), 1, false, G::O, C::Kept},
    {R::OrlanLsd,        F::Orlan, "OrlanLsd",         "Check8",   "LSD",                   3000, "Check29", "Picture7",
        opts({"Option24", "0.5", 0.5}), 1, false, G::O, C::Kept},
    {R::OrlanMtd,        F::Orlan, "OrlanMtd",         "Check7",   "METHADONE",             3360, "Check28", "Picture8",
        opts({"Option25", "300", 300}), 1, false, G::O, C::Kept},
    {R::OrlanOpi,        F::Orlan, "OrlanOpi",         "Check10",  "OPIATES",               3720, "Check31", "Picture12",
        opts({"Option26", "300", 300}), 1, false, G::O, C::Kept},
    {R::Orlan6am,        F::Orlan, "Orlan6am",         "Check2",   "6-AM",                  4080, "Check23", "Picture13",
        opts({"Option27", "10", 10}), 1, false, G::O, C::Kept},
    {R::OrlanPcp,        F::Orlan, "OrlanPcp",         "Check9",   "PHENCYCLIDINE",         4440, "Check30", "Picture14",
        opts({"Option28", "25", 25}), 1, false, G::O, C::Kept},
    {R::OrlanPropox,     F::Orlan, "OrlanPropox",      "Check12",  "PROPOXYPHENE",          4800, "Check33", "Picture15",
        opts({"Option29", "300", 300}), 1, false, G::O, C::Kept},
    {R::OrlanThcMulti,   F::Orlan, "OrlanThcMulti",    "Check14",  "MULTI-LEVEL THC",       5160, "Check35", "Picture16",
        opts({"Option1", "25", 25}, {"Option2", "50", 50}, {"Option3", "100", 100}), 3, false, G::O, C::ClearedAndUnchosen},

    {R::VexAmph,         F::Vex,   "VexAmph",          "Check34",  "AMPHETAMINES",          840,  "Check36", "Picture17",
        opts({"Option15", "500", 500}, {"Option16", "1000", 1000}), 2, false, G::V, C::ClearedAndUnchosen},
    {R::VexBarb,         F::Vex,   "VexBarb",          "Check40",  "BARBITURATES ",         1200, "Check41", "Picture18",
        opts({"Option31", "200", 200}), 1, false, G::V, C::Kept},
    {R::VexBenzo,        F::Vex,   "VexBenzo",         "Check42",  "BENZODIAZEPINES",       1560, "Check43", "Picture19",
        opts({"Option30", "200", 200}), 1, false, G::V, C::Kept},
    {R::VexThc,          F::Vex,   "VexThc",           "Check44",  "CANNABINOID (THC)",     1920, "Check45", "Picture20",
        opts({"Option14", "50", 50}, {"Option13", "100", 100}), 2, false, G::V, C::ClearedAndUnchosen},
    {R::VexCoc,          F::Vex,   "VexCoc",           "Check46",  "COCAINE",               2280, "Check47", "Picture21",
        opts({"Option17", "150", 150}, {"Option18", "300", 300}), 2, false, G::V, C::ClearedAndUnchosen},
    {R::VexCotinine,     F::Vex,   "VexCotinine",      "Check17",  "COTININE",              2640, "",        "",
        none, 0, false, G::V, C::Kept},
    {R::VexEcstasy,      F::Vex,   "VexEcstasy",       "Check111", "ECSTASY",               3000, "Check112", "Picture22",
        opts({"Option32", "500", 500}), 1, false, G::V, C::Kept},
    {R::VexEtoh,         F::Vex,   "VexEtoh",          "Check13",  "ETHYL ALCOHOL",         3360, "",        "",
        none, 0, false, G::V, C::Kept},
    {R::VexEtg,          F::Vex,   "VexEtg",           "Check56",  "ETHYL GLUCURONIDE",     3720, "Check57", "Picture23",
        opts({"Option34", "500", 500.0}, {"Option33", "1000", 1000.0}), 2, false, G::V, C::Cleared},
    {R::VexMtd,          F::Vex,   "VexMtd",           "Check49",  "METHADONE",             4080, "Check48", "Picture24",
        opts({"Option35", "300", 300}), 1, false, G::V, C::Kept},
    {R::VexMethaq,       F::Vex,   "VexMethaq",        "Check65",  "METHAQUALONE",          4440, "Check66", "Picture25",
        opts({"Option36", "300", 300}), 1, false, G::V, C::Kept},
    {R::VexOpi,          F::Vex,   "VexOpi",           "Check52",  "OPIATES",               4800, "Check53", "Picture26",
        opts({"Option37", "300", 300}), 1, false, G::V, C::Kept},
    {R::VexOxy,          F::Vex,   "VexOxy",           "Check38",  "OXYCODONE",             5160, "Check37", "Picture27",
        opts({"Option38", "100", 100}), 1, false, G::V, C::Kept},
    {R::VexPcp,          F::Vex,   "VexPcp",           "Check54",  "PHENCYCLIDINE",         5520, "Check55", "Picture28",
        opts({"Option39", "25", 25}), 1, false, G::V, C::Kept},
    {R::VexPropox,       F::Vex,   "VexPropox",        "Check58",  "PROPOXYPHENE",          5880, "Check59", "Picture29",
        opts({"Option40", "300", 300.0}), 1, false, G::V, C::Kept},
    {R::VexMtdMetab,     F::Vex,   "VexMtdMetab",      "Check50",  "METHADONE METABOLITE",  5280, "Check51", "",
        none, 0, true, G::V, C::Kept},
    {R::VexKetamine,     F::Vex,   "VexKetamine",      "Check62",  "KETAMINE",              5640, "Check63", "",
        none, 0, true, G::V, C::Kept},
    {R::VexFentanyl,     F::Vex,   "VexFentanyl",      "Check70",  "FENTANYL",              6000, "Check61", "",
        none, 0, true, G::V, C::Kept},

    {R::ToxAcet,         F::Tox,   "ToxAcet",          "Check16",  "ACETAMINOPHEN",         840,  "",        "",
        none, 0, false, G::V, C::Kept},
    {R::ToxSali,         F::Tox,   "ToxSali",          "Check15",  "SALICYLATE",            1200, "",        "",
        none, 0, false, G::V, C::Kept},
    {R::ToxTca,          F::Tox,   "ToxTca",           "Check18",  "TCA",                   1560, "Check39", "",
        none, 0, false, G::V, C::Kept},
    {R::ToxBarb,         F::Tox,   "ToxBarb",          "Check67",  "BARBITURATE TOX",       1920, "Check69", "",
        none, 0, false, G::V, C::Kept},
    {R::ToxBenzo,        F::Tox,   "ToxBenzo",         "Check64",  "BENZODIAZEPINE TOX",    2280, "Check68", "",
        none, 0, false, G::V, C::Kept},

    {R::AdultCreat,      F::Adult, "AdultCreat",       "Check19",  "CREATININE",            840,  "",        "",
        none, 0, false, G::V, C::Kept},
    {R::AdultPh,         F::Adult, "AdultPh",          "Check22",  "pH",                    1200, "",        "",
        none, 0, false, G::V, C::Kept},
    {R::AdultSg,         F::Adult, "AdultSg",          "Check106", "SPEC. GRAVITY",         1560, "",        "",
        none, 0, false, G::V, C::Kept},
    {R::AdultSampleCheck, F::Adult, "AdultSampleCheck", "Check60", "SAMPLE CHECK",          1920, "",        "",
        none, 0, false, G::O, C::Kept},
}};
// clang-format on

constexpr bool keysInOrder() {
    for (std::size_t i = 0; i < kRows.size(); ++i)
        if (index(kRows[i].key) != i)
            return false;
    return true;
}
static_assert(keysInOrder(), "row table must be indexed by its keys");

}  // namespace

const std::array<AssayRowDef, kAssayRowCount>& AssayRows() {
    return kRows;
}

int AssayRowLayout::selectHeight(const AssayRowDef& r) {
    const bool shortRow =
        r.key == AssayRow::AdultCreat || r.key == AssayRow::AdultPh || r.key == AssayRow::AdultSg;
    return shortRow ? kValiditySelectHeight : kSelectHeight;
}

int AssayRowLayout::containerLeft(const AssayRowDef& r) {
    return r.frame == Frame::Orlan ? kOrlanContainerLeft : kVexContainerLeft;
}

int AssayRowLayout::containerWidth(const AssayRowDef& r) {
    // Wide enough for the row's options at their fixed lefts.
    return r.optionCount == 0 ? 0 : kOptionLefts[r.optionCount - 1] + kOptionWidth;
}

std::string_view FrameDescription(Frame f) {
    switch (f) {
    case Frame::Orlan:
        return "ORLAN assay";
    case Frame::Vex:
        return "VEX assay";
    case Frame::Tox:
        return "Serum TOX assay";
    case Frame::Adult:
        return "Adulteration assay";
    }
    return {};
}

namespace {
// The frame and the row's caption as shown, without the trailing blank some captions carry.
std::string rowPhrase(const AssayRowDef& r) {
    std::string_view caption = r.caption;
    while (!caption.empty() && caption.back() == ' ')
        caption.remove_suffix(1);
    std::string out(FrameDescription(r.frame));
    out += ", ";
    out += caption;
    return out;
}
}  // namespace

std::string QualDescription(const AssayRowDef& r) {
    return rowPhrase(r) + " run qualitatively";
}

std::string CutOptionDescription(const AssayRowDef& r, const CutOption& o) {
    std::string out = rowPhrase(r);
    out += " cut-off ";
    out += o.caption;
    return out;
}

}  // namespace tovimar
