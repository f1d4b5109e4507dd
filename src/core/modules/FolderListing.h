#pragma once

#include <functional>
#include <optional>
#include <string>
#include <unordered_set>
#include <vector>

#include "core/modules/DetailsCache.h"

namespace modshelf::modules {

// One file of a folder as the scan sees it.
struct FolderFile {
    std::string name;
    FileStamp stamp;
    std::uint64_t fileTime = 0;  // last write, as a file time
    bool hidden = false;         // Wine marks it hidden; the list leaves it out
};

struct FolderListing {
    bool readable = false;
    std::vector<FolderFile> files;  // in the order the file system gives them
    // Names of the SQLite side files seen ("x.bblx-wal", "x.bblx-shm",
    // "x.bblx-journal"), which tell how a module may be opened.
    std::unordered_set<std::string> sideFiles;

    bool hasSideFile(const std::string& name) const;
};

// The files of `folder` (ending in '/'), without subfolders. Names starting
// with "." are hidden and left out. With `readHidden`, files that Wine marks
// hidden are listed with `hidden` set; without it, the caller checks them
// (see wineHiddenAttribute). Symbolic links count as what they point to; only
// regular files are listed.
FolderListing listFolderFiles(const std::string& folder, bool readHidden = true);

// Whether Wine's stored DOS attributes mark the file hidden.
bool wineHiddenAttribute(const std::string& path);

}  // namespace modshelf::modules
