// Which of the two colours of a panel colour scheme a box takes: ORLAN rows (group O) apart from the
// VEX, serum tox and validity rows (group V). The core says which group a box is in; the window
// maps groups to colours.
#pragma once

namespace tovimar {

enum class ColourGroup { O, V };

}  // namespace tovimar
