// Every module of the awkward corpus reads as SQLite itself reads it, or, for
// the hostile ones, as empty fields within a moment; and no byte or name of
// the folder changes.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <chrono>
#include <future>

#include "ModuleCorpus.h"
#include "ModuleFixtures.h"
#include "core/modules/ModuleDetails.h"
#include "support/TempDir.h"

namespace modshelf::modules {

void PrintTo(const ModuleDetails& details, std::ostream* out) {
    auto shown = [](const std::string& text) {
        return text.size() > 60 ? text.substr(0, 60) + "...(" + std::to_string(text.size()) + ")"
                                : text;
    };
    *out << "{" << shown(details.description) << " | " << shown(details.tabName) << " | "
         << shown(details.comments) << "}";
}

namespace {

// The names whose bytes differ between two snapshots, or that one lacks.
std::vector<std::string> changedEntries(const std::map<std::string, std::string>& before,
                                        const std::map<std::string, std::string>& after) {
    std::vector<std::string> changed;
    for (const auto& [name, bytes] : before) {
        auto it = after.find(name);
        if (it == after.end() || it->second != bytes) changed.push_back(name);
    }
    for (const auto& [name, bytes] : after)
        if (!before.count(name)) changed.push_back(name);
    return changed;
}

namespace fs = std::filesystem;
using test::CorpusModule;
using Expect = CorpusModule::Expect;
using Clock = std::chrono::steady_clock;

// A read that blocks on a FIFO would hang the test: give it a deadline, and
// free it by opening the FIFO's other end if it runs over.
ModuleDetails readWithin(const fs::path& path, bool listed, std::chrono::milliseconds limit,
                         bool& inTime) {
    auto read = std::async(std::launch::async, [path, listed] {
        return listed ? readListedDetails(path.string()) : readModuleDetails(path.string());
    });
    inTime = read.wait_for(limit) == std::future_status::ready;
    if (!inTime) {
        for (const char* suffix : {"", "-journal", "-wal", "-shm"}) {
            const int fd = ::open((path.string() + suffix).c_str(), O_WRONLY | O_NONBLOCK);
            if (fd >= 0) ::close(fd);
        }
    }
    return read.get();
}

class ModuleCorpusTest : public ::testing::Test {
protected:
    void SetUp() override {
        fs::create_directory(folder());
        fs::create_directory(copies());
        corpus = test::writeModuleCorpus(folder(), writers);
    }
    void TearDown() override { test::endCorpusWriters(writers); }

    fs::path folder() const { return dir / "modules"; }
    fs::path copies() const { return dir / "copies"; }

    // What SQLite gives for the module, read from a copy so that the side
    // files SQLite may create land there.
    ModuleDetails sqliteSays(const CorpusModule& module) {
        const fs::path copyFolder = copies() / module.name;
        fs::create_directory(copyFolder);
        const fs::path original = fs::canonical(folder() / module.name);
        return test::plainSqliteRead(test::copyWithSideFiles(original, copyFolder).string());
    }

    test::TempDir dir;
    std::vector<CorpusModule> corpus;
    std::vector<int> writers;
};

TEST_F(ModuleCorpusTest, EachModuleReadsAsSqliteSaysOrEmptyWithinItsBudget) {
    const auto before = test::snapshot(folder());
    for (const CorpusModule& module : corpus) {
        SCOPED_TRACE(module.name);
        ModuleDetails expected;
        if (module.expect != Expect::Empty) expected = sqliteSays(module);
        ModuleDetails listedExpected{expected.description, expected.tabName, {}};
        if (module.expect == Expect::ListsEmpty) listedExpected = {};

        bool inTime = false;
        const auto start = Clock::now();
        const ModuleDetails listed =
            readWithin(folder() / module.name, true, std::chrono::seconds(5), inTime);
        const auto listTime = Clock::now() - start;
        EXPECT_TRUE(inTime) << "the list's read blocked";
        EXPECT_EQ(listed, listedExpected);
        // A few milliseconds on an idle machine; generous for a loaded one.
        EXPECT_LT(listTime, std::chrono::milliseconds(500));

        const ModuleDetails report =
            readWithin(folder() / module.name, false, std::chrono::seconds(20), inTime);
        EXPECT_TRUE(inTime) << "the report's read blocked";
        EXPECT_EQ(report, expected);
    }
    EXPECT_EQ(changedEntries(before, test::snapshot(folder())), std::vector<std::string>{});
}

TEST_F(ModuleCorpusTest, ExpectationsAreNotVacuous) {
    // The cases that differ from a naive reading must give what SQLite gives.
    EXPECT_EQ(readListedDetails((folder() / "real.bblx").string()).tabName, "2024.0");
    EXPECT_EQ(readListedDetails((folder() / "generated.bblx").string()).tabName, "GEN");
    EXPECT_EQ(readListedDetails((folder() / "fts4.bblx").string()).tabName, "FT4");
    EXPECT_EQ(readListedDetails((folder() / "wal-live.bblx").string()).tabName, "NEW");
    EXPECT_EQ(readListedDetails((folder() / "link-to-wal.bblx").string()).tabName, "NEW");
    EXPECT_EQ(readListedDetails((folder() / "long-comments.bblx").string()).tabName, "LCOM");
    EXPECT_EQ(readModuleDetails((folder() / "long-comments.bblx").string()).comments.size(),
              3000000u);
}

}  // namespace
}  // namespace modshelf::modules
