#pragma once

#include <sys/types.h>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

namespace modshelf::platform {

struct WineServerStatus {
    bool running = false;
    pid_t pid = 0;                    // the server's process, when running
    std::filesystem::path serverDir;  // the folder whose lock it holds
};

// Tells whether a wineserver runs for a prefix. While one runs it holds the
// prefix's registry in memory and writes its own copy back later, so edits to
// the hive files would be lost.
class WineServerProbe {
public:
    virtual ~WineServerProbe() = default;
    virtual WineServerStatus probe(const std::filesystem::path& prefix) const = 0;
};

// Looks at the server folders Wine uses for the prefix (Debian's, named in
// <prefix>/wineserver, and Wine's own /tmp/.wine-<uid>/server-<dev>-<ino>)
// and asks the kernel whether someone holds the write lock on byte 0 of their
// "lock" file. A server started with another TMPDIR keeps its folder
// elsewhere, so the running wineserver processes are looked at too: a
// server's working folder is its server folder. It never connects to the
// server's socket, since every connection would count as a new Wine process.
class SystemWineServerProbe : public WineServerProbe {
public:
    WineServerStatus probe(const std::filesystem::path& prefix) const override;

    // The folders where a server for the prefix would keep its lock.
    static std::vector<std::filesystem::path> serverDirs(const std::filesystem::path& prefix);

    // Only the lock files of serverDirs, without looking at processes.
    static WineServerStatus probeLocks(const std::filesystem::path& prefix);
    // Only the running wineserver processes whose working folder is this
    // prefix's server folder, wherever it lies.
    static WineServerStatus probeProcesses(const std::filesystem::path& prefix);
};

// Keeps a wineserver from starting for the prefix while it is held: a
// starting server takes the write lock of its folder's "lock" file and gives
// up while someone else holds it (Wine's client then retries for several
// seconds). Only folders that already exist are locked; none is made.
class ServerStartLock {
public:
    ServerStartLock() = default;
    ~ServerStartLock() { release(); }
    ServerStartLock(const ServerStartLock&) = delete;
    ServerStartLock& operator=(const ServerStartLock&) = delete;

    // False when a running server holds one of the locks (its pid in
    // `holder`); nothing stays locked then.
    bool acquire(const std::filesystem::path& prefix, pid_t& holder);
    void release();

private:
    std::vector<int> fds_;
};

std::shared_ptr<WineServerProbe> systemWineServerProbe();

}  // namespace modshelf::platform
