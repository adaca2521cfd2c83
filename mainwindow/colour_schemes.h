// The three colour schemes of the assay panel: the background of every assay check box and
// option button, ORLAN rows (group O) apart from the VEX, serum tox and validity rows (group V).
#pragma once

#include <QStringList>
#include <cstdint>

namespace tovimar {

class frmMain;

// The controls of each group by name, in the order they are coloured.
const QStringList& ColourGroupO();
const QStringList& ColourGroupV();

struct SchemeColours {
    std::uint32_t groupO;
    std::uint32_t groupV;
};
SchemeColours SchemeColoursOf(int scheme);  // scheme 1, 2 or 3

void ApplyColourScheme1(frmMain& w);
void ApplyColourScheme2(frmMain& w);
void ApplyColourScheme3(frmMain& w);

}  // namespace tovimar
