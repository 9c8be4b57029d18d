// The entry point hands over to the runtime, which loads the main window and
// runs until the last window closes.
#include <cstdio>
#include <memory>
#include <string_view>

#include <tolvu/version.h>

#include "app_object.h"
#include "form1.h"

int main(int argc, char** argv)
{
    // Answered before anything connects to a display, so that they work in
    // a terminal without one.
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg = argv[i];
        const bool help = arg == "--help" || arg == "-h";
        if (help || arg == "--version" || arg == "-V") {
            std::printf("Tolvu (%s) %s\n", tolvu::version::kProductName.data(), tolvu::version::kFullVersion.data());
            if (help)
                std::puts("Usage: Tolvu [--help | --version] [Qt options]\nOpens the converter's window; man Tolvu "
                          "lists its keys.");
            return std::fflush(stdout) == 0 ? 0 : 1;
        }
    }
    if (!tolvu::runtime::displayNamed(argc, argv)) {
        std::fputs("Tolvu: no display to open the window on: neither WAYLAND_DISPLAY nor DISPLAY is set\n"
                   "(tolvu-convert converts on the command line without one)\n",
                   stderr);
        return 1;
    }
    return tolvu::runtime::start(argc, argv, [] { return std::make_unique<tolvu::Form1>(); });
}
