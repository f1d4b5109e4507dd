#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "DemoModules.h"

namespace modshelf::demo {

struct DemoPrefixOptions {
    int moduleCount = kDefaultModuleCount;
    bool specialFiles = true;
    // The stand-in host: a Windows program (".exe") becomes Scrivel.exe
    // itself; any other program is what a Scrivel.exe script hands over to.
    // Empty gives a Scrivel.exe that says the stand-in is missing and fails.
    std::filesystem::path simulator;
    // The Windows user name: C:\users\<userName>.
    std::string userName = "demo";
    // Write into a folder that already holds a prefix (a user.reg).
    bool overwrite = false;
};

// Where things are in a written prefix.
struct DemoPrefixLayout {
    std::filesystem::path prefix;
    std::filesystem::path resourceFolder;   // drive_c/Program Files (x86)/Scrivel
    std::filesystem::path documentsFolder;  // drive_c/users/<user>/Documents
    std::filesystem::path userFilesFolder;  // <documents>/Scrivel
    std::filesystem::path hostExecutable;   // <resource folder>/Scrivel.exe

    static DemoPrefixLayout of(const std::filesystem::path& prefix, const std::string& userName);
};

struct DemoPrefixContents {
    DemoPrefixLayout layout;
    std::vector<DemoFile> resourceFiles;
    std::vector<DemoFile> userFiles;
};

// Writes a complete demo Wine prefix: user.reg and system.reg, the dosdevices
// links, Scrivel's resource folder with its modules and Scrivel.exe, and the
// user's Scrivel folder with notes and journals. Every file and folder gets a
// fixed time, so two runs with the same options give the same tree. user.reg
// is written last: a prefix without it is unfinished. Throws
// std::runtime_error when the prefix cannot be written, or when the folder
// already holds a prefix and `overwrite` is false.
DemoPrefixContents writeDemoPrefix(const std::filesystem::path& prefix,
                                   const DemoPrefixOptions& options);

// The text of Scrivel.exe for a given stand-in host (or none).
std::string hostLauncherScript(const std::filesystem::path& simulator);

}  // namespace modshelf::demo
