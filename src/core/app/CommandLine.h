#pragma once

#include <string>
#include <vector>

namespace modshelf::app {

// What the program was asked to do on its command line.
struct CommandLine {
    enum class Action { Window, Help, Version, Workspaces, List, Show, Activate, Diff, Error };
    enum class Format { Text, Tsv, Json };

    Action action = Action::Window;
    std::string prefix;  // --prefix: the Wine prefix; empty for the usual one
    Format format = Format::Text;
    std::string error;  // for Action::Error: what was wrong, for standard error

    std::string folder;       // list FOLDER
    int workspace = 0;        // list --workspace N, activate N: 1 to 15; 0 none
    bool allModules = false;  // activate A
    bool closeScrivel = false;
    std::string file;  // show FILE
    // diff N M: 1 to 15, or kCurrentSettings for Scrivel's own settings.
    int first = 0;
    int second = 0;

    static constexpr int kCurrentSettings = -1;

    // True for the actions that run without a window.
    bool isCommand() const { return action != Action::Window; }
};

// Exit statuses, as --help documents them.
inline constexpr int kExitSuccess = 0;
inline constexpr int kExitFailure = 1;  // the command could not do its work
inline constexpr int kExitUsage = 2;    // the command line was wrong

// Parses the arguments after the program name.
CommandLine parseCommandLine(const std::vector<std::string>& args);

// The texts of --help and --version.
std::string usageText(const std::string& programName);
std::string versionText();

}  // namespace modshelf::app
