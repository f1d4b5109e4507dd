#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_set>
#include <vector>

namespace modshelf::modules {

// What identifies one version of a file: while none of it changes, what was
// read from the file (its Details, whether Wine marks it hidden) is taken to
// be unchanged. Setting an attribute or rewriting a file moves its status
// change time.
struct FileStamp {
    std::uint64_t size = 0;
    std::int64_t mtimeNs = 0;  // modification time, ns since 1970
    std::int64_t ctimeNs = 0;  // status change time: any rewrite moves it
    std::uint64_t inode = 0;

    bool operator==(const FileStamp&) const = default;
};

// One file of a folder as the scan sees it. Its name lives in the listing's
// name buffer, so that listing a large folder allocates no string per file.
struct FolderFile {
    std::uint32_t nameOffset = 0;  // into FolderListing::names
    std::uint32_t nameLength = 0;
    FileStamp stamp;
    std::uint64_t fileTime = 0;  // last write, as a file time
    bool hidden = false;         // Wine marks it hidden; the list leaves it out
};

struct FolderListing {
    bool readable = false;
    std::int64_t listedAtNs = 0;  // the clock when listing began, ns since 1970
    // Every file's name followed by a NUL, in the order of `files`.
    std::string names;
    std::vector<FolderFile> files;  // in the order the file system gives them
    // Names of the SQLite side files seen ("x.bblx-wal", "x.bblx-shm",
    // "x.bblx-journal"), which tell how a module may be opened.
    std::unordered_set<std::string> sideFiles;

    std::string_view name(const FolderFile& file) const {
        return {names.data() + file.nameOffset, file.nameLength};
    }
    const char* cName(const FolderFile& file) const { return names.data() + file.nameOffset; }
    // Appends one file (as a folder lister does), noting SQLite's side files.
    void addFile(std::string_view name, const FileStamp& stamp, std::uint64_t fileTime,
                 bool hidden);
    bool hasSideFile(const std::string& name) const;
    // The same names in the same order with the same stamps: nothing in the
    // folder changed in a way the scan could see.
    bool sameFilesAs(const FolderListing& other) const;
};

}  // namespace modshelf::modules
