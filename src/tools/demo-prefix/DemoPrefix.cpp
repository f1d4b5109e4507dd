#include "DemoPrefix.h"

#include <fstream>
#include <stdexcept>

#include "DemoRegistry.h"
#include "FileTimes.h"
#include "core/host/HostInterface.h"

namespace modshelf::demo {

namespace fs = std::filesystem;

namespace {

// The time every folder, link and registry key of the prefix carries.
constexpr std::int64_t kPrefixTime = 1577873400;  // 2020-01-01 10:10 UTC

// Single quotes keep every byte of a path literal in a shell script, except
// the single quote itself, which is closed, escaped and reopened.
std::string shellQuote(const std::string& text) {
    std::string quoted = "'";
    for (char c : text) {
        if (c == '\'') {
            quoted += "'\\''";
        } else {
            quoted += c;
        }
    }
    return quoted + "'";
}

void writeText(const fs::path& path, const std::string& text) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << text;
    out.close();
    if (!out) throw std::runtime_error("Cannot write " + path.string());
}

// Writes next to the target, then renames over it, so that a reader never
// sees half a file.
void writeTextAtomically(const fs::path& path, const std::string& text, std::int64_t time) {
    fs::path temporary = path;
    temporary += ".new";
    writeText(temporary, text);
    setFileTime(temporary, time);
    fs::rename(temporary, path);
}

void makeLink(const fs::path& link, const fs::path& target) {
    std::error_code ec;
    fs::remove(link, ec);
    fs::create_directory_symlink(target, link);
    setFileTime(link, kPrefixTime, false);
}

void validateUserName(const std::string& userName) {
    if (userName.empty() || userName == "." || userName == ".." ||
        userName.find_first_of("/\\:*?\"<>|") != std::string::npos) {
        throw std::runtime_error("The user name \"" + userName +
                                 "\" cannot be a Windows folder name.");
    }
}

}  // namespace

DemoPrefixLayout DemoPrefixLayout::of(const fs::path& prefix, const std::string& userName) {
    DemoPrefixLayout layout;
    layout.prefix = prefix;
    layout.resourceFolder = prefix / "drive_c" / "Program Files (x86)" / "Scrivel";
    layout.documentsFolder = prefix / "drive_c" / "users" / userName / "Documents";
    layout.userFilesFolder = layout.documentsFolder / std::string(host::kUserFilesSubfolder);
    layout.hostExecutable = layout.resourceFolder / std::string(host::kHostExecutable);
    return layout;
}

std::string hostLauncherScript(const fs::path& simulator) {
    if (simulator.empty()) {
        return "#!/bin/sh\n"
               "# Scrivel in the demo prefix. No stand-in host was given when the prefix was\n"
               "# made; make the prefix again with --sim to start one.\n"
               "echo 'Scrivel.exe: the stand-in host (scrivel-sim) is missing from this demo "
               "prefix.' >&2\n"
               "exit 1\n";
    }
    // The stand-in reads the prefix named by WINEPREFIX; started by hand, the
    // script names its own prefix, three folders up. A folder given as the
    // stand-in holds the program of the same name (a build folder).
    return "#!/bin/sh\n"
           "# Scrivel in the demo prefix: hands over to the stand-in host.\n"
           "if [ -z \"$WINEPREFIX\" ]; then\n"
           "    WINEPREFIX=$(cd \"$(dirname \"$0\")/../../..\" && pwd)\n"
           "    export WINEPREFIX\n"
           "fi\n"
           "sim=" +
           shellQuote(simulator.string()) +
           "\n"
           "if [ -d \"$sim\" ]; then sim=\"$sim/$(basename \"$sim\")\"; fi\n"
           "if [ ! -x \"$sim\" ]; then\n"
           "    echo \"Scrivel.exe: the stand-in host $sim is missing; build it first.\" >&2\n"
           "    exit 1\n"
           "fi\n"
           "exec \"$sim\" \"$@\"\n";
}

DemoPrefixContents writeDemoPrefix(const fs::path& prefix, const DemoPrefixOptions& options) {
    validateUserName(options.userName);
    if (options.moduleCount < 0) throw std::runtime_error("The module count cannot be negative.");
    if (!options.overwrite && fs::exists(prefix / "user.reg")) {
        throw std::runtime_error(prefix.string() + " already holds a Wine prefix (user.reg).");
    }

    DemoPrefixContents contents;
    contents.layout = DemoPrefixLayout::of(prefix, options.userName);
    const DemoPrefixLayout& layout = contents.layout;

    fs::create_directories(prefix / "dosdevices");
    fs::create_directories(prefix / "drive_c" / "windows" / "system32");
    fs::create_directories(prefix / "drive_c" / "Program Files" / "Common Files");
    fs::create_directories(layout.documentsFolder.parent_path() / "Desktop");
    makeLink(prefix / "dosdevices" / "c:", "../drive_c");
    makeLink(prefix / "dosdevices" / "z:", "/");

    DemoModuleOptions moduleOptions;
    moduleOptions.count = options.moduleCount;
    moduleOptions.specialFiles = options.specialFiles;
    contents.resourceFiles = planDemoModules(moduleOptions);
    writeDemoFiles(layout.resourceFolder, contents.resourceFiles, kPrefixTime);

    if (options.simulator.extension() == ".exe") {
        // A Windows program stands in for Scrivel itself and runs under Wine.
        fs::copy_file(options.simulator, layout.hostExecutable,
                      fs::copy_options::overwrite_existing);
    } else {
        writeText(layout.hostExecutable, hostLauncherScript(options.simulator));
    }
    fs::permissions(layout.hostExecutable, fs::perms::owner_all | fs::perms::group_read |
                                               fs::perms::group_exec | fs::perms::others_read |
                                               fs::perms::others_exec);
    setFileTime(layout.hostExecutable, kPrefixTime);

    contents.userFiles = planUserFiles();
    writeDemoFiles(layout.userFilesFolder, contents.userFiles, kPrefixTime);

    setFolderTimes(prefix / "drive_c", kPrefixTime);
    setFolderTimes(prefix / "dosdevices", kPrefixTime);

    const DemoHives hives = buildDemoHives(options.userName, contents.resourceFiles, kPrefixTime);
    writeTextAtomically(prefix / "system.reg", settings::serializeWineHive(hives.system),
                        kPrefixTime);
    writeTextAtomically(prefix / "user.reg", settings::serializeWineHive(hives.user), kPrefixTime);
    setFileTime(prefix, kPrefixTime);
    return contents;
}

}  // namespace modshelf::demo
