// Refilling a folder through the cache must give exactly what a fresh scan
// gives, whatever changed in between: files, filter, workspace, or nothing.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sqlite3.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <string>

#include "ModuleFixtures.h"
#include "core/modules/DetailsCache.h"
#include "core/modules/FolderLister.h"
#include "core/modules/FolderListing.h"
#include "core/modules/ModuleScan.h"
#include "core/settings/MemorySettingsStore.h"
#include "core/settings/RegistryAccess.h"
#include "core/workspaces/NodeCheckRule.h"
#include "support/TempDir.h"

namespace modshelf::modules {
namespace {

namespace fs = std::filesystem;
using test::writeModule;

const ModuleRow* find(const std::vector<ModuleRow>& rows, const std::string& name) {
    for (const ModuleRow& row : rows)
        if (row.record.fileName == name) return &row;
    return nullptr;
}
const ModuleRow* find(const ScanResult& result, const std::string& name) {
    return find(result.rows, name);
}

// Sets a file's modification time, leaving its bytes alone.
void setModifiedTime(const fs::path& file, std::time_t seconds) {
    const timespec times[2] = {{seconds, 0}, {seconds, 0}};
    ASSERT_EQ(::utimensat(AT_FDCWD, file.c_str(), times, 0), 0);
}

class ScanRefillTest : public ::testing::Test {
protected:
    void SetUp() override {
        for (int i = 0; i < 30; ++i) {
            const std::string number = std::to_string(i);
            writeModule(dir / ("bible" + number + ".bblx"), "Bible number " + number,
                        std::string("B") + number);
        }
        writeModule(dir / "mhc.cmtx", "Matthew Henry", "MHC");
        writeModule(dir / "easton.dctx", "Easton's Dictionary", "EAS");
        writeModule(dir / "daily.devx", "Daily Light", "DL");
        test::writeFile(dir / "readme.txt", "Read me first.\n");
    }

    std::string folder() const { return dir.path().string(); }
    FileStamp stampOf(const std::string& name) const {
        const FolderListing listing = folderLister().listFiles(folder() + "/", true, 0);
        for (const FolderFile& file : listing.files)
            if (listing.name(file) == name) return file.stamp;
        ADD_FAILURE() << name << " is not listed";
        return {};
    }

    // The scan with the cache, as the list refills. Every file here was
    // written a moment ago, so the scan is told to trust fresh stamps; the
    // tests make sure that each change moves a stamp.
    ScanResult refill(const TypeFilter& filter = {}, const CheckRule& rule = {}) {
        ScanOptions options;
        options.cache = &cache;
        options.threads = 2;
        options.settleNs = 0;
        return scanFolder(folder(), filter, rule, options);
    }
    // A scan that knows nothing from before.
    ScanResult fresh(const TypeFilter& filter = {}, const CheckRule& rule = {}) {
        return scanFolder(folder(), filter, rule, {1, nullptr});
    }
    void expectSameAsFresh(const ScanResult& refilled, const TypeFilter& filter = {},
                           const CheckRule& rule = {}) {
        const ScanResult plain = fresh(filter, rule);
        EXPECT_EQ(refilled.rows, plain.rows);
        EXPECT_EQ(refilled.fileCount, plain.fileCount);
        EXPECT_EQ(refilled.activeCount, plain.activeCount);
    }

