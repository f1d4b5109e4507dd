#include "DemoPrefix.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>

#include <cctype>
#include <cstdlib>
#include <fstream>
#include <set>

#include "DemoRegistry.h"
#include "DetailsProbe.h"
#include "core/host/DriveMap.h"
#include "core/host/HostFolders.h"
#include "core/modules/ModuleKind.h"
#include "core/settings/WineHive.h"
#include "platform/linux/WinePrefixSettingsStore.h"
#include "support/TempDir.h"

namespace modshelf::demo {
namespace {

namespace fs = std::filesystem;
using modshelf::test::readFile;
using modshelf::test::TempDir;
using modshelf::test::writeFile;

settings::WineHive loadHive(const fs::path& file) {
    settings::WineHive hive;
    std::string error;
    EXPECT_TRUE(settings::parseWineHive(readFile(file), hive, error)) << file << ": " << error;
    return hive;
}

std::string textValue(const settings::WineHive& hive, const std::string& key,
                      const std::string& name) {
    const settings::KeyNode* node = hive.tree.find(key);
    if (!node) return "<no key " + key + ">";
    const settings::NamedValue* value = node->findValue(name);
    if (!value) return "<no value " + name + ">";
    EXPECT_EQ(value->value.type, settings::kRegSz) << key << " " << name;
    return value->value.text();
}

bool sameNoCase(const std::string& a, const std::string& b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (std::tolower(static_cast<unsigned char>(a[i])) !=
            std::tolower(static_cast<unsigned char>(b[i]))) {
            return false;
        }
    }
    return true;
}

// Turns "C:\Program Files\..." into a path in the prefix the way Wine does:
// the drive letter's link, then each component matched without regard to case.
fs::path resolveWindowsPath(const fs::path& prefix, const std::string& windowsPath) {
    if (windowsPath.size() < 2 || windowsPath[1] != ':') return {};
    std::string drive(1,
                      static_cast<char>(std::tolower(static_cast<unsigned char>(windowsPath[0]))));
    fs::path current = prefix / "dosdevices" / (drive + ":");
    std::size_t start = 3;
    while (start < windowsPath.size()) {
        std::size_t end = windowsPath.find('\\', start);
        if (end == std::string::npos) end = windowsPath.size();
        const std::string component = windowsPath.substr(start, end - start);
        start = end + 1;
        if (component.empty()) continue;
        fs::path match;
        for (const auto& entry : fs::directory_iterator(current)) {
            if (sameNoCase(entry.path().filename().string(), component)) match = entry.path();
        }
        if (match.empty()) return {};
        current = match;
    }
    return fs::canonical(current);
}

bool folderHasExtension(const fs::path& folder, const std::string& extension) {
    for (const auto& entry : fs::directory_iterator(folder)) {
        if (entry.path().extension() == extension) return true;
    }
    return false;
}

struct Snapshot {
    std::string kind;
    std::string content;  // bytes of a file, target of a link
    std::int64_t modified = 0;
    unsigned mode = 0;
    bool operator==(const Snapshot&) const = default;
};

std::map<std::string, Snapshot> snapshot(const fs::path& root) {
    std::map<std::string, Snapshot> result;
    for (const auto& entry : fs::recursive_directory_iterator(root)) {
        struct stat info {};
        lstat(entry.path().c_str(), &info);
        Snapshot item;
        item.modified = info.st_mtim.tv_sec;
        item.mode = info.st_mode;
        if (entry.is_symlink()) {
            item.kind = "link";
            item.content = fs::read_symlink(entry.path()).string();
        } else if (entry.is_directory()) {
            item.kind = "folder";
        } else {
            item.kind = "file";
            item.content = readFile(entry.path());
        }
        result[entry.path().lexically_relative(root).string()] = item;
    }
    return result;
}

DemoPrefixOptions testOptions() {
    DemoPrefixOptions options;
    options.userName = "ruth";
    return options;
}

class WrittenDemoPrefix : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        folder_ = new TempDir;
        contents_ =
            new DemoPrefixContents(writeDemoPrefix(folder_->path() / "prefix", testOptions()));
    }
    static void TearDownTestSuite() {
        delete contents_;
        delete folder_;
    }
    static fs::path prefix() { return folder_->path() / "prefix"; }
    static const DemoPrefixContents& contents() { return *contents_; }

