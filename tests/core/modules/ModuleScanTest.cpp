#include "core/modules/ModuleScan.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/xattr.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>

#include "ModuleFixtures.h"
#include "core/modules/DetailsCache.h"
#include "core/settings/MemorySettingsStore.h"
#include "core/settings/RegistryAccess.h"
#include "core/tree/NodeKinds.h"
#include "core/workspaces/NodeCheckRule.h"
#include "support/TempDir.h"

namespace modshelf::modules {
namespace {

namespace fs = std::filesystem;
using test::writeModule;

std::vector<std::string> names(const ScanResult& result) {
    std::vector<std::string> out;
    for (const ModuleRow& row : result.rows) out.push_back(row.record.fileName);
    return out;
}

const ModuleRow* find(const ScanResult& result, const std::string& name) {
    for (const ModuleRow& row : result.rows)
        if (row.record.fileName == name) return &row;
    return nullptr;
}

class ModuleScanTest : public ::testing::Test {
protected:
    void SetUp() override {
        writeModule(dir / "kjv.bblx", "King James Version", "KJV");
        writeModule(dir / "Asv.BBLX", "American Standard", "ASV");
        writeModule(dir / "mhc.cmtx", "Matthew Henry", "MHC");
        writeModule(dir / "easton.dctx", "Easton's Dictionary", "EAS");
        writeModule(dir / "daily.devx", "Daily Light", "DL");
        // A note file is a database too, but its Details are never read.
        writeModule(dir / "notes.notx", "Notes", "NOTES");
        writeModule(dir / "abc.{0123456789}.bblx", "Braced", "BRC");
        writeModule(dir / ".hidden.bblx", "Hidden", "HID");
        test::writeFile(dir / "readme.txt", "Read me first.\n");
        test::writeFile(dir / "abc", "short");
        fs::create_directory(dir / "folder.bblx");
    }

    TypeFilter folderFilter() const { return TypeFilter(); }
    TypeFilter workspaceFilter() const {
        TypeFilter filter;
        filter.applyWorkspacePreset();
        return filter;
    }
    std::string folder() const { return dir.path().string(); }

