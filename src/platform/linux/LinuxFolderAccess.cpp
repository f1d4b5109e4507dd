#include "platform/linux/LinuxFolderAccess.h"

#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstring>

namespace modshelf::platform {

std::optional<std::vector<std::string>> LinuxFolderAccess::entryNames(
    const std::string& folder) const {
    DIR* dir = ::opendir(folder.empty() ? "." : folder.c_str());
    if (!dir) return std::nullopt;
    std::vector<std::string> names;
    while (const dirent* entry = ::readdir(dir)) {
        if (std::strcmp(entry->d_name, ".") == 0 || std::strcmp(entry->d_name, "..") == 0) continue;
        names.emplace_back(entry->d_name);
    }
    ::closedir(dir);
    return names;
}

bool LinuxFolderAccess::entryExists(const std::string& path) const {
    struct stat info;
    return ::lstat(path.c_str(), &info) == 0;
}

bool LinuxFolderAccess::isFolder(const std::string& path) const {
    struct stat info;
    return ::stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

std::optional<std::string> LinuxFolderAccess::linkTarget(const std::string& path) const {
    std::string target(256, '\0');
    for (;;) {
        const ssize_t length = ::readlink(path.c_str(), target.data(), target.size());
        if (length < 0) return std::nullopt;
        if (static_cast<std::size_t>(length) < target.size()) {
            target.resize(static_cast<std::size_t>(length));
            return target;
        }
        target.resize(target.size() * 2);  // cut short: read again with more room
    }
}

}  // namespace modshelf::platform
