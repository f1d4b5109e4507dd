#pragma once

#include <functional>
#include <optional>
#include <ostream>
#include <string>

#include "core/app/CommandLine.h"

namespace modshelf::settings {
class SettingsStore;
}
namespace modshelf::host {
class DriveMap;
}

namespace modshelf::app {

// What the command-line commands need of the system; the program fills it
// from the Wine prefix, tests from their own stores and folders.
struct CliEnvironment {
    settings::SettingsStore& store;
    const host::DriveMap& drives;
    std::ostream& out;
    std::ostream& err;
    // Whether Scrivel runs; closing it (true when it has gone). Empty: Scrivel
    // cannot be seen, and counts as not running.
    std::function<bool()> hostRunning;
    std::function<bool()> closeHost;
};

// Runs a command that needs no window and gives the exit status. Reports
// (workspaces, list, show, diff) only read the settings: they change nothing,
// not even a missing key. Activation makes the same writes, in one operation,
// as the window's command, and asks nothing: a running Scrivel makes it fail
// unless the command line says to close it.
int runCliCommand(const CommandLine& line, CliEnvironment& env);

// --help, --version and a wrong command line need nothing of the system:
// prints what they print and gives the exit status; nullopt for the others.
std::optional<int> runWithoutSystem(const CommandLine& line, std::ostream& out, std::ostream& err);

}  // namespace modshelf::app
