#pragma once

#include <sqlite3.h>

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "core/modules/GuardedVfs.h"
#include "core/modules/ModuleBudget.h"

namespace modshelf::modules {

// A read-only SQLite connection to one module file, for one read, with the
// module's budget in force on this thread while it is open.
//
// The module is read the way SQLite itself reads it, locks included, so a
// program writing the module at the same moment is never seen half-way.
// Only a WAL-mode module with neither a -wal nor an -shm file beside it (no
// program has it open) is read as an immutable file. Nothing is created or
// written: no journal, -wal or -shm file appears beside a module. The module
// and any side file must be regular files, so that a FIFO or a device never
// blocks a read; a link is followed and its target's side files are used.
class ReadingConnection;

// The schema name under which the module's tables are found on db().
inline constexpr const char* kModuleSchema = "module";

class GuardedModuleConnection {
public:
    GuardedModuleConnection(const std::string& path, const ModuleBudget& budget);
    ~GuardedModuleConnection();
    GuardedModuleConnection(const GuardedModuleConnection&) = delete;
    GuardedModuleConnection& operator=(const GuardedModuleConnection&) = delete;

    // Null when the module could not be opened. The module's tables are in
    // the schema kModuleSchema ("module.Details").
    sqlite3* db() const { return db_; }
    // The read ran out of work; what it gave so far is not to be trusted.
    bool overBudget() const { return workLeft_ < 0; }

private:
    // Attaches checked_ to this thread's reading connection, or to one of
    // its own for a UTF-16 module (`encoding`).
    void attach(bool immutable, bool holdLock, const char* encoding, const ModuleBudget& budget);
    static int onProgress(void* self);
    static int onBusy(void* self, int attempts);

    ReadingConnection* connection_ = nullptr;
    std::unique_ptr<ReadingConnection> ownConnection_;
    sqlite3* db_ = nullptr;
    std::int64_t workLeft_ = 0;
    CheckedModule checked_;
    // Ends after the module is detached: SQLite looks at the file then too.
    std::optional<CheckedModuleScope> checkedScope_;
};

// The file: URI SQLite is given for a module path (exposed for tests).
std::string moduleUri(const std::string& absolutePath, bool immutable);

}  // namespace modshelf::modules
