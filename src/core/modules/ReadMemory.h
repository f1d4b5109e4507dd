#pragma once

#include <cstdint>

namespace modshelf::modules {

// The memory SQLite allocates, for the whole program.
//
// Each module read has a memory budget, counted per thread: while a read runs
// on a thread, an allocation that would take that thread's read over its
// limit fails, and SQLite reports the read out of memory.
//
// Reading one module's row parses its schema and two statements, a few
// hundred small blocks, all freed again when the module is detached. Small
// blocks are therefore kept per thread for reuse instead of going back to
// the system allocator, up to a bound per thread; what a thread keeps is
// released when it ends.

// Makes SQLite allocate through this allocator. Must run before SQLite is
// used by any thread; false if SQLite refused it (then nothing is counted).
bool installReadMemory();

// Starts counting this thread's allocations against `limit` bytes.
void startCountingMemory(std::int64_t limit);
// Ends the count: allocations on this thread are no longer limited.
void stopCountingMemory();

// What a small block takes for a request of `bytes` (exposed for tests).
int readMemoryBlockSize(int bytes);
// Bytes this thread keeps for reuse (exposed for tests).
std::int64_t readMemoryKeptBytes();

}  // namespace modshelf::modules
