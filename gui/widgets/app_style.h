// The program's look: the toolkit's Fusion style on every desktop, handing out each standard icon
// as one picture for the whole run.
#pragma once

namespace tovimar {

// Sets the style of the application; call once the application object exists.
void installApplicationStyle();

}  // namespace tovimar
