#include "gui/mainwindow/colour_schemes.h"

#include "core/appearance/palette.h"
#include "gui/mainwindow/frmMain.h"
#include "gui/widgets/widget_colours.h"

namespace tovimar {

namespace {

void apply(frmMain& w, int scheme) {
    const SchemeColours c = SchemeColoursOf(scheme);
    auto paint = [&w](const std::vector<std::string>& names, std::uint32_t colour) {
        for (const std::string& name : names)
            // Views not built yet take the scheme when they are; so does the help's example row.
            if (QWidget* box = w.builtControl(QString::fromStdString(name)))
                setBackground(box, colour);
    };
    paint(ColourGroupO(), c.groupO);
    paint(ColourGroupV(), c.groupV);
}

}  // namespace

void ApplyColourScheme1(frmMain& w) {
    apply(w, 1);
}
void ApplyColourScheme2(frmMain& w) {
    apply(w, 2);
}
void ApplyColourScheme3(frmMain& w) {
    apply(w, 3);
}

}  // namespace tovimar
