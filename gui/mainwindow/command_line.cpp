#include "gui/mainwindow/command_line.h"

#include "core/output/order_export.h"
#include "core/output/order_file.h"
#include "core/output/selection_file.h"
#include "gui/output/frmPrint.h"
#include "gui/output/safe_file.h"
#include "gui/output/selection_file_reading.h"

#include <QCommandLineParser>
#include <cstdio>
#include <string>
#include <string_view>

namespace tovimar {

namespace {

const QString kUsage = QStringLiteral(
    "Usage: tovimar [FILE]\n"
    "       tovimar --selection FILE --export txt|csv|pdf --output OUT\n"
    "\n"
    "Puts together a laboratory's reagent, calibrator and control order from the assays it runs.\n"
    "\n"
    "  FILE                   open the window in the main view with the selection in FILE (.tovimar)\n"
    "  --selection FILE       the selection whose order is written, without a window\n"
    "  --export FORMAT        txt (the order-list file), csv or pdf (the printed order)\n"
    "  --output OUT           where the order goes; - is standard output for txt and csv\n"
    "  -h, --help             this text\n"
    "  -v, --version          the version\n"
    "\n"
    "Exit status of an export: 0 written, 2 the selection file cannot be read or is wrong,\n"
    "1 the output could not be written (nothing is left behind).\n");

void printError(const QString& text) {
    const QByteArray bytes = text.toLocal8Bit();
    std::fprintf(stderr, "tovimar: %s\n", bytes.constData());
}

CommandLine wrong(const QString& why) {
    CommandLine line;
    line.action = CommandLine::Action::Wrong;
    line.text = why + QStringLiteral("\nTry 'tovimar --help'.");
    return line;
}

// The classic X11 toolkit options, with and without a value, that Qt 6 neither uses nor removes.
QStringList withoutOldX11Options(const QStringList& arguments) {
    static const QStringList withValue = {"-dpi",        "-ncols", "-im",         "-fn",
                                          "-font",       "-bg",    "-background", "-fg",
                                          "-foreground", "-btn",   "-button",     "-inputstyle"};
    QStringList kept;
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        if (i > 0 && withValue.contains(arguments[i]))
            ++i;  // and its value
        else if (i == 0 || arguments[i] != QLatin1String("-cmap"))
            kept << arguments[i];
    }
    return kept;
}

}  // namespace

bool AsksWithoutWindow(int argc, const char* const* argv) {
    // Plain text only: this runs before the toolkit's application object exists.
    for (int i = 1; i < argc; ++i) {
        const std::string_view a(argv[i]);
        const std::string_view option = a.substr(0, a.find('='));
        for (const char* name : {"--selection", "-selection", "--export", "-export", "--output", "-output",
                                 "-h", "--help", "-help", "-v", "--version", "-version"})
            if (option == name)
                return true;
    }
    return false;
}

CommandLine ParseCommandLine(const QStringList& givenArguments) {
    const QStringList arguments = withoutOldX11Options(givenArguments);
    QCommandLineParser parser;
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    const QCommandLineOption help(QStringList{QStringLiteral("h"), QStringLiteral("help")});
    const QCommandLineOption version(QStringList{QStringLiteral("v"), QStringLiteral("version")});
    const QCommandLineOption selection(QStringLiteral("selection"), QString(), QStringLiteral("FILE"));
    const QCommandLineOption format(QStringLiteral("export"), QString(), QStringLiteral("FORMAT"));
    const QCommandLineOption output(QStringLiteral("output"), QString(), QStringLiteral("OUT"));
    parser.addOptions({help, version, selection, format, output});
    if (!parser.parse(arguments))
        return wrong(parser.errorText() + QLatin1Char('.'));

    CommandLine line;
    if (parser.isSet(help)) {
        line.action = CommandLine::Action::Help;
        line.text = kUsage;
        return line;
    }
    if (parser.isSet(version)) {
        line.action = CommandLine::Action::Version;
        line.text = QStringLiteral("tovimar " TOVIMAR_VERSION "\n");
        return line;
    }
    const QStringList files = parser.positionalArguments();
    const bool exporting = parser.isSet(selection) || parser.isSet(format) || parser.isSet(output);
    if (!exporting) {
        if (files.size() > 1)
            return wrong(QStringLiteral("Only one selection file can be opened."));
        line.file = files.value(0);
        return line;
    }
    if (!files.isEmpty())
        return wrong(
            QStringLiteral("An export takes its selection from --selection, not from %1.").arg(files[0]));
    if (!parser.isSet(selection) || !parser.isSet(format) || !parser.isSet(output))
        return wrong(QStringLiteral("An export needs --selection, --export and --output."));
    line.action = CommandLine::Action::Export;
    line.selection = parser.value(selection);
    line.format = parser.value(format).toLower();
    line.output = parser.value(output);
    if (line.format != QLatin1String("txt") && line.format != QLatin1String("csv") &&
        line.format != QLatin1String("pdf"))
        return wrong(
            QStringLiteral("Unknown export format \"%1\": txt, csv or pdf.").arg(parser.value(format)));
    if (line.output == QLatin1String("-") && line.format == QLatin1String("pdf"))
        return wrong(QStringLiteral("A PDF is written to a file, not to standard output."));
    if (line.output.isEmpty() || line.selection.isEmpty())
        return wrong(QStringLiteral("An export needs a selection file and an output."));
    return line;
}

int RunExport(const CommandLine& line) {
    Catalogue cat;
    LoadCatalogue(cat);
    const SelectionFromFile read = ReadSelectionFile(line.selection, cat);
    if (!read.selection) {
        printError(line.selection + QStringLiteral(": ") + read.problem);
        return 2;
    }
    AssayState state;
    Provenance provenance;
    ApplySelection(*read.selection, state, cat, provenance);

    std::optional<SaveFailure> failure;
    if (line.format == QLatin1String("pdf")) {
        failure = SavePrintoutPdf(cat, line.output);
    } else {
        const std::string text = line.format == QLatin1String("txt") ? OrderListText(cat) : OrderCsv(cat);
        if (line.output == QLatin1String("-")) {
            if (std::fwrite(text.data(), 1, text.size(), stdout) != text.size() || std::fflush(stdout) != 0) {
                printError(QStringLiteral("The order could not be written to standard output."));
                return 1;
            }
            return 0;
        }
        failure = SaveFile(QStringLiteral("The order"), line.output,
                           QByteArray(text.data(), qsizetype(text.size())));
    }
    if (failure) {
        printError(SaveFailureMessage(*failure));
        return 1;
    }
    return 0;
}

}  // namespace tovimar
