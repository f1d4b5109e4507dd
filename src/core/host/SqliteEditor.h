#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace modshelf::settings {
class SettingsStore;
}
namespace modshelf::dialogs {
class Prompter;
}

namespace modshelf::host {

class DriveMap;
class ProgramLauncher;

// The user's preferred SQLite editor: chosen once, then started with the
// module selected in the list. The program never talks to the editor after
// starting it, and never writes the module itself.
class SqliteEditor {
public:
    // What the editor needs from the system besides the settings.
    struct System {
        ProgramLauncher* launcher = nullptr;
        // Whether a file exists at the path.
        std::function<bool(const std::string& path)> fileExists;
        // Whether the program is a Windows executable (started through Wine,
        // so it must be given the module's Windows path).
        std::function<bool(const std::string& path)> isWindowsProgram;
        const DriveMap* drives = nullptr;
    };

    SqliteEditor(settings::SettingsStore& store, dialogs::Prompter& prompter, System system);

    // The stored editor path, as written.
    std::string editorPath() const;
    // "Open SQLite Editor" can run: an editor path is stored.
    bool configured() const;
    // Stores the chosen editor; no check is made that it edits SQLite files.
    void configure(const std::string& editorPath);

    // Starts the editor with the module at `selectedModulePath` (empty when
    // no row is selected, after asking). True when the editor was started.
    bool open(const std::string& selectedModulePath);

    // The module argument: nullopt when the selection names no module.
    static std::optional<std::string> moduleArgument(const std::string& selectedModulePath);

private:
    settings::SettingsStore& store_;
    dialogs::Prompter& prompter_;
    System system_;
};

}  // namespace modshelf::host
