#include "app/modMain.h"

#include "app/command_line.h"
#include "app/without_window.h"
#include "gui/mainwindow/frmMain.h"
#include "gui/widgets/app_style.h"
#include "gui/widgets/fonts.h"

#include <QApplication>
#include <QSocketNotifier>

#ifdef Q_OS_UNIX
#include <csignal>
#include <sys/socket.h>
#include <unistd.h>
#endif

namespace tovimar::modMain {

namespace {

#ifdef Q_OS_UNIX
int signalSocket[2] = {-1, -1};
int endingSignal = 0;

void onEndSignal(int signal) {
    const char byte = static_cast<char>(signal);
    [[maybe_unused]] const ssize_t written = ::write(signalSocket[1], &byte, 1);
}

// SIGTERM (a shutdown, `kill`) and SIGHUP (the terminal gone) end the event loop as the exit
// command does, so the window is destroyed normally and keeps the work left unsaved; then the
// program ends by the signal after all, as whoever sent it expects. The handler only writes a
// byte; the loop reads it.
void endOnSignals() {
    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, signalSocket) != 0)
        return;
    auto* notifier = new QSocketNotifier(signalSocket[0], QSocketNotifier::Read, qApp);
    QObject::connect(notifier, &QSocketNotifier::activated, qApp, [] {
        char byte = 0;
        if (::read(signalSocket[0], &byte, 1) == 1)
            endingSignal = byte;
        QCoreApplication::exit(0);
    });
    struct sigaction action {};
    action.sa_handler = onEndSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    ::sigaction(SIGTERM, &action, nullptr);
    ::sigaction(SIGHUP, &action, nullptr);
}

void endBySignalReceived() {
    if (endingSignal == 0)
        return;
    ::signal(endingSignal, SIG_DFL);
    ::raise(endingSignal);
}
#else
void endOnSignals() {}
void endBySignalReceived() {}
#endif

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
        return MayAskForPdf(argc, argv) ? RunWithoutWindow(argc, argv) : RunWithoutGui(argc, argv);

    QApplication app(argc, argv);
    // The toolkit has taken its own options out of the arguments; what is left is the file.
    const CommandLine line = ParseCommandLine(QCoreApplication::arguments());
    if (line.action != CommandLine::Action::Window) {
        PrintError(line.text);
        return 2;
    }
    SetUpApplication();
    endOnSignals();
    int status = 0;
    {
        frmMain w;
        if (!line.file.isEmpty())
            w.ShowMainViewAtOnce();  // started with a selection: no start screen
        w.show();
        if (!line.file.isEmpty())
            w.OpenSelectionFile(line.file);
        status = QApplication::exec();
    }  // the window keeps the work left unsaved as it goes
    endBySignalReceived();
    return status;
}

}  // namespace tovimar::modMain