private:
    static TempDir* folder_;
    static DemoPrefixContents* contents_;
};
TempDir* WrittenDemoPrefix::folder_ = nullptr;
DemoPrefixContents* WrittenDemoPrefix::contents_ = nullptr;

TEST_F(WrittenDemoPrefix, HivesHaveWinesHeadersAndParseBack) {
    const std::string userText = readFile(prefix() / "user.reg");
    const std::string systemText = readFile(prefix() / "system.reg");
    EXPECT_TRUE(
        userText.starts_with("WINE REGISTRY Version 2\n"
                             ";; All keys relative to REGISTRY\\\\User\\\\S-1-5-21-0-0-0-1000\n"
                             "\n#arch=win64\n"))
        << userText.substr(0, 120);
    EXPECT_TRUE(
        systemText.starts_with("WINE REGISTRY Version 2\n"
                               ";; All keys relative to REGISTRY\\\\Machine\n"
                               "\n#arch=win64\n"))
        << systemText.substr(0, 120);
    // Key lines carry fixed times, in both of Wine's forms.
    EXPECT_NE(userText.find("] 1577873400\n#time="), std::string::npos);

    EXPECT_EQ(loadHive(prefix() / "user.reg").arch(), "win64");
    EXPECT_EQ(loadHive(prefix() / "system.reg").arch(), "win64");
    EXPECT_FALSE(fs::exists(prefix() / "user.reg.new"));
}

TEST_F(WrittenDemoPrefix, RegistryPathsLeadToScrivelsFolders) {
    const auto user = loadHive(prefix() / "user.reg");
    const auto system = loadHive(prefix() / "system.reg");
    const std::string settingsKey = "Software\\VB and VBA Program Settings\\Scrivel\\Settings";

    const std::string resources = textValue(user, settingsKey, "Resources Path");
    EXPECT_EQ(resources, "C:\\Program Files (x86)\\Scrivel\\");
    EXPECT_EQ(textValue(user, settingsKey, "Tab Style"), "1");
    EXPECT_EQ(textValue(system, "SOFTWARE\\Microsoft\\Windows\\CurrentVersion", "ProgramFilesDir"),
              "C:\\Program Files");
    EXPECT_EQ(
        textValue(system, "Software\\Microsoft\\Windows\\CurrentVersion", "ProgramFilesDir (x86)"),
        "C:\\Program Files (x86)");

    const fs::path resourceFolder = resolveWindowsPath(prefix(), resources);
    ASSERT_FALSE(resourceFolder.empty());
    EXPECT_EQ(resourceFolder, fs::canonical(contents().layout.resourceFolder));
    EXPECT_TRUE(folderHasExtension(resourceFolder, ".bblx"));
    EXPECT_TRUE(fs::is_regular_file(resourceFolder / "Scrivel.exe"));

    const std::string personal = textValue(
        user, "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders", "Personal");
    EXPECT_EQ(personal, "C:\\users\\ruth\\Documents");
    const fs::path userFiles = resolveWindowsPath(prefix(), personal + "\\Scrivel");
    ASSERT_FALSE(userFiles.empty());
    EXPECT_TRUE(folderHasExtension(userFiles, ".notx"));
    EXPECT_TRUE(folderHasExtension(userFiles, ".jnlx"));
    EXPECT_EQ(resolveWindowsPath(prefix(), textValue(user, settingsKey, "Path")), userFiles);

    // Z: is the whole Linux file system.
    EXPECT_EQ(fs::read_symlink(prefix() / "dosdevices" / "z:"), "/");
    EXPECT_EQ(fs::read_symlink(prefix() / "dosdevices" / "c:"), "../drive_c");
}

