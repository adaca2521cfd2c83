// The program's command line. Without arguments the window opens; with a selection file it opens
// in the main view with that selection (a double-click in a file manager does this); with
// --selection, --export and --output it writes the order of a selection without a window, for
// scripts and laboratory systems.
#pragma once

#include "core/order/order.h"
#include "gui/output/safe_file.h"

#include <QString>
#include <QStringList>
#include <QtGlobal>
#include <functional>
#include <optional>

namespace tovimar {

struct CommandLine {
    enum class Action { Window, Export, Help, Version, Wrong };
    Action action = Action::Window;
    QString file;       // the selection to open in the window; empty for none
    QString selection;  // --selection FILE
    QString format;     // --export: txt, csv or pdf
    QString output;     // --output OUT; "-" is standard output for txt and csv
    QString text;       // the help, the version, or what is wrong with the command line
};

// Whether the program's arguments ask for something without a window: an export, the help or the
// version. Everything else opens the window, whose toolkit takes its own options (-platform,
// -style, -display ...) out of the arguments before they are read here. Uses nothing of the
// toolkit, so it can be asked before the application object exists.
bool AsksWithoutWindow(int argc, const char* const* argv);

// Whether an export to PDF may be what the arguments ask for: whether any of them could name the
// format pdf. Where none can, the program needs nothing of the toolkit's drawing and starts on Qt's
// core alone. Plain text, as AsksWithoutWindow.
bool MayAskForPdf(int argc, const char* const* argv);

// `arguments` as the program got them, its own name first (for the window: as the toolkit left
// them). The X11 toolkit options that Qt 6 leaves in place and ignores (-dpi 96, -fn ...) are
// passed over, as they always were, and so are Qt's own (-platform offscreen, -style ...), which
// an export does not use. An option of the export given twice is refused.
CommandLine ParseCommandLine(const QStringList& arguments);

// The order an export writes: the selection file's, with its quantities and figures, as the
// window has it after opening it. Empty, the reason printed on standard error, where the selection
// cannot be read or is wrong, or is the output itself (exit status 2).
std::optional<Order> OrderToExport(const CommandLine& line);

// The exit status of an export that saved a file: 0, or 1 with the reason printed.
int ExportStatus(const std::optional<SaveFailure>& failure);

// Writes the order of the selection file as a txt or csv export asks (a PDF is RunPdfExport's, in
// app/without_window.h, which needs Qt's drawing). Messages go to standard error. Exit status: 0
// written; 2 the selection file cannot be read or is wrong, or is the output itself; 1 the output
// could not be written (no partial file is left behind; a file that could only be written in place
// is not written).
int RunExport(const CommandLine& line);

// Does what a command line asking for no window says: prints the help, the version or what is
// wrong, or writes the order through `exportOrder`. Returns the exit status.
int Answer(const CommandLine& line, const std::function<int(const CommandLine&)>& exportOrder);

// The program when it asks for no window and may not ask for a PDF (MayAskForPdf): the help, the
// version, a wrong command line, a txt or csv export, on Qt's core alone.
int RunWithoutGui(int argc, char** argv);

// "tovimar: <text>" on standard error.
void PrintError(const QString& text);

// A message handler for the toolkit without a window: drops its own notes (a missing runtime
// folder, a font it substitutes), so that a script reads only the export's sentences on standard
// error; what is critical still shows.
void ToolkitNotesDropped(QtMsgType type, const QMessageLogContext& context, const QString& text);

}  // namespace tovimar
