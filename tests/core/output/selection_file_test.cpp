// The selection file: every way a file can be wrong is refused with its own sentence and place, what
// people write by hand is read as meant, and any session saved and opened again gives the same order
// byte for byte, the same ticks and the same bottle sizes.
#include "core/order/order.h"
#include "core/output/order_file.h"
#include "core/output/selection_file.h"
#include "core/planning/order_plan.h"
#include "core/refinement/miss_lists.h"
#include "core/refinement/size_boxes.h"
#include "core/selection/rules.h"

#include <algorithm>
#include <cctype>
#include <cstdint>
#include <gtest/gtest.h>
#include <optional>
#include <random>
#include <string>
#include <vector>

namespace tovimar {
namespace {

using R = AssayRow;
using T = OrderTable;

const std::string kHead = "{\"format\": \"tovimar-selection\", \"version\": 1, ";

std::string file(const std::string& body) {
    return kHead + body + "}";
}

std::string assays(const std::string& list) {
    return file("\"assays\": [" + list + "]");
}

std::string quoted(const std::string& s) {
    return "\"" + s + "\"";
}

TEST(SelectionFile, EveryBadFileIsRefusedWithItsSentenceAndPlace) {
    const Catalogue& cat = TheCatalogue();
    const std::string amph = cat.Assays[15].OrderNo1, amphBig = cat.Assays[15].OrderNo2;
    const std::string ecstasy = cat.Assays[21].OrderNo1;  // one size only
    const std::string sgCal = cat.Calibs[27].OrderNo1;    // one pack only
    const std::string ctrl = cat.Ctrls[15].OrderNo;
    std::string tooLarge = file("\"assays\": []");
    tooLarge.append(kSelectionMaxBytes + 1 - tooLarge.size(), ' ');

    struct Case {
        std::string file;
        std::string problem;
        bool syntax = false;  // only the place and the first words: the rest is the JSON parser's
    };
    const std::vector<Case> cases = {
        {tooLarge, "The file is 1048577 bytes long, more than the 1 MiB a selection file may hold."},
        {" \r\n\t", "The file is empty."},
        {"{\n  \"format\": \"tovimar-selection\",\n  \"assays\": [}\n}",
         "line 3, column 14: The file is not valid JSON: ", true},
        // Columns count characters, not bytes.
        {"{\"format\": \"\xC3\xA9\", x}", "line 1, column 17: The file is not valid JSON: ", true},
        {"{\"format\": \"\xFF\"}", "line 1, column 13: The file is not valid JSON: ", true},
        {file("\"comment\": 1e400"), "line 1, column 62: The file is not valid JSON: ", true},
        {file("\"assays\": []") + " {}", "line 1, column 61: The file is not valid JSON: ", true},
        {"[]", "The file must be one JSON object, not an array."},
        // UTF-16, with its byte-order mark or without (its NUL bytes tell).
        {std::string("\xFF\xFE{\0}\0", 6), "The file is UTF-16 text (it begins with a UTF-16 byte-order "
                                           "mark); a selection file must be UTF-8."},
        {std::string("{\0}\0", 4), "The file holds NUL bytes, so it is not UTF-8 text (UTF-16 has them); a "
                                   "selection file must be UTF-8."},
        // A key twice in one object: the parser would keep the last, and an assay would vanish.
        {"{\n \"format\": \"tovimar-selection\", \"version\": 1,\n \"assays\": [],\n \"assays\": []\n}",
         "line 4, column 2: The key \"assays\" is given twice in one object; the first is on line 3."},
        {"{\"format\": \"tovimar-selection\", \"version\": 1, \"version\": 2}",
         "line 1, column 47: The key \"version\" is given twice in one object; the first is earlier on this "
         "line."},
        {file("\"assays\": [],\n\"as\\u0073ays\": []"),
         "line 2, column 1: The key \"assays\" is given twice in one object; the first is on line 1."},
        {assays("{\"frame\": \"ORLAN\", \"assay\": \"LSD\",\n \"assay\": \"THC\"}"),
         "line 2, column 2: The key \"assay\" is given twice in one object; the first is on line 1."},
        {"{\"version\": 1}", "format: This is not a Tovimar selection: the file has no \"format\"."},
        // Controls that JSON leaves unescaped (DEL, C1) are escaped in the message all the same.
        {"{\"format\": \"a\x7F\xC2\x85\"}", "format: This is not a Tovimar selection: \"format\" is "
                                            "\"a\\u007f\\u0085\", not \"tovimar-selection\"."},
        {"{\"format\": \"tovimar-order\", \"version\": 1}",
         "format: This is not a Tovimar selection: \"format\" is \"tovimar-order\", not "
         "\"tovimar-selection\"."},
        {"{\"format\": \"tovimar-selection\"}", "version: The file has no \"version\"."},
        {"{\"format\": \"tovimar-selection\", \"version\": \"1\"}",
         "version: The value of \"version\" must be a whole number, not a text in quotes."},
        {"{\"format\": \"tovimar-selection\", \"version\": 1.5}",
         "version: The value of \"version\" must be a whole number, not 1.5."},
        {"{\"format\": \"tovimar-selection\", \"version\": 99999999999999999999999}",
         "version: The version number is out of range, far too large for any version; this Tovimar reads "
         "versions up to 3."},
        {"{\"format\": \"tovimar-selection\", \"version\": -99999999999999999999999}",
         "version: The version must be 1 or more, not a negative number."},
        {"{\"format\": \"tovimar-selection\", \"version\": 0}",
         "version: The version must be 1 or more, not 0."},
        {"{\"format\": \"tovimar-selection\", \"version\": 4, \"assays\": 7}",
         "version: This file was written by a newer Tovimar (selection version 4); this Tovimar reads "
         "versions up to 3."},
        {file("\"assays\": {}"), "assays: The value of \"assays\" must be an array, not an object."},
        {assays("[]"), "assays[0]: Each assay must be an object, not an array."},
        {assays("{\"assay\": \"LSD\"}"), "assays[0]: The assay has no \"frame\"."},
        {assays("{\"frame\": \"ORLAN\"}"), "assays[0]: The assay has no \"assay\"."},
        {assays("{\"frame\": 1, \"assay\": \"LSD\"}"),
         "assays[0].frame: The value of \"frame\" must be a text in quotes, not a number."},
        {assays("{\"frame\": \"SERUM\", \"assay\": \"LSD\"}"),
         "assays[0].frame: Unknown frame \"SERUM\"; the frames are ORLAN, VEX, TOX and ADULT."},
        {assays("{\"frame\": \"ORLAN\", \"assay\": \"AMPH/XTC\"}"),
         "assays[0].assay: Unknown assay \"AMPH/XTC\" in frame ORLAN."},
        {assays("{\"frame\": \"VEX\", \"assay\": \"TCA\"}"),
         "assays[0].assay: Unknown assay \"TCA\" in frame VEX."},
        {assays("{\"frame\": \"VEX\", \"assay\": \"FENTANYL\"}"),
         "assays[0].assay: Assay \"FENTANYL\" in frame VEX is never shown and cannot be ticked."},
        {assays("{\"frame\": \"ORLAN\", \"assay\": \"LSD\"}, {\"frame\": \"TOX\", \"assay\": \"TCA\"}, "
                "{\"frame\": \"orlan\", \"assay\": \" lsd \"}"),
         "assays[2]: Assay \"LSD\" in frame ORLAN is listed twice, also as assays[0]."},
        {assays("{\"frame\": \"ORLAN\", \"assay\": \"AMPH / XTC\", \"cutoff\": 250}"),
         "assays[0].cutoff: Assay \"AMPH / XTC\" in frame ORLAN offers no cut-off 250; its cut-offs are 300, "
         "500 "
         "and 1000."},
        {assays("{\"frame\": \"ORLAN\", \"assay\": \"BUPRENORPHINE\", \"cutoff\": 0}"),
         "assays[0].cutoff: Assay \"BUPRENORPHINE\" in frame ORLAN offers no cut-off 0; its only cut-off is "
         "5."},
        {assays("{\"frame\": \"VEX\", \"assay\": \"COTININE\", \"cutoff\": 10}"),
         "assays[0].cutoff: Assay \"COTININE\" in frame VEX has no cut-off to choose."},
        {assays("{\"frame\": \"ORLAN\", \"assay\": \"LSD\", \"cutoff\": \"0.5\"}"),
         "assays[0].cutoff: The value of \"cutoff\" must be a number, not a text in quotes."},
        {assays("{\"frame\": \"ADULT\", \"assay\": \"pH\", \"qual\": false}"),
         "assays[0].qual: Assay \"pH\" in frame ADULT has no QUAL box."},
        {assays("{\"frame\": \"TOX\", \"assay\": \"TCA\", \"qual\": 1}"),
         "assays[0].qual: The value of \"qual\" must be true or false, not a number."},
        {file("\"bottleSizes\": \"" + amphBig + "\""),
         "bottleSizes: The value of \"bottleSizes\" must be an array, not a text in quotes."},
        {file("\"bottleSizes\": [4155]"),
         "bottleSizes[0]: A catalogue number must be a text in quotes, not a number."},
        {file("\"bottleSizes\": [\"" + amphBig + "\", \"XX 1\"]"),
         "bottleSizes[1]: Unknown catalogue number \"XX 1\"."},
        {file("\"bottleSizes\": [" + quoted(amph) + "]"), "bottleSizes[0]: Catalogue number " + quoted(amph) +
                                                              " is the standard size; its alternative is " +
                                                              quoted(amphBig) + "."},
        {file("\"bottleSizes\": [" + quoted(ecstasy) + "]"),
         "bottleSizes[0]: Catalogue number " + quoted(ecstasy) +
             " is a reagent without an alternative size."},
        {file("\"bottleSizes\": [" + quoted(sgCal) + "]"),
         "bottleSizes[0]: Catalogue number " + quoted(sgCal) +
             " is a calibrator without an alternative size."},
        {file("\"bottleSizes\": [" + quoted(ctrl) + "]"),
         "bottleSizes[0]: Catalogue number " + quoted(ctrl) +
             " is a control, and controls come in one size."},
        {file("\"added\": []"), "added: The value of \"added\" must be an object, not an array."},
        {file("\"added\": {\"controls\": null}"),
         "added.controls: The value of \"controls\" must be an array, not null."},
        {file("\"added\": {\"controls\": [" + quoted(ctrl) + ", \"" + std::string(70, 'Z') + "\"]}"),
         "added.controls[1]: Unknown catalogue number \"" + std::string(60, 'Z') + "...\"."},
        // A blank number would match the catalogue's blank slots.
        {file("\"added\": {\"calibrators\": [\"  \"]}"),
         "added.calibrators[0]: The catalogue number is empty."},
        {file("\"added\": {\"calibrators\": [" + quoted(amphBig) + "]}"),
         "added.calibrators[0]: Catalogue number " + quoted(amphBig) + " is a reagent, not a calibrator."},
        {file("\"added\": {\"reagents\": [" + quoted(ctrl) + "]}"),
         "added.reagents[0]: Catalogue number " + quoted(ctrl) + " is a control, not a reagent."},
        // Quantities and figures (a version-1 file may carry them): keyed by number in their section,
        // JSON integers in their range, and a quantity only for what the file puts in the order.
        {file("\"quantities\": []"),
         "quantities: The value of \"quantities\" must be an object, not an array."},
        {file("\"quantities\": {\"controls\": [2]}"),
         "quantities.controls: The value of \"controls\" must be an object, not an array."},
        {file("\"quantities\": {\"reagents\": {\"XX 1\": 2}}"),
         "quantities.reagents[\"XX 1\"]: Unknown catalogue number \"XX 1\"."},
        {file("\"quantities\": {\"controls\": {" + quoted(amph) + ": 2}}"),
         "quantities.controls[" + quoted(amph) + "]: Catalogue number " + quoted(amph) +
             " is a reagent, not a control."},
        {file("\"quantities\": {\"reagents\": {\" " + amph + "\": 2, " + quoted(amph) + ": 3}}"),
         "quantities.reagents[" + quoted(amph) + "]: Catalogue number " + quoted(amph) +
             " is the same as \" " + amph + "\", listed already."},
        {file("\"quantities\": {\"controls\": {" + quoted(ctrl) + ": 0}}"),
         "quantities.controls[" + quoted(ctrl) +
             "]: A quantity must be a whole number from 1 to 9999, not 0."},
        {file("\"quantities\": {\"controls\": {" + quoted(ctrl) + ": 10000}}"),
         "quantities.controls[" + quoted(ctrl) +
             "]: A quantity must be a whole number from 1 to 9999, not 10000."},
        {file("\"quantities\": {\"controls\": {" + quoted(ctrl) + ": 18446744073709551615}}"),
         "quantities.controls[" + quoted(ctrl) +
             "]: A quantity must be a whole number from 1 to 9999, not 18446744073709551615."},
        {file("\"quantities\": {\"controls\": {" + quoted(ctrl) + ": 1.5}}"),
         "quantities.controls[" + quoted(ctrl) +
             "]: A quantity must be a whole number from 1 to 9999, not 1.5."},
        {file("\"quantities\": {\"controls\": {" + quoted(ctrl) + ": 2e0}}"),
         "quantities.controls[" + quoted(ctrl) +
             "]: A quantity must be a whole number from 1 to 9999, not 2.0."},
        {file("\"quantities\": {\"controls\": {" + quoted(ctrl) + ": \"2\"}}"),
         "quantities.controls[" + quoted(ctrl) +
             "]: A quantity must be a whole number from 1 to 9999, not a text in quotes."},
        // Sound in itself, but lost on opening: nothing orders the product, or not in that size.
        {file("\"quantities\": {\"controls\": {" + quoted(ctrl) + ": 2}}"),
         "quantities.controls[" + quoted(ctrl) + "]: Catalogue number " + quoted(ctrl) +
             " is not in the order this file gives, so its quantity would be lost."},
        {file("\"added\": {\"reagents\": [" + quoted(amph) + "]}, \"quantities\": {\"reagents\": {" +
              quoted(amphBig) + ": 2}}"),
         "quantities.reagents[" + quoted(amphBig) + "]: Catalogue number " + quoted(amphBig) +
             " is not in the order this file gives, so its quantity would be lost."},
        {file("\"plan\": 3"), "plan: The value of \"plan\" must be an object, not a number."},
        {file("\"plan\": {\"months\": 0}"),
         "plan.months: The value of \"months\" must be a whole number from 1 to 24, not 0."},
        {file("\"plan\": {\"runsPerMonth\": -1}"),
         "plan.runsPerMonth: The value of \"runsPerMonth\" must be a whole number from 0 to 10000, not -1."},
        {file("\"plan\": {\"retestPercent\": true}"), "plan.retestPercent: The value of \"retestPercent\" "
                                                      "must be a whole number from 0 to 100, not true or "
                                                      "false."},
        {file("\"plan\": {\"reagents\": {" + quoted(amph) + ": 400}}"),
         "plan.reagents[" + quoted(amph) + "]: The figures of a product must be an object, not a number."},
        {file("\"plan\": {\"reagents\": {" + quoted(amphBig) +
              ": {\"testsPerMonth\": 10, \"testsPerBottle\": 0}}}"),
         "plan.reagents[" + quoted(amphBig) +
             "].testsPerBottle: The value of \"testsPerBottle\" must be a whole number from 1 to 100000, not "
             "0."},
        {file("\"plan\": {\"calibrators\": {" + quoted(ctrl) + ": {\"usesPerPack\": 5}}}"),
         "plan.calibrators[" + quoted(ctrl) + "]: Catalogue number " + quoted(ctrl) +
             " is a control, not a calibrator."},
        {file("\"plan\": {\"controls\": {" + quoted(ctrl) + ": {\"usesPerPack\": 10001}}}"),
         "plan.controls[" + quoted(ctrl) +
             "].usesPerPack: The value of \"usesPerPack\" must be a whole number from 1 to 10000, not "
             "10001."},
        // A misspelt figure or one of another section would be dropped without a word.
        {file("\"plan\": {\"reagents\": {" + quoted(amph) +
              ": {\"testPerMonth\": 1200, \"testsPerBottle\": 400}}}"),
         "plan.reagents[" + quoted(amph) +
             "]: Unknown key \"testPerMonth\" in a reagent's figures; they are \"testsPerMonth\" and "
             "\"testsPerBottle\"."},
        {file("\"plan\": {\"reagents\": {" + quoted(amph) + ": {\"usesPerPack\": 20}}}"),
         "plan.reagents[" + quoted(amph) +
             "]: Unknown key \"usesPerPack\" in a reagent's figures; they are \"testsPerMonth\" and "
             "\"testsPerBottle\"."},
        {file("\"plan\": {\"controls\": {" + quoted(ctrl) + ": {\"testsPerMonth\": 20}}}"),
         "plan.controls[" + quoted(ctrl) +
             "]: Unknown key \"testsPerMonth\" in a control's figures; the only one is \"usesPerPack\"."},
        {file("\"plan\": {\"safetyMonths\": 7}"),
         "plan.safetyMonths: The value of \"safetyMonths\" must be a whole number from 0 to 6, not 7."},
        {file("\"stock\": []"), "stock: The value of \"stock\" must be an object, not an array."},
        {file("\"stock\": {\"controls\": {\"XX 1\": {\"onHand\": 1}}}"),
         "stock.controls[\"XX 1\"]: Unknown catalogue number \"XX 1\"."},
        {file("\"stock\": {\"calibrators\": {" + quoted(ctrl) + ": {\"onHand\": 1}}}"),
         "stock.calibrators[" + quoted(ctrl) + "]: Catalogue number " + quoted(ctrl) +
             " is a control, not a calibrator."},
        {file("\"stock\": {\"controls\": {" + quoted(ctrl) + ": 4}}"),
         "stock.controls[" + quoted(ctrl) + "]: The stock of a product must be an object, not a number."},
        {file("\"stock\": {\"controls\": {" + quoted(ctrl) + ": {\"onhand\": 4}}}"),
         "stock.controls[" + quoted(ctrl) +
             "]: Unknown key \"onhand\" in the stock's figures; they are \"onHand\" and \"onOrder\"."},
        {file("\"stock\": {\"controls\": {" + quoted(ctrl) + ": {\"onOrder\": 100000}}}"),
         "stock.controls[" + quoted(ctrl) +
             "].onOrder: The value of \"onOrder\" must be a whole number from 0 to 99999, not 100000."},
        // The laboratory's details and the order's: texts of their lengths on one line, a name with
        // any of them, a real day.
        {file("\"laboratory\": []"),
         "laboratory: The value of \"laboratory\" must be an object, not an array."},
        {file("\"laboratory\": {\"name\": 7}"),
         "laboratory.name: The value of \"name\" must be a text in quotes, not a number."},
        {file("\"laboratory\": {\"name\": \"" + std::string(81, 'x') + "\"}"),
         "laboratory.name: The laboratory's name must be at most 80 characters on one line; it has 81."},
        {file("\"laboratory\": {\"name\": \"Lab\", \"fax\": \"1\"}"),
         "laboratory: Unknown key \"fax\" in the laboratory's details; they are \"name\", \"address\", "
         "\"account\", \"contact\", \"phone\" and \"email\"."},
        {file("\"laboratory\": {\"phone\": \"1\"}"),
         "laboratory.name: The laboratory's name must be given with its details."},
        {file("\"laboratory\": {\"name\": \"Lab\", \"address\": [\"1\", \"2\", \"3\", \"4\", \"5\"]}"),
         "laboratory.address: The address has 5 lines; it may have at most 4."},
        {file("\"laboratory\": {\"name\": \"Lab\", \"address\": [\"a\\nb\"]}"),
         "laboratory.address[0]: A line of the address must be at most 80 characters on one line; it has 3."},
        {file("\"laboratory\": {\"name\": \"Lab\", \"address\": [3]}"),
         "laboratory.address[0]: A line of the address must be a text in quotes, not a number."},
        {file("\"order\": {\"reference\": \"" + std::string(41, '7') + "\"}"),
         "order.reference: The order's reference must be at most 40 characters on one line; it has 41."},
        {file("\"order\": {\"date\": \"2026-02-29\"}"),
         "order.date: The date must be a real day written yyyy-mm-dd, as 2026-12-01."},
        {file("\"order\": {\"date\": \"1.12.2026\"}"),
         "order.date: The date must be a real day written yyyy-mm-dd, as 2026-12-01."},
        {file("\"order\": {\"number\": \"1\"}"),
         "order: Unknown key \"number\" in the order's details; they are \"reference\" and \"date\"."},
        {file("\"stock\": {\"reagents\": {" + quoted(amph) + ": {\"onHand\": 1.5}}}"),
         "stock.reagents[" + quoted(amph) +
             "].onHand: The value of \"onHand\" must be a whole number from 0 to 99999, not 1.5."},
    };
    for (const Case& c : cases) {
        const SelectionReading r = ReadSelection(c.file);
        const std::string shown = c.file.size() > 200 ? c.file.substr(0, 200) + "..." : c.file;
        EXPECT_FALSE(r.selection) << shown;
        const std::string text = ProblemText(r.problem);
        if (c.syntax)
            EXPECT_EQ(text.substr(0, c.problem.size()), c.problem) << text;
        else
            EXPECT_EQ(text, c.problem) << shown;
        // One sentence, from a capital letter to a full stop.
        ASSERT_FALSE(r.problem.message.empty());
        EXPECT_TRUE(std::isupper(static_cast<unsigned char>(r.problem.message.front()))) << text;
        EXPECT_EQ(r.problem.message.back(), '.') << text;
    }
}

TEST(SelectionFile, ReadsWhatPeopleWriteAsMeant) {
    const Catalogue& cat = TheCatalogue();
    // Any case and surrounding blanks in frames and captions (the catalogue's "BARBITURATES " has a
    // trailing one), unknown keys, "qual": false as good as none, a number listed twice,
    // an alternative's number under "added", sections left out; and exactly 1 MiB is allowed.
    std::string text =
        "{\"version\": 1, \"comment\": \"ours\", \"format\": \"tovimar-selection\",\n"
        " \"assays\": [{\"frame\": \" vex\", \"assay\": \"barbiturates\", \"cutoff\": 2e2, \"x\": [[]]},\n"
        "  {\"frame\": \"ADULT\", \"assay\": \"PH\"},\n"
        "  {\"frame\": \"ORLAN\", \"assay\": \"LSD\", \"cutoff\": 0.5, \"qual\": true},\n"
        "  {\"frame\": \"TOX\", \"assay\": \"TCA\", \"qual\": false}],\n"
        " \"bottleSizes\": [\"" +
        cat.Calibs[1].OrderNo2 + "\", \" " + cat.Calibs[1].OrderNo2 + " \"],\n" +
        " \"added\": {\"reagents\": [\"" + cat.Assays[15].OrderNo2 + "\"], \"extra\": 1}}\n";
    text.append(kSelectionMaxBytes - text.size(), '\n');
    const SelectionReading r = ReadSelection(text);
    ASSERT_TRUE(r.selection) << ProblemText(r.problem);
    const Selection expected{
        {{R::VexBarb, 200, false}, {R::AdultPh, 0, false}, {R::OrlanLsd, 0.5, true}, {R::ToxTca, 0, false}},
        {{T::Calibs, 1}, {T::Assays, 15}},
        {{T::Assays, 15}},
        {},
    };
    EXPECT_EQ(*r.selection, expected);

    // Quantities and figures, in a version-1 file too, under numbers with blanks around them; the
    // figures of products not in the order are kept, and a workload figure left out is its default.
    const std::string amph = cat.Assays[15].OrderNo1, amphBig = cat.Assays[15].OrderNo2,
                      ctrl = cat.Ctrls[15].OrderNo, cal = cat.Calibs[1].OrderNo2;
    for (const char* version : {"1", "2"}) {
        const SelectionReading planned = ReadSelection(
            "{\"format\": \"tovimar-selection\", \"version\": " + std::string(version) +
            ", \"added\": {\"reagents\": [\"" + amphBig + "\"], \"controls\": [\"" + ctrl +
            "\"]},\n \"quantities\": {\"reagents\": {\" " + amphBig + "\": 12}, \"controls\": {\"" + ctrl +
            "\": 9999}},\n \"plan\": {\"months\": 24, \"calibrationsPerMonth\": 10000, \"x\": 1,\n"
            "  \"reagents\": {\"" +
            amph + "\": {\"testsPerMonth\": 1000000}, \"" + amphBig +
            "\": {\"testsPerBottle\": 1, \"testsPerMonth\": 0}},\n"
            "  \"calibrators\": {\"" +
            cal + " \": {\"usesPerPack\": 10000}}, \"controls\": {\"" + ctrl + "\": {}}}}");
        ASSERT_TRUE(planned.selection) << ProblemText(planned.problem);
        OrderPlan plan;
        ASSERT_TRUE(plan.SetWorkload({24, 0, 10000, 0}));
        ASSERT_TRUE(plan.SetReagentFigures(amph, {1000000, std::nullopt}));
        ASSERT_TRUE(plan.SetReagentFigures(amphBig, {0, 1}));
        ASSERT_TRUE(plan.SetUsesPerPack(T::Calibs, cal, 10000));
        ASSERT_TRUE(plan.SetTyped(T::Assays, amphBig, 12));
        ASSERT_TRUE(plan.SetTyped(T::Ctrls, ctrl, 9999));
        EXPECT_EQ(planned.selection->plan, plan) << version;
    }
}

// The bytes written: a selection without quantities or figures exactly as before they existed (so
// older copies of the program open it), and one with them as the format's description shows it.
TEST(SelectionFile, WritesVersionOneUntilThereIsAQuantityOrFigure) {
    const Catalogue& cat = TheCatalogue();
    Selection sel{{{R::OrlanAmphXtc, 500, false}, {R::ToxTca, 0, true}},
                  {{T::Assays, 15}},
                  {{T::Calibs, 1}, {T::Ctrls, 15}},
                  {}};
    const std::string n15 = cat.Assays[15].OrderNo2, c1 = cat.Calibs[1].OrderNo1, k15 = cat.Ctrls[15].OrderNo;
    const std::string v1 =
        "{\n  \"format\": \"tovimar-selection\",\n  \"version\": 1,\n  \"assays\": [\n"
        "    {\"frame\": \"ORLAN\", \"assay\": \"AMPH / XTC\", \"cutoff\": 500, \"qual\": false},\n"
        "    {\"frame\": \"TOX\", \"assay\": \"TCA\", \"qual\": true}\n  ],\n"
        "  \"bottleSizes\": [\"" +
        n15 +
        "\"],\n"
        "  \"added\": {\"reagents\": [], \"calibrators\": [\"" +
        c1 + "\"], \"controls\": [\"" + k15 + "\"]}\n}\n";
    EXPECT_EQ(SelectionText(sel), v1);

    // A quantity alone: "quantities" and no "plan".
    ASSERT_TRUE(sel.plan.SetTyped(T::Ctrls, k15, 2));
    const std::string head2 = std::string(v1).replace(v1.find("\"version\": 1"), 12, "\"version\": 2");
    const std::string body = head2.substr(0, head2.size() - 3);
    const std::string quantities =
        ",\n  \"quantities\": {\"reagents\": {}, \"calibrators\": {}, \"controls\": {\"" + k15 + "\": 2}}";
    EXPECT_EQ(SelectionText(sel), body + quantities + "\n}\n");

    // Figures alone: "plan" with the whole workload, the numbers of each object sorted as text.
    sel.plan.ClearTyped();
    ASSERT_TRUE(sel.plan.SetWorkload({3, 22, 4, 5}));
    ASSERT_TRUE(sel.plan.SetReagentFigures(n15, {1200, 400}));
    ASSERT_TRUE(sel.plan.SetReagentFigures("301 101", {std::nullopt, 50}));
    ASSERT_TRUE(sel.plan.SetUsesPerPack(T::Ctrls, k15, 30));
    const std::string plan =
        ",\n  \"plan\": {\n    \"months\": 3, \"runsPerMonth\": 22, \"calibrationsPerMonth\": 4, "
        "\"retestPercent\": 5,\n    \"reagents\": {\"301 101\": {\"testsPerBottle\": 50}, \"" +
        n15 +
        "\": {\"testsPerMonth\": 1200, \"testsPerBottle\": 400}},\n    \"calibrators\": {},\n"
        "    \"controls\": {\"" +
        k15 + "\": {\"usesPerPack\": 30}}\n  }";
    EXPECT_EQ(SelectionText(sel), body + plan + "\n}\n");
    ASSERT_TRUE(sel.plan.SetTyped(T::Ctrls, k15, 2));
    EXPECT_EQ(SelectionText(sel), body + quantities + plan + "\n}\n");

    // Stock or safety months: version 3, "safetyMonths" after the workload, "stock" last.
    const std::string head3 = std::string(body).replace(body.find("\"version\": 2"), 12, "\"version\": 3");
    ASSERT_TRUE(sel.plan.SetStock(T::Calibs, c1, {2, std::nullopt}));
    ASSERT_TRUE(sel.plan.SetStock(T::Assays, n15, {4, 1}));
    const std::string stock = ",\n  \"stock\": {\n    \"reagents\": {\"" + n15 +
                              "\": {\"onHand\": 4, \"onOrder\": 1}},\n    \"calibrators\": {\"" + c1 +
                              "\": {\"onHand\": 2}},\n    \"controls\": {}\n  }";
    EXPECT_EQ(SelectionText(sel), head3 + quantities + plan + stock + "\n}\n");
    sel.plan.SetStock(T::Calibs, c1, {});
    sel.plan.SetStock(T::Assays, n15, {});
    ASSERT_TRUE(sel.plan.SetWorkload({3, 22, 4, 5, 1}));
    EXPECT_EQ(SelectionText(sel), head3 + quantities +
                                      std::string(plan).replace(plan.find("\"retestPercent\": 5"), 18,
                                                                "\"retestPercent\": 5, \"safetyMonths\": 1") +
                                      "\n}\n");
}

// ---- Save and open again ---------------------------------------------------------------------------

// A catalogue number of section t, either size, for a figure or a quantity.
std::string anyNumber(std::mt19937& rng, OrderTable t) {
    const Catalogue& cat = TheCatalogue();
    std::bernoulli_distribution alternative(0.3);
    for (;;) {
        const int filled = WithTable(cat, t, [](const auto& table) { return table.kFilled; });
        const int slot = std::uniform_int_distribution<int>(1, filled)(rng);
        const std::string number = WithRecord(cat, {t, slot}, [&](const auto& r) {
            if constexpr (requires { r.OrderNo2; })
                return alternative(rng) && HasAlternative(r) ? r.OrderNo2 : r.OrderNo1;
            else
                return r.OrderNo;
        });
        if (!number.empty())
            return number;
    }
}

// Half the sessions plan: quantities typed for lines of the order and for products outside it
// (which the file leaves out), figures for any product, a workload.
void plan(std::mt19937& rng, Order& s) {
    std::bernoulli_distribution half(0.5), some(0.25);
    std::uniform_int_distribution<int> quantity(1, 9999), small(0, 40), section(0, 2);
    if (half(rng))
        return;
    const OrderFlags& flags = s;  // the lines alone: the plan changes under the walk
    if (half(rng))
        ForEachOrderLine(flags, [&](const OrderLine& line) {
            if (some(rng))
                s.plan.SetTyped(line.section, std::string(line.number), quantity(rng));
        });
    for (int n = small(rng) / 10; n > 0; --n) {
        const auto t = static_cast<OrderTable>(section(rng));
        s.plan.SetTyped(t, anyNumber(rng, t), quantity(rng));
    }
    if (half(rng))
        return;
    const auto in = [&](FigureRange r) {
        return std::uniform_int_distribution<int>(int(r.low), int(r.high))(rng);
    };
    if (half(rng))
        s.plan.SetWorkload({in(kMonthsRange), small(rng), small(rng), in(kRetestRange),
                            some(rng) ? in(kSafetyMonthsRange) : 0});
    if (some(rng)) {
        // Every character the file may carry: UTF-8 beyond one byte, quotes and backslashes.
        s.details.laboratory = {"Laborat\xC3\xB3rio \"Central\" \\ \xE2\x82\xAC",
                                {"Rua 1", "1000-001 Lisboa"},
                                half(rng) ? "C-1" : "",
                                "",
                                half(rng) ? "+351 1" : "",
                                ""};
        s.details.reference = half(rng) ? "PO-7" : "";
        s.details.date = half(rng) ? "2024-02-29" : "";
    }
    for (int n = small(rng) / 4; n > 0; --n) {
        const auto t = static_cast<OrderTable>(section(rng));
        const auto packs = [&] { return half(rng) ? std::optional(in(kStockRange) % 12) : std::nullopt; };
        s.plan.SetStock(t, anyNumber(rng, t), {packs(), packs()});
    }
    for (int n = small(rng); n > 0; --n) {
        const auto t = static_cast<OrderTable>(section(rng));
        const std::string number = anyNumber(rng, t);
        if (t == T::Assays)
            s.plan.SetReagentFigures(number,
                                     {half(rng) ? std::optional(in(kTestsPerMonthRange)) : std::nullopt,
                                      half(rng) ? std::optional(in(kTestsPerBottleRange)) : std::nullopt});
        else
            s.plan.SetUsesPerPack(t, number, in(kUsesPerPackRange));
    }
}

// A session as a user makes it: clicks on the shown rows, bottle sizes (also of products no longer
// in the order), then additions by select all or the adding view.
void play(std::mt19937& rng, Order& s) {
    std::vector<AssayRow> shown;
    for (const AssayRowDef& def : AssayRows())
        if (!def.secondColumn)
            shown.push_back(def.key);
    std::uniform_int_distribution<std::size_t> row(0, shown.size() - 1);
    std::uniform_int_distribution<int> clicks(0, 40), what(0, 2);
    for (int n = clicks(rng); n > 0; --n) {
        const AssayRow r = shown[row(rng)];
        const AssayRowDef& def = RowDef(r);
        switch (what(rng)) {
        case 0:
            s.state.SetSelected(r, !s.state.ticked(r));
            break;
        case 1:
            if (s.state.ticked(r) && def.hasOptions())
                s.state.ChooseCut(r, def.options()[row(rng) % def.optionCount].value);
            break;
        default:
            if (s.state.ticked(r) && def.hasQual())
                s.state.SetQual(r, !s.state[r].Qual);
        }
    }
    update(s);

    const Catalogue& cat = TheCatalogue();
    std::uniform_int_distribution<int> size(0, 3);
    for (int slot = 1; slot <= AssayTable::kFilled; ++slot)
        if (HasAlternative(cat.Assays[slot]) && size(rng) < 2)
            ChooseSize(s.Assays[slot], size(rng) < 2);
    for (int slot = 1; slot <= CalibTable::kFilled; ++slot)
        if (HasAlternative(cat.Calibs[slot]) && size(rng) < 2)
            ChooseSize(s.Calibs[slot], size(rng) < 2);

    std::bernoulli_distribution selectAll(0.08), add(0.02);
    if (selectAll(rng)) {
        AddToOrder(s, Addition::SelectAll, [](Order& o) { SelectAllItems(o); });
        return;
    }
    AddToOrder(s, Addition::ByHand, [&](Order& o) {
        for (const std::int16_t slot : CalMissSlots(o))
            if (add(rng))
                PutInOrder(o.Calibs[slot]);
        for (const std::int16_t slot : CtrlMissSlots(o))
            if (add(rng))
                PutInOrder(o.Ctrls[slot]);
    });
}

// The rows as the screen shows them: an unticked row shows neither cut-off nor QUAL mark (a QUAL-only
// row keeps its hidden mark, which the file does not carry).
AssayState onScreen(AssayState s) {
    for (const AssayRowDef& def : AssayRows())
        if (!s.ticked(def.key))
            s[def.key] = RowState{};
    return s;
}

TEST(SelectionFile, RandomSessionsSavedAndOpenedGiveTheSameOrderTicksAndSizes) {
    std::mt19937 rng(140);
    int withAssays = 0, withCut = 0, withQual = 0, withSizes = 0, withAdded = 0, selectAlls = 0;
    int withTyped = 0, withFigures = 0, withStock = 0, typedDropped = 0;
    constexpr int kSessions = 2000;
    for (int n = 0; n < kSessions; ++n) {
        SCOPED_TRACE("session " + std::to_string(n));
        Order saved;
        play(rng, saved);
        plan(rng, saved);
        const Selection sel = SelectionOf(saved);
        const std::string text = SelectionText(sel);

        const SelectionReading r = ReadSelection(text);
        ASSERT_TRUE(r.selection) << ProblemText(r.problem) << "\n" << text;
        ASSERT_EQ(*r.selection, sel) << text;
        // Opened over an order with everything in it: nothing of that may stay.
        Order opened;
        SelectAllItems(opened);
        opened.Assays[15].SizeChoice = 2;
        opened.state.SetSelected(R::VexEtoh, true);
        opened.plan.SetTyped(T::Ctrls, TheCatalogue().Ctrls[1].OrderNo, 7);
        ApplySelection(*r.selection, opened);

        const auto ones = [](Order order) {
            order.plan.Clear();
            return OrderListText(order);
        };
        ASSERT_EQ(ones(opened), ones(saved)) << text;
        // The same quantities on every line, and every figure and stock; an order of ones without
        // figures is a version-1 file, one with stock or safety months version 3.
        const OrderPlan& openedPlan = opened.plan;
        ASSERT_TRUE(openedPlan == r.selection->plan) << text;
        ASSERT_EQ(OrderListText(opened), OrderListText(saved)) << text;
        OrderPlan figures = saved.plan, openedFigures = openedPlan;
        figures.ClearTyped();
        openedFigures.ClearTyped();
        ASSERT_TRUE(openedFigures == figures) << text;
        ASSERT_EQ(text.find("\"version\": 1,") != std::string::npos,
                  !openedPlan.HasTyped() && !saved.plan.HasFigures() && !openedPlan.HasStock())
            << text;
        ASSERT_EQ(text.find("\"version\": 3,") != std::string::npos,
                  openedPlan.HasStock() || openedPlan.workload().safetyMonths > 0 || !saved.details.empty())
            << text;
        ASSERT_EQ(opened.details, saved.details) << text;
        ASSERT_EQ(onScreen(opened.state), onScreen(saved.state)) << text;
        for (int slot = 1; slot <= AssayTable::kFilled; ++slot)
            ASSERT_EQ(AlternativeChosen(opened.Assays[slot]), AlternativeChosen(saved.Assays[slot]));
        for (int slot = 1; slot <= CalibTable::kFilled; ++slot)
            ASSERT_EQ(AlternativeChosen(opened.Calibs[slot]), AlternativeChosen(saved.Calibs[slot]));
        // Saved again, the file is the same; what it added is marked as the user's.
        ASSERT_EQ(SelectionText(SelectionOf(opened)), text);
        for (const ItemRef& i : sel.added)
            ASSERT_TRUE(opened.provenance.Of(i.table, i.slot).byHand) << text;

        withAssays += !sel.assays.empty();
        withCut += std::ranges::any_of(sel.assays, [](const SelectedAssay& a) { return a.cut != 0; });
        withQual += std::ranges::any_of(sel.assays, [](const SelectedAssay& a) { return a.qual; });
        withSizes += !sel.bottleSizes.empty();
        withAdded += !sel.added.empty();
        selectAlls += std::ranges::any_of(sel.added, [](const ItemRef& i) { return i.table == T::Assays; });
        withTyped += sel.plan.HasTyped();
        withFigures += sel.plan.HasFigures();
        withStock += sel.plan.HasStock();
        typedDropped += sel.plan.typed(T::Assays).size() + sel.plan.typed(T::Calibs).size() +
                            sel.plan.typed(T::Ctrls).size() <
                        saved.plan.typed(T::Assays).size() + saved.plan.typed(T::Calibs).size() +
                            saved.plan.typed(T::Ctrls).size();
    }
    // The sessions reach every part of the file.
    EXPECT_GT(withAssays, kSessions / 2);
    EXPECT_GT(withCut, kSessions / 4);
    EXPECT_GT(withQual, kSessions / 4);
    EXPECT_GT(withSizes, kSessions / 2);
    EXPECT_GT(withAdded, kSessions / 4);
    EXPECT_GT(selectAlls, 10);
    EXPECT_GT(withTyped, kSessions / 8);
    EXPECT_GT(withFigures, kSessions / 8);
    EXPECT_GT(withStock, kSessions / 8);
    EXPECT_LT(withTyped + withFigures, kSessions);  // and version-1 files as well
    EXPECT_GT(typedDropped, kSessions / 20);
}

}  // namespace
}  // namespace tovimar
