#include "core/host/HostFolders.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>

#include "DemoPrefix.h"
#include "core/app/AppState.h"
#include "core/settings/MemorySettingsStore.h"
#include "support/TempDir.h"

namespace modshelf::host {
namespace {

namespace fs = std::filesystem;
using settings::RegRoot;
using settings::RegValue;

void put(settings::SettingsStore& store, RegRoot root, const std::string& key,
         const std::string& name, const std::string& text) {
    ASSERT_EQ(store.createKey(root, key), settings::kSuccess);
    ASSERT_EQ(store.setValue(root, key, name, RegValue::fromString(text)), settings::kSuccess);
}

TEST(WildcardTest, MatchesIgnoringCaseAndByShortExtension) {
    EXPECT_TRUE(wildcardMatches("*.bblx", "kjv.BBLX"));
    EXPECT_TRUE(wildcardMatches("*.bblx", ".bblx"));
    EXPECT_FALSE(wildcardMatches("*.bblx", "kjv.bblx.bak"));
    EXPECT_FALSE(wildcardMatches("*.bblx", "kjv.bbl"));
    // "*.not" finds note files through their short names, as on Windows.
    EXPECT_TRUE(wildcardMatches("*.not", "My Notes.notx"));
    EXPECT_TRUE(wildcardMatches("*.not", "old.not"));
    EXPECT_FALSE(wildcardMatches("*.not", "notes.txt"));
    EXPECT_FALSE(wildcardMatches("*.not", "x.nox"));
    EXPECT_TRUE(wildcardMatches("a?c.*", "abc.txt"));
    EXPECT_TRUE(wildcardMatches("*", "anything"));
}

class HostFoldersTest : public ::testing::Test {
protected:
    void SetUp() override {
        drives.addDrive('C', dir / "drive_c");
        fs::create_directories(dir / "drive_c");
    }
    // A folder below drive_c holding the given files.
    void makeFolder(const std::string& relative, std::initializer_list<const char*> files) {
        fs::create_directories(dir / "drive_c" / relative);
        for (const char* name : files) test::writeFile(dir / "drive_c" / relative / name, "x");
    }
    void setHost(const char* value, const std::string& text) {
        put(store, RegRoot::CurrentUser, "Software\\VB and VBA Program Settings\\Scrivel\\Settings",
            value, text);
    }
    std::string local(const std::string& relative) const {
        return (dir / "drive_c" / relative).string();
    }

