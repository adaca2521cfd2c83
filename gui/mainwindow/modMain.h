// Start-up of the program.
#pragma once

namespace tovimar::modMain {

// Starts the Qt program, shows the main window and returns when it is gone.
int Main(int argc, char** argv);

}  // namespace tovimar::modMain
