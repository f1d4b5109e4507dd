// Scrivel writes its note and journal modules while it runs. A read made
// while another program rewrites a module's Details row must give a row that
// existed, never half of one row and half of the next.
#include <gtest/gtest.h>
#include <sqlite3.h>

#include <atomic>
#include <chrono>
#include <thread>

#include "ModuleFixtures.h"
#include "core/modules/ModuleDetails.h"
#include "support/TempDir.h"

namespace modshelf::modules {
namespace {

// The description spans several pages, so that a rewrite touches more than
// one page and an unlocked read can catch it half done.
std::string descriptionFor(const std::string& tab) {
    std::string text;
    while (text.size() < 9000) text += tab + ";";
    return text;
}

TEST(ConcurrentWriterTest, ReadsDuringRewritesGiveOnlyRowsThatExisted) {
    test::TempDir dir;
    const std::string path = (dir / "journal.bblx").string();
    test::writeModule(path, descriptionFor("T0"), "T0");

    std::atomic<bool> stop{false};
    std::atomic<int> writes{0};
    std::thread writer([&] {
        sqlite3* db = nullptr;
        sqlite3_open(path.c_str(), &db);
        // No rollback journal: no side file tells a reader that a write is
        // under way; only the lock does.
        sqlite3_exec(db, "PRAGMA journal_mode=OFF; PRAGMA synchronous=OFF;", nullptr, nullptr,
                     nullptr);
        sqlite3_busy_timeout(db, 1000);
        for (int k = 1; !stop; ++k) {
            const std::string tab = "T" + std::to_string(k);
            char* sql = sqlite3_mprintf("UPDATE Details SET Description=%Q, Abbreviation=%Q;",
                                        descriptionFor(tab).c_str(), tab.c_str());
            if (sqlite3_exec(db, sql, nullptr, nullptr, nullptr) == SQLITE_OK) ++writes;
            sqlite3_free(sql);
        }
        sqlite3_close(db);
    });

    int reads = 0, rows = 0;
    const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(2);
    while (std::chrono::steady_clock::now() < end) {
        const ModuleDetails details = readListedDetails(path);
        ++reads;
        if (details.tabName.empty()) {
            // Locked for longer than a read waits: nothing, which is no row.
            EXPECT_EQ(details.description, "");
            continue;
        }
        ++rows;
        ASSERT_EQ(details.description, descriptionFor(details.tabName))
            << "a torn row after " << reads << " reads";
    }
    stop = true;
    writer.join();
    EXPECT_GT(writes.load(), 100);
    EXPECT_GT(rows, reads / 4) << "most reads must find the row";
}

}  // namespace
}  // namespace modshelf::modules
