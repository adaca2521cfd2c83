// The entry of a part of the program (app/parts.h): the window, or a PDF export.
#include "app/parts.h"

#ifdef TOVIMAR_PART_WINDOW
#include "app/modMain.h"
#else
#include "app/without_window.h"
#endif

extern "C" __attribute__((visibility("default"))) int tovimar_part_main(int argc, char** argv) {
#ifdef TOVIMAR_PART_WINDOW
    return tovimar::modMain::Main(argc, argv);
#else
    return tovimar::RunWithoutWindow(argc, argv);
#endif
}
