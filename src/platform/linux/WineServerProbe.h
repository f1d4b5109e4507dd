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
// "lock" file. It never connects to the server's socket, since every
// connection would count as a new Wine process.
class SystemWineServerProbe : public WineServerProbe {
public:
    WineServerStatus probe(const std::filesystem::path& prefix) const override;

    // The folders where a server for the prefix would keep its lock.
    static std::vector<std::filesystem::path> serverDirs(const std::filesystem::path& prefix);
};

std::shared_ptr<WineServerProbe> systemWineServerProbe();

}  // namespace modshelf::platform
