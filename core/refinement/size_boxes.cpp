#include "core/refinement/size_boxes.h"

#include "core/appearance/palette.h"
#include "core/catalogue/order_lines.h"

namespace tovimar {

namespace {

// The products of one section in the order that come in a second size, in the order's walk.
std::vector<SizeBox> boxesOf(const Catalogue& cat, OrderTable section) {
    std::vector<SizeBox> boxes;
    int top = kSizeBoxTopBase;
    ForEachOrderLine(cat, section, [&](const OrderLine& line) {
        WithRecord(cat, line.item(), [&](const auto& r) {
            if constexpr (requires { HasAlternative(r); }) {
                if (!HasAlternative(r))
                    return;
                top += kSizeBoxStep;
                boxes.push_back({line.slot, top, SizeCaption(r), AlternativeChosen(r)});
            }
        });
    });
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
    return boxesOf(cat, OrderTable::Assays);
}

std::vector<SizeBox> CalSizeBoxes(const Catalogue& cat) {
    return boxesOf(cat, OrderTable::Calibs);
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
