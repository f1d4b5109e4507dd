#pragma once

#include "core/modules/FolderLister.h"

namespace modshelf::platform {

// Lists folders with readdir and fstatat, and reads Wine's DOS attributes
// from the "user.DOSATTRIB" extended attribute of each file.
class LinuxFolderLister : public modules::FolderLister {
public:
    modules::FolderListing listFiles(const std::string& folder, bool readHidden,
                                     std::size_t expectedFiles) const override;
    bool hiddenByWine(const std::string& path) const override;
};

}  // namespace modshelf::platform
