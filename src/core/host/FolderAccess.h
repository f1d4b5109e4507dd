#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace modshelf::host {

// What the drive map and the search for Scrivel's folders ask of the
// operating system: a folder's entries, whether an entry exists or is a
// folder, and where a link points (the prefix's dosdevices links). Paths are
// local, with '/' separators.
class FolderAccess {
public:
    virtual ~FolderAccess() = default;

    // The names in `folder` (files and folders, without "." and ".."), in the
    // system's order; nullopt when the folder cannot be read. An empty text
    // reads the current folder.
    virtual std::optional<std::vector<std::string>> entryNames(const std::string& folder) const = 0;
    // Whether an entry of exactly this name exists; a link counts as itself.
    virtual bool entryExists(const std::string& path) const = 0;
    // Whether `path` is a folder, or a link to one.
    virtual bool isFolder(const std::string& path) const = 0;
    // The text of the link at `path`; nullopt when it is no link.
    virtual std::optional<std::string> linkTarget(const std::string& path) const = 0;
};

// The access that the drive map and the folder search use: the program
// installs the system's at its start, tests install their own. Installing
// returns the one it replaces.
std::shared_ptr<const FolderAccess> installFolderAccess(std::shared_ptr<const FolderAccess> access);
// Throws std::logic_error when none was installed.
const FolderAccess& folderAccess();

}  // namespace modshelf::host
