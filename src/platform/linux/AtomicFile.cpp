#include "platform/linux/AtomicFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace modshelf::platform {

namespace {

std::string describe(const std::string& what, const std::filesystem::path& file, int error) {
    return what + " \"" + file.string() + "\": " + std::strerror(error) + ".";
}

bool writeAll(int fd, std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t written = ::write(fd, bytes.data(), bytes.size());
        if (written < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        bytes.remove_prefix(static_cast<std::size_t>(written));
    }
    return true;
}

}  // namespace

bool writeFileAtomically(const std::filesystem::path& target, std::string_view bytes,
                         std::string& error) {
    std::filesystem::path destination = target;
    std::error_code ec;
    if (std::filesystem::is_symlink(target, ec)) {
        destination = std::filesystem::canonical(target, ec);
        if (ec) {
            error = describe("Cannot follow the link", target, ec.value());
            return false;
        }
    }
    const std::filesystem::path folder =
        destination.parent_path().empty() ? std::filesystem::path(".") : destination.parent_path();

    std::string temporary = (folder / ("." + destination.filename().string() + ".XXXXXX")).string();
    const int fd = ::mkstemp(temporary.data());
    if (fd < 0) {
        error = describe("Cannot create a temporary file in", folder, errno);
        return false;
    }
    auto fail = [&](const std::string& what, const std::filesystem::path& file) {
        const int saved = errno;
        ::close(fd);
        ::unlink(temporary.c_str());
        error = describe(what, file, saved);
        return false;
    };

    struct stat old {};
    const mode_t mode = ::stat(destination.c_str(), &old) == 0 ? (old.st_mode & 07777) : 0644;
    if (::fchmod(fd, mode) != 0) return fail("Cannot set the permissions of", temporary);
    if (!writeAll(fd, bytes)) return fail("Cannot write", temporary);
    if (::fsync(fd) != 0) return fail("Cannot flush", temporary);
    if (::close(fd) != 0) {
        const int saved = errno;
        ::unlink(temporary.c_str());
        error = describe("Cannot write", temporary, saved);
        return false;
    }
    if (::rename(temporary.c_str(), destination.c_str()) != 0) {
        const int saved = errno;
        ::unlink(temporary.c_str());
        error = describe("Cannot replace", destination, saved);
        return false;
    }
    // The rename itself must reach the disk for the new file to be durable.
    const int folderFd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY);
    if (folderFd >= 0) {
        ::fsync(folderFd);
        ::close(folderFd);
    }
    return true;
}

bool readWholeFile(const std::filesystem::path& file, std::string& bytes, std::string& error) {
    const int fd = ::open(file.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        error = describe("Cannot open", file, errno);
        return false;
    }
    bytes.clear();
    struct stat st {};
    if (::fstat(fd, &st) == 0 && st.st_size > 0)
        bytes.reserve(static_cast<std::size_t>(st.st_size));
    char buffer[1 << 16];
    for (;;) {
        const ssize_t got = ::read(fd, buffer, sizeof buffer);
        if (got < 0) {
            if (errno == EINTR) continue;
            const int saved = errno;
            ::close(fd);
            error = describe("Cannot read", file, saved);
            return false;
        }
        if (got == 0) break;
        bytes.append(buffer, static_cast<std::size_t>(got));
    }
    ::close(fd);
    return true;
}

}  // namespace modshelf::platform
