#include "platform/linux/LinuxFolderLister.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/xattr.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <ctime>

#include "core/modules/ListFormat.h"

namespace modshelf::platform {

namespace {

constexpr unsigned kDosHidden = 0x2;
// Room for a typical module name and its NUL, to size the name buffer.
constexpr std::size_t kTypicalNameBytes = 24;

// Wine keeps DOS attributes in the "user.DOSATTRIB" attribute as "0x<hex>".
bool hiddenInAttributeText(const char* text, ssize_t length) {
    if (length <= 0) return false;
    std::string value(text, static_cast<std::size_t>(length));
    const unsigned long bits = std::strtoul(value.c_str(), nullptr, 16);
    return (bits & kDosHidden) != 0;
}

std::int64_t nanoseconds(const timespec& time) {
    return static_cast<std::int64_t>(time.tv_sec) * 1000000000 + time.tv_nsec;
}

}  // namespace

bool LinuxFolderLister::hiddenByWine(const std::string& path) const {
    char text[64];
    const ssize_t length = ::getxattr(path.c_str(), "user.DOSATTRIB", text, sizeof text);
    return hiddenInAttributeText(text, length);
}

modules::FolderListing LinuxFolderLister::listFiles(const std::string& folder, bool readHidden,
                                                    std::size_t expectedFiles) const {
    modules::FolderListing listing;
    timespec now{};
    ::clock_gettime(CLOCK_REALTIME, &now);
    listing.listedAtNs = nanoseconds(now);
    DIR* dir = ::opendir(folder.empty() ? "." : folder.c_str());
    if (!dir) return listing;
    listing.readable = true;
    listing.files.reserve(expectedFiles);
    listing.names.reserve(expectedFiles * kTypicalNameBytes);
    const int dirFd = ::dirfd(dir);
    std::string path = folder;
    const std::size_t folderLength = path.size();
    while (const dirent* entry = ::readdir(dir)) {
        const char* name = entry->d_name;
        if (name[0] == '.') continue;  // ".", ".." and hidden files
        if (entry->d_type == DT_DIR) continue;
        struct stat info;
        if (::fstatat(dirFd, name, &info, 0) != 0 || !S_ISREG(info.st_mode)) continue;

        modules::FileStamp stamp;
        stamp.size = static_cast<std::uint64_t>(info.st_size);
        stamp.mtimeNs = nanoseconds(info.st_mtim);
        stamp.ctimeNs = nanoseconds(info.st_ctim);
        stamp.inode = static_cast<std::uint64_t>(info.st_ino);
        const std::string_view view(name, std::strlen(name));
        bool hidden = false;
        if (readHidden) {
            path.resize(folderLength);
            path.append(view);
            hidden = hiddenByWine(path);
        }
        listing.addFile(view, stamp,
                        modules::fileTimeFromUnix(info.st_mtim.tv_sec, info.st_mtim.tv_nsec),
                        hidden);
    }
    ::closedir(dir);
    return listing;
}

}  // namespace modshelf::platform
