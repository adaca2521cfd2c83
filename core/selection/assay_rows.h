// The assay panel as data: one row per assay with its frame, controls, position and cut-off
// options. The window builds its rows from this table, the reset walks it, the rules read the
// state it keys. One source for all three.
#pragma once

#include "core/selection/colour_group.h"

#include <array>
#include <cstddef>
#include <span>
#include <string>
#include <string_view>

namespace tovimar {

enum class Frame { Orlan, Vex, Tox, Adult };

// Row keys, frame by frame from top to bottom (the VEX second column last).
enum class AssayRow {
    // ORLAN
    OrlanAmphXtc,
    OrlanBarb,
    OrlanBenzo,
    OrlanBup,
    OrlanCoc,
    OrlanEddp,
    OrlanLsd,
    OrlanMtd,
    OrlanOpi,
    Orlan6am,
    OrlanPcp,
    OrlanPropox,
    OrlanThcMulti,
    // VEX
    VexAmph,
    VexBarb,
    VexBenzo,
    VexThc,
    VexCoc,
    VexCotinine,
    VexEcstasy,
    VexEtoh,
    VexEtg,
    VexMtd,
    VexMethaq,
    VexOpi,
    VexOxy,
    VexPcp,
    VexPropox,
    VexMtdMetab,
    VexKetamine,
    VexFentanyl,
    // Serum TOX
    ToxAcet,
    ToxSali,
    ToxTca,
    ToxBarb,
    ToxBenzo,
    // Adulteration (specimen validity)
    AdultCreat,
    AdultPh,
    AdultSg,
    AdultSampleCheck,
};

inline constexpr std::size_t kAssayRowCount = 40;

inline constexpr std::size_t index(AssayRow r) {
    return static_cast<std::size_t>(r);
}

struct CutOption {
    std::string_view control;  // objectName of the option button, e.g. "Option4"
    std::string_view caption;  // the bare number shown, e.g. "0.5"
    double value;              // the cut-off it stands for
};

// What the reset does to a row's cut-off: the single-option rows keep it (unticking the row clears
// it); the others lose it, and all but ETHYL GLUCURONIDE's have their option unchosen on the screen
// as well, where that row's option stays chosen.
enum class ResetCut { Kept, Cleared, ClearedAndUnchosen };

struct AssayRowDef {
    AssayRow key;
    Frame frame;
    std::string_view keyName;    // "OrlanAmphXtc": the state members are keyName + Sel/Qual/Cut
    std::string_view selectBox;  // "Check1"
    std::string_view caption;    // "AMPH / XTC", exactly as shown
    int top;                     // twips inside the frame
    std::string_view qualBox;    // "" when the row has no QUAL box
    std::string_view container;  // option container ("Picture1"); "" when the row has no options
    std::array<CutOption, 3> optionSlots;
    std::size_t optionCount;
    bool secondColumn;   // the three never-shown VEX rows of the second column
    ColourGroup colour;  // of every box of the row: select, QUAL and options
    ResetCut reset;

    std::span<const CutOption> options() const { return {optionSlots.data(), optionCount}; }
    bool hasQual() const { return !qualBox.empty(); }
    bool hasOptions() const { return optionCount > 0; }
};

// Twips geometry shared by all rows.
struct AssayRowLayout {
    static constexpr int kSelectLeft = 120;
    static constexpr int kSelectWidth = 2200;
    static constexpr int kSelectHeight = 255;
    static constexpr int kValiditySelectHeight = 225;  // CREATININE, pH, SPEC. GRAVITY
    static constexpr int kQualLeft = 2520;
    static constexpr int kQualWidth = 250;
    static constexpr int kQualHeight = 255;
    static constexpr int kSecondColumnSelectLeft = 4800;
    static constexpr int kSecondColumnQualLeft = 5160;
    static constexpr int kOrlanContainerLeft = 3000;
    static constexpr int kVexContainerLeft = 3240;
    static constexpr int kContainerHeight = 255;
    static constexpr int kOptionWidth = 855;
    static constexpr int kOptionHeight = 255;
    static constexpr std::array<int, 3> kOptionLefts{0, 1080, 2160};

    static int selectLeft(const AssayRowDef& r) {
        return r.secondColumn ? kSecondColumnSelectLeft : kSelectLeft;
    }
    static int qualLeft(const AssayRowDef& r) { return r.secondColumn ? kSecondColumnQualLeft : kQualLeft; }
    static int selectHeight(const AssayRowDef& r);
    static int containerLeft(const AssayRowDef& r);
    static int containerWidth(const AssayRowDef& r);
};

// All 40 rows, indexed by AssayRow.
const std::array<AssayRowDef, kAssayRowCount>& AssayRows();

inline const AssayRowDef& RowDef(AssayRow r) {
    return AssayRows()[index(r)];
}

// What a screen reader says after a box's name, so that boxes of the same caption in different
// frames, and a row's QUAL box and options, are told apart: "ORLAN assay" for the select box,
// "ORLAN assay, AMPH / XTC run qualitatively", "ORLAN assay, AMPH / XTC cut-off 500".
std::string_view FrameDescription(Frame f);
std::string QualDescription(const AssayRowDef& r);
std::string CutOptionDescription(const AssayRowDef& r, const CutOption& o);

}  // namespace tovimar
