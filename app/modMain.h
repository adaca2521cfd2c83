// Start-up of the program.
#pragma once

namespace tovimar::modMain {

// Starts the program: the main window (with the selection file the command line names, if any),
// or an export of a selection's order without a window. Returns the exit status.
int Main(int argc, char** argv);

// What the window's program sets on the application object before it builds the window: its
// names, the style and the font substitutes. Needs the application object.
void SetUpApplication();

}  // namespace tovimar::modMain
