#include "core/refinement/size_boxes.h"

#include "core/order/order.h"

namespace tovimar {

namespace {

// The products of one section in the order that come in a second size, in the order's walk.
template <typename Records, typename Flags>
std::vector<SizeBox> boxesOf(const Records& records, const Flags& flags) {
    std::vector<SizeBox> boxes;
    int top = kSizeBoxTopBase;
    for (int slot = 1; slot <= Records::kFilled; ++slot) {
        if (!InOrder(flags[slot]) || !HasAlternative(records[slot]))
            continue;
        top += kSizeBoxStep;
        boxes.push_back({slot, top, SizeCaption(records[slot], flags[slot]), AlternativeChosen(flags[slot])});
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

std::string SizeCaption(const mAssay& a, const AssayOrder& f) {
    return OrderedName(a, f);
}

std::string SizeCaption(const mCalib& c, const CalibOrder& f) {
    return OrderedPack(c, f) + "  " + c.Name;
}

std::vector<SizeBox> ReagSizeBoxes(const OrderFlags& order) {
    return boxesOf(TheCatalogue().Assays, order.Assays);
}

std::vector<SizeBox> CalSizeBoxes(const OrderFlags& order) {
    return boxesOf(TheCatalogue().Calibs, order.Calibs);
}

void ChooseSize(AssayOrder& a, bool ticked) {
    a.SizeChoice = ticked ? 2 : 1;
}

void ChooseSize(CalibOrder& c, bool ticked) {
    c.SizeChoice = ticked ? 2 : 1;
}

ColourGroup ReagSizeBoxGroup(std::string_view caption) {
    return caption.starts_with("VEX") ? ColourGroup::V : ColourGroup::O;
}

void ChooseAlternativeSize(OrderFlags& order, SizedProduct product, int slot, bool alternative) {
    if (product == SizedProduct::Reagent)
        ChooseSize(order.Assays[slot], alternative);
    else
        ChooseSize(order.Calibs[slot], alternative);
}

}  // namespace tovimar
