#include "core/modules/ModuleDetails.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sqlite3.h>
#include <sys/stat.h>

#include <chrono>
#include <filesystem>

#include "ModuleFixtures.h"
#include "support/TempDir.h"

namespace modshelf::modules {
namespace {

using test::DetailsTable;
using test::snapshot;
using test::TempDir;
using test::writeModule;

class ModuleDetailsTest : public ::testing::Test {
protected:
    std::string path(const std::string& name) const { return (dir / name).string(); }
    TempDir dir;
};

TEST_F(ModuleDetailsTest, TakesTheFirstRowByColumnPositionWhateverTheNames) {
    DetailsTable table;
    table.columns = {"x", "y", "z", "extra"};
    table.rows.push_back({"King James Version", "KJV", "{\\rtf1 The 1769 text}", "ignored"});
    table.rows.push_back({"second", "row", "never read", "-"});
    writeModule(path("kjv.bblx"), table);

    const ModuleDetails details = readModuleDetails(path("kjv.bblx"));
    EXPECT_EQ(details.description, "King James Version");
    EXPECT_EQ(details.tabName, "KJV");
    EXPECT_EQ(details.comments, "{\\rtf1 The 1769 text}");
}

TEST_F(ModuleDetailsTest, MinusOneAndNullAreEmptyButPaddedMinusOneIsKept) {
    DetailsTable table;
    table.rows.push_back({"-1", std::nullopt, " -1"});
    writeModule(path("a.cmtx"), table);
    ModuleDetails details = readModuleDetails(path("a.cmtx"));
    EXPECT_EQ(details.description, "");
    EXPECT_EQ(details.tabName, "");
    EXPECT_EQ(details.comments, " -1");

    table.rows = {{"desc", "-1 ", "-1"}};
    writeModule(path("b.cmtx"), table);
    details = readModuleDetails(path("b.cmtx"));
    EXPECT_EQ(details.tabName, "-1 ");
    EXPECT_EQ(details.comments, "");
}

TEST_F(ModuleDetailsTest, ShortTablesLeaveTheMissingFieldsEmpty) {
    DetailsTable two;
    two.columns = {"Description", "Abbreviation"};
    two.rows.push_back({"Two columns", "TWO"});
    writeModule(path("two.dctx"), two);
    EXPECT_EQ(readModuleDetails(path("two.dctx")), (ModuleDetails{"Two columns", "TWO", ""}));

    DetailsTable one;
    one.columns = {"Description"};
    one.rows.push_back({"Only one"});
    writeModule(path("one.dctx"), one);
    EXPECT_EQ(readModuleDetails(path("one.dctx")), (ModuleDetails{"Only one", "", ""}));
}

TEST_F(ModuleDetailsTest, UnreadableFilesGiveThreeEmptyFields) {
    writeModule(path("empty-table.bblx"), DetailsTable{});
    writeModule(path("no-table.bblx"), std::nullopt);
    test::writeFile(dir / "zero.bblx", "");
    test::writeFile(dir / "text.bblx", "This is a readme, not a database.\n");
    writeModule(path("whole.bblx"), "Whole", "WHL");
    test::writeFile(dir / "truncated.bblx", test::readFile(dir / "whole.bblx").substr(0, 1500));

    for (const char* name : {"empty-table.bblx", "no-table.bblx", "zero.bblx", "text.bblx",
                             "truncated.bblx", "missing.bblx"}) {
        EXPECT_EQ(readModuleDetails(path(name)), ModuleDetails{}) << name;
    }
    EXPECT_EQ(readModuleDetails(""), ModuleDetails{});
    EXPECT_FALSE(std::filesystem::exists(dir / "missing.bblx")) << "a read must not create a file";
}

TEST_F(ModuleDetailsTest, NamesThatLookLikeUriSyntaxAreReadAsPaths) {
    writeModule(path("odd ?name#1%20.bblx"), "Odd", "ODD");
    EXPECT_EQ(readModuleDetails(path("odd ?name#1%20.bblx")).tabName, "ODD");
}

// Reading must leave every byte and every name of the folder as it was.
TEST_F(ModuleDetailsTest, ReadingWritesNothingForRollbackAndWalModules) {
    writeModule(path("plain.bblx"), "Plain", "PLN");
    DetailsTable table;
    table.rows.push_back({"Logged", "WAL", "c"});
    writeModule(path("logged.bblx"), table, /*wal=*/true);
    ASSERT_FALSE(std::filesystem::exists(dir / "logged.bblx-wal"));

    const auto before = snapshot(dir.path());
    EXPECT_EQ(readModuleDetails(path("plain.bblx")).tabName, "PLN");
    EXPECT_EQ(readModuleDetails(path("logged.bblx")).tabName, "WAL");
    EXPECT_EQ(readListedDetails(path("plain.bblx")).tabName, "PLN");
    EXPECT_EQ(readListedDetails(path("logged.bblx")).tabName, "WAL");
    EXPECT_EQ(snapshot(dir.path()), before);
}

TEST_F(ModuleDetailsTest, ReadingWritesNothingInAReadOnlyFolder) {
    const auto folder = dir / "ro";
    std::filesystem::create_directory(folder);
    DetailsTable table;
    table.rows.push_back({"Logged", "WAL", "c"});
    writeModule(folder / "logged.bblx", table, /*wal=*/true);
    writeModule(folder / "plain.cmtx", "Plain", "PLN");
    ::chmod((folder / "logged.bblx").c_str(), 0444);
    ::chmod((folder / "plain.cmtx").c_str(), 0444);
    ::chmod(folder.c_str(), 0555);

    const auto before = snapshot(folder);
    EXPECT_EQ(readModuleDetails((folder / "logged.bblx").string()).tabName, "WAL");
    EXPECT_EQ(readModuleDetails((folder / "plain.cmtx").string()).tabName, "PLN");
    EXPECT_EQ(snapshot(folder), before);
}

// A module that another program holds open in WAL mode has its latest row in
// the -wal file: it is read, and no file appears or goes.
TEST_F(ModuleDetailsTest, LiveWalModuleIsReadWithItsLogAndLeftAlone) {
    DetailsTable table;
    table.rows.push_back({"Old", "OLD", "c"});
    writeModule(path("live.bblx"), table, /*wal=*/true);
    sqlite3* writer = nullptr;
    ASSERT_EQ(sqlite3_open(path("live.bblx").c_str(), &writer), SQLITE_OK);
    ASSERT_EQ(
        sqlite3_exec(writer, "PRAGMA wal_autocheckpoint=0; UPDATE Details SET Abbreviation='NEW';",
                     nullptr, nullptr, nullptr),
        SQLITE_OK);
    ASSERT_TRUE(std::filesystem::exists(dir / "live.bblx-wal"));
    ASSERT_TRUE(std::filesystem::exists(dir / "live.bblx-shm"));

    const std::string moduleBytes = test::readFile(dir / "live.bblx");
    const std::string walBytes = test::readFile(dir / "live.bblx-wal");
    EXPECT_EQ(readModuleDetails(path("live.bblx")).tabName, "NEW");
    EXPECT_EQ(test::readFile(dir / "live.bblx"), moduleBytes);
    EXPECT_EQ(test::readFile(dir / "live.bblx-wal"), walBytes);
    sqlite3_close(writer);
}

// A writer in the middle of a transaction: the read gives up at once rather
// than waiting or showing half-written pages.
TEST_F(ModuleDetailsTest, ModuleLockedByAWriterGivesEmptyFieldsWithoutWaiting) {
    writeModule(path("busy.bblx"), "Busy", "BSY");
    sqlite3* writer = nullptr;
    ASSERT_EQ(sqlite3_open(path("busy.bblx").c_str(), &writer), SQLITE_OK);
    ASSERT_EQ(sqlite3_exec(writer,
                           "PRAGMA cache_size=1; BEGIN EXCLUSIVE;"
                           "UPDATE Details SET Abbreviation='HALF';"
                           "INSERT INTO Bible SELECT * FROM Bible;",
                           nullptr, nullptr, nullptr),
              SQLITE_OK);
    ASSERT_TRUE(std::filesystem::exists(dir / "busy.bblx-journal"));

    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(readModuleDetails(path("busy.bblx")), ModuleDetails{});
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(1));

