#include "app/command_line.h"

#include "core/output/order_export.h"
#include "core/output/order_file.h"
#include "core/output/selection_file.h"
#include "gui/output/order_files.h"
#include "gui/output/safe_file.h"
#include "gui/output/selection_file_reading.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QFileInfo>
#include <cctype>
#include <cerrno>
#include <cstdio>
#include <cstring>
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
    "Exit status of an export: 0 written; 2 the command line is wrong, the selection file cannot\n"
    "be read or is wrong, or the output is the selection file itself; 1 the output could not be\n"
    "written (nothing is left behind, an existing file is unchanged).\n");

CommandLine wrong(const QString& why) {
    CommandLine line;
    line.action = CommandLine::Action::Wrong;
    line.text = why + QStringLiteral("\nTry 'tovimar --help'.");
    return line;
}

// The toolkit's options, with and without a value: the classic X11 ones, which Qt 6 neither uses
// nor removes, and Qt's own, which the window's toolkit has taken out already and an export,
// which always draws off the screen, has no use for.
QStringList withoutToolkitOptions(const QStringList& arguments) {
    static const QStringList withValue =
        QStringLiteral("-dpi -ncols -im -fn -font -bg -background -fg -foreground -btn -button -inputstyle "
                       "-platform -platformpluginpath -platformtheme -plugin -qwindowgeometry -qwindowicon "
                       "-qwindowtitle -display -geometry -title -name -style -stylesheet -session")
            .split(QLatin1Char(' '));
    static const QStringList flags = {"-cmap", "-reverse", "-sync", "-nograb", "-dograb", "-widgetcount"};
    QStringList kept;
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        // The toolkit reads its options with one dash or two.
        const QString option =
            arguments[i].startsWith(QLatin1String("--")) ? arguments[i].mid(1) : arguments[i];
        if (i > 0 && withValue.contains(option))
            ++i;  // and its value
        else if (i == 0 || !flags.contains(option))
            kept << arguments[i];
    }
    return kept;
}

QStringList argumentsOf(int argc, char** argv) {
    QStringList args;
    for (int i = 0; i < argc; ++i)
        args << QString::fromLocal8Bit(argv[i]);
    return args;
}

void print(std::FILE* to, const QString& text) {
    const QByteArray bytes = text.toLocal8Bit();
    std::fputs(bytes.constData(), to);
}

}  // namespace

void PrintError(const QString& text) {
    const QByteArray bytes = text.toLocal8Bit();
    std::fprintf(stderr, "tovimar: %s\n", bytes.constData());
}

void ToolkitNotesDropped(QtMsgType type, const QMessageLogContext&, const QString& text) {
    if (type == QtCriticalMsg || type == QtFatalMsg)
        std::fprintf(stderr, "tovimar: %s\n", text.toLocal8Bit().constData());
}

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

bool MayAskForPdf(int argc, const char* const* argv) {
    // The format is an option's value, on its own or after "=", in any case.
    for (int i = 1; i < argc; ++i) {
        std::string a(argv[i]);
        for (char& c : a)
            c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        if (a == "pdf" || a.ends_with("=pdf"))
            return true;
    }
    return false;
}

CommandLine ParseCommandLine(const QStringList& givenArguments) {
    const QStringList arguments = withoutToolkitOptions(givenArguments);
    QCommandLineParser parser;
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    const QCommandLineOption help(QStringList{QStringLiteral("h"), QStringLiteral("help")});
    const QCommandLineOption version(QStringList{QStringLiteral("v"), QStringLiteral("version")});
    const QCommandLineOption selection(QStringLiteral("selection"), QString(), QStringLiteral("FILE"));
    const QCommandLineOption format(QStringLiteral("export"), QString(), QStringLiteral("FORMAT"));
    const QCommandLineOption output(QStringLiteral("output"), QString(), QStringLiteral("OUT"));
    parser.addOptions({help, version, selection, format, output});
    if (!parser.parse(arguments)) {
        QString why = parser.errorText();
        return wrong(why.endsWith(QLatin1Char('.')) ? why : why + QLatin1Char('.'));
    }
    // Which of two would count is a guess: an order written from the wrong selection, or to the
    // wrong place.
    for (const QCommandLineOption* option : {&selection, &format, &output})
        if (parser.values(*option).size() > 1)
            return wrong(
                QStringLiteral("The option --%1 is given more than once.").arg(option->names().first()));

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

std::optional<Order> OrderToExport(const CommandLine& line) {
    const bool toStandardOutput = line.output == QLatin1String("-");
    // However it is named (another name, a link, /dev/stdout), the selection is never the output;
    // each is named as it will be opened.
    if (NamesSameFile(toStandardOutput ? QStringLiteral("/dev/stdout")
                                       : QFileInfo(line.output).absoluteFilePath(),
                      line.selection)) {
        PrintError(
            QStringLiteral("%1 is the selection file %2 itself; the order would replace the selection.")
                .arg(toStandardOutput ? QStringLiteral("Standard output") : line.output, line.selection));
        return std::nullopt;
    }
    const SelectionFromFile read = ReadSelectionFile(line.selection);
    if (!read.selection) {
        PrintError(line.selection + QStringLiteral(": ") + read.problem);
        return std::nullopt;
    }
    // With the quantities and figures the file holds, as the window would have it after opening it.
    Order order;
    ApplySelection(*read.selection, order);
    return order;
}

int ExportStatus(const std::optional<SaveFailure>& failure) {
    if (!failure)
        return 0;
    PrintError(SaveFailureMessage(*failure, SaveFor::Script));
    return 1;
}

int RunExport(const CommandLine& line) {
    Q_ASSERT(line.format != QLatin1String("pdf"));
    const std::optional<Order> order = OrderToExport(line);
    if (!order)
        return 2;
    // Written as the window writes them, so that a failure names the file in the same words.
    const bool txt = line.format == QLatin1String("txt");
    if (line.output != QLatin1String("-"))
        return ExportStatus(txt ? WriteOrderList(*order, line.output, SaveFor::Script)
                                : WriteOrderCsv(*order, line.output, SaveFor::Script));
    const std::string text = txt ? OrderListText(*order) : OrderCsv(*order);
    errno = 0;
    if (std::fwrite(text.data(), 1, text.size(), stdout) != text.size() || std::fflush(stdout) != 0) {
        const int error = errno;
        PrintError(QStringLiteral("The order could not be written to standard output%1.")
                       .arg(error != 0 ? QStringLiteral(": ") + QString::fromLocal8Bit(std::strerror(error))
                                       : QString()));
        return 1;
    }
    return 0;
}

int Answer(const CommandLine& line, const std::function<int(const CommandLine&)>& exportOrder) {
    switch (line.action) {
    case CommandLine::Action::Help:
    case CommandLine::Action::Version:
        print(stdout, line.text);
        return 0;
    case CommandLine::Action::Wrong:
        print(stderr, QStringLiteral("tovimar: ") + line.text + QLatin1Char('\n'));
        return 2;
    case CommandLine::Action::Export:
        return exportOrder(line);
    case CommandLine::Action::Window:
        break;
    }
    return 2;  // not reached: the arguments asked for no window
}

int RunWithoutGui(int argc, char** argv) {
    qInstallMessageHandler(ToolkitNotesDropped);
    int toolkitArgc = 1;
    const QCoreApplication app(toolkitArgc, argv);
    // No argument names a PDF (MayAskForPdf): an export here is txt or csv.
    return Answer(ParseCommandLine(argumentsOf(argc, argv)), RunExport);
}

}  // namespace tovimar
