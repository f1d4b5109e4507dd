#include "platform/linux/WineServerProbe.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>

#include "platform/linux/AtomicFile.h"

namespace modshelf::platform {

namespace {

std::string trim(std::string text) {
    const auto first = text.find_first_not_of(" \t\r\n");
    if (first == std::string::npos) return {};
    const auto last = text.find_last_not_of(" \t\r\n");
    return text.substr(first, last - first + 1);
}

// The pid of the process holding a write lock on byte 0 of the lock file, or 0.
pid_t lockHolder(const std::filesystem::path& lockFile) {
    const int fd = ::open(lockFile.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return 0;
    struct flock query {};
    query.l_type = F_WRLCK;
    query.l_whence = SEEK_SET;
    query.l_start = 0;
    query.l_len = 1;
    pid_t holder = 0;
    if (::fcntl(fd, F_GETLK, &query) == 0 && query.l_type != F_UNLCK) holder = query.l_pid;
    ::close(fd);
    return holder;
}

}  // namespace

std::vector<std::filesystem::path> SystemWineServerProbe::serverDirs(
    const std::filesystem::path& prefix) {
    std::vector<std::filesystem::path> dirs;
    struct stat st {};
    if (::stat(prefix.c_str(), &st) != 0) return dirs;
    char name[64];
    std::snprintf(name, sizeof name, "server-%llx-%llx", static_cast<unsigned long long>(st.st_dev),
                  static_cast<unsigned long long>(st.st_ino));

    // Debian's packages make the base folder with mkdtemp and note its name here.
    std::string noted, error;
    if (readWholeFile(prefix / "wineserver", noted, error)) {
        const std::filesystem::path base = trim(noted);
        if (!base.empty()) {
            if (base.is_absolute()) {
                dirs.push_back(base / name);
            } else {
                if (const char* tmp = std::getenv("TMPDIR"); tmp && *tmp)
                    dirs.push_back(std::filesystem::path(tmp) / base / name);
                dirs.push_back(std::filesystem::path("/tmp") / base / name);
            }
        }
    }
    dirs.push_back(std::filesystem::path("/tmp") / (".wine-" + std::to_string(::getuid())) / name);
    return dirs;
}

WineServerStatus SystemWineServerProbe::probe(const std::filesystem::path& prefix) const {
    WineServerStatus status;
    for (const auto& dir : serverDirs(prefix)) {
        if (pid_t pid = lockHolder(dir / "lock"); pid != 0) {
            status.running = true;
            status.pid = pid;
            status.serverDir = dir;
            return status;
        }
    }
    return status;
}

std::shared_ptr<WineServerProbe> systemWineServerProbe() {
    return std::make_shared<SystemWineServerProbe>();
}

}  // namespace modshelf::platform
