#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "core/app/CommandLine.h"
#include "gui/ModshelfApplication.h"
#include "platform/Platform.h"

// With a command (or --help, --version), the program runs it without a
// window; without one it opens the window. --prefix names the Wine prefix for
// both.
int main(int argc, char** argv) {
    using modshelf::app::CommandLine;
    const CommandLine line =
        modshelf::app::parseCommandLine(std::vector<std::string>(argv + 1, argv + argc));
    if (!line.prefix.empty()) {
        std::error_code error;
        const std::filesystem::path prefix = std::filesystem::absolute(line.prefix, error);
        ::setenv("WINEPREFIX", prefix.c_str(), 1);
    }
    modshelf::platform::installSystemServices();
    if (line.action == CommandLine::Action::Window) return modshelf::gui::runModshelf(argc, argv);
    return modshelf::platform::runCommandLine(line);
}