    test::TempDir dir;
    DriveMap drives;
    settings::MemorySettingsStore store;
};

TEST_F(HostFoldersTest, ResourcesPathWinsAndEndsInASeparator) {
    makeFolder("Mine", {"kjv.bblx"});
    makeFolder("Other", {"asv.bblx"});
    makeFolder("Program Files (x86)/Scrivel", {"web.bblx"});
    setHost("Resources Path", "C:\\MINE");
    setHost("Path", "C:\\Other\\");
    const FolderSearch found = findResourceFolder(store, drives);
    EXPECT_TRUE(found.found);
    EXPECT_EQ(found.folder, local("Mine/"));
}

TEST_F(HostFoldersTest, CandidatesAreTriedInOrder) {
    makeFolder("Mine", {"readme.txt"});
    makeFolder("Other", {"asv.bblx"});
    makeFolder("Apps/Scrivel", {"kjv.bblx"});
    makeFolder("Program Files (x86)/Scrivel", {"web.bblx"});
    setHost("Resources Path", "C:\\Mine\\");
    setHost("Path", "C:\\Other");
    EXPECT_EQ(findResourceFolder(store, drives).folder, local("Other/"));

    setHost("Path", "Q:\\Unknown drive\\");
    put(store, RegRoot::LocalMachine, "SOFTWARE\\Microsoft\\Windows\\CurrentVersion",
        "ProgramFilesDir", "C:\\apps");
    EXPECT_EQ(findResourceFolder(store, drives).folder, local("Apps/Scrivel/"));

    fs::remove_all(dir / "drive_c/Apps");
    EXPECT_EQ(findResourceFolder(store, drives).folder, local("Program Files (x86)/Scrivel/"));

    fs::remove_all(dir / "drive_c/Program Files (x86)");
    const FolderSearch none = findResourceFolder(store, drives);
    EXPECT_FALSE(none.found);
    EXPECT_EQ(none.folder, " ");
    // Every place tried is named once, in order, for the user's hint.
    EXPECT_EQ(none.searched,
              (std::vector<std::string>{"C:\\Mine\\", "Q:\\Unknown drive\\",
                                        "C:\\apps\\Scrivel\\",
                                        "C:\\Program Files (x86)\\Scrivel\\"}));
    setHost("Path", "C:\\Mine\\");
    EXPECT_EQ(findResourceFolder(store, drives).searched.size(), 3u);
}

TEST_F(HostFoldersTest, UserFilesFolderIsFoundByNoteFilesAlone) {
    put(store, RegRoot::CurrentUser,
        "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders", "Personal",
        "C:\\users\\demo\\Documents");
    makeFolder("users/demo/Documents/Scrivel", {"journal.jnlx"});
    EXPECT_FALSE(findUserFilesFolder(store, drives).found);
    makeFolder("users/demo/Documents/scrivel", {"Sermon Notes.notx"});
    fs::remove_all(dir / "drive_c/users/demo/Documents/Scrivel");
    const FolderSearch found = findUserFilesFolder(store, drives);
    EXPECT_TRUE(found.found);
    EXPECT_EQ(found.folder, local("users/demo/Documents/scrivel/"));
}

TEST_F(HostFoldersTest, DiscoveryClearsTheFlagsOfFoldersNotFound) {
    makeFolder("Program Files (x86)/Scrivel", {"kjv.bblx"});
    app::AppState state;
    discoverHostFolders(state, store, drives);
    EXPECT_TRUE(state.resourceFolderFound);
    EXPECT_EQ(state.resourceFolder, local("Program Files (x86)/Scrivel/"));
    EXPECT_FALSE(state.userFilesFolderFound);
    EXPECT_EQ(state.userFilesFolder, " ");
    EXPECT_EQ(defaultHostFolder(drives), local("Program Files (x86)/Scrivel/"));
    EXPECT_EQ(currentFolderOrDefault("", drives), local("Program Files (x86)/Scrivel/"));
    EXPECT_EQ(currentFolderOrDefault("/x/", drives), "/x/");
    EXPECT_EQ(defaultHostFolder(DriveMap()), "C:\\Program Files (x86)\\Scrivel\\");
}

// An empty "Resources Path" is probed against the current directory, as the
// Windows search does with an empty folder.
TEST_F(HostFoldersTest, EmptyCandidateSearchesTheCurrentDirectory) {
    makeFolder("cwd", {"kjv.bblx"});
    const fs::path previous = fs::current_path();
    fs::current_path(dir / "drive_c/cwd");
    const FolderSearch found = findResourceFolder(store, drives);
    fs::current_path(previous);
    EXPECT_TRUE(found.found);
    EXPECT_EQ(found.folder, "");
}

TEST(HostFoldersDemoPrefixTest, FindsTheFoldersOfAGeneratedPrefix) {
    test::TempDir dir;
    demo::DemoPrefixOptions options;
    options.moduleCount = 20;
    const demo::DemoPrefixContents contents = demo::writeDemoPrefix(dir / "prefix", options);
    const DriveMap drives = DriveMap::fromPrefix(dir / "prefix");
    settings::MemorySettingsStore store;
    put(store, RegRoot::CurrentUser, "Software\\VB and VBA Program Settings\\Scrivel\\Settings",
        "Resources Path", "C:\\Program Files (x86)\\Scrivel\\");
    put(store, RegRoot::CurrentUser,
        "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders", "Personal",
        "C:\\users\\DEMO\\Documents");
    const FolderSearch resources = findResourceFolder(store, drives);
    const FolderSearch userFiles = findUserFilesFolder(store, drives);
    EXPECT_TRUE(resources.found);
    EXPECT_TRUE(fs::equivalent(resources.folder, contents.layout.resourceFolder));
    EXPECT_TRUE(userFiles.found);
    EXPECT_TRUE(fs::equivalent(userFiles.folder, contents.layout.userFilesFolder));
}

}  // namespace
}  // namespace modshelf::host
