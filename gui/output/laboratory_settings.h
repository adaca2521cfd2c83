// The laboratory's details kept in the user's settings, so that every new selection starts with
// them: a lab enters them once, not once a month.
#pragma once

#include "core/order/details.h"

namespace tovimar {

// The laboratory kept, or none where nothing is kept or what the settings file holds would not fit
// the details' fields (the file is the user's to edit).
Laboratory SavedLaboratory();
// Keeps `lab` for the next selections, in this run and the next; an empty one is forgotten.
void KeepLaboratory(const Laboratory& lab);

}  // namespace tovimar
