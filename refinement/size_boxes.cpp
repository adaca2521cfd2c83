#include "refinement/size_boxes.h"

namespace tovimar {

namespace {

constexpr std::uint32_t kGrey = 0xB2B3B4;         // red 180, green 179, blue 178
constexpr std::uint32_t kWarmGrey = 0xB2B3BD;     // red 189, green 179, blue 178
constexpr std::uint32_t kLightBlue = 0xE2C3A9;    // red 169, green 195, blue 226
constexpr std::uint32_t kLightYellow = 0xACEDFD;  // red 253, green 237, blue 172

template <typename Record, typename Table>
std::vector<SizeBox> boxesOf(const Table& table) {
    std::vector<SizeBox> boxes;
    int top = kSizeBoxTopBase;
    for (int slot = 1; slot <= Table::kFilled; ++slot) {
        const Record& r = table[slot];
        if (r.Selected != 1 || !HasAlternative(r))
            continue;
        top += kSizeBoxStep;
        boxes.push_back({slot, top, SizeCaption(r), r.SizeChoice == 2});
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
    return a.SizeChoice == 2 ? a.Name2 : a.Name1;
}

std::string SizeCaption(const mCalib& c) {
    return (c.SizeChoice == 2 ? c.Pack2 : c.Pack1) + "  " + c.Name;
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
    switch (scheme) {
    case 1:
        return kGrey;
    case 2:
        return vex ? kWarmGrey : kLightBlue;
    default:
        return vex ? kLightYellow : kLightBlue;
    }
}

}  // namespace tovimar
