#include "app/command_line.h"

#ifdef TOVIMAR_PARTS
#include "app/parts.h"
#else
#include "app/modMain.h"
#endif

int main(int argc, char** argv) {
#ifdef TOVIMAR_PARTS
    // As modMain::Main decides, by the arguments as plain text, before anything of the toolkit.
    using tovimar::Part;
    if (!tovimar::AsksWithoutWindow(argc, argv))
        return tovimar::RunPart(Part::Window, argc, argv);
    if (tovimar::MayAskForPdf(argc, argv))
        return tovimar::RunPart(Part::Pdf, argc, argv);
    return tovimar::RunWithoutGui(argc, argv);
#else
    return tovimar::modMain::Main(argc, argv);
#endif
}
