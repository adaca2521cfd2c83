// The three colour schemes on the main window: every assay check box and option button of both
// groups (named in the core's palette) takes its group's colour. They reach the window's
// controls by name and change nothing else.
#pragma once

namespace tovimar {

class frmMain;

void ApplyColourScheme1(frmMain& w);
void ApplyColourScheme2(frmMain& w);
void ApplyColourScheme3(frmMain& w);

}  // namespace tovimar
