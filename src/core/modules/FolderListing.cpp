#include "core/modules/FolderListing.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/xattr.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <ctime>

#include "core/modules/ListFormat.h"

namespace modshelf::modules {

namespace {

constexpr unsigned kDosHidden = 0x2;
// Room for a typical module name and its NUL, to size the name buffer.
constexpr std::size_t kTypicalNameBytes = 24;

bool endsWith(std::string_view text, std::string_view suffix) {
    return text.size() >= suffix.size() &&
           text.compare(text.size() - suffix.size(), suffix.size(), suffix) == 0;
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

bool FolderListing::sameFilesAs(const FolderListing& other) const {
    if (readable != other.readable || files.size() != other.files.size() || names != other.names)
        return false;
    // Equal name buffers in the same order place every name alike, so only
    // the stamps are left to compare.
    for (std::size_t i = 0; i < files.size(); ++i)
        if (!(files[i].stamp == other.files[i].stamp)) return false;
    return true;
}

bool wineHiddenAttribute(const std::string& path) {
    char text[64];
    const ssize_t length = ::getxattr(path.c_str(), "user.DOSATTRIB", text, sizeof text);
    return hiddenInAttributeText(text, length);
}

FolderListing listFolderFiles(const std::string& folder, bool readHidden,
                              std::size_t expectedFiles) {
    FolderListing listing;
    timespec now{};
    ::clock_gettime(CLOCK_REALTIME, &now);
    listing.listedAtNs = static_cast<std::int64_t>(now.tv_sec) * 1000000000 + now.tv_nsec;
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

        FolderFile file;
        const std::size_t length = std::strlen(name);
        file.nameOffset = static_cast<std::uint32_t>(listing.names.size());
        file.nameLength = static_cast<std::uint32_t>(length);
        listing.names.append(name, length + 1);  // with its NUL
        file.stamp.size = static_cast<std::uint64_t>(info.st_size);
        file.stamp.mtimeNs =
            static_cast<std::int64_t>(info.st_mtim.tv_sec) * 1000000000 + info.st_mtim.tv_nsec;
        file.stamp.ctimeNs =
            static_cast<std::int64_t>(info.st_ctim.tv_sec) * 1000000000 + info.st_ctim.tv_nsec;
        file.stamp.inode = static_cast<std::uint64_t>(info.st_ino);
        file.fileTime = fileTimeFromUnix(info.st_mtim.tv_sec, info.st_mtim.tv_nsec);
        if (readHidden) {
            path.resize(folderLength);
            path.append(name, length);
            file.hidden = wineHiddenAttribute(path);
        }
        const std::string_view view(name, length);
        if (endsWith(view, "-wal") || endsWith(view, "-shm") || endsWith(view, "-journal"))
            listing.sideFiles.emplace(view);
        listing.files.push_back(file);
    }
    ::closedir(dir);
    return listing;
}

}  // namespace modshelf::modules
