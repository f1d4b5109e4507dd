#include "core/modules/GuardedModuleConnection.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <climits>
#include <cstdlib>
#include <cstring>
#include <string>

namespace modshelf::modules {

namespace {

// --- Memory: an allocator that counts what each thread's read holds. ---

sqlite3_mem_methods gSystemMemory;
bool gMemoryCounted = false;
// The limit of the read running on this thread; 0 while no read runs.
thread_local std::int64_t tMemoryLimit = 0;
thread_local std::int64_t tMemoryUsed = 0;

void* countedMalloc(int bytes) {
    if (tMemoryLimit && tMemoryUsed + bytes > tMemoryLimit) return nullptr;
    void* block = gSystemMemory.xMalloc(bytes);
    if (block && tMemoryLimit) tMemoryUsed += gSystemMemory.xSize(block);
    return block;
}

void countedFree(void* block) {
    if (block && tMemoryLimit) tMemoryUsed -= gSystemMemory.xSize(block);
    gSystemMemory.xFree(block);
}

void* countedRealloc(void* block, int bytes) {
    if (!tMemoryLimit) return gSystemMemory.xRealloc(block, bytes);
    const int before = block ? gSystemMemory.xSize(block) : 0;
    if (bytes > before && tMemoryUsed + (bytes - before) > tMemoryLimit) return nullptr;
    void* grown = gSystemMemory.xRealloc(block, bytes);
    if (grown) tMemoryUsed += gSystemMemory.xSize(grown) - before;
    return grown;
}

int systemSize(void* block) {
    return gSystemMemory.xSize(block);
}
int systemRoundup(int bytes) {
    return gSystemMemory.xRoundup(bytes);
}
int systemInit(void* data) {
    return gSystemMemory.xInit(data);
}
void systemShutdown(void* data) {
    gSystemMemory.xShutdown(data);
}

// --- Files: a VFS that opens side files read-only and never creates one. ---

sqlite3_vfs* gSystemVfs = nullptr;
sqlite3_vfs gGuardedVfs;
constexpr const char* kGuardedVfsName = "modshelf-guarded";

// A name that exists but is not a regular file (a FIFO, a device, a folder,
// a link to one) must not be opened: opening a FIFO waits for a writer.
bool missingOrRegular(const char* name) {
    struct stat info;
    if (::stat(name, &info) != 0) return true;
    return S_ISREG(info.st_mode);
}

int guardedOpen(sqlite3_vfs*, const char* name, sqlite3_file* file, int flags, int* outFlags) {
    // A read of one row needs no temporary file; only a module's code (a
    // sort of a huge view) would, and it would fill the disk.
    constexpr int kModuleFiles = SQLITE_OPEN_MAIN_DB | SQLITE_OPEN_MAIN_JOURNAL | SQLITE_OPEN_WAL;
    if (!name || !(flags & kModuleFiles)) return SQLITE_CANTOPEN;
    {
        if (!missingOrRegular(name)) return SQLITE_CANTOPEN;
        // A -wal or journal that is not there stays not there; one that is
        // there is only read.
        flags &= ~(SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_DELETEONCLOSE);
        flags |= SQLITE_OPEN_READONLY;
    }
    return gSystemVfs->xOpen(gSystemVfs, name, file, flags, outFlags);
}

// Runs before main, while no thread can be using SQLite, which
// sqlite3_config requires. Memory statistics are off: they take a global
// mutex on every allocation, and each connection's lookaside arena is hardly
// used by a one-row read.
[[maybe_unused]] const bool kSqliteSetUp = [] {
    sqlite3_config(SQLITE_CONFIG_MEMSTATUS, 0);
    sqlite3_config(SQLITE_CONFIG_LOOKASIDE, 0, 0);
    if (sqlite3_config(SQLITE_CONFIG_GETMALLOC, &gSystemMemory) == SQLITE_OK &&
        gSystemMemory.xMalloc) {
        sqlite3_mem_methods counted = {countedMalloc, countedFree, countedRealloc, systemSize,
                                       systemRoundup, systemInit,  systemShutdown, nullptr};
        gMemoryCounted = sqlite3_config(SQLITE_CONFIG_MALLOC, &counted) == SQLITE_OK;
    }
    return true;
}();

sqlite3_vfs* guardedVfs() {
    static sqlite3_vfs* vfs = [] {
        gSystemVfs = sqlite3_vfs_find(nullptr);
        if (!gSystemVfs) return static_cast<sqlite3_vfs*>(nullptr);
        gGuardedVfs = *gSystemVfs;
        gGuardedVfs.pNext = nullptr;
        gGuardedVfs.zName = kGuardedVfsName;
        gGuardedVfs.xOpen = guardedOpen;
        if (sqlite3_vfs_register(&gGuardedVfs, 0) != SQLITE_OK) return gSystemVfs;
        return &gGuardedVfs;
    }();
    return vfs;
}

struct SideFiles {
    bool usable = true;  // false: a side file is there but not a regular file
    bool wal = false;
    bool shm = false;
};

SideFiles sideFilesOf(const std::string& path) {
    SideFiles side;
    for (const char* suffix : {"-wal", "-shm", "-journal"}) {
        struct stat info;
        const std::string name = path + suffix;
        if (::lstat(name.c_str(), &info) != 0) continue;
        if (!S_ISREG(info.st_mode)) side.usable = false;
        if (suffix[1] == 'w') side.wal = true;
        if (suffix[1] == 's') side.shm = true;
    }
    return side;
}

// Bytes 18 and 19 of a database header are 2 in WAL mode. The file is known
// to be regular, so the open cannot wait.
bool headerSaysWal(const std::string& path) {
    unsigned char header[20] = {};
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) return false;
    const ssize_t got = ::read(fd, header, sizeof header);
    ::close(fd);
    return got == static_cast<ssize_t>(sizeof header) && header[18] == 2 && header[19] == 2;
}

// --- printf: its time grows with a width or precision, which no limit on
// values or on work bounds (printf('%.400000000c','x') runs for seconds even
// when its result is refused). ---

// Widths and precisions beyond this are refused; no module needs them.
constexpr long long kLargestFormatNumber = 100000;

bool formatIsSafe(const unsigned char* format, int argc, sqlite3_value** argv) {
    if (!format) return true;
    bool starSeen = false;
    // The numbers of each conversion: "%", flags, width, ".", precision.
    for (const unsigned char* c = format; *c; ++c) {
        if (*c != '%') continue;
        ++c;
        while (*c && std::strchr("-+ 0#,!", *c)) ++c;
        for (int part = 0; part < 2; ++part) {
            if (*c == '*') {
                starSeen = true;
                ++c;
            }
            long long number = 0;
            while (*c >= '0' && *c <= '9') {
                number = number * 10 + (*c++ - '0');
                if (number > kLargestFormatNumber) return false;
            }
            if (part == 0 && *c == '.') ++c;
        }
        if (!*c) break;
    }
    // A '*' takes its number from the arguments.
    if (starSeen)
        for (int i = 1; i < argc; ++i) {
            const double value = sqlite3_value_double(argv[i]);
            if (value > kLargestFormatNumber || value < -kLargestFormatNumber) return false;
        }
    return true;
}

// Formats through SQLite's own printf on a private in-memory connection of
// this thread, once the format is known to be safe.
void guardedPrintf(sqlite3_context* context, int argc, sqlite3_value** argv) {
    if (argc < 1) return;
    if (!formatIsSafe(sqlite3_value_text(argv[0]), argc, argv)) {
        sqlite3_result_error_toobig(context);
        return;
    }
    // Closed when its thread ends: scans read on short-lived threads.
    struct Formatter {
        sqlite3* db = nullptr;
        ~Formatter() { sqlite3_close(db); }
    };
    thread_local Formatter holder;
    if (!holder.db &&
        sqlite3_open_v2(":memory:", &holder.db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_NOMUTEX,
                        nullptr) != SQLITE_OK) {
        sqlite3_close(holder.db);
        holder.db = nullptr;
        sqlite3_result_error_nomem(context);
        return;
    }
    sqlite3* formatter = holder.db;
    sqlite3_limit(formatter, SQLITE_LIMIT_LENGTH,
                  sqlite3_limit(sqlite3_context_db_handle(context), SQLITE_LIMIT_LENGTH, -1));
    std::string sql = "SELECT printf(?1";
    for (int i = 1; i < argc; ++i) sql += ", ?" + std::to_string(i + 1);
    sql += ")";
    sqlite3_stmt* statement = nullptr;
    if (sqlite3_prepare_v2(formatter, sql.c_str(), -1, &statement, nullptr) != SQLITE_OK) {
        sqlite3_result_error(context, "printf", -1);
        return;
    }
    for (int i = 0; i < argc; ++i) sqlite3_bind_value(statement, i + 1, argv[i]);
    if (sqlite3_step(statement) == SQLITE_ROW) {
        sqlite3_result_value(context, sqlite3_column_value(statement, 0));
    } else {
        sqlite3_result_error_code(context, sqlite3_errcode(formatter));
    }
    sqlite3_finalize(statement);
}

void applyLimits(sqlite3* db, const ModuleBudget& budget) {
    sqlite3_limit(db, SQLITE_LIMIT_LENGTH, budget.maxLength);
    sqlite3_limit(db, SQLITE_LIMIT_SQL_LENGTH, budget.maxLength);
    sqlite3_limit(db, SQLITE_LIMIT_EXPR_DEPTH, 200);
    sqlite3_limit(db, SQLITE_LIMIT_COMPOUND_SELECT, 50);
    sqlite3_limit(db, SQLITE_LIMIT_VDBE_OP, 50000);
    sqlite3_limit(db, SQLITE_LIMIT_FUNCTION_ARG, 32);
    sqlite3_limit(db, SQLITE_LIMIT_ATTACHED, 0);
    sqlite3_limit(db, SQLITE_LIMIT_LIKE_PATTERN_LENGTH, 1000);
    sqlite3_limit(db, SQLITE_LIMIT_VARIABLE_NUMBER, 100);
    sqlite3_limit(db, SQLITE_LIMIT_TRIGGER_DEPTH, 1);
    sqlite3_limit(db, SQLITE_LIMIT_WORKER_THREADS, 0);
    // Schema code must not call functions marked unsafe, and nothing may
    // change the file even through a bug of ours.
    sqlite3_db_config(db, SQLITE_DBCONFIG_TRUSTED_SCHEMA, 0, nullptr);
    sqlite3_db_config(db, SQLITE_DBCONFIG_DEFENSIVE, 1, nullptr);
    // A quoted column name that names no column is an error, not a text.
    sqlite3_db_config(db, SQLITE_DBCONFIG_DQS_DML, 0, nullptr);
    const int flags = SQLITE_UTF8 | SQLITE_DETERMINISTIC | SQLITE_INNOCUOUS;
    for (const char* name : {"printf", "format"})
        sqlite3_create_function(db, name, -1, flags, nullptr, guardedPrintf, nullptr, nullptr);
}

}  // namespace

