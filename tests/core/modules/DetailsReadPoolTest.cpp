#include "core/modules/DetailsReadPool.h"

#include <gtest/gtest.h>

#include <thread>

#include "ModuleFixtures.h"
#include "support/TempDir.h"

namespace modshelf::modules {
namespace {

// Jobs trickle in while workers wait for them; every batch the caller asks
// for is complete when `complete` returns, whatever the number of workers.
TEST(DetailsReadPoolTest, BatchesAreCompleteAsJobsArePublishedOneByOne) {
    test::TempDir dir;
    constexpr std::size_t kModules = 40;
    for (std::size_t i = 0; i < kModules; ++i)
        test::writeModule(dir / ("m" + std::to_string(i) + ".bblx"), "d", "T" + std::to_string(i));

    for (const unsigned workers : {0u, 1u, 4u}) {
        SCOPED_TRACE(workers);
        std::vector<DetailsJob> jobs;
        jobs.reserve(kModules);
        std::vector<ModuleDetails> results(kModules);
        DetailsReadPool pool(jobs, results, workers, nullptr);
        for (std::size_t i = 0; i < kModules; ++i) {
            jobs.push_back({i, (dir / ("m" + std::to_string(i) + ".bblx")).string()});
            pool.publish(jobs.size());
            if (i % 7 == 0) std::this_thread::sleep_for(std::chrono::milliseconds(1));
            if (i % 10 == 9) {
                ASSERT_TRUE(pool.complete(i + 1));
                for (std::size_t j = 0; j <= i; ++j)
                    ASSERT_EQ(results[j].tabName, "T" + std::to_string(j)) << j;
            }
        }
    }
}

TEST(DetailsReadPoolTest, CancelEndsTheWaitAndTheWorkers) {
    test::TempDir dir;
    test::writeModule(dir / "a.bblx", "d", "A");
    std::vector<DetailsJob> jobs;
    jobs.reserve(100);
    std::vector<ModuleDetails> results(100);
    std::atomic<bool> cancel{true};
    DetailsReadPool pool(jobs, results, 2, &cancel);
    jobs.push_back({0, (dir / "a.bblx").string()});
    pool.publish(1);
    EXPECT_FALSE(pool.complete(1));
}

}  // namespace
}  // namespace modshelf::modules