    sqlite3_exec(writer, "ROLLBACK;", nullptr, nullptr, nullptr);
    sqlite3_close(writer);
    EXPECT_EQ(readModuleDetails(path("busy.bblx")).tabName, "BSY");
}

// A read holds the module's lock only while it reads: right after it, in
// either journal mode and also after a read that ran out of work, a writer
// gets its exclusive lock without waiting, and the next read is not harmed.
TEST_F(ModuleDetailsTest, ReadsLeaveNoLockBehind) {
    struct Case {
        const char* name;
        bool wal;
        bool runaway;  // Details is a view that never ends
    };
    for (const Case& c : {Case{"r.bblx", false, false}, Case{"w.bblx", true, false},
                          Case{"loop.bblx", false, true}}) {
        SCOPED_TRACE(c.name);
        const std::string file = path(c.name);
        DetailsTable table;
        table.rows.push_back({"Locked?", "LCK", "c"});
        writeModule(file, table, c.wal);
        sqlite3* writer = nullptr;
        ASSERT_EQ(sqlite3_open(file.c_str(), &writer), SQLITE_OK);
        sqlite3_busy_timeout(writer, 0);
        if (c.runaway) {
            ASSERT_EQ(sqlite3_exec(writer,
                                   "ALTER TABLE Details RENAME TO D0; CREATE VIEW Details AS "
                                   "WITH RECURSIVE n(i) AS (VALUES(1) UNION ALL SELECT i+1 FROM n)"
                                   " SELECT i, i, i FROM n WHERE i < 0;",
                                   nullptr, nullptr, nullptr),
                      SQLITE_OK);
        }
        const std::string expected = c.runaway ? "" : "LCK";
        EXPECT_EQ(readListedDetails(file).tabName, expected);
        EXPECT_EQ(readModuleDetails(file).tabName, expected);

        const std::string update = std::string("BEGIN EXCLUSIVE; UPDATE ") +
                                   (c.runaway ? "D0" : "Details") +
                                   " SET Abbreviation='NEW'; COMMIT;";
        EXPECT_EQ(sqlite3_exec(writer, update.c_str(), nullptr, nullptr, nullptr), SQLITE_OK)
            << sqlite3_errmsg(writer);
        sqlite3_close(writer);
        EXPECT_EQ(readListedDetails(path("r.bblx")).tabName, "NEW");
        if (!c.runaway) {
            EXPECT_EQ(readListedDetails(file).tabName, "NEW");
        }
    }
}

int openDescriptors() {
    int count = 0;
    for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator("/proc/self/fd"))
        ++count;
    return count;
}

