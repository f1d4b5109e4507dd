#pragma once

#include <cstddef>
#include <memory>
#include <string>

#include "core/modules/FolderListing.h"

namespace modshelf::modules {

// How the module scan reads a folder from the operating system. One call
// lists a whole folder, so that the scan pays one indirect call per folder;
// the hidden mark is asked per file only for files the scan has not seen.
class FolderLister {
public:
    virtual ~FolderLister() = default;

    // The files of `folder` (ending in '/'), without subfolders. Names
    // starting with "." are hidden and left out. With `readHidden`, files that
    // Wine marks hidden are listed with `hidden` set; without it, the caller
    // asks `hiddenByWine` for the files it needs. Symbolic links count as what
    // they point to; only regular files are listed. `expectedFiles` sizes the
    // buffers up front. A folder that cannot be read gives `readable` false.
    virtual FolderListing listFiles(const std::string& folder, bool readHidden,
                                    std::size_t expectedFiles) const = 0;

    // Whether Wine's stored DOS attributes mark the file hidden.
    virtual bool hiddenByWine(const std::string& path) const = 0;
};

// The lister that scans use: the program installs the system's at its start,
// tests install their own. Installing returns the one it replaces.
std::shared_ptr<const FolderLister> installFolderLister(std::shared_ptr<const FolderLister> lister);
// Throws std::logic_error when none was installed: a program that lists
// nothing without saying why would mislead its user.
const FolderLister& folderLister();

}  // namespace modshelf::modules
