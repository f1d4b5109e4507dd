#include "core/modules/GuardedModuleConnection.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <string>

#include "core/modules/ReadMemory.h"

namespace modshelf::modules {

namespace {

struct SideFiles {
    bool usable = true;  // false: a side file is there but not a regular file
    bool wal = false;
    bool shm = false;
    bool journal = false;
};

// SQLite opens a -journal or -wal through the guarded VFS, which refuses
// anything but a regular file; an -shm it opens itself, and only for a module
// in WAL mode or with a -wal. So a rollback-mode module without a -wal needs
// no look at its -shm, nor at its -journal, which SQLite looks for itself
// and opens only through the guarded VFS.
SideFiles sideFilesOf(const std::string& path, bool rollbackMode) {
    SideFiles side;
    std::string name = path;
    const auto look = [&](const char* suffix, bool& present) {
        struct stat info;
        name.resize(path.size());
        name += suffix;
        if (::lstat(name.c_str(), &info) != 0) return;
        present = true;
        if (!S_ISREG(info.st_mode)) side.usable = false;
    };
    look("-wal", side.wal);
    if (!rollbackMode || side.wal) {
        look("-journal", side.journal);
        look("-shm", side.shm);
    }
    return side;
}

enum class JournalMode { Unknown, Rollback, Wal };

// What the first bytes of a module say: bytes 18 and 19 are 1 in rollback
// mode and 2 in WAL mode, bytes 56 to 59 the text encoding (1: UTF-8, 2 and
// 3: UTF-16, 0 while the file holds no table yet).
struct ModuleHeader {
    JournalMode mode = JournalMode::Unknown;
    int encoding = 0;
};

ModuleHeader headerOf(int descriptor) {
    ModuleHeader result;
    unsigned char header[60] = {};
    if (::pread(descriptor, header, sizeof header, 0) != static_cast<ssize_t>(sizeof header))
        return result;
    if (header[18] == header[19] && header[18] == 1) result.mode = JournalMode::Rollback;
    if (header[18] == header[19] && header[18] == 2) result.mode = JournalMode::Wal;
    result.encoding = header[56] << 24 | header[57] << 16 | header[58] << 8 | header[59];
    return result;
}

// What opening a module path found.
enum class Opened {
    Regular,   // `module` holds the open file
    Link,      // the last component is a link: open what it leads to instead
    Unusable,  // not there, unreadable, or not a regular file
};

// A module is opened once, without following a link and without waiting on a
// FIFO, and looked at through the descriptor, which SQLite then reads.
Opened openModule(const std::string& path, CheckedModule& module, ModuleHeader& header) {
    // Listing a folder is no use of its modules: their access times stay as
    // they were, and no inode is written back for reading a row. Only the
    // owner of a file may ask for that.
    constexpr int kFlags = O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC;
    int descriptor = ::open(path.c_str(), kFlags | O_NOATIME);
    if (descriptor < 0 && errno == EPERM) descriptor = ::open(path.c_str(), kFlags);
    if (descriptor < 0) return errno == ELOOP ? Opened::Link : Opened::Unusable;
    struct stat info;
    if (::fstat(descriptor, &info) != 0 || !S_ISREG(info.st_mode)) {
        ::close(descriptor);
        return Opened::Unusable;
    }
    header = headerOf(descriptor);
    module.path = path;
    module.descriptor = descriptor;
    module.info = info;
    return Opened::Regular;
}

// The absolute path, the last component no link, of what `path` names.
std::string resolvedPath(const std::string& path) {
    char* resolved = ::realpath(path.c_str(), nullptr);
    if (!resolved) return {};
    std::string real = resolved;
    std::free(resolved);
    return real;
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

// Limits that hold for every module read on a connection; the lengths are
// set for each read, from its budget.
void applyFixedLimits(sqlite3* db) {
    sqlite3_limit(db, SQLITE_LIMIT_EXPR_DEPTH, 200);
    sqlite3_limit(db, SQLITE_LIMIT_COMPOUND_SELECT, 50);
    sqlite3_limit(db, SQLITE_LIMIT_VDBE_OP, 50000);
    sqlite3_limit(db, SQLITE_LIMIT_FUNCTION_ARG, 32);
    // The module itself; nothing a module holds can attach another file.
    sqlite3_limit(db, SQLITE_LIMIT_ATTACHED, 1);
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

// An empty in-memory connection to which one module at a time is attached.
// Setting up a connection (its functions, collations and built-in modules)
// costs as much as reading a module's row, so each reading thread keeps one.
class ReadingConnection {
public:
    ReadingConnection() = default;
    ~ReadingConnection() { close(); }
    ReadingConnection(const ReadingConnection&) = delete;
    ReadingConnection& operator=(const ReadingConnection&) = delete;

    // Null when no connection could be made. Called while no read's memory
    // is counted: the connection outlives every read.
    // `encoding` is a module's text encoding, which an attached file must
    // share with the connection; only a new connection takes it.
    sqlite3* open(sqlite3_vfs* vfs, const char* encoding = nullptr) {
        if (db_) return db_;
        // Read-only: every module attached to it is opened read-only too.
        const int flags = SQLITE_OPEN_READONLY | SQLITE_OPEN_URI | SQLITE_OPEN_NOMUTEX;
        const std::string setEncoding =
            encoding ? "PRAGMA encoding='" + std::string(encoding) + "';" : std::string();
        if (sqlite3_open_v2(":memory:", &db_, flags, vfs->zName) != SQLITE_OK ||
            (encoding &&
             sqlite3_exec(db_, setEncoding.c_str(), nullptr, nullptr, nullptr) != SQLITE_OK) ||
            !prepare("ATTACH ?1 AS " + std::string(kModuleSchema) + ";", attach_) ||
            !prepare("DETACH " + std::string(kModuleSchema) + ";", detach_) ||
            !prepare("PRAGMA locking_mode=EXCLUSIVE;", holdLocks_) ||
            !prepare("PRAGMA locking_mode=NORMAL;", releaseLocks_)) {
            close();
            return nullptr;
        }
        applyFixedLimits(db_);
        return db_;
    }

    // Attaches the module at `name` (a path or a file: URI); its locking
    // mode applies to it.
    bool attach(const std::string& name, bool holdLock) {
        if (holdLock != holdingLocks_) {
            sqlite3_stmt* pragma = holdLock ? holdLocks_ : releaseLocks_;
            const int step = sqlite3_step(pragma);
            const bool done = step == SQLITE_ROW || step == SQLITE_DONE;
            sqlite3_reset(pragma);
            if (!done) return false;
            holdingLocks_ = holdLock;
        }
        sqlite3_bind_text(attach_, 1, name.data(), static_cast<int>(name.size()), SQLITE_STATIC);
        const bool attached = sqlite3_step(attach_) == SQLITE_DONE;
        sqlite3_reset(attach_);
        sqlite3_clear_bindings(attach_);
        return attached;
    }

    // Detaches the module, which releases its file and its lock. A module
    // that cannot be detached takes the whole connection with it, so that no
    // lock and no file stays open.
    void detach() {
        const bool detached = sqlite3_step(detach_) == SQLITE_DONE;
        sqlite3_reset(detach_);
        if (!detached) close();
    }

    void close() {
        for (sqlite3_stmt** statement : {&attach_, &detach_, &holdLocks_, &releaseLocks_}) {
            sqlite3_finalize(*statement);
            *statement = nullptr;
        }
        sqlite3_close(db_);
        db_ = nullptr;
        holdingLocks_ = false;
    }

    sqlite3* db() const { return db_; }

    bool busy = false;

private:
    bool prepare(const std::string& sql, sqlite3_stmt*& statement) {
        return sqlite3_prepare_v3(db_, sql.c_str(), -1, SQLITE_PREPARE_PERSISTENT, &statement,
                                  nullptr) == SQLITE_OK;
    }

    sqlite3* db_ = nullptr;
    sqlite3_stmt* attach_ = nullptr;
    sqlite3_stmt* detach_ = nullptr;
    sqlite3_stmt* holdLocks_ = nullptr;
    sqlite3_stmt* releaseLocks_ = nullptr;
    bool holdingLocks_ = false;
};

namespace {

thread_local ReadingConnection tReading;

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
    ModuleHeader header;
    Opened opened = path.front() == '/' ? openModule(path, checked_, header) : Opened::Link;
    if (opened == Opened::Link) {
        const std::string real = resolvedPath(path);
        if (real.empty()) return;
        opened = openModule(real, checked_, header);
    }
    if (opened != Opened::Regular) return;
    const JournalMode mode = header.mode;
    const SideFiles side = sideFilesOf(checked_.path, mode == JournalMode::Rollback);
    if (!side.usable) return;
    checked_.walAbsent = !side.wal;
    // Checked just before opening: with neither file there, no program has
    // the WAL-mode module open, and one that opens it now writes to a new
    // -wal, not to the file read here.
    const bool immutable = !side.wal && !side.shm && mode == JournalMode::Wal;
    // A rollback-mode module with no side file is read under one shared lock,
    // taken for the schema and kept until the row is read: one lock instead
    // of one per statement, and schema and row come from the same version of
    // the file. A WAL-mode module must not hold its lock that way (that would
    // need an exclusive lock on the file), nor one that has a -wal. A journal
    // is no reason not to: SQLite deals with it the same way in both modes.
    const bool holdLock = !side.wal && !side.shm && mode == JournalMode::Rollback;
    // A UTF-16 module gets a connection of its own.
    const char* encoding = header.encoding == 2   ? "UTF-16le"
                           : header.encoding == 3 ? "UTF-16be"
                                                  : nullptr;
    attach(immutable, holdLock, encoding, budget);
}

void GuardedModuleConnection::attach(bool immutable, bool holdLock, const char* encoding,
                                     const ModuleBudget& budget) {
    sqlite3_vfs* vfs = guardedVfs();
    if (!vfs) return;
    // A read inside a read (none today) gets a connection of its own too.
    if (tReading.busy || encoding) {
        ownConnection_ = std::make_unique<ReadingConnection>();
        connection_ = ownConnection_.get();
    } else {
        connection_ = &tReading;
    }
    sqlite3* db = connection_->open(vfs, encoding);
    if (!db) return;
    connection_->busy = true;

    sqlite3_limit(db, SQLITE_LIMIT_LENGTH, budget.maxLength);
    sqlite3_limit(db, SQLITE_LIMIT_SQL_LENGTH, budget.maxLength);
    sqlite3_progress_handler(db, ModuleBudget::kWorkStep, &onProgress, this);
    sqlite3_busy_handler(db, &onBusy, this);
    startCountingMemory(budget.maxMemory);
    checkedScope_.emplace(checked_);
    // A rollback-mode module with no side file needs none of a URI's options:
    // its absolute path, which never starts with "file:", is taken as it is.
    if (connection_->attach(holdLock ? checked_.path : moduleUri(checked_.path, immutable),
                            holdLock))
        db_ = db;
}

GuardedModuleConnection::~GuardedModuleConnection() {
    // The read's budget ends before the module is detached, so that a read
    // that ran out of work or memory can still be undone.
    stopCountingMemory();
    if (!connection_) return;
    if (sqlite3* db = connection_->db()) {
        sqlite3_progress_handler(db, 0, nullptr, nullptr);
        sqlite3_busy_handler(db, nullptr, nullptr);
    }
    if (db_) connection_->detach();
    connection_->busy = false;
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
