#pragma once

#include <cstdint>

namespace modshelf::modules {

// What one module read may cost. A module is untrusted input: its schema can
// hold views and generated columns whose code runs when the row is read, so
// every read is bounded in work, in the length of any value and in memory.
// A read over its budget ends and gives empty fields, as a damaged module
// does.
struct ModuleBudget {
    // Virtual machine instructions, counted in steps of kWorkStep; this covers
    // the schema parse and the query. An ordinary module needs a few thousand.
    std::int64_t workSteps = 0;
    // Bytes of any single text or blob, and of any statement in the schema.
    int maxLength = 0;
    // Bytes SQLite may hold at once for this read (page cache, schema, values).
    std::int64_t maxMemory = 0;

    static constexpr int kWorkStep = 1000;

    // For a row of the list: description and tab name, a few milliseconds and
    // a few megabytes at most.
    static ModuleBudget forList() { return {100, 1 << 20, 8 << 20}; }
    // For one module the user asked about, comments included: RTF comments
    // may carry pictures, so values may be long.
    static ModuleBudget forReport() { return {20000, 64 << 20, std::int64_t{256} << 20}; }
};

}  // namespace modshelf::modules
