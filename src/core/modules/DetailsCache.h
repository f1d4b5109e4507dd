#pragma once

#include <cstdint>
#include <mutex>
#include <optional>
#include <string>
#include <unordered_map>

#include "core/modules/ModuleDetails.h"

namespace modshelf::modules {

// What identifies one version of a file: while none of it changes, the
// module's Details are taken to be unchanged.
struct FileStamp {
    std::uint64_t size = 0;
    std::int64_t mtimeNs = 0;  // modification time, ns since 1970
    std::int64_t ctimeNs = 0;  // status change time: any rewrite moves it
    std::uint64_t inode = 0;

    bool operator==(const FileStamp&) const = default;
};

// What was learnt about each file of a folder (its Details, whether Wine
// marks it hidden), by folder and file name, so that refilling an unchanged
// folder opens no module and reads no attributes. Setting an attribute or
// rewriting a file moves its status change time, which is part of the stamp. Each scan of a folder
// replaces that folder's entries, so files that went away are forgotten.
class DetailsCache {
public:
    std::optional<ModuleDetails> find(const std::string& folder, const std::string& name,
                                      const FileStamp& stamp) const;
    std::size_t size() const;
    void clear();

    // The entries of one folder, as the scan rebuilds them.
    struct Entry {
        FileStamp stamp;
        ModuleDetails details;
        bool hasDetails = false;  // details hold what the module says
        bool hidden = false;      // Wine marks the file hidden
        bool seen = false;        // met by the scan under way
    };
    using FolderEntries = std::unordered_map<std::string, Entry>;
    void replaceFolder(const std::string& folder, FolderEntries entries);
    // Removes a folder's entries and hands them over (empty when none).
    FolderEntries takeFolder(const std::string& folder);

private:
    mutable std::mutex mutex_;
    std::unordered_map<std::string, FolderEntries> folders_;
};

}  // namespace modshelf::modules
