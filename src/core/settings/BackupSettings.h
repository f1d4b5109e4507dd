#pragma once

#include <functional>
#include <string>

namespace modshelf::dialogs {
class Prompter;
}

namespace modshelf::settings {

class SettingsStore;
class BackupFileChooser;
class ExportCancelCheck;

struct BackupEnvironment {
    SettingsStore& store;
    dialogs::Prompter& prompter;
    BackupFileChooser& files;
    std::string programPath;              // the proposed file goes beside it
    ExportCancelCheck* cancel = nullptr;  // asked between keys
    std::function<void(bool busy)> busy;  // the wait cursor
    std::function<void(int ms)> pause;
};

enum class BackupOutcome { NotAsked, Written, Cancelled, Failed };

// "Export (Back Up) Modshelf Settings": asks, lets the user pick the file and
// writes the whole settings subtree to it. The file is written under a
// temporary name and takes its real name only when complete, so a cancelled
// or failed backup never leaves a partial file or spoils an earlier backup.
BackupOutcome BackupSettings(BackupEnvironment& env);

}  // namespace modshelf::settings
