// A catalogue as the program has it after start-up: every built-in row loaded, nothing ordered.
#pragma once

#include "core/catalogue/records.h"

namespace tovimar::testing {

inline Catalogue loaded() {
    Catalogue cat;
    LoadCatalogue(cat);
    return cat;
}

}  // namespace tovimar::testing
