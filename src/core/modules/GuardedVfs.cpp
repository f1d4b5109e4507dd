#include "core/modules/GuardedVfs.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "core/modules/ReadMemory.h"

namespace modshelf::modules {

namespace {

sqlite3_vfs* gSystemVfs = nullptr;
sqlite3_vfs gGuardedVfs;
sqlite3_vfs* gVfs = nullptr;
constexpr const char* kGuardedVfsName = "modshelf-guarded";

thread_local CheckedModule* tChecked = nullptr;

bool isChecked(const char* name) {
    return tChecked && name && tChecked->path == name;
}

// A name that exists but is not a regular file (a FIFO, a device, a folder,
// a link to one) must not be opened.
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
    const bool checked = (flags & SQLITE_OPEN_MAIN_DB) && isChecked(name);
    if (!checked && !missingOrRegular(name)) return SQLITE_CANTOPEN;
    // A -wal or journal that is not there stays not there; one that is there
    // is only read.
    flags &= ~(SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_DELETEONCLOSE);
    flags |= SQLITE_OPEN_READONLY;
    return gSystemVfs->xOpen(gSystemVfs, name, file, flags, outFlags);
}

bool isWalOf(const char* name, const std::string& module) {
    constexpr std::size_t kSuffix = 4;  // "-wal"
    return std::strlen(name) == module.size() + kSuffix &&
           module.compare(0, module.size(), name, module.size()) == 0 &&
           std::strcmp(name + module.size(), "-wal") == 0;
}

int guardedAccess(sqlite3_vfs*, const char* name, int flags, int* result) {
    if (flags == SQLITE_ACCESS_EXISTS && tChecked && tChecked->walAbsent && name &&
        isWalOf(name, tChecked->path)) {
        *result = 0;
        return SQLITE_OK;
    }
    return gSystemVfs->xAccess(gSystemVfs, name, flags, result);
}

// Every module path given to SQLite is absolute and its last component is no
// link (a link is resolved before opening, so that its target's side files
// are used). SQLite's own version would look at each folder of the path once
// more for every module, a stat per component; the name can be used as it is.
int guardedFullPathname(sqlite3_vfs*, const char* name, int size, char* out) {
    if (!name || name[0] != '/') return gSystemVfs->xFullPathname(gSystemVfs, name, size, out);
    const std::size_t length = std::strlen(name);
    if (length >= static_cast<std::size_t>(size)) return SQLITE_CANTOPEN;
    std::memcpy(out, name, length + 1);
    return SQLITE_OK;
}

// --- The system calls of SQLite's own file layer. On a thread that is not
// reading a module they are the system's own. ---

using OpenCall = int (*)(const char*, int, int);
using StatCall = int (*)(const char*, struct stat*);
OpenCall gSystemOpen = nullptr;
StatCall gSystemStat = nullptr;

int checkedOpen(const char* name, int flags, int mode) {
    if (!tChecked) return gSystemOpen(name, flags, mode);
    if (tChecked->descriptor >= 0 && (flags & O_ACCMODE) == O_RDONLY && !(flags & O_CREAT) &&
        isChecked(name)) {
        const int descriptor = tChecked->descriptor;
        tChecked->descriptor = -1;
        return descriptor;
    }
    // While a module is read, whatever SQLite opens is the module or one of
    // its side files, and must be a regular file. A name looked at a moment
    // ago may have been replaced by a FIFO since, so the check is made on
    // what was opened, and the open does not wait for a FIFO's writer.
    // (Non-blocking mode changes nothing for a regular file.)
    const int descriptor = gSystemOpen(name, flags | O_NONBLOCK | O_NOCTTY, mode);
    if (descriptor < 0) return descriptor;
    struct stat info;
    if (::fstat(descriptor, &info) != 0 || !S_ISREG(info.st_mode)) {
        ::close(descriptor);
        errno = EACCES;
        return -1;
    }
    return descriptor;
}

int checkedStat(const char* name, struct stat* info) {
    if (isChecked(name)) {
        *info = tChecked->info;
        return 0;
    }
    return gSystemStat(name, info);
}

void replaceSystemCalls(sqlite3_vfs* system) {
    if (system->iVersion < 3 || !system->xGetSystemCall || !system->xSetSystemCall) return;
    gSystemOpen = reinterpret_cast<OpenCall>(system->xGetSystemCall(system, "open"));
    gSystemStat = reinterpret_cast<StatCall>(system->xGetSystemCall(system, "stat"));
    if (gSystemOpen)
        system->xSetSystemCall(system, "open", reinterpret_cast<sqlite3_syscall_ptr>(checkedOpen));
    if (gSystemStat)
        system->xSetSystemCall(system, "stat", reinterpret_cast<sqlite3_syscall_ptr>(checkedStat));
}

// Runs before main, while no thread can be using SQLite, which
// sqlite3_config and the system-call table require. Memory statistics are
// off: they take a global mutex on every allocation. Each connection's
// lookaside arena is hardly used by a one-row read, nor is a bulk page cache:
// a read needs a handful of pages.
[[maybe_unused]] const bool kSqliteSetUp = [] {
    sqlite3_config(SQLITE_CONFIG_MEMSTATUS, 0);
    sqlite3_config(SQLITE_CONFIG_LOOKASIDE, 0, 0);
    sqlite3_config(SQLITE_CONFIG_PAGECACHE, nullptr, 0, 0);
    installReadMemory();
    gSystemVfs = sqlite3_vfs_find(nullptr);
    if (!gSystemVfs) return false;
    replaceSystemCalls(gSystemVfs);
    gGuardedVfs = *gSystemVfs;
    gGuardedVfs.pNext = nullptr;
    gGuardedVfs.zName = kGuardedVfsName;
    gGuardedVfs.xOpen = guardedOpen;
    gGuardedVfs.xAccess = guardedAccess;
    gGuardedVfs.xFullPathname = guardedFullPathname;
    gVfs = sqlite3_vfs_register(&gGuardedVfs, 0) == SQLITE_OK ? &gGuardedVfs : gSystemVfs;
    return true;
}();

}  // namespace

sqlite3_vfs* guardedVfs() {
    return gVfs;
}

CheckedModuleScope::CheckedModuleScope(CheckedModule& module) : previous_(tChecked) {
    tChecked = &module;
}

CheckedModuleScope::~CheckedModuleScope() {
    tChecked = previous_;
}

CheckedModule::~CheckedModule() {
    if (descriptor >= 0) ::close(descriptor);
}

}  // namespace modshelf::modules
