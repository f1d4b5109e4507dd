#include "core/modules/ReadMemory.h"

#include <gtest/gtest.h>
#include <sqlite3.h>

#include <cstring>
#include <thread>
#include <vector>

#include "core/modules/GuardedVfs.h"

namespace modshelf::modules {
namespace {

// The allocator is installed with the module reader's SQLite set-up.
class ReadMemoryTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_NE(guardedVfs(), nullptr);
        void* probe = sqlite3_malloc(100);
        ASSERT_EQ(sqlite3_msize(probe), static_cast<sqlite3_uint64>(readMemoryBlockSize(100)))
            << "SQLite does not allocate through the read allocator";
        sqlite3_free(probe);
    }
    void TearDown() override { stopCountingMemory(); }
};

TEST_F(ReadMemoryTest, AReadOverItsLimitIsRefusedAndFreeingMakesRoom) {
    startCountingMemory(10000);
    void* first = sqlite3_malloc(6000);
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(sqlite3_malloc(6000), nullptr);
    std::memset(first, 'x', 6000);
    EXPECT_EQ(sqlite3_realloc(first, 12000), nullptr);
    EXPECT_EQ(static_cast<char*>(first)[5999], 'x') << "a refused realloc keeps the block";
    sqlite3_free(first);
    void* second = sqlite3_malloc(6000);
    EXPECT_NE(second, nullptr);

    stopCountingMemory();
    void* large = sqlite3_malloc(1 << 20);
    EXPECT_NE(large, nullptr) << "with no read running, nothing is limited";
    sqlite3_free(large);
    sqlite3_free(second);
}

TEST_F(ReadMemoryTest, ReallocKeepsTheContentAcrossBlockSizes) {
    char* block = nullptr;
    int size = 0;
    for (int next : {10, 100, 1500, 9000, 20000, 40000, 3000, 16, 1}) {
        SCOPED_TRACE(next);
        char* moved = static_cast<char*>(sqlite3_realloc(block, next));
        ASSERT_NE(moved, nullptr);
        for (int i = 0; i < std::min(size, next); ++i)
            ASSERT_EQ(moved[i], static_cast<char>(i * 7)) << "byte " << i;
        for (int i = 0; i < next; ++i) moved[i] = static_cast<char>(i * 7);
        EXPECT_GE(sqlite3_msize(moved), static_cast<sqlite3_uint64>(next));
        block = moved;
        size = next;
    }
    sqlite3_free(block);
}

// A thread reuses the small blocks it freed, and keeps no more than a bound.
TEST_F(ReadMemoryTest, ThreadsKeepFreedSmallBlocksUpToABound) {
    bool keeping = true;
    std::thread([&] {
        void* first = sqlite3_malloc(100);
        sqlite3_free(first);
        if (readMemoryKeptBytes() == 0) {
            keeping = false;  // an address-checking build frees everything at once
            return;
        }
        void* again = sqlite3_malloc(100);
        EXPECT_EQ(again, first);
        EXPECT_EQ(readMemoryKeptBytes(), 0);
        sqlite3_free(again);

        std::vector<void*> blocks(2000);
        for (void*& block : blocks) block = sqlite3_malloc(8000);
        for (void* block : blocks) sqlite3_free(block);
        EXPECT_GT(readMemoryKeptBytes(), 1 << 20);
        EXPECT_LE(readMemoryKeptBytes(), 4 << 20);
    }).join();
    if (!keeping) GTEST_SKIP() << "blocks are not kept in this build";
}

}  // namespace
}  // namespace modshelf::modules
