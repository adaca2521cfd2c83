// The program in parts, on Linux: the executable itself needs only Qt's core (the help, the version,
// a txt or csv export), and loads the part with the toolkit's drawing only when the command line
// needs it: the window (widgets and printing) or a PDF export (drawing alone). Linked in, those
// libraries would cost every start, a script's export included, their loading and relocation.
#pragma once

namespace tovimar {

enum class Part { Window, Pdf };

// Loads the part from the program's own installation and runs it with the program's arguments.
// Returns its exit status, or 1 with the reason on standard error where it cannot be loaded.
int RunPart(Part part, int argc, char** argv);

}  // namespace tovimar

// What each part exports, its only visible symbol: the program from its application object on.
extern "C" int tovimar_part_main(int argc, char** argv);
