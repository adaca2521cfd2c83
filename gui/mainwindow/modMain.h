// Start-up of the program.
#pragma once

namespace tovimar::modMain {

// Starts the program: the main window (with the selection file the command line names, if any),
// or an export of a selection's order without a window. Returns the exit status.
int Main(int argc, char** argv);

}  // namespace tovimar::modMain
