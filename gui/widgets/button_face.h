// The face of a picture-only command button: its picture, and a faded copy while the button is
// disabled (the light faces otherwise look the same in both states on the dark buttons). The
// picture is read when the button is first drawn, not when it is made: most buttons are hidden
// on the start screen.
#pragma once

#include <QIcon>
#include <QString>

namespace tovimar {

QIcon ButtonFace(const QString& picturePath);

}  // namespace tovimar
