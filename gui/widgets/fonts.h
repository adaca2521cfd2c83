// The program's face is "Arial Narrow", asked for by name. Where it is not installed (Linux), a
// metric-compatible narrow face stands in, so captions take the room the layout gives them.
#pragma once

#include <QFont>

namespace tovimar {

inline const QString kNarrowFamily = QStringLiteral("Arial Narrow");

// Registers the stand-in once, before the first window is built.
void installFontSubstitutes();

QFont narrowFont(double pointSize, bool bold);

}  // namespace tovimar
