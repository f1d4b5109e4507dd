#include "core/modules/ReadMemory.h"

#include <sqlite3.h>

#include <climits>
#include <cstdlib>
#include <cstring>

namespace modshelf::modules {

namespace {

// Under AddressSanitizer every block goes back to the system at once, so that
// a use after free is still caught.
#if defined(__SANITIZE_ADDRESS__)
constexpr bool kKeepBlocks = false;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
constexpr bool kKeepBlocks = false;
#else
constexpr bool kKeepBlocks = true;
#endif
#else
constexpr bool kKeepBlocks = true;
#endif

// Every block starts with a header: its usable size and its size class (-1
// for a block too large to keep). SQLite wants 8-byte alignment, which a
// 16-byte aligned system block plus this header keeps.
struct BlockHeader {
    std::int32_t size;
    std::int32_t sizeClass;
};
static_assert(sizeof(BlockHeader) == 8);
constexpr int kHeader = sizeof(BlockHeader);

// Small blocks come in sizes of 16-byte steps up to 1 KiB, then 256-byte
// steps up to 8 KiB (a page of the page cache fits the last ones).
constexpr int kFineLimit = 1024;
constexpr int kFineStep = 16;
constexpr int kCoarseStep = 256;
constexpr int kLargestKept = 8192;
constexpr int kFineClasses = kFineLimit / kFineStep;
constexpr int kClasses = kFineClasses + (kLargestKept - kFineLimit) / kCoarseStep;
// What one thread keeps at most: a module read needs far less.
constexpr std::int64_t kKeptLimit = std::int64_t{4} << 20;

// For 1 <= bytes <= kLargestKept.
inline int classOf(int bytes) {
    if (bytes <= kFineLimit) return (bytes + kFineStep - 1) / kFineStep - 1;
    return kFineClasses + (bytes - kFineLimit + kCoarseStep - 1) / kCoarseStep - 1;
}

inline int classSize(int sizeClass) {
    if (sizeClass < kFineClasses) return (sizeClass + 1) * kFineStep;
    return kFineLimit + (sizeClass - kFineClasses + 1) * kCoarseStep;
}

// The size class for a request of `bytes`, -1 for a block that is not kept.
inline int classFor(int bytes) {
    if (!kKeepBlocks || bytes > kLargestKept) return -1;
    return classOf(bytes < 1 ? 1 : bytes);
}

// The usable size of the block for a request of `bytes`.
inline int blockSize(int bytes) {
    const int sizeClass = classFor(bytes);
    if (sizeClass >= 0) return classSize(sizeClass);
    if (bytes < 1) bytes = 1;
    return bytes > INT_MAX - 7 ? INT_MAX & ~7 : (bytes + 7) & ~7;
}

inline BlockHeader& headerOf(void* block) {
    return *reinterpret_cast<BlockHeader*>(static_cast<char*>(block) - kHeader);
}

// --- Counting: the limit of the read running on this thread; 0 while none
// runs. ---
thread_local std::int64_t tMemoryLimit = 0;
thread_local std::int64_t tMemoryUsed = 0;

// --- Keeping: free small blocks of this thread, one list per size class.
// Plain data, so that it can be used while the thread's other objects are
// being destroyed; the releaser below empties it when the thread ends. ---
struct KeptBlocks {
    void* heads[kClasses];
    std::int64_t bytes;
    bool releaserSet;
    bool released;
};
thread_local KeptBlocks tKept = {};

void releaseKept() {
    for (void*& head : tKept.heads)
        while (head) {
            void* next = *static_cast<void**>(head);
            std::free(static_cast<char*>(head) - kHeader);
            head = next;
        }
    tKept.bytes = 0;
}

struct KeptBlocksReleaser {
    ~KeptBlocksReleaser() {
        releaseKept();
        tKept.released = true;  // later frees on this thread go to the system
    }
};
thread_local KeptBlocksReleaser tReleaser;

void* systemBlock(int size, int sizeClass) {
    auto* raw = static_cast<char*>(std::malloc(static_cast<std::size_t>(size) + kHeader));
    if (!raw) return nullptr;
    void* block = raw + kHeader;
    headerOf(block) = {size, sizeClass};
    return block;
}

// --- SQLite's allocator methods. ---

void* readMalloc(int bytes) {
    const int sizeClass = classFor(bytes);
    const int size = sizeClass >= 0 ? classSize(sizeClass) : blockSize(bytes);
    if (tMemoryLimit) {
        if (tMemoryUsed + size > tMemoryLimit) return nullptr;
        tMemoryUsed += size;
    }
    if (sizeClass >= 0) {
        void*& head = tKept.heads[sizeClass];
        if (void* block = head) {
            head = *static_cast<void**>(block);
            tKept.bytes -= size;
            return block;
        }
    }
    void* block = systemBlock(size, sizeClass);
    if (!block && tMemoryLimit) tMemoryUsed -= size;
    return block;
}

void readFree(void* block) {
    if (!block) return;
    const BlockHeader header = headerOf(block);
    if (tMemoryLimit) tMemoryUsed -= header.size;
    if (header.sizeClass >= 0 && !tKept.released && tKept.bytes + header.size <= kKeptLimit) {
        if (!tKept.releaserSet) {
            // The first use of the releaser has it run when the thread ends.
            static_cast<void>(&tReleaser);
            tKept.releaserSet = true;
        }
        void*& head = tKept.heads[header.sizeClass];
        *static_cast<void**>(block) = head;
        head = block;
        tKept.bytes += header.size;
        return;
    }
    std::free(static_cast<char*>(block) - kHeader);
}

void* readRealloc(void* block, int bytes) {
    if (!block) return readMalloc(bytes);
    const BlockHeader before = headerOf(block);
    const int after = blockSize(bytes);
    if (after == before.size) return block;
    if (before.sizeClass < 0 && classFor(bytes) < 0) {
        const std::int64_t growth = std::int64_t{after} - before.size;
        if (tMemoryLimit && growth > 0 && tMemoryUsed + growth > tMemoryLimit) return nullptr;
        auto* raw = static_cast<char*>(std::realloc(static_cast<char*>(block) - kHeader,
                                                    static_cast<std::size_t>(after) + kHeader));
        if (!raw) return nullptr;
        if (tMemoryLimit) tMemoryUsed += growth;
        void* grown = raw + kHeader;
        headerOf(grown) = {after, -1};
        return grown;
    }
    // To or from a kept size: a new block, and the old one freed.
    void* moved = readMalloc(bytes);
    if (!moved) return nullptr;
    std::memcpy(moved, block, static_cast<std::size_t>(before.size < after ? before.size : after));
    readFree(block);
    return moved;
}

int readSize(void* block) {
    return block ? headerOf(block).size : 0;
}

int readRoundup(int bytes) {
    return blockSize(bytes);
}

int readInit(void*) {
    return SQLITE_OK;
}

void readShutdown(void*) {}

}  // namespace

bool installReadMemory() {
    static const sqlite3_mem_methods methods = {readMalloc,  readFree, readRealloc,  readSize,
                                                readRoundup, readInit, readShutdown, nullptr};
    return sqlite3_config(SQLITE_CONFIG_MALLOC, &methods) == SQLITE_OK;
}

void startCountingMemory(std::int64_t limit) {
    tMemoryLimit = limit;
    tMemoryUsed = 0;
}

void stopCountingMemory() {
    tMemoryLimit = 0;
    tMemoryUsed = 0;
}

int readMemoryBlockSize(int bytes) {
    return blockSize(bytes);
}

std::int64_t readMemoryKeptBytes() {
    return tKept.bytes;
}

}  // namespace modshelf::modules
