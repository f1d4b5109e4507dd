#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "core/host/DriveMap.h"
#include "core/host/HostFolderState.h"

namespace modshelf::settings {
class SettingsStore;
}

namespace modshelf::host {

// The platform's folder separator; every folder text handed around ends in it.
inline constexpr char kFolderSeparator = '/';
// What a folder search gives when no candidate passed.
inline constexpr std::string_view kFolderNotFound = " ";

// `path` with the separator appended unless it is empty or ends in one.
std::string ensureTrailingSeparator(std::string path);

// True when `pattern` (with '*' and '?') matches `name` ignoring case, or
// matches the name's short form, whose extension is cut to three characters
// ("notes.notx" also matches "*.not").
bool wildcardMatches(std::string_view pattern, std::string_view name);

// True when some entry of `folder` matches `pattern`. An empty folder text
// searches the current directory, as the Windows search would.
bool folderHasMatch(const std::string& folder, std::string_view pattern);

struct FolderSearch {
    std::string folder{kFolderNotFound};  // a local folder ending in the separator, or " "
    bool found = false;
    std::vector<std::string> searched;  // the Windows folders tried, without repeats
};

// Scrivel's resource folder: the first of "Resources Path", "Path",
// ProgramFilesDir + "Scrivel\" and the default folder that holds a Bible
// module. Windows paths are mapped through `drives`.
FolderSearch findResourceFolder(settings::SettingsStore& store, const DriveMap& drives);
// The "Scrivel" folder below the user's documents folder, if it holds notes.
FolderSearch findUserFilesFolder(settings::SettingsStore& store, const DriveMap& drives);

// The default host folder as a local folder (through the drive map); the
// Windows text itself when its drive is unknown.
std::string defaultHostFolder(const DriveMap& drives);
// `currentFolder`, or the default host folder when it is empty.
std::string currentFolderOrDefault(const std::string& currentFolder, const DriveMap& drives);

// Runs both searches, resource folder first, and stores the folders and their
// found-flags in `state`.
void discoverHostFolders(HostFolderState& state, settings::SettingsStore& store,
                         const DriveMap& drives);

}  // namespace modshelf::host
