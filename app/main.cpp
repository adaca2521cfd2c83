#include "app/modMain.h"

int main(int argc, char** argv) {
    return tovimar::modMain::Main(argc, argv);
}
