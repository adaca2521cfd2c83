// The bytes of the order-list file: sections REAGENTS, CALIBRATORS and CONTROLS, fields joined by
// ", ", CR LF after every line including the last, single-byte text. Reads the catalogue only.
#pragma once

#include "core/catalogue/records.h"

#include <string>

namespace tovimar {

std::string OrderListText(const Catalogue& cat);

}  // namespace tovimar
