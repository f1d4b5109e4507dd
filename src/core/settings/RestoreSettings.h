#pragma once

#include <functional>
#include <string>

namespace modshelf::dialogs {
class Prompter;
}

namespace modshelf::settings {

class SettingsStore;
class BackupFileChooser;

struct RestoreEnvironment {
    SettingsStore& store;
    dialogs::Prompter& prompter;
    BackupFileChooser& files;
    bool& settingsRestored;                 // set before the restart, so that the
                                            // placement is not saved over at close
    std::function<void()> releaseInstance;  // so that the new copy can start
    std::string programPath;                // the proposed file is beside it
    std::function<void(bool busy)> busy;    // the wait cursor
    std::function<void(int ms)> pause;
    std::function<bool()> startNewCopy;     // the restart: false when it could not start
    std::function<void()> closeMainWindow;  // ends this copy
};

enum class RestoreOutcome { NotAsked, Refused, Failed, Restored };

// Largest file taken as a backup: far above any real one, low enough that a
// stray huge file cannot keep the program busy.
inline constexpr unsigned long long kMaxBackupFileSize = 256ull << 20;

// "Import (Restore) Modshelf Settings": asks, lets the user pick the file,
// checks its name and its content, then replaces the settings subtree with
// the file's keys, all at once or not at all, and restarts the program so that
// the restored settings take effect. A file with a fault, or one that names
// any key outside Modshelf's own settings, changes nothing.
RestoreOutcome RestoreSettings(RestoreEnvironment& env);

}  // namespace modshelf::settings
