#include "app/modMain.h"

#include "app/command_line.h"
#include "gui/mainwindow/frmMain.h"
#include "gui/widgets/app_style.h"
#include "gui/widgets/fonts.h"

#include <QApplication>
#include <cstdio>

namespace tovimar::modMain {

namespace {

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

int withoutWindow(int argc, char** argv) {
    // The toolkit gets the program's name only and never a screen, whatever platform the
    // environment or the arguments name: nothing here needs a display, and a missing one must not
    // abort an export. Its own notes are not the export's to print.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    qInstallMessageHandler(ToolkitNotesDropped);
    int toolkitArgc = 1;
    QGuiApplication app(toolkitArgc, argv);
    const CommandLine line = ParseCommandLine(argumentsOf(argc, argv));
    switch (line.action) {
    case CommandLine::Action::Help:
    case CommandLine::Action::Version:
        print(stdout, line.text);
        return 0;
    case CommandLine::Action::Wrong:
        print(stderr, QStringLiteral("tovimar: ") + line.text + QLatin1Char('\n'));
        return 2;
    case CommandLine::Action::Export:
        return RunExport(line);
    case CommandLine::Action::Window:
        break;
    }
    return 2;  // not reached: the arguments asked for no window
}

}  // namespace

void SetUpApplication() {
    QApplication::setApplicationName(QStringLiteral("Tovimar"));
    QApplication::setOrganizationName(QStringLiteral("Nordvale"));
    // Ties the window to its desktop entry, so that the desktop shows the menu entry's name and icon.
    QGuiApplication::setDesktopFileName(QStringLiteral("com.nordvale.Tovimar"));
    installApplicationStyle();
    installFontSubstitutes();
}

int Main(int argc, char** argv) {
    // Nothing of the toolkit may run before its application object exists, on any thread: the
    // arguments are looked at as plain text first, and the start pictures are decoded only once
    // the window is being built.
    if (AsksWithoutWindow(argc, argv))
        return withoutWindow(argc, argv);

    QApplication app(argc, argv);
    // The toolkit has taken its own options out of the arguments; what is left is the file.
    const CommandLine line = ParseCommandLine(QCoreApplication::arguments());
    if (line.action != CommandLine::Action::Window) {
        print(stderr, QStringLiteral("tovimar: ") + line.text + QLatin1Char('\n'));
        return 2;
    }
    SetUpApplication();
    frmMain w;
    if (!line.file.isEmpty())
        w.ShowMainViewAtOnce();  // started with a selection: no start screen
    w.show();
    if (!line.file.isEmpty())
        w.OpenSelectionFile(line.file);
    return QApplication::exec();
}

}  // namespace tovimar::modMain