TEST_F(WrittenDemoPrefix, ActivationFlagsNameModulesThatExist) {
    const auto user = loadHive(prefix() / "user.reg");
    std::set<std::string> tabNames;
    for (const DemoFile& file : contents().resourceFiles) {
        if (file.tabName) tabNames.insert(*file.tabName);
    }
    int flags = 0, active = 0;
    for (const std::string category : {"Bibles", "Commentaries", "Dictionaries"}) {
        const auto* key =
            user.tree.find("Software\\VB and VBA Program Settings\\Scrivel\\Resource\\" + category);
        ASSERT_NE(key, nullptr) << category;
        ASSERT_FALSE(key->values.empty()) << category;
        for (const auto& value : key->values) {
            const std::string text = value.value.text();
            EXPECT_TRUE(text == "True" || text == "False") << value.name << "=" << text;
            active += text == "True";
            ++flags;
            if (value.name != "OLDV") {
                EXPECT_TRUE(tabNames.count(value.name)) << value.name;
            }
        }
        const auto* workspace = user.tree.find(std::string(kDemoWorkspaceKey) + "\\" + category);
        ASSERT_NE(workspace, nullptr);
        EXPECT_FALSE(workspace->values.empty());
    }
    EXPECT_GT(active, 0);
    EXPECT_LT(active, flags);
    EXPECT_EQ(textValue(user, kDemoWorkspaceKey, "WorkspaceTitle"), kDemoWorkspaceTitle);
}

TEST_F(WrittenDemoPrefix, UserFilesAreDatabasesWithDetails) {
    ASSERT_FALSE(contents().userFiles.empty());
    for (const DemoFile& file : contents().userFiles) {
        const auto row =
            probe::readDetailsRow(contents().layout.userFilesFolder / file.relativePath);
        EXPECT_TRUE(row.hasRow) << file.relativePath;
    }
}

TEST_F(WrittenDemoPrefix, TheSameOptionsGiveTheSameTree) {
    TempDir other;
    writeDemoPrefix(other.path(), testOptions());
    const auto first = snapshot(prefix());
    const auto second = snapshot(other.path());
    ASSERT_EQ(first.size(), second.size());
    for (const auto& [name, item] : first) {
        auto found = second.find(name);
        ASSERT_NE(found, second.end()) << name;
        EXPECT_TRUE(found->second == item) << name;
    }
}

// What Modshelf does at start on Linux: read the prefix's hive files and map
// the registry's Windows paths through the prefix's drives.
TEST(DemoPrefixWriting, ModshelfsFolderSearchFindsBothScrivelFolders) {
    TempDir folder;
    DemoPrefixOptions options = testOptions();
    options.moduleCount = 5;
    const auto contents = writeDemoPrefix(folder.path(), options);

    platform::WinePrefixSettingsStore store(folder.path(), {});
    const auto drives = host::DriveMap::fromPrefix(folder.path());
    const auto resources = host::findResourceFolder(store, drives);
    ASSERT_TRUE(resources.found) << store.loadProblems();
    EXPECT_EQ(fs::canonical(resources.folder), fs::canonical(contents.layout.resourceFolder));
    EXPECT_TRUE(resources.folder.ends_with("/"));
    const auto userFiles = host::findUserFilesFolder(store, drives);
    ASSERT_TRUE(userFiles.found);
    EXPECT_EQ(fs::canonical(userFiles.folder), fs::canonical(contents.layout.userFilesFolder));
}

TEST(DemoPrefixWriting, RefusesAnExistingPrefixUnlessAskedToOverwrite) {
    TempDir folder;
    writeFile(folder / "user.reg", "WINE REGISTRY Version 2\n");
    EXPECT_THROW(writeDemoPrefix(folder.path(), testOptions()), std::runtime_error);
    EXPECT_EQ(readFile(folder / "user.reg"), "WINE REGISTRY Version 2\n");

    DemoPrefixOptions options = testOptions();
    options.overwrite = true;
    options.moduleCount = 20;
    writeDemoPrefix(folder.path(), options);
    EXPECT_TRUE(readFile(folder / "user.reg").find("Resources Path") != std::string::npos);

    options.userName = "../escape";
    EXPECT_THROW(writeDemoPrefix(folder.path(), options), std::runtime_error);
}

