#pragma once

#include <string>

namespace modshelf::modules {

// The first row of a module's Details table, by column position.
struct ModuleDetails {
    std::string description;  // column 0
    std::string tabName;      // column 1: the module's name in every activation key
    std::string comments;     // column 2: RTF

    bool operator==(const ModuleDetails&) const = default;
};

// How a module file is opened. Both never write anything: not the module,
// and no journal, -wal or -shm file beside it.
enum class DetailsOpenMode {
    // Decide from the files beside the module (see openModeFor).
    Auto,
    // Read the database file alone, without locks: for a module no program
    // is writing, which is every module that has no -wal and -shm beside it.
    Immutable,
    // An ordinary read-only connection, which also reads a live -wal file.
    // Used only when the -wal and -shm files already exist.
    SharedReadOnly,
};

// The safe way to open a module, given which of its side files exist. A module
// without side files is read as an immutable file. One that a program has open
// in WAL mode (-wal and -shm beside it) keeps its latest rows in the -wal file,
// so it gets an ordinary read-only connection, which creates nothing since both
// files exist. A -journal beside a rollback-mode module means a writer is at
// work (or crashed mid-write): an ordinary connection then waits for nothing
// and reports the lock, where an immutable read could see half-written pages.
DetailsOpenMode openModeFor(const std::string& path, bool hasWalAndShm, bool hasJournal);

// Reads the first Details row of the module at `path`. A missing, empty,
// truncated, locked or non-SQLite file, a file without a Details table or
// with an empty one gives three empty fields; a field that is missing, NULL
// or exactly "-1" is empty. Never reports an error and never writes.
ModuleDetails readModuleDetails(const std::string& path,
                                DetailsOpenMode mode = DetailsOpenMode::Auto);

}  // namespace modshelf::modules
