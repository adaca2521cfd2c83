#include "app/without_window.h"

#include "gui/output/printout.h"
#include "gui/widgets/fonts.h"

#include <QGuiApplication>

namespace tovimar {

int RunPdfExport(const CommandLine& line) {
    const std::optional<Order> order = OrderToExport(line);
    if (!order)
        return 2;
    installFontSubstitutes();
    // Written as the window writes it, so that a failure names the file in the same words.
    return ExportStatus(SavePrintoutPdf(*order, line.output, SaveFor::Script));
}

int RunWithoutWindow(int argc, char** argv) {
    // The toolkit gets the program's name only and never a screen, whatever platform the
    // environment or the arguments name: nothing here needs a display, and a missing one must not
    // abort an export. Its own notes are not the export's to print.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    qInstallMessageHandler(ToolkitNotesDropped);
    int toolkitArgc = 1;
    const QGuiApplication app(toolkitArgc, argv);
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    return Answer(ParseCommandLine(arguments), [](const CommandLine& line) {
        return line.format == QLatin1String("pdf") ? RunPdfExport(line) : RunExport(line);
    });
}

}  // namespace tovimar