// Whatever a module turns out to be, its read leaves no file open.
TEST_F(ModuleDetailsTest, ReadsLeaveNoFileOpen) {
    writeModule(path("plain.bblx"), "Plain", "PLN");
    DetailsTable table;
    table.rows.push_back({"Logged", "WAL", "c"});
    writeModule(path("logged.bblx"), table, /*wal=*/true);
    test::writeFile(dir / "text.bblx", "This is a readme, not a database.\n");
    test::writeFile(dir / "zero.bblx", "");
    writeModule(path("locked.bblx"), "Locked", "LCK");
    test::writeFile(dir / "locked.bblx-wal", "");  // a -wal SQLite refuses to read
    ASSERT_EQ(::mkfifo(path("fifo.bblx").c_str(), 0644), 0);
    std::filesystem::create_symlink(dir / "plain.bblx", dir / "link.bblx");
    std::filesystem::create_directory(dir / "folder.bblx");

    const int before = openDescriptors();
    for (int round = 0; round < 3; ++round)
        for (const char* name : {"plain.bblx", "logged.bblx", "text.bblx", "zero.bblx",
                                 "locked.bblx", "fifo.bblx", "link.bblx", "folder.bblx"}) {
            readListedDetails(path(name));
            readModuleDetails(path(name));
        }
    EXPECT_EQ(openDescriptors(), before);
    EXPECT_EQ(readListedDetails(path("link.bblx")).tabName, "PLN");
}

// Listing a folder is no use of its modules: reading a row leaves the
// module's access time as it was, even where the system would update it.
TEST_F(ModuleDetailsTest, ReadingLeavesAccessTimesAlone) {
    writeModule(path("old.bblx"), "Old", "OLD");
    // An access time before the change time is one any read would update.
    const timespec times[2] = {{1000000000, 0}, {UTIME_OMIT, UTIME_OMIT}};
    ASSERT_EQ(::utimensat(AT_FDCWD, path("old.bblx").c_str(), times, 0), 0);

    EXPECT_EQ(readListedDetails(path("old.bblx")).tabName, "OLD");
    struct stat info;
    ASSERT_EQ(::stat(path("old.bblx").c_str(), &info), 0);
    EXPECT_EQ(info.st_atim.tv_sec, 1000000000);
}

}  // namespace
}  // namespace modshelf::modules
