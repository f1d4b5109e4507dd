#pragma once

#include <filesystem>
#include <functional>
#include <ostream>
#include <string>

namespace modshelf::settings {
class SettingsStore;
}
namespace modshelf::dialogs {
class Prompter;
}

namespace modshelf::app {

struct AppState;
class InstanceMarker;

// The framework's profile key, a leftover that is removed at every start.
inline constexpr const char* kProfileKey = "Software\\Quorvel\\Modshelf\\Modshelf";
// The RTF conversion's work file in the current directory.
inline constexpr const char* kRtfWorkFile = "rtfconv.tmp";

// Takes the marker. When another copy holds it: beeps, tells the user, lets the
// marker go and returns true (this copy must end). A marker that cannot be
// made at all lets the program run.
bool refuseSecondCopy(InstanceMarker& marker, dialogs::Prompter& prompter);

// Removes "rtfconv.tmp" from the folder; a missing file is no error.
void deleteRtfWorkFile(const std::filesystem::path& folder);

// The leftovers of earlier runs: the profile key with all its subkeys and the
// RTF work file.
void clearLeftovers(settings::SettingsStore& store, const std::filesystem::path& currentDir,
                    std::ostream& diagnostics);

struct StartupEnvironment {
    settings::SettingsStore& store;
    dialogs::Prompter& prompter;
    InstanceMarker& marker;
    std::string programPath;           // the program's own file
    std::filesystem::path currentDir;  // where the RTF work file lives
    std::ostream* diagnostics =
        nullptr;  // the key-tree deletion's texts; standard output when null
};

// The start-up sequence. createMainWindow builds and shows the frame with its
// views; false there ends start-up without clearing the leftovers. Returns
// false when the program must end. All its writes are one settings operation:
// one save, and a failed save reported once.
bool initInstance(AppState& state, const StartupEnvironment& env,
                  const std::function<bool()>& createMainWindow);

}  // namespace modshelf::app
