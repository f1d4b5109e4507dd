#pragma once

#include <filesystem>
#include <string>

#include "core/app/CommandLine.h"

namespace modshelf::platform {

// Runs a command of the command line on the Wine prefix ($WINEPREFIX, else
// ~/.wine) and gives the exit status. Needs no display: without one, Scrivel
// is looked for among the prefix's processes, and cannot be closed.
int runCommandLine(const app::CommandLine& line);

// Whether a process of the prefix runs Scrivel.exe (for a run without a
// display, where its windows cannot be seen).
bool hostProcessRunning(const std::filesystem::path& prefix);

}  // namespace modshelf::platform