std::string moduleUri(const std::string& absolutePath, bool immutable) {
    std::string uri = "file://";
    if (absolutePath.empty() || absolutePath.front() != '/') uri.push_back('/');
    static constexpr char kHex[] = "0123456789ABCDEF";
    // SQLite decodes %HH, and '?' and '#' would end the path part.
    for (unsigned char c : absolutePath) {
        if (c == '%' || c == '?' || c == '#' || c < 0x20) {
            uri.push_back('%');
            uri.push_back(kHex[c >> 4]);
            uri.push_back(kHex[c & 15]);
        } else {
            uri.push_back(static_cast<char>(c));
        }
    }
    // immutable: no locks, no side file looked for. readonly_shm: an -shm is
    // opened read-only and never created.
    uri += immutable ? "?mode=ro&immutable=1" : "?mode=ro&readonly_shm=1";
    return uri;
}

GuardedModuleConnection::GuardedModuleConnection(const std::string& path,
                                                 const ModuleBudget& budget)
    : workLeft_(budget.workSteps) {
    if (path.empty()) return;
    // Side files lie beside the file itself, not beside a link to it.
    struct stat info;
    if (::lstat(path.c_str(), &info) != 0) return;
    std::string real = path;
    if (S_ISLNK(info.st_mode) || path.front() != '/') {
        char* resolved = ::realpath(path.c_str(), nullptr);
        if (!resolved) return;
        real = resolved;
        std::free(resolved);
        if (::stat(real.c_str(), &info) != 0) return;
    }
    if (!S_ISREG(info.st_mode)) return;
    const SideFiles side = sideFilesOf(real);
    if (!side.usable) return;
    // Checked just before opening: with neither file there, no program has
    // the WAL-mode module open, and one that opens it now writes to a new
    // -wal, not to the file read here.
    const bool immutable = !side.wal && !side.shm && headerSaysWal(real);

    sqlite3_vfs* vfs = guardedVfs();
    if (!vfs) return;
    if (gMemoryCounted) {
        tMemoryLimit = budget.maxMemory;
        tMemoryUsed = 0;
    }
    const std::string uri = moduleUri(real, immutable);
    const int flags = SQLITE_OPEN_READONLY | SQLITE_OPEN_URI | SQLITE_OPEN_NOMUTEX;
    if (sqlite3_open_v2(uri.c_str(), &db_, flags, vfs->zName) != SQLITE_OK) {
        sqlite3_close(db_);
        db_ = nullptr;
        return;
    }
    applyLimits(db_, budget);
    sqlite3_progress_handler(db_, ModuleBudget::kWorkStep, &onProgress, this);
    sqlite3_busy_handler(db_, &onBusy, this);
}

GuardedModuleConnection::~GuardedModuleConnection() {
    sqlite3_close(db_);
    tMemoryLimit = 0;
    tMemoryUsed = 0;
}

int GuardedModuleConnection::onProgress(void* self) {
    auto* connection = static_cast<GuardedModuleConnection*>(self);
    return --connection->workLeft_ < 0 ? 1 : 0;
}

// A writer holds its lock for the moment of a commit; a few short waits ride
// that out without letting a module that stays locked slow the list down.
int GuardedModuleConnection::onBusy(void*, int attempts) {
    if (attempts >= 5) return 0;
    sqlite3_sleep(1);
    return 1;
}

}  // namespace modshelf::modules
