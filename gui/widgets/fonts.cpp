#include "gui/widgets/fonts.h"

#include <QFontDatabase>
#include <QStringList>

namespace tovimar {

void installFontSubstitutes() {
    if (QFontDatabase::hasFamily(kNarrowFamily))
        return;
    // Liberation Sans Narrow has Arial Narrow's metrics; the others are close enough to keep a
    // narrow face where it is missing.
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
