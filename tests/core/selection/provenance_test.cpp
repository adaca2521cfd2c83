// Why each item is in the order. The record must name exactly the rows whose blocks selected a
// slot (also where a later block only reuses what an earlier one put in through a picker), say
// which items the user added, forget everything with each run, and leave the order, its list
// lines and its file exactly as the plain run of the rules makes them.
#include "core/order/order.h"
#include "core/output/order_file.h"
#include "core/refinement/miss_lists.h"
#include "core/selection/assay_rows.h"
#include "core/selection/assay_state.h"
#include "core/selection/provenance.h"
#include "core/selection/result_lists.h"
#include "core/selection/rules.h"
#include "tests/support/order_lines.h"

#include <gtest/gtest.h>
#include <random>
#include <set>
#include <string>
#include <vector>

namespace tovimar {
namespace {

using R = AssayRow;
using T = OrderTable;
using Rows = std::set<AssayRow>;

struct Tick {
    AssayRow row;
    double cut = 0.0;
    bool qual = false;
};

// One run of the rules with the record, on a fresh order.
struct Ticked {
    Order order;

    explicit Ticked(const std::vector<Tick>& ticks) {
        for (const Tick& t : ticks) {
            order.state.SetSelected(t.row, true);
            order.state.ChooseCut(t.row, t.cut);
            order.state.SetQual(t.row, t.qual);
        }
        update(order);
    }

    std::string cal(int slot) const {
        return tovimar::testing::provenanceText(order.provenance, T::Calibs, slot);
    }
    std::string ctrl(int slot) const {
        return tovimar::testing::provenanceText(order.provenance, T::Ctrls, slot);
    }

