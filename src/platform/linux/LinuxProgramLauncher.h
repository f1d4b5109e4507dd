#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "core/host/ProgramLauncher.h"

namespace modshelf::platform {

// Starts programs on Linux, detached: a new session, standard input and output
// on /dev/null, never waited for (no zombie is left behind either). Windows
// executables (a file that begins with "MZ") run through `wine`, found on
// PATH; every started program gets WINEPREFIX set to the prefix this program
// works on, so Scrivel and the stand-in see the same registry.
class LinuxProgramLauncher : public host::ProgramLauncher {
public:
    // `winePrefix` empty: WINEPREFIX is passed on as this program has it.
    explicit LinuxProgramLauncher(std::filesystem::path winePrefix = {});

    // False when the program is missing or not executable, a Windows
    // executable is to be started but no wine is on PATH, or exec fails.
    bool startDetached(const std::string& program,
                       const std::vector<std::string>& arguments) override;

    // Whether the file begins with the "MZ" of a Windows executable.
    static bool isWindowsExecutable(const std::filesystem::path& file);
    // The first executable `name` in the folders of PATH; empty when none.
    static std::filesystem::path findOnPath(const std::string& name);

private:
    std::filesystem::path winePrefix_;
};

}  // namespace modshelf::platform
