#include "gui/mainwindow/modMain.h"

#include "gui/mainwindow/command_line.h"
#include "gui/mainwindow/frmMain.h"
#include "gui/mainwindow/start_screen.h"
#include "gui/output/frmOutput.h"
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
        if (line.format == QLatin1String("pdf")) {
            // The printed order needs fonts, not a screen: no display is asked for.
            if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
                qputenv("QT_QPA_PLATFORM", "offscreen");
            QGuiApplication app(argc, argv);
            installFontSubstitutes();
            return RunExport(line);
        } else {
            QCoreApplication app(argc, argv);
            return RunExport(line);
        }
    case CommandLine::Action::Window:
        break;
    }
    return 2;  // not reached: the arguments asked for no window
}

}  // namespace

int Main(int argc, char** argv) {
    if (AsksWithoutWindow(argumentsOf(argc, argv)))
        return withoutWindow(argc, argv);

    BeginDecodingStartPictures();  // while the toolkit starts
    QApplication app(argc, argv);
    // The toolkit has taken its own options out of the arguments; what is left is the file.
    const CommandLine line = ParseCommandLine(QCoreApplication::arguments());
    if (line.action != CommandLine::Action::Window) {
        print(stderr, QStringLiteral("tovimar: ") + line.text + QLatin1Char('\n'));
        return 2;
    }
    QApplication::setApplicationName(QStringLiteral("Tovimar"));
    QApplication::setOrganizationName(QStringLiteral("Nordvale"));
    // Ties the window to its desktop entry, so that the desktop shows the menu entry's name and icon.
    QGuiApplication::setDesktopFileName(QStringLiteral("com.nordvale.Tovimar"));
    installApplicationStyle();
    installFontSubstitutes();
    frmMain w;
    w.setOutputAction([&w] {
        frmOutput dialog(w.catalogue(), frmOutputHooks::real(), &w);
        dialog.exec();
    });
    if (!line.file.isEmpty())
        w.ShowMainViewAtOnce();  // started with a selection: no start screen
    w.show();
    if (!line.file.isEmpty())
        w.OpenSelectionFile(line.file);
    return QApplication::exec();
}

}  // namespace tovimar::modMain
