#include "gui/mainwindow/colour_schemes.h"

namespace tovimar {

namespace {

void apply(const std::vector<ColouredBox>& boxes, int scheme) {
    const SchemeColours c = SchemeColoursOf(scheme);
    for (const ColouredBox& b : boxes)
        setBackground(b.box, c.of(b.group));
}

}  // namespace

void ApplyColourScheme1(const std::vector<ColouredBox>& boxes) {
    apply(boxes, 1);
}
void ApplyColourScheme2(const std::vector<ColouredBox>& boxes) {
    apply(boxes, 2);
}
void ApplyColourScheme3(const std::vector<ColouredBox>& boxes) {
    apply(boxes, 3);
}

}  // namespace tovimar