    test::TempDir dir;
    DetailsCache cache;
};

TEST_F(ScanRefillTest, UnchangedFolderGivesTheSameRowsWithoutOpeningAModule) {
    const ScanResult first = refill();
    EXPECT_EQ(first.modulesRead, 33u);  // the Bibles, the commentary, dictionary, devotional
    for (int round = 0; round < 3; ++round) {
        const ScanResult again = refill();
        EXPECT_EQ(again.modulesRead, 0u);
        EXPECT_EQ(again.rows, first.rows);
        EXPECT_EQ(again.fileCount, 34u);
    }
    expectSameAsFresh(refill());

    // What the cache says of a file holds for that version of it only.
    const FileStamp stamp = stampOf("mhc.cmtx");
    const auto details = cache.find(folder() + "/", "mhc.cmtx", stamp);
    ASSERT_TRUE(details.has_value());
    EXPECT_EQ(details->tabName, "MHC");
    EXPECT_EQ(details->description, "Matthew Henry");
    FileStamp other = stamp;
    other.mtimeNs += 1;
    EXPECT_FALSE(cache.find(folder() + "/", "mhc.cmtx", other).has_value());
    EXPECT_FALSE(cache.find(folder() + "/", "readme.txt", stampOf("readme.txt")).has_value());
}

TEST_F(ScanRefillTest, FilesChangedJustBeforeAScanAreReadAgainNextTime) {
    // A file system's clock may tick slower than a file can be rewritten, so
    // a rewrite right after a scan could leave the stamp as the scan saw it.
    ScanOptions options;
    options.cache = &cache;
    ASSERT_GE(options.settleNs, 1'000'000'000);
    EXPECT_EQ(scanFolder(folder(), {}, {}, options).modulesRead, 33u);
    EXPECT_EQ(scanFolder(folder(), {}, {}, options).modulesRead, 33u);

    // With no time to settle, what a scan saw is trusted from then on.
    options.settleNs = 0;
    EXPECT_EQ(scanFolder(folder(), {}, {}, options).modulesRead, 33u);  // last one trusted none
    EXPECT_EQ(scanFolder(folder(), {}, {}, options).modulesRead, 0u);
    expectSameAsFresh(scanFolder(folder(), {}, {}, options));
}

TEST_F(ScanRefillTest, ChangedSizeOrTimeIsReadAgain) {
    refill();
    // Rewritten with other Details: the new file is read.
    writeModule(dir / "bible7.bblx", "Revised Bible", "RB7");
    setModifiedTime(dir / "bible7.bblx", 1500000000);
    ScanResult after = refill();
    EXPECT_EQ(after.modulesRead, 1u);
    EXPECT_EQ(find(after, "bible7.bblx")->record.tabName, "RB7");
    EXPECT_EQ(find(after, "bible7.bblx")->record.description, "Revised Bible");
    expectSameAsFresh(after);

    // Only the time moves: the row shows the new time.
    setModifiedTime(dir / "mhc.cmtx", 1000000000);
    after = refill();
    EXPECT_EQ(after.modulesRead, 1u);
    EXPECT_EQ(find(after, "mhc.cmtx")->record.lastModified,
              116444736000000000ULL + 1000000000ULL * 10000000ULL);
    expectSameAsFresh(after);

    // Only the size moves (bytes added at the end): the row shows the new size.
    const std::uintmax_t size = fs::file_size(dir / "easton.dctx");
    fs::resize_file(dir / "easton.dctx", size + 4096);
    after = refill();
    EXPECT_EQ(find(after, "easton.dctx")->record.size, size + 4096);
    EXPECT_EQ(find(after, "easton.dctx")->record.tabName, "EAS");
    expectSameAsFresh(after);

    // A plain file changes too.
    test::writeFile(dir / "readme.txt", "Read me first, and then read me again.\n");
    after = refill();
    EXPECT_EQ(after.modulesRead, 0u);
    EXPECT_EQ(find(after, "readme.txt")->record.size, 39u);
    expectSameAsFresh(after);
}

TEST_F(ScanRefillTest, AddedRemovedAndRenamedFilesAreListedInOrder) {
    refill();
    writeModule(dir / "asv.bblx", "American Standard", "ASV");  // sorts first
    writeModule(dir / "bible15b.bblx", "Between", "B15B");      // sorts in the middle
    fs::remove(dir / "bible3.bblx");
    fs::remove(dir / "readme.txt");
    ScanResult after = refill();
    EXPECT_EQ(after.modulesRead, 2u);
    EXPECT_EQ(after.rows.front().record.fileName, "asv.bblx");
    EXPECT_EQ(find(after, "bible3.bblx"), nullptr);
    EXPECT_EQ(find(after, "readme.txt"), nullptr);
    EXPECT_EQ(after.fileCount, 34u);
    expectSameAsFresh(after);

    // A rename keeps every stamp of the file but not its name or kind.
    fs::rename(dir / "bible20.bblx", dir / "zeta.cmtx");
    after = refill();
    EXPECT_EQ(find(after, "bible20.bblx"), nullptr);
    ASSERT_NE(find(after, "zeta.cmtx"), nullptr);
    EXPECT_EQ(find(after, "zeta.cmtx")->record.moduleType, "Commentary");
    EXPECT_EQ(find(after, "zeta.cmtx")->record.tabName, "B20");
    EXPECT_EQ(after.rows.back().record.fileName, "zeta.cmtx");
    expectSameAsFresh(after);

    // Everything gone, then back again.
    for (const auto& entry : fs::directory_iterator(dir.path())) fs::remove(entry.path());
    after = refill();
    EXPECT_TRUE(after.rows.empty());
    EXPECT_TRUE(after.folderReadable);
    writeModule(dir / "kjv.bblx", "King James Version", "KJV");
    after = refill();
    ASSERT_EQ(after.rows.size(), 1u);
    EXPECT_EQ(after.rows[0].record.tabName, "KJV");
}

TEST_F(ScanRefillTest, FolderThatGoesAwayAndComesBackIsReadAfresh) {
    refill();
    const fs::path moved = dir.path().string() + "-moved";
    fs::rename(dir.path(), moved);
    const ScanResult missing = refill();
    EXPECT_FALSE(missing.folderReadable);
    EXPECT_TRUE(missing.rows.empty());
    EXPECT_EQ(cache.size(), 0u);
    fs::rename(moved, dir.path());
    const ScanResult back = refill();
    EXPECT_EQ(back.modulesRead, 33u);
    expectSameAsFresh(back);
}

TEST_F(ScanRefillTest, ChangedFilterIsReflected) {
    TypeFilter workspace;
    workspace.applyWorkspacePreset();
    TypeFilter noBibles;
    noBibles.toggleKind(ModuleKind::Bible);

    const ScanResult all = refill();
    ScanResult narrowed = refill(workspace);
    EXPECT_EQ(narrowed.modulesRead, 0u);
    EXPECT_EQ(narrowed.fileCount, 32u);
    EXPECT_EQ(find(narrowed, "daily.devx"), nullptr);
    EXPECT_EQ(find(narrowed, "readme.txt"), nullptr);
    expectSameAsFresh(narrowed, workspace);

    narrowed = refill(noBibles);
    EXPECT_EQ(narrowed.fileCount, 4u);  // commentary, dictionary, devotional and readme
    expectSameAsFresh(narrowed, noBibles);

    const ScanResult wide = refill();
    EXPECT_EQ(wide.rows, all.rows);
    // The same folder under the same filter twice: the second is the same.
    EXPECT_EQ(refill().rows, all.rows);
}

TEST_F(ScanRefillTest, ChangedWorkspaceIsReflected) {
    settings::MemorySettingsStore store;
    const std::string first = "Software\\Quorvel\\Modshelf\\Workspace1\\Bibles";
    const std::string second = "Software\\Quorvel\\Modshelf\\Workspace2\\Bibles";
    settings::SetRegString(store, first, "B1", "True");
    settings::SetRegString(store, first, "B2", "True");
    settings::SetRegString(store, second, "B5", "true");
    settings::SetRegString(store, "Software\\Quorvel\\Modshelf\\Workspace2\\Commentaries", "MHC",
                           "TRUE");
    TypeFilter workspace;
    workspace.applyWorkspacePreset();

    const ScanResult one = refill(workspace, workspaces::checkRuleForNode(1, store));
    EXPECT_EQ(one.activeCount, 2u);
    EXPECT_TRUE(find(one, "bible1.bblx")->checked);
    EXPECT_TRUE(find(one, "bible2.bblx")->checked);

    const ScanResult two = refill(workspace, workspaces::checkRuleForNode(2, store));
    EXPECT_EQ(two.modulesRead, 0u);
    EXPECT_EQ(two.activeCount, 2u);
    EXPECT_FALSE(find(two, "bible1.bblx")->checked);
    EXPECT_TRUE(find(two, "bible5.bblx")->checked);
    EXPECT_TRUE(find(two, "mhc.cmtx")->checked);
    expectSameAsFresh(two, workspace, workspaces::checkRuleForNode(2, store));

    // A flag changed between two fills of the same workspace.
    settings::SetRegString(store, second, "B5", "False");
    EXPECT_EQ(refill(workspace, workspaces::checkRuleForNode(2, store)).activeCount, 1u);

    // Checks never linger in what the cache hands back.
    const ScanResult every = refill(workspace, CheckRule::allChecked());
    EXPECT_EQ(every.activeCount, every.fileCount);
    const ScanResult none = refill(workspace, CheckRule());
    EXPECT_EQ(none.activeCount, 0u);
    for (const ModuleRow& row : none.rows) EXPECT_FALSE(row.checked) << row.record.fileName;
}

TEST_F(ScanRefillTest, SpareRowsNeverLeakIntoTheResult) {
    const ScanResult expected = fresh();
    // Rows of other content, more of them than needed, some checked.
    std::vector<ModuleRow> spare(50);
    for (std::size_t i = 0; i < spare.size(); ++i) {
        spare[i].record.fileName = "left over " + std::to_string(i) + " from another folder";
        spare[i].record.description = std::string(100, 'x');
        spare[i].record.size = 7;
        spare[i].kind = ModuleKind::Dictionary;
        spare[i].checked = true;
    }
    ScanOptions options{1, &cache, &spare};
    ScanResult result = scanFolder(folder(), TypeFilter(), CheckRule(), options);
    EXPECT_TRUE(spare.empty());
    EXPECT_EQ(result.rows, expected.rows);

    // The refill as the list does it: its rows go back as the spare ones.
    spare = std::move(result.rows);
    const char* storage = find(spare, "easton.dctx")->record.description.data();
    result = scanFolder(folder(), TypeFilter(), CheckRule(), options);
    EXPECT_EQ(result.rows, expected.rows);
    // A long text went into the storage it had before, not a new allocation.
    EXPECT_EQ(find(result, "easton.dctx")->record.description.data(), storage);

    // Fewer spare rows than rows, and rows from a changed folder.
    spare.resize(3);
    writeModule(dir / "added.bblx", "Added", "ADD");
    result = scanFolder(folder(), TypeFilter(), CheckRule(), options);
    EXPECT_EQ(result.rows, fresh().rows);
}

TEST_F(ScanRefillTest, ModuleWithALiveWriterIsReadEveryTime) {
    const fs::path path = dir / "logged.bblx";
    test::DetailsTable table;
    table.rows.push_back({"Logged", "OLD", "c"});
    writeModule(path, table, /*wal=*/true);
    // A writer keeps the module open in WAL mode: its changes stay in the
    // -wal file and the module's own file does not change.
    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open(path.c_str(), &db), SQLITE_OK);
    ASSERT_EQ(sqlite3_exec(db, "PRAGMA journal_mode=WAL; UPDATE Details SET Abbreviation='NEW';",
                           nullptr, nullptr, nullptr),
              SQLITE_OK);
    ASSERT_TRUE(fs::exists(dir / "logged.bblx-wal"));
    struct stat before;
    ASSERT_EQ(::stat(path.c_str(), &before), 0);

    EXPECT_EQ(find(refill(), "logged.bblx")->record.tabName, "NEW");
    ASSERT_EQ(
        sqlite3_exec(db, "UPDATE Details SET Abbreviation='NEWER';", nullptr, nullptr, nullptr),
        SQLITE_OK);
    const ScanResult after = refill();
    EXPECT_EQ(find(after, "logged.bblx")->record.tabName, "NEWER");
    EXPECT_EQ(after.modulesRead, 1u);  // only the logged module
    EXPECT_EQ(refill().modulesRead, 1u);

    struct stat now;
    ASSERT_EQ(::stat(path.c_str(), &now), 0);
    EXPECT_EQ(now.st_mtim.tv_nsec, before.st_mtim.tv_nsec);
    EXPECT_EQ(now.st_mtim.tv_sec, before.st_mtim.tv_sec);
    sqlite3_close(db);
}

}  // namespace
}  // namespace modshelf::modules
