#include "app/parts.h"

#include <climits>
#include <cstdio>
#include <dlfcn.h>
#include <string>
#include <unistd.h>

namespace tovimar {

namespace {

// The folder of the running program, from the kernel: where the program was started from, however
// it was found (the PATH, a link, a relative path).
std::string programFolder() {
    char path[PATH_MAX];
    const ssize_t length = ::readlink("/proc/self/exe", path, sizeof path - 1);
    if (length <= 0)
        return ".";
    const std::string exe(path, static_cast<std::size_t>(length));
    return exe.substr(0, exe.rfind('/'));
}

}  // namespace

int RunPart(Part part, int argc, char** argv) {
    // The parts lie at the same place relative to the program in the build folder and installed.
    const std::string file = programFolder() + "/" TOVIMAR_PARTS_FROM_PROGRAM "/" +
                             (part == Part::Window ? "tovimar-window.so" : "tovimar-pdf.so");
    // Bound as they are called: of the toolkit's symbols a start uses only some.
    void* library = ::dlopen(file.c_str(), RTLD_LAZY | RTLD_LOCAL);
    const auto run =
        library ? reinterpret_cast<int (*)(int, char**)>(::dlsym(library, "tovimar_part_main")) : nullptr;
    if (!run) {
        std::fprintf(stderr, "tovimar: a part of the program is missing: %s\n", ::dlerror());
        return 1;
    }
    return run(argc, argv);
}

}  // namespace tovimar
