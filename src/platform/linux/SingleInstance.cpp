#include "platform/linux/SingleInstance.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>
#include <cerrno>
#include <cstdlib>

namespace modshelf::platform {

namespace {

bool isOwnPrivateFolder(const std::filesystem::path& folder) {
    struct stat info {};
    if (::lstat(folder.c_str(), &info) != 0) return false;
    return S_ISDIR(info.st_mode) && info.st_uid == ::getuid() && (info.st_mode & 022) == 0;
}

}  // namespace

std::filesystem::path SingleInstance::runtimeFolder() {
    if (const char* runtime = std::getenv("XDG_RUNTIME_DIR"); runtime && *runtime) {
        struct stat info {};
        if (::stat(runtime, &info) == 0 && S_ISDIR(info.st_mode)) return runtime;
    }
    const std::filesystem::path fallback = "/tmp/modshelf-" + std::to_string(::getuid());
    if (::mkdir(fallback.c_str(), 0700) != 0 && errno != EEXIST) return {};
    // Someone else's folder (or a link planted there) must not hold our marker.
    return isOwnPrivateFolder(fallback) ? fallback : std::filesystem::path();
}

SingleInstance::SingleInstance(std::filesystem::path folder, std::string name)
    : folder_(std::move(folder)) {
    if (folder_.empty()) folder_ = runtimeFolder();
    if (!folder_.empty()) lockFile_ = folder_ / (name + ".lock");
}

SingleInstance::~SingleInstance() {
    close();
}

SingleInstance::Result SingleInstance::create() {
    if (fd_ >= 0) return Result::Created;
    if (lockFile_.empty()) return Result::Unavailable;
    const int fd = ::open(lockFile_.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
    if (fd < 0) return Result::Unavailable;
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        const int error = errno;
        ::close(fd);
        return error == EWOULDBLOCK ? Result::AlreadyExists : Result::Unavailable;
    }
    fd_ = fd;
    return Result::Created;
}

void SingleInstance::close() {
    if (fd_ < 0) return;
    // The file stays: removing it could let a starting copy lock a file that
    // a third copy has just replaced. The lock alone is the marker.
    ::close(fd_);
    fd_ = -1;
}

}  // namespace modshelf::platform
