// The assay row table and the state transitions of the panel.
#include "core/selection/assay_state.h"

#include <gtest/gtest.h>
#include <set>
#include <string>

namespace tovimar {
namespace {

TEST(AssayRows, CountsOfMembersAndUniqueControlNames) {
    int qual = 0, cut = 0, options = 0;
    std::set<std::string_view> names;
    for (const AssayRowDef& r : AssayRows()) {
        qual += r.hasQual();
        cut += r.hasOptions();
        options += static_cast<int>(r.optionCount);
        EXPECT_TRUE(names.insert(r.selectBox).second) << r.selectBox;
        if (r.hasQual()) {
            EXPECT_TRUE(names.insert(r.qualBox).second) << r.qualBox;
        }
        if (r.hasOptions()) {
            EXPECT_TRUE(names.insert(r.container).second) << r.container;
        }
        for (const CutOption& o : r.options())
            EXPECT_TRUE(names.insert(o.control).second) << o.control;
        // A row has cut-off options only together with its QUAL box.
        if (r.hasOptions()) {
            EXPECT_TRUE(r.hasQual()) << r.keyName;
        }
    }
    EXPECT_EQ(qual, 32);
    EXPECT_EQ(cut, 26);
    EXPECT_EQ(options, 37);  // Option1..18 and Option22..40
}

TEST(AssayRows, OptionButtonsAreExactlyOption1To18And22To40) {
    std::set<std::string> seen;
    for (const AssayRowDef& r : AssayRows())
        for (const CutOption& o : r.options())
            seen.insert(std::string(o.control));
    std::set<std::string> expected;
    for (int n = 1; n <= 40; ++n)
        if (n < 19 || n > 21)
            expected.insert("Option" + std::to_string(n));
    EXPECT_EQ(seen, expected);
}

TEST(AssayRows, RowsOfAFrameAre360TwipsApartFromTop840) {
    for (Frame f : {Frame::Orlan, Frame::Vex, Frame::Tox, Frame::Adult}) {
        int expectedTop = 840;
        for (const AssayRowDef& r : AssayRows()) {
            if (r.frame != f || r.secondColumn)
                continue;
            EXPECT_EQ(r.top, expectedTop) << r.keyName;
            expectedTop += 360;
        }
    }
    EXPECT_EQ(RowDef(AssayRow::VexMtdMetab).top, 5280);
    EXPECT_EQ(RowDef(AssayRow::VexFentanyl).top, 6000);
}

TEST(AssayRows, CaptionsAndSpecialValuesAsShown) {
    EXPECT_EQ(RowDef(AssayRow::VexBarb).caption, "BARBITURATES ");  // trailing blank kept
    EXPECT_EQ(RowDef(AssayRow::OrlanLsd).options()[0].value, 0.5);
    EXPECT_EQ(RowDef(AssayRow::OrlanLsd).options()[0].caption, "0.5");
    EXPECT_EQ(RowDef(AssayRow::AdultSg).caption, "SPEC. GRAVITY");
    EXPECT_EQ(AssayRowLayout::selectHeight(RowDef(AssayRow::AdultPh)), 225);
    EXPECT_EQ(AssayRowLayout::selectHeight(RowDef(AssayRow::AdultSampleCheck)), 255);
    // Options keep the order of the table, which is not always ascending.
    const auto barb = RowDef(AssayRow::OrlanBarb).options();
    EXPECT_EQ(barb[0].control, "Option9");
    EXPECT_EQ(barb[1].control, "Option8");
}

TEST(AssayStateTransitions, UntickingARowWithOptionsClearsItsQualAndCutOff) {
    AssayState s;
    s.SetSelected(AssayRow::OrlanAmphXtc, true);
    s.ChooseCut(AssayRow::OrlanAmphXtc, 500);
    s.SetQual(AssayRow::OrlanAmphXtc, true);
    EXPECT_TRUE(s.at(AssayRow::OrlanAmphXtc, 500));
    s.SetSelected(AssayRow::OrlanAmphXtc, false);
    EXPECT_EQ(s[AssayRow::OrlanAmphXtc].Cut, 0.0);
    EXPECT_FALSE(s[AssayRow::OrlanAmphXtc].Qual);
    s.SetSelected(AssayRow::OrlanAmphXtc, true);
    EXPECT_EQ(s[AssayRow::OrlanAmphXtc].Cut, 0.0);  // no default cut-off on ticking again
    EXPECT_FALSE(s[AssayRow::OrlanAmphXtc].Qual);
}

TEST(AssayStateTransitions, UntickingTcaKeepsItsQualMark) {
    AssayState s;
    s.SetSelected(AssayRow::ToxTca, true);
    s.SetQual(AssayRow::ToxTca, true);
    s.SetSelected(AssayRow::ToxTca, false);
    EXPECT_FALSE(s.ticked(AssayRow::ToxTca));
    EXPECT_TRUE(s[AssayRow::ToxTca].Qual);
    s.SetSelected(AssayRow::ToxTca, true);
    EXPECT_TRUE(s[AssayRow::ToxTca].Qual);
}

TEST(AssayStateTransitions, CutOffTestsNeedTheRowTickedAndExactValues) {
    AssayState s;
    s.ChooseCut(AssayRow::OrlanLsd, 0.5);
    EXPECT_FALSE(s.at(AssayRow::OrlanLsd, 0.5));  // not ticked
    s[AssayRow::OrlanLsd].Sel = true;
    EXPECT_TRUE(s.at(AssayRow::OrlanLsd, 0.5));
    s.SetSelected(AssayRow::OrlanAmphXtc, true);
    EXPECT_FALSE(s.above(AssayRow::OrlanAmphXtc, 300));  // no cut-off chosen yet
    s.ChooseCut(AssayRow::OrlanAmphXtc, 300);
    EXPECT_FALSE(s.above(AssayRow::OrlanAmphXtc, 300));
    s.ChooseCut(AssayRow::OrlanAmphXtc, 1000);
    EXPECT_TRUE(s.above(AssayRow::OrlanAmphXtc, 300));
    s.Clear();
    EXPECT_EQ(s, AssayState{});
}

}  // namespace
}  // namespace tovimar
