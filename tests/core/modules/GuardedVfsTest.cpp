#include "core/modules/GuardedVfs.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sqlite3.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <string>
#include <thread>

#include "ModuleFixtures.h"
#include "support/TempDir.h"

namespace modshelf::modules {
namespace {

std::string tabNameThroughGuardedVfs(const std::string& path) {
    sqlite3* db = nullptr;
    std::string tabName;
    if (sqlite3_open_v2(path.c_str(), &db, SQLITE_OPEN_READONLY, guardedVfs()->zName) ==
        SQLITE_OK) {
        sqlite3_stmt* statement = nullptr;
        sqlite3_prepare_v2(db, "SELECT Abbreviation FROM Details;", -1, &statement, nullptr);
        if (sqlite3_step(statement) == SQLITE_ROW)
            tabName = reinterpret_cast<const char*>(sqlite3_column_text(statement, 0));
        sqlite3_finalize(statement);
    }
    sqlite3_close(db);
    return tabName;
}

// The file a module read looked at is the file SQLite reads, even if the
// name has come to mean another file since.
TEST(GuardedVfsTest, SqliteReadsTheCheckedDescriptorNotTheNameAgain) {
    test::TempDir dir;
    const std::string looked = (dir / "looked.bblx").string();
    const std::string named = (dir / "named.bblx").string();
    test::writeModule(looked, "Looked at", "LKD");
    test::writeModule(named, "Named", "NMD");

    CheckedModule module;
    module.path = named;
    module.descriptor = ::open(looked.c_str(), O_RDONLY | O_CLOEXEC);
    ASSERT_GE(module.descriptor, 0);
    ASSERT_EQ(::fstat(module.descriptor, &module.info), 0);
    {
        CheckedModuleScope scope(module);
        EXPECT_EQ(tabNameThroughGuardedVfs(named), "LKD");
    }
    EXPECT_EQ(module.descriptor, -1) << "SQLite took the descriptor";
    EXPECT_EQ(tabNameThroughGuardedVfs(named), "NMD") << "outside the scope the name is used";
}

// While a module is read, a FIFO that SQLite is asked to open (a name that
// was a regular file a moment ago) is refused at once instead of waiting for
// a writer that never comes.
TEST(GuardedVfsTest, AFifoOpenedDuringAReadIsRefusedWithoutWaiting) {
    test::TempDir dir;
    const std::string fifo = (dir / "swapped.bblx").string();
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0644), 0);
    CheckedModule module;
    module.path = (dir / "other.bblx").string();

    std::atomic<bool> finished{false};
    int result = SQLITE_OK;
    std::thread reader([&] {
        CheckedModuleScope scope(module);
        sqlite3* db = nullptr;
        // SQLite's own VFS: the check must hold below any VFS of ours.
        result = sqlite3_open_v2(fifo.c_str(), &db, SQLITE_OPEN_READONLY, nullptr);
        sqlite3_close(db);
        finished = true;
    });
    for (int i = 0; i < 200 && !finished; ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    const bool waited = !finished;
    // A writer releases an open that is waiting, so the test cannot hang.
    if (waited) ::close(::open(fifo.c_str(), O_WRONLY | O_NONBLOCK));
    reader.join();
    EXPECT_FALSE(waited) << "the open waited for a writer";
    EXPECT_NE(result, SQLITE_OK);
}

}  // namespace
}  // namespace modshelf::modules
