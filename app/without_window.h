// The program without a window but with the toolkit's drawing: a PDF of the printed order, on the
// offscreen platform.
#pragma once

#include "app/command_line.h"

namespace tovimar {

// Writes the printed order of the selection file as a PDF, without a window and without a screen;
// needs a QGuiApplication (on the offscreen platform: the printed order needs fonts, not a
// display). Messages and exit status as RunExport's.
int RunPdfExport(const CommandLine& line);

// The program when it asks for no window and may ask for a PDF (MayAskForPdf): as RunWithoutGui,
// on a QGuiApplication that never opens a screen.
int RunWithoutWindow(int argc, char** argv);

}  // namespace tovimar
