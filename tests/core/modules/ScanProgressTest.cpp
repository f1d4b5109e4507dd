// A scan hands its rows over as they are read, and stops when asked.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "ModuleFixtures.h"
#include "core/modules/DetailsCache.h"
#include "core/modules/ModuleScan.h"
#include "support/TempDir.h"

namespace modshelf::modules {
namespace {

namespace fs = std::filesystem;

class ScanProgressTest : public ::testing::Test {
protected:
    void SetUp() override {
        test::writeModule(dir / "m000.bblx", "Module 0", "M0");
        for (int i = 1; i < kModules; ++i) {
            const std::string number = std::to_string(1000 + i).substr(1);
            fs::copy_file(dir / "m000.bblx", dir / ("m" + number + ".bblx"));
        }
        test::writeFile(dir / "readme.txt", "not a module");
    }
    std::string folder() const { return dir.path().string() + "/"; }

    static constexpr int kModules = 700;
    test::TempDir dir;
};

TEST_F(ScanProgressTest, BatchesHoldEveryRowOnceAndProgressReachesTheEnd) {
    std::vector<std::string> seen;
    std::vector<ScanProgress> progress;
    ScanOptions options;
    options.threads = 2;
    options.rowsReady = [&](std::vector<ModuleRow> rows, ScanProgress now) {
        for (const ModuleRow& row : rows) {
            EXPECT_EQ(row.record.tabName, row.kind == ModuleKind::Unknown ? "" : "M0");
            seen.push_back(row.record.fileName);
        }
        progress.push_back(now);
    };
    const ScanResult result = scanFolder(folder(), TypeFilter(), CheckRule(), options);

    ASSERT_EQ(result.rows.size(), static_cast<std::size_t>(kModules + 1));
    std::vector<std::string> listed;
    for (const ModuleRow& row : result.rows) listed.push_back(row.record.fileName);
    std::sort(seen.begin(), seen.end());
    std::sort(listed.begin(), listed.end());
    EXPECT_EQ(seen, listed);
    ASSERT_GE(progress.size(), 2u) << "rows come in more than one batch";
    EXPECT_LE(progress.front().modulesRead, 64u) << "the first rows come early";
    for (std::size_t i = 1; i < progress.size(); ++i)
        EXPECT_GE(progress[i].modulesRead, progress[i - 1].modulesRead);
    EXPECT_EQ(progress.back().modulesRead, static_cast<std::size_t>(kModules));
    EXPECT_EQ(progress.back().modulesToRead, static_cast<std::size_t>(kModules));
    EXPECT_FALSE(result.cancelled);
}

TEST_F(ScanProgressTest, CancelStopsTheScanAndKeepsWhatWasRemembered) {
    DetailsCache cache;
    const ScanResult first = scanFolder(folder(), TypeFilter(), CheckRule(), {1, &cache});
    ASSERT_FALSE(first.cancelled);
    // A module changes, so that the next scan has to read again.
    test::writeModule(dir / "m000.bblx", "Changed", "CHG");

    std::atomic<bool> cancel{false};
    int batches = 0;
    ScanOptions options;
    options.cache = &cache;
    options.cancel = &cancel;
    options.rowsReady = [&](std::vector<ModuleRow>, ScanProgress) {
        ++batches;
        cancel = true;
    };
    options.settleNs = 0;
    const ScanResult stopped = scanFolder(folder(), TypeFilter(), CheckRule(), options);
    EXPECT_TRUE(stopped.cancelled);
    EXPECT_EQ(batches, 1);
    EXPECT_TRUE(stopped.rows.empty());
    EXPECT_GT(cache.size(), 0u) << "the folder's memory survives a cancelled scan";

    const ScanResult again = scanFolder(folder(), TypeFilter(), CheckRule(), {1, &cache});
    EXPECT_FALSE(again.cancelled);
    EXPECT_EQ(again.rows, scanFolder(folder(), TypeFilter(), CheckRule(), {1, nullptr}).rows);
}

}  // namespace
}  // namespace modshelf::modules