    Rows rowsOf(T t, int slot) const {
        Rows rows;
        for (const AssayRowDef& def : AssayRows())
            if (order.provenance.Of(t, slot).requiredBy(def.key))
                rows.insert(def.key);
        return rows;
    }
};

template <typename Table>
int filled(const Table&) {
    return Table::kFilled;
}

// ---- Shared items: every row that selects a slot is named ----------------------------------------

TEST(ProvenanceShared, OneSlotRequiredByTwoRowsNamesBoth) {
    const Ticked r({{R::OrlanAmphXtc, 500}, {R::VexAmph, 500, true}});
    // C 1: ORLAN's negative, and VEX's through its picker while an ORLAN row is ticked.
    EXPECT_EQ(r.cal(1),
              "Required by ORLAN AMPH / XTC (cut-off 500, full) and VEX AMPHETAMINES (cut-off 500, QUAL)");
    // K 1: both amphetamine blocks ask the same picker.
    EXPECT_EQ(r.ctrl(1),
              "Suggested for ORLAN AMPH / XTC (cut-off 500, full) and VEX AMPHETAMINES (cut-off 500, QUAL)");
    // What only one row selects names only that row.
    EXPECT_EQ(r.cal(3), "Required by ORLAN AMPH / XTC (cut-off 500, full)");
    EXPECT_EQ(r.cal(44), "Required by VEX AMPHETAMINES (cut-off 500, QUAL)");
    EXPECT_EQ(r.rowsOf(T::Assays, 1), Rows{R::OrlanAmphXtc});
    EXPECT_EQ(r.rowsOf(T::Assays, 15), Rows{R::VexAmph});
    EXPECT_EQ(r.cal(30), "");  // the VEX negative the picker did not choose

    // More rows: joined as a sentence, in the order the panel shows them, not the ticking order.
    const Ticked three({{R::VexAmph, 500, true}, {R::OrlanLsd, 0.5, true}, {R::OrlanAmphXtc, 500}});
    EXPECT_EQ(three.cal(1), "Required by ORLAN AMPH / XTC (cut-off 500, full), ORLAN LSD (cut-off 0.5, QUAL) "
                            "and VEX AMPHETAMINES (cut-off 500, QUAL)");
}

TEST(ProvenanceShared, UntickingOneRowLeavesOnlyTheOther) {
    Ticked r({{R::OrlanAmphXtc, 500}, {R::VexAmph, 500}});
    r.order.state.SetSelected(R::VexAmph, false);
    update(r.order);
    EXPECT_EQ(r.cal(1), "Required by ORLAN AMPH / XTC (cut-off 500, full)");
    EXPECT_EQ(r.cal(44), "");
    EXPECT_EQ(r.rowsOf(T::Assays, 15), Rows{});
    // The same row at another cut-off is named with the new one.
    r.order.state.ChooseCut(R::OrlanAmphXtc, 1000);
    r.order.state.SetQual(R::OrlanAmphXtc, true);
    update(r.order);
    EXPECT_EQ(r.cal(1), "Required by ORLAN AMPH / XTC (cut-off 1000, QUAL)");
    EXPECT_EQ(r.ctrl(2), "Suggested for ORLAN AMPH / XTC (cut-off 1000, QUAL)");
}

// ---- Pickers that reuse what an earlier block selected ---------------------------------------------

TEST(ProvenancePickers, CocaineReusesTheAmphetamineControlAndCalibrator) {
    // Block 1 at 300 puts in K 27 and C 19, 2, 3, 4; the cocaine pickers then answer K 27 and C 2.
    const Ticked full({{R::OrlanAmphXtc, 300}, {R::OrlanCoc, 300}});
    EXPECT_EQ(full.ctrl(27),
              "Suggested for ORLAN AMPH / XTC (cut-off 300, full) and ORLAN COCAINE (cut-off 300, full)");
    EXPECT_EQ(full.rowsOf(T::Calibs, 2), (Rows{R::OrlanAmphXtc, R::OrlanCoc}));
    EXPECT_EQ(full.rowsOf(T::Calibs, 4), (Rows{R::OrlanAmphXtc, R::OrlanCoc}));
    EXPECT_EQ(full.rowsOf(T::Calibs, 19), Rows{R::OrlanAmphXtc});
    EXPECT_EQ(full.rowsOf(T::Calibs, 5), Rows{R::OrlanCoc});

    // In QUAL mode block 1 puts in C 19 alone, and the cocaine picker reuses that one instead.
    const Ticked qual({{R::OrlanAmphXtc, 300, true}, {R::OrlanCoc, 300}});
    EXPECT_EQ(qual.cal(19),
              "Required by ORLAN AMPH / XTC (cut-off 300, QUAL) and ORLAN COCAINE (cut-off 300, full)");
    EXPECT_EQ(qual.cal(2), "");
    EXPECT_EQ(qual.rowsOf(T::Ctrls, 27), (Rows{R::OrlanAmphXtc, R::OrlanCoc}));
}

TEST(ProvenancePickers, TcaIsNamedForK46OnlyWhereItsBlockSelectedIt) {
    EXPECT_EQ(Ticked({{R::ToxTca}}).ctrl(46), "Suggested for Serum TOX TCA (no cut-off, full)");
    // With ACETAMINOPHEN ticked TCA adds no K 46; BARBITURATE TOX adds it unconditionally.
    const Ticked r({{R::ToxAcet}, {R::ToxTca, 0, true}, {R::ToxBarb}});
    EXPECT_EQ(r.ctrl(46), "Suggested for Serum TOX BARBITURATE TOX (no cut-off, full)");
    EXPECT_EQ(r.ctrl(43), "Suggested for Serum TOX ACETAMINOPHEN (no cut-off)");
    EXPECT_EQ(r.cal(34), "Required by Serum TOX TCA (no cut-off, QUAL) and Serum TOX BARBITURATE TOX "
                         "(no cut-off, full)");
}

TEST(ProvenancePickers, NegativeCalibratorsNameTheRowsThatAskedForThem) {
    const Ticked r({{R::OrlanBup, 5}, {R::VexThc, 50}});
    EXPECT_EQ(r.cal(39), "Required by ORLAN BUPRENORPHINE (cut-off 5, full)");
    EXPECT_EQ(r.cal(30), "Required by VEX CANNABINOID (THC) (cut-off 50, full)");
    EXPECT_EQ(r.cal(1), "");
    // SAMPLE CHECK brings in C 1, which both pickers then answer.
    const Ticked withCheck({{R::OrlanBup, 5}, {R::VexThc, 50}, {R::AdultSampleCheck}});
    EXPECT_EQ(withCheck.cal(1), "Required by ORLAN BUPRENORPHINE (cut-off 5, full), VEX CANNABINOID (THC) "
                                "(cut-off 50, full) and Adulteration SAMPLE CHECK (no cut-off)");
    EXPECT_EQ(withCheck.ctrl(7), "Suggested for Adulteration SAMPLE CHECK (no cut-off)");
}

// ---- How a row is named ---------------------------------------------------------------------------

TEST(ProvenanceRowNames, CutOffAndModeAsTheRowHasThem) {
    // Without cut-off options and QUAL box: only "no cut-off".
    EXPECT_EQ(Ticked({{R::VexEtoh}}).cal(24), "Required by VEX ETHYL ALCOHOL (no cut-off)");
    EXPECT_EQ(Ticked({{R::AdultPh}}).ctrl(11), "Suggested for Adulteration pH (no cut-off)");
    // Ticked, option not yet chosen: only the items of column Always, named so.
    const Ticked waiting({{R::OrlanAmphXtc, 0, true}});
    EXPECT_EQ(waiting.cal(1), "Required by ORLAN AMPH / XTC (no cut-off chosen, QUAL)");
    EXPECT_EQ(waiting.rowsOf(T::Assays, 1), Rows{R::OrlanAmphXtc});
    // Exactly 0.5, not 0.50 or 1/2.
    EXPECT_EQ(Ticked({{R::OrlanLsd, 0.5}}).cal(14), "Required by ORLAN LSD (cut-off 0.5, full)");
    // "BARBITURATES " is shown with a trailing blank; the sentence has none.
    EXPECT_EQ(Ticked({{R::VexBarb, 200}}).cal(45), "Required by VEX BARBITURATES (cut-off 200, full)");
    EXPECT_EQ(Ticked({{R::VexEtg, 1000, true}}).ctrl(34),
              "Suggested for VEX ETHYL GLUCURONIDE (cut-off 1000, QUAL)");
    // A value no option offers is still said as the number it is.
    EXPECT_EQ(Ticked({{R::OrlanAmphXtc, 400}}).cal(1), "Required by ORLAN AMPH / XTC (cut-off 400, full)");
    EXPECT_EQ(Ticked({{R::OrlanLsd, 0.25, true}}).cal(1), "Required by ORLAN LSD (cut-off 0.25, QUAL)");
}

// ---- Additions by the user, and forgetting ---------------------------------------------------------

TEST(ProvenanceAdditions, HandAdditionsAreMarkedAndGoWithTheNextRun) {
    Ticked r({{R::OrlanAmphXtc, 500}});
    // The first and third entries of the adding lists.
    const std::vector<std::int16_t> calMap = CalMissSlots(r.order);
    const std::vector<std::int16_t> ctrlMap = CtrlMissSlots(r.order);
    AddByHand(r.order, calMap, {0, 2}, ctrlMap, {0});

    const std::set<int> handCalibs = {calMap[0], calMap[2]};
    for (int slot = 1; slot <= filled(r.order.Calibs); ++slot) {
        SCOPED_TRACE("C " + std::to_string(slot));
        EXPECT_EQ(r.order.provenance.Of(T::Calibs, slot).byHand, handCalibs.contains(slot));
    }
    EXPECT_EQ(r.cal(calMap[2]), "Added by hand");
    EXPECT_EQ(r.ctrl(ctrlMap[0]), "Added by hand");
    EXPECT_EQ(r.cal(1), "Required by ORLAN AMPH / XTC (cut-off 500, full)");  // untouched

    // The next click runs the rules: the hand additions leave the order and the record.
    update(r.order);
    EXPECT_EQ(r.cal(calMap[2]), "");
    EXPECT_EQ(r.ctrl(ctrlMap[0]), "");
    EXPECT_EQ(r.cal(1), "Required by ORLAN AMPH / XTC (cut-off 500, full)");
}

TEST(ProvenanceAdditions, AnAdditionReplacesWhatAnEarlierOrderLeftForTheSlot) {
    // C 1 was required, then the flags were cleared without a run of the rules; added by hand now,
    // it is in the order by hand only.
    Ticked r({{R::OrlanAmphXtc, 500}});
    ClearOrderFlags(r.order);
    const OrderSnapshot before(r.order);
    r.order.Calibs[1].Selected = 1;
    r.order.provenance.MarkAdded(before, r.order, Addition::ByHand);
    EXPECT_EQ(r.cal(1), "Added by hand");
    EXPECT_EQ(r.order.provenance.Of(T::Calibs, 1).rows, 0U);
}

TEST(ProvenanceAdditions, SelectAllMarksOnlyWhatItAdded) {
    Ticked r({{R::VexEtoh}});
    const OrderSnapshot before(r.order);
    SelectAllItems(r.order);
    r.order.provenance.MarkAdded(before, r.order, Addition::SelectAll);

    EXPECT_EQ(r.cal(24), "Required by VEX ETHYL ALCOHOL (no cut-off)");
    EXPECT_EQ(r.ctrl(18), "Suggested for VEX ETHYL ALCOHOL (no cut-off)");
    EXPECT_EQ(r.rowsOf(T::Assays, 22), Rows{R::VexEtoh});
    EXPECT_EQ(r.cal(2), "Added by select all");
    EXPECT_EQ(tovimar::testing::provenanceText(r.order.provenance, T::Assays, 1), "Added by select all");

    // One sentence per line, in the lines' order, and each says one of the two.
    std::vector<std::string> lines = tovimar::testing::calibLines(r.order), reasons;
    CalibListReasons(r.order, reasons);
    ASSERT_EQ(reasons.size(), lines.size());
    int selectAll = 0;
    for (const std::string& text : reasons)
        selectAll += text == "Added by select all";
    EXPECT_EQ(selectAll, static_cast<int>(lines.size()) - 2);  // all but C 24 and 25
    int lineOfC24 = 0;
    for (int slot = 1; slot < 24; ++slot)
        lineOfC24 += r.order.Calibs[slot].Selected == 1;
    EXPECT_EQ(reasons[static_cast<std::size_t>(lineOfC24)], "Required by VEX ETHYL ALCOHOL (no cut-off)");

    // With quantities a line not of the default 1 says its quantity on a line of its own; the
    // others keep their sentence as it was.
    OrderPlan& plan = r.order.plan;
    ASSERT_TRUE(plan.SetTyped(T::Calibs, TheCatalogue().Calibs[24].OrderNo1, 3));
    ASSERT_TRUE(plan.SetWorkload({1, 0, 6, 0}));
    ASSERT_TRUE(plan.SetUsesPerPack(T::Calibs, TheCatalogue().Calibs[2].OrderNo1, 4));
    std::vector<std::string> planned = reasons;  // refilled in place, as the window does
    CalibListReasons(r.order, planned);
    reasons[static_cast<std::size_t>(lineOfC24)] += "\nQuantity 3, typed.";
    reasons[1] += "\nQuantity 2, suggested from 6 calibrations a month, 4 calibrations a pack, 1 month.";
    ASSERT_EQ(r.order.Calibs[1].Selected, 1);  // C 2 is the second line
    EXPECT_EQ(planned, reasons);

    // Slots with no catalogue number stay out of the order and out of the record.
    for (int slot = 1; slot <= filled(r.order.Calibs); ++slot)
        EXPECT_EQ(r.order.provenance.Of(T::Calibs, slot).empty(), r.order.Calibs[slot].Selected != 1)
            << "C " << slot;
}

// ---- Recording changes nothing of the order --------------------------------------------------------

AssayState randomState(std::mt19937& rng) {
    AssayState s;
    std::bernoulli_distribution ticked(0.3), qual(0.4);
    for (const AssayRowDef& def : AssayRows()) {
        if (!ticked(rng))
            continue;
        s.SetSelected(def.key, true);
        if (def.hasQual())
            s.SetQual(def.key, qual(rng));
        if (def.hasOptions()) {
            // No option chosen yet, or one of the row's options.
            std::uniform_int_distribution<std::size_t> pick(0, def.optionCount);
            const std::size_t n = pick(rng);
            s.ChooseCut(def.key, n == 0 ? 0.0 : def.options()[n - 1].value);
        }
    }
    return s;
}

TEST(ProvenanceProperty, RecordingLeavesTheOrderByteForByteAndNamesOnlyTickedRows) {
    std::mt19937 rng(20110923);
    std::bernoulli_distribution altSize(0.3);
    // The rules on the flags alone; on the flags with a record beside them; on a whole order.
    Order plain, recorded;
    OrderFlags beside;
    Provenance prov;
    for (int run = 0; run < 1500; ++run) {
        SCOPED_TRACE("run " + std::to_string(run));
        const AssayState s = randomState(rng);
        // Bottle sizes survive the rules; give every order the same ones.
        for (int slot = 1; slot <= filled(plain.Calibs); ++slot)
            plain.Calibs[slot].SizeChoice = recorded.Calibs[slot].SizeChoice =
                beside.Calibs[slot].SizeChoice = altSize(rng) ? 2 : 0;
        update(s, plain);
        update(s, beside, prov);
        recorded.state = s;
        update(recorded);
        ASSERT_TRUE(beside == static_cast<const OrderFlags&>(recorded));
        ASSERT_TRUE(prov == recorded.provenance);

        for (int slot = 1; slot <= filled(plain.Calibs); ++slot)
            ASSERT_EQ(plain.Calibs[slot].Selected, recorded.Calibs[slot].Selected) << "C " << slot;
        for (int slot = 1; slot <= filled(plain.Ctrls); ++slot)
            ASSERT_EQ(plain.Ctrls[slot].Selected, recorded.Ctrls[slot].Selected) << "K " << slot;
        for (int slot = 1; slot <= filled(plain.Assays); ++slot)
            ASSERT_EQ(plain.Assays[slot].Selected, recorded.Assays[slot].Selected) << "R " << slot;
        const std::vector<std::string> calLines = tovimar::testing::calibLines(recorded);
        const std::vector<std::string> ctrlLines = tovimar::testing::ctrlLines(recorded);
        ASSERT_EQ(tovimar::testing::calibLines(plain), calLines);
        ASSERT_EQ(tovimar::testing::ctrlLines(plain), ctrlLines);
        ASSERT_EQ(OrderListText(plain), OrderListText(recorded));

        // Listed exactly when something is recorded, and only ticked rows are named, as they
        // stood when the rules read them.
        const auto check = [&](T t, const auto& table, char letter) {
            for (int slot = 1; slot <= filled(table); ++slot) {
                const Provenance::Sources& src = prov.Of(t, slot);
                ASSERT_EQ(src.empty(), table[slot].Selected != 1) << letter << " " << slot;
                ASSERT_FALSE(src.byHand || src.bySelectAll);
                for (const AssayRowDef& def : AssayRows())
                    if (src.requiredBy(def.key)) {
                        ASSERT_TRUE(s.ticked(def.key)) << letter << " " << slot << " names " << def.keyName;
                        ASSERT_EQ(prov.RowAtRun(def.key), s[def.key]);
                    }
            }
        };
        check(T::Calibs, recorded.Calibs, 'C');
        check(T::Ctrls, recorded.Ctrls, 'K');
        check(T::Assays, recorded.Assays, 'R');

        // Every reagent belongs to one row, and every ticked row with a block has its reagent
        // and at least one calibrator (its column Always).
        for (const AssayRowDef& def : AssayRows()) {
            if (!s.ticked(def.key) || def.secondColumn)
                continue;
            int reagents = 0;
            for (int slot = 1; slot <= filled(recorded.Assays); ++slot)
                if (prov.Of(T::Assays, slot).requiredBy(def.key)) {
                    ++reagents;
                    ASSERT_EQ(prov.Of(T::Assays, slot).rows, std::uint64_t{1} << index(def.key));
                }
            ASSERT_EQ(reagents, 1) << def.keyName;
            bool calibrator = false;
            for (int slot = 1; slot <= filled(recorded.Calibs); ++slot)
                calibrator = calibrator || prov.Of(T::Calibs, slot).requiredBy(def.key);
            ASSERT_TRUE(calibrator) << def.keyName;
        }

        std::vector<std::string> calReasons, ctrlReasons;
        CalibListReasons(recorded, calReasons);
        CtrlListReasons(recorded, ctrlReasons);
        ASSERT_EQ(calReasons.size(), calLines.size());
        ASSERT_EQ(ctrlReasons.size(), ctrlLines.size());
        for (const std::string& text : calReasons)
            ASSERT_EQ(text.rfind("Required by ", 0), 0U) << text;
        for (const std::string& text : ctrlReasons)
            ASSERT_EQ(text.rfind("Suggested for ", 0), 0U) << text;
    }
}

}  // namespace
}  // namespace tovimar
