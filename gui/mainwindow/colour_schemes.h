// The three colour schemes of the assay boxes: every box the panel and the help's example row give
// takes its group's colour of the scheme (the colours are the core's palette). Nothing else
// changes.
#pragma once

#include "gui/widgets/widget_colours.h"

#include <vector>

namespace tovimar {

void ApplyColourScheme1(const std::vector<ColouredBox>& boxes);
void ApplyColourScheme2(const std::vector<ColouredBox>& boxes);
void ApplyColourScheme3(const std::vector<ColouredBox>& boxes);

}  // namespace tovimar
