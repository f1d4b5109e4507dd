#include "platform/linux/WineServerProbe.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <set>

#include "core/text/AsciiText.h"
#include "platform/linux/AtomicFile.h"

namespace modshelf::platform {

namespace {

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

std::string serverDirName(const std::filesystem::path& prefix) {
    struct stat st {};
    if (::stat(prefix.c_str(), &st) != 0) return {};
    char name[64];
    std::snprintf(name, sizeof name, "server-%llx-%llx", static_cast<unsigned long long>(st.st_dev),
                  static_cast<unsigned long long>(st.st_ino));
    return name;
}

std::filesystem::path linkTarget(const std::filesystem::path& link) {
    std::error_code ec;
    std::filesystem::path target = std::filesystem::read_symlink(link, ec);
    return ec ? std::filesystem::path() : target;
}

}  // namespace

WineServerStatus SystemWineServerProbe::probeProcesses(const std::filesystem::path& prefix) {
    WineServerStatus status;
    const std::string name = serverDirName(prefix);
    if (name.empty()) return status;
    std::error_code ec;
    for (std::filesystem::directory_iterator it("/proc", ec), end; !ec && it != end;
         it.increment(ec)) {
        const std::string pidText = it->path().filename().string();
        if (pidText.empty() || pidText.find_first_not_of("0123456789") != std::string::npos)
            continue;
        const std::filesystem::path exe = linkTarget(it->path() / "exe");
        if (exe.filename().string().rfind("wineserver", 0) != 0) continue;
        const std::filesystem::path cwd = linkTarget(it->path() / "cwd");
        if (cwd.filename() != name) continue;
        status.running = true;
        status.pid = static_cast<pid_t>(std::atol(pidText.c_str()));
        status.serverDir = cwd;
        return status;
    }
    return status;
}

bool ServerStartLock::acquire(const std::filesystem::path& prefix, pid_t& holder) {
    release();
    holder = 0;
    std::set<std::filesystem::path> dirs;
    for (const auto& dir : SystemWineServerProbe::serverDirs(prefix)) dirs.insert(dir);
    if (auto running = SystemWineServerProbe::probeProcesses(prefix); running.running) {
        holder = running.pid;
        return false;
    }
    for (const auto& dir : dirs) {
        const int fd = ::open((dir / "lock").c_str(), O_RDWR | O_CLOEXEC);
        if (fd < 0) continue;  // no server ever ran there
        struct flock lock {};
        lock.l_type = F_WRLCK;
        lock.l_whence = SEEK_SET;
        lock.l_start = 0;
        lock.l_len = 1;
        if (::fcntl(fd, F_SETLK, &lock) != 0) {
            struct flock query = lock;
            if (::fcntl(fd, F_GETLK, &query) == 0 && query.l_type != F_UNLCK) holder = query.l_pid;
            ::close(fd);
            release();
            if (holder == 0) holder = -1;
            return false;
        }
        fds_.push_back(fd);
    }
    return true;
}

void ServerStartLock::release() {
    for (int fd : fds_) ::close(fd);
    fds_.clear();
}

namespace {}  // namespace

std::vector<std::filesystem::path> SystemWineServerProbe::serverDirs(
    const std::filesystem::path& prefix) {
    std::vector<std::filesystem::path> dirs;
    const std::string name = serverDirName(prefix);
    if (name.empty()) return dirs;

    // Debian's packages make the base folder with mkdtemp and note its name here.
    std::string noted, error;
    if (readWholeFile(prefix / "wineserver", noted, error)) {
        const std::filesystem::path base = text::trimmed(noted);
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
    if (WineServerStatus status = probeLocks(prefix); status.running) return status;
    return probeProcesses(prefix);
}

WineServerStatus SystemWineServerProbe::probeLocks(const std::filesystem::path& prefix) {
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
