#include "gui/widgets/fonts.h"

#include <QStringList>

namespace tovimar {

void installFontSubstitutes() {
    // Liberation Sans Narrow has Arial Narrow's metrics; the others are close enough to keep a
    // narrow face where it is missing. Substitutes only stand in for a family that is not
    // installed, so they are registered without asking the font database first: asking would
    // load every font of the system before the start screen, which shows no text.
    QFont::insertSubstitutions(kNarrowFamily, QStringList{QStringLiteral("Liberation Sans Narrow"),
                                                          QStringLiteral("DejaVu Sans Condensed")});
}

QFont narrowFont(double pointSize, bool bold) {
    QFont f(kNarrowFamily);
    f.setPointSizeF(pointSize);
    f.setBold(bold);
    return f;
}

}  // namespace tovimar
