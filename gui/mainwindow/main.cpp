#include "gui/mainwindow/modMain.h"

int main(int argc, char** argv) {
    return tovimar::modMain::Main(argc, argv);
}
