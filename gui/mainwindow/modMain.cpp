#include "gui/mainwindow/modMain.h"

#include "gui/mainwindow/frmMain.h"
#include "gui/output/frmOutput.h"
#include "gui/widgets/fonts.h"

#include <QApplication>
#include <QStyleFactory>

namespace tovimar::modMain {

int Main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Tovimar"));
    QApplication::setOrganizationName(QStringLiteral("Nordvale"));
    // Ties the window to its desktop entry, so that the desktop shows the menu entry's name and icon.
    QGuiApplication::setDesktopFileName(QStringLiteral("com.nordvale.Tovimar"));
    // One look on every desktop: the colours of the layout are drawn the same everywhere.
    QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
    installFontSubstitutes();
    frmMain w;
    w.setOutputAction([&w] {
        frmOutput dialog(w.catalogue(), frmOutputHooks::real(), &w);
        dialog.exec();
    });
    w.show();
    return QApplication::exec();
}

}  // namespace tovimar::modMain
