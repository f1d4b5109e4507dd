#include "core/modules/FolderListing.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/xattr.h>
#include <unistd.h>

#include <cstdlib>

#include "core/modules/ListFormat.h"

namespace modshelf::modules {

namespace {

constexpr unsigned kDosHidden = 0x2;

bool endsWith(const std::string& text, const char* suffix, std::size_t length) {
    return text.size() >= length && text.compare(text.size() - length, length, suffix) == 0;
}

// Wine keeps DOS attributes in the "user.DOSATTRIB" attribute as "0x<hex>".
bool hiddenInAttributeText(const char* text, ssize_t length) {
    if (length <= 0) return false;
    std::string value(text, static_cast<std::size_t>(length));
    const unsigned long bits = std::strtoul(value.c_str(), nullptr, 16);
    return (bits & kDosHidden) != 0;
}

}  // namespace

bool FolderListing::hasSideFile(const std::string& name) const {
    return sideFiles.count(name) != 0;
}

bool wineHiddenAttribute(const std::string& path) {
    char text[64];
    const ssize_t length = ::getxattr(path.c_str(), "user.DOSATTRIB", text, sizeof text);
    return hiddenInAttributeText(text, length);
}

FolderListing listFolderFiles(const std::string& folder, bool readHidden) {
    FolderListing listing;
    DIR* dir = ::opendir(folder.empty() ? "." : folder.c_str());
    if (!dir) return listing;
    listing.readable = true;
    const int dirFd = ::dirfd(dir);
    std::string path = folder;
    const std::size_t folderLength = path.size();
    while (const dirent* entry = ::readdir(dir)) {
        const char* name = entry->d_name;
        if (name[0] == '.') continue;  // ".", ".." and hidden files
        if (entry->d_type == DT_DIR) continue;
        struct stat info;
        if (::fstatat(dirFd, name, &info, 0) != 0 || !S_ISREG(info.st_mode)) continue;

        FolderFile file;
        file.name = name;
        file.stamp.size = static_cast<std::uint64_t>(info.st_size);
        file.stamp.mtimeNs =
            static_cast<std::int64_t>(info.st_mtim.tv_sec) * 1000000000 + info.st_mtim.tv_nsec;
        file.stamp.ctimeNs =
            static_cast<std::int64_t>(info.st_ctim.tv_sec) * 1000000000 + info.st_ctim.tv_nsec;
        file.stamp.inode = static_cast<std::uint64_t>(info.st_ino);
        file.fileTime = fileTimeFromUnix(info.st_mtim.tv_sec, info.st_mtim.tv_nsec);
        if (readHidden) {
            path.resize(folderLength);
            path += name;
            file.hidden = wineHiddenAttribute(path);
        }
        if (endsWith(file.name, "-wal", 4) || endsWith(file.name, "-shm", 4) ||
            endsWith(file.name, "-journal", 8))
            listing.sideFiles.insert(file.name);
        listing.files.push_back(std::move(file));
    }
    ::closedir(dir);
    return listing;
}

}  // namespace modshelf::modules