    test::TempDir dir;
};

TEST_F(ModuleScanTest, FolderPresetListsEveryVisibleFileSortedByName) {
    const ScanResult result = scanFolder(folder(), folderFilter(), CheckRule());
    EXPECT_TRUE(result.folderReadable);
    EXPECT_EQ(names(result), (std::vector<std::string>{"abc", "abc.{01...", "Asv.BBLX",
                                                       "daily.devx", "easton.dctx", "kjv.bblx",
                                                       "mhc.cmtx", "notes.notx", "readme.txt"}));
    EXPECT_EQ(result.fileCount, 9u);
    EXPECT_EQ(result.activeCount, 0u);

    const ModuleRow* kjv = find(result, "kjv.bblx");
    ASSERT_TRUE(kjv);
    EXPECT_EQ(kjv->record.moduleType, "Bible");
    EXPECT_EQ(kjv->record.tabName, "KJV");
    EXPECT_EQ(kjv->record.description, "King James Version");
    EXPECT_EQ(kjv->record.size, fs::file_size(dir / "kjv.bblx"));
    EXPECT_EQ(kjv->imageIndex(), 1);
    EXPECT_FALSE(kjv->checked);

    EXPECT_EQ(find(result, "daily.devx")->record.tabName, "DL");
    const ModuleRow* notes = find(result, "notes.notx");
    EXPECT_EQ(notes->record.moduleType, "User Notes");
    EXPECT_EQ(notes->record.tabName, "");

    const ModuleRow* readme = find(result, "readme.txt");
    EXPECT_EQ(readme->imageIndex(), 0);
    EXPECT_EQ(readme->record.moduleType, "");
    EXPECT_EQ(readme->record.description, "");

    const ModuleRow* braced = find(result, "abc.{01...");
    EXPECT_EQ(braced->kind, ModuleKind::Unknown);
    EXPECT_EQ(braced->record.fullName, "abc.{0123456789}.bblx");
    EXPECT_EQ(braced->record.tabName, "");
}

TEST_F(ModuleScanTest, WorkspacePresetListsOnlyBiblesCommentariesAndDictionaries) {
    const ScanResult result = scanFolder(folder(), workspaceFilter(), CheckRule());
    EXPECT_EQ(names(result),
              (std::vector<std::string>{"Asv.BBLX", "easton.dctx", "kjv.bblx", "mhc.cmtx"}));
}

TEST_F(ModuleScanTest, AllModulesChecksEveryListedModule) {
    const ScanResult result = scanFolder(folder(), workspaceFilter(), CheckRule::allChecked());
    EXPECT_EQ(result.activeCount, result.fileCount);
    EXPECT_TRUE(std::all_of(result.rows.begin(), result.rows.end(),
                            [](const ModuleRow& row) { return row.checked; }));
    // A name too short to carry an extension never gets a box.
    const ScanResult everything = scanFolder(folder(), folderFilter(), CheckRule::allChecked());
    EXPECT_FALSE(find(everything, "abc")->checked);
    EXPECT_EQ(everything.activeCount, everything.fileCount - 1);
}

TEST_F(ModuleScanTest, NumberedWorkspaceAndCurrentSettingsReadTheStoredFlags) {
    writeModule(dir / "untitled.bblx", "No tab name", "-1");
    settings::MemorySettingsStore store;
    const std::string bibles = "Software\\Quorvel\\Modshelf\\Workspace3\\Bibles";
    settings::SetRegString(store, bibles, "KJV", "TRUE");
    settings::SetRegString(store, bibles, "ASV", "yes");
    settings::SetRegString(store, bibles, "", "true");  // the module without a tab name
    settings::SetRegString(store, "Software\\Quorvel\\Modshelf\\Workspace3\\Commentaries", "MHC",
                           "False");
    settings::SetRegString(store, "Software\\Quorvel\\Modshelf\\Workspace4\\Dictionaries", "EAS",
                           "True");

    const ScanResult third =
        scanFolder(folder(), workspaceFilter(), workspaces::checkRuleForNode(3, store));
    EXPECT_TRUE(find(third, "kjv.bblx")->checked);
    EXPECT_FALSE(find(third, "Asv.BBLX")->checked);
    EXPECT_TRUE(find(third, "untitled.bblx")->checked);
    EXPECT_FALSE(find(third, "mhc.cmtx")->checked);
    EXPECT_FALSE(find(third, "easton.dctx")->checked);
    EXPECT_EQ(third.activeCount, 2u);

    // Reading may create the category keys, but never a value.
    settings::RegKeyInfo info;
    ASSERT_EQ(store.queryInfo(settings::RegRoot::CurrentUser,
                              "Software\\Quorvel\\Modshelf\\Workspace3\\Dictionaries", info),
              settings::kSuccess);
    EXPECT_EQ(info.values, 0u);

    settings::SetRegString(
        store, "Software\\VB and VBA Program Settings\\Scrivel\\Resource\\Bibles", "ASV", "tRuE");
    const ScanResult current =
        scanFolder(folder(), workspaceFilter(),
                   workspaces::checkRuleForNode(tree::node::kCurrentSettings, store));
    EXPECT_EQ(current.activeCount, 1u);
    EXPECT_TRUE(find(current, "Asv.BBLX")->checked);

    // Folder nodes check nothing, even with flags stored.
    const ScanResult userFiles =
        scanFolder(folder(), folderFilter(),
                   workspaces::checkRuleForNode(tree::node::kUserFilesFolder, store));
    EXPECT_EQ(userFiles.activeCount, 0u);
}

TEST_F(ModuleScanTest, SizesBeyondFourGibibytesAreKeptWhole) {
    const fs::path big = dir / "huge.mapx";
    test::writeFile(big, "");
    ASSERT_EQ(::truncate(big.c_str(), 5LL * 1024 * 1024 * 1024), 0);
    const ScanResult result = scanFolder(folder(), folderFilter(), CheckRule());
    EXPECT_EQ(find(result, "huge.mapx")->record.size, 5368709120ULL);
}

TEST_F(ModuleScanTest, MissingFolderGivesNoRowsAndEmptyFolderIsReadable) {
    const ScanResult missing = scanFolder(folder() + "/nowhere", folderFilter(), CheckRule());
    EXPECT_FALSE(missing.folderReadable);
    EXPECT_EQ(missing.fileCount, 0u);
    fs::create_directory(dir / "empty");
    const ScanResult empty = scanFolder((dir / "empty/").string(), folderFilter(), CheckRule());
    EXPECT_TRUE(empty.folderReadable);
    EXPECT_TRUE(empty.rows.empty());
}

TEST_F(ModuleScanTest, FilesWineMarksHiddenAreSkipped) {
    const fs::path file = dir / "marked.bblx";
    writeModule(file, "Marked", "MRK");
    if (::setxattr(file.c_str(), "user.DOSATTRIB", "0x22", 4, 0) != 0)
        GTEST_SKIP() << "this file system keeps no user attributes";
    DetailsCache cache;
    const ScanResult result = scanFolder(folder(), folderFilter(), CheckRule(), {0, &cache});
    EXPECT_EQ(find(result, "marked.bblx"), nullptr);
    EXPECT_EQ(find(scanFolder(folder(), folderFilter(), CheckRule(), {0, &cache}), "marked.bblx"),
              nullptr);
    // Changing the attribute moves the file's status time, so a refill sees it.
    ::setxattr(file.c_str(), "user.DOSATTRIB", "0x20", 4, 0);  // archive only
    const ScanResult refill = scanFolder(folder(), folderFilter(), CheckRule(), {0, &cache});
    ASSERT_NE(find(refill, "marked.bblx"), nullptr);
    EXPECT_EQ(find(refill, "marked.bblx")->record.tabName, "MRK");
}

TEST_F(ModuleScanTest, ThreadsAndCacheGiveTheSameRowsAsAPlainRead) {
    for (int i = 0; i < 40; ++i) {
        const std::string number = std::to_string(i);
        writeModule(dir / ("m" + number + ".cmtx"), "Commentary " + number,
                    std::string("C") + number);
    }
    const ScanResult plain = scanFolder(folder(), folderFilter(), CheckRule(), {1, nullptr});
    DetailsCache cache;
    ScanOptions options{4, &cache};
    options.settleNs = 0;  // nothing changes between the two scans
    const ScanResult threaded = scanFolder(folder(), folderFilter(), CheckRule(), options);
    const ScanResult cached = scanFolder(folder(), folderFilter(), CheckRule(), options);
    EXPECT_EQ(cached.modulesRead, 0u);
    EXPECT_EQ(threaded.rows, plain.rows);
    EXPECT_EQ(cached.rows, plain.rows);
    EXPECT_EQ(cache.size(), 49u);  // every file but the dot file
}

TEST_F(ModuleScanTest, CacheNoticesChangedAndRemovedModules) {
    DetailsCache cache;
    ScanResult first = scanFolder(folder(), folderFilter(), CheckRule(), {0, &cache});
    ASSERT_EQ(find(first, "kjv.bblx")->record.tabName, "KJV");

    writeModule(dir / "kjv.bblx", "King James Version", "KJ2");  // same size, new inode and times
    fs::remove(dir / "mhc.cmtx");
    const ScanResult second = scanFolder(folder(), folderFilter(), CheckRule(), {0, &cache});
    EXPECT_EQ(find(second, "kjv.bblx")->record.tabName, "KJ2");
    EXPECT_EQ(find(second, "mhc.cmtx"), nullptr);
    EXPECT_EQ(cache.size(), 8u);
}

TEST_F(ModuleScanTest, ScanningWritesNothingBesideTheModules) {
    test::DetailsTable table;
    table.rows.push_back({"Logged", "WAL", "c"});
    writeModule(dir / "logged.bblx", table, /*wal=*/true);
    const auto before = test::snapshot(dir.path());
    DetailsCache cache;
    const ScanResult result = scanFolder(folder(), folderFilter(), CheckRule(), {2, &cache});
    EXPECT_EQ(find(result, "logged.bblx")->record.tabName, "WAL");
    EXPECT_EQ(test::snapshot(dir.path()), before);
}

}  // namespace
}  // namespace modshelf::modules