int runShell(const std::string& command) {
    const int status = std::system(command.c_str());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

TEST(DemoPrefixWriting, ScrivelExeHandsOverToTheStandIn) {
    TempDir folder;
    const fs::path simulator = folder / "it's the sim";
    writeFile(
        simulator,
        "#!/bin/sh\necho \"started with $# $1 in $WINEPREFIX\" > \"$(dirname \"$0\")/ran.txt\"\n");
    fs::permissions(simulator, fs::perms::owner_all);

    DemoPrefixOptions options = testOptions();
    options.simulator = simulator;
    options.moduleCount = 0;
    options.specialFiles = false;
    const auto contents = writeDemoPrefix(folder / "prefix", options);
    const std::string exe = contents.layout.hostExecutable.string();
    const std::string prefix = fs::canonical(folder / "prefix").string();
    // Started by hand, the script names its own prefix.
    EXPECT_EQ(runShell("env -u WINEPREFIX '" + exe + "' one two"), 0);
    EXPECT_EQ(readFile(folder / "ran.txt"), "started with 2 one in " + prefix + "\n");
    EXPECT_EQ(runShell("WINEPREFIX=/elsewhere '" + exe + "'"), 0);
    EXPECT_EQ(readFile(folder / "ran.txt"), "started with 0  in /elsewhere\n");

    // A build folder given as the stand-in holds the program of its name.
    fs::create_directories(folder / "sim");
    fs::rename(simulator, folder / "sim" / "sim");
    options.simulator = folder / "sim";
    options.overwrite = true;
    writeDemoPrefix(folder / "prefix", options);
    EXPECT_EQ(runShell("'" + exe + "' x"), 0);
    EXPECT_TRUE(fs::exists(folder / "sim" / "ran.txt"));

    fs::remove(folder / "sim" / "sim");
    EXPECT_EQ(runShell("'" + exe + "' 2>" + (folder / "err.txt").string()), 1);
    EXPECT_NE(readFile(folder / "err.txt").find("is missing"), std::string::npos);

    options.simulator.clear();
    writeDemoPrefix(folder / "prefix", options);
    EXPECT_EQ(runShell("'" + exe + "' 2>" + (folder / "err.txt").string()), 1);
    EXPECT_NE(readFile(folder / "err.txt").find("stand-in host (scrivel-sim) is missing"),
              std::string::npos);
}

TEST(DemoPrefixWriting, EveryKindIsInTheResourceFolder) {
    TempDir folder;
    const auto contents = writeDemoPrefix(folder.path(), testOptions());
    std::set<modules::ModuleKind> kinds;
    for (const auto& entry : fs::directory_iterator(contents.layout.resourceFolder)) {
        kinds.insert(modules::classify(entry.path().filename().string()));
    }
    for (const auto& row : modules::moduleKindTable()) {
        EXPECT_TRUE(kinds.count(row.kind)) << row.extension;
    }
}

// The program itself, as `make run` calls it.
class DemoPrefixProgram : public ::testing::Test {
protected:
    static std::string program() {
        return std::string(MODSHELF_BINARY_DIR) + "/src/tools/modshelf-demo-prefix";
    }
    int run(const std::string& arguments) {
        return runShell("'" + program() + "' " + arguments + " >" + (folder / "out.txt").string() +
                        " 2>&1");
    }
    TempDir folder;
};

TEST_F(DemoPrefixProgram, WritesAPrefixAndRefusesToOverwriteIt) {
    const std::string prefix = (folder / "demo").string();
    ASSERT_EQ(run("--modules 25 --user ruth --sim /bin/true '" + prefix + "'"), 0)
        << readFile(folder / "out.txt");
    EXPECT_TRUE(fs::exists(folder / "demo" / "user.reg"));
    EXPECT_NE(readFile(folder / "demo/drive_c/Program Files (x86)/Scrivel/Scrivel.exe")
                  .find("sim='/bin/true'"),
              std::string::npos);
    EXPECT_EQ(run("'" + prefix + "'"), 1);
    EXPECT_NE(readFile(folder / "out.txt").find("already holds"), std::string::npos);
    EXPECT_EQ(run("--force --user ruth '" + prefix + "'"), 0);
}

TEST_F(DemoPrefixProgram, RejectsBadArguments) {
    EXPECT_EQ(run(""), 2);
    EXPECT_EQ(run("--modules ten x"), 2);
    EXPECT_EQ(run("--modules -4 x"), 2);
    EXPECT_EQ(run("--frobnicate x"), 2);
    EXPECT_EQ(run("a b"), 2);
    EXPECT_FALSE(fs::exists("x"));
    EXPECT_EQ(run("--help"), 0);
}

}  // namespace
}  // namespace modshelf::demo
