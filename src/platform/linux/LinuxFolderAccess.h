#pragma once

#include "core/host/FolderAccess.h"

namespace modshelf::platform {

// Folders, entries and links through readdir, lstat, stat and readlink.
class LinuxFolderAccess : public host::FolderAccess {
public:
    std::optional<std::vector<std::string>> entryNames(const std::string& folder) const override;
    bool entryExists(const std::string& path) const override;
    bool isFolder(const std::string& path) const override;
    std::optional<std::string> linkTarget(const std::string& path) const override;
};

}  // namespace modshelf::platform
