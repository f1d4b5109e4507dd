#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "DemoModules.h"
#include "core/settings/WineHive.h"

namespace modshelf::demo {

// Windows paths of the demo prefix, as its registry gives them.
inline constexpr const char* kDemoProgramFilesDir = "C:\\Program Files";
inline constexpr const char* kDemoProgramFilesX86Dir = "C:\\Program Files (x86)";
std::string documentsFolderWindowsPath(const std::string& userName);  // no trailing backslash

// The workspace the demo registry names, and its title.
inline constexpr const char* kDemoWorkspaceKey = "Software\\Quorvel\\Modshelf\\Workspace2";
inline constexpr const char* kDemoWorkspaceTitle = "Greek and Hebrew Study";

struct DemoHives {
    settings::WineHive user;    // user.reg: HKEY_CURRENT_USER
    settings::WineHive system;  // system.reg: HKEY_LOCAL_MACHINE
};

// The two registry files of the demo prefix: Scrivel's folders and tab style,
// Windows' program files and documents folders, Scrivel's activation flags
// for some of `resourceModules`, and one named workspace with flags of its
// own. Every key carries `keyTime` (Unix seconds), so the files are the same
// on every run.
DemoHives buildDemoHives(const std::string& userName, const std::vector<DemoFile>& resourceModules,
                         std::int64_t keyTime);

}  // namespace modshelf::demo
