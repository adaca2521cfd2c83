#include "core/refinement/size_boxes.h"

#include "core/appearance/palette.h"

namespace tovimar {

namespace {

template <typename Record, typename Table>
std::vector<SizeBox> boxesOf(const Table& table) {
    std::vector<SizeBox> boxes;
    int top = kSizeBoxTopBase;
    for (int slot = 1; slot <= Table::kFilled; ++slot) {
        const Record& r = table[slot];
        if (!InOrder(r) || !HasAlternative(r))
            continue;
        top += kSizeBoxStep;
        boxes.push_back({slot, top, SizeCaption(r), AlternativeChosen(r)});
    }
    return boxes;
}

}  // namespace

bool HasAlternative(const mAssay& a) {
    return a.OrderNo2 != a.OrderNo1;
}

bool HasAlternative(const mCalib& c) {
    return c.OrderNo2 != c.OrderNo1;
}

std::string SizeCaption(const mAssay& a) {
    return OrderedName(a);
}

std::string SizeCaption(const mCalib& c) {
    return OrderedPack(c) + "  " + c.Name;
}

std::vector<SizeBox> ReagSizeBoxes(const Catalogue& cat) {
    return boxesOf<mAssay>(cat.Assays);
}

std::vector<SizeBox> CalSizeBoxes(const Catalogue& cat) {
    return boxesOf<mCalib>(cat.Calibs);
}

void ChooseSize(mAssay& a, bool ticked) {
    a.SizeChoice = ticked ? 2 : 1;
}

void ChooseSize(mCalib& c, bool ticked) {
    c.SizeChoice = ticked ? 2 : 1;
}

std::uint32_t ReagSizeBoxColour(int scheme, std::string_view caption) {
    const bool vex = caption.starts_with("VEX");
    // The VEX reagents take the VEX rows' colour of the scheme, the others the ORLAN rows'.
    const SchemeColours c = SchemeColoursOf(scheme);
    return vex ? c.groupV : c.groupO;
}

void ChooseAlternativeSize(Catalogue& cat, SizedProduct product, int slot, bool alternative) {
    if (product == SizedProduct::Reagent)
        ChooseSize(cat.Assays[slot], alternative);
    else
        ChooseSize(cat.Calibs[slot], alternative);
}

}  // namespace tovimar
