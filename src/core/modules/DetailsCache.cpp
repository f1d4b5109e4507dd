#include "core/modules/DetailsCache.h"

namespace modshelf::modules {

std::optional<ModuleDetails> DetailsCache::find(const std::string& folder, const std::string& name,
                                                const FileStamp& stamp) const {
    std::lock_guard lock(mutex_);
    auto folderIt = folders_.find(folder);
    if (folderIt == folders_.end()) return std::nullopt;
    auto it = folderIt->second.find(name);
    if (it == folderIt->second.end() || !(it->second.stamp == stamp) || !it->second.hasDetails)
        return std::nullopt;
    return it->second.details;
}

std::size_t DetailsCache::size() const {
    std::lock_guard lock(mutex_);
    std::size_t total = 0;
    for (const auto& [folder, entries] : folders_) total += entries.size();
    return total;
}

void DetailsCache::clear() {
    std::lock_guard lock(mutex_);
    folders_.clear();
}

void DetailsCache::replaceFolder(const std::string& folder, FolderEntries entries) {
    std::lock_guard lock(mutex_);
    if (entries.empty()) {
        folders_.erase(folder);
    } else {
        folders_[folder] = std::move(entries);
    }
}

DetailsCache::FolderEntries DetailsCache::takeFolder(const std::string& folder) {
    std::lock_guard lock(mutex_);
    auto it = folders_.find(folder);
    if (it == folders_.end()) return {};
    FolderEntries entries = std::move(it->second);
    folders_.erase(it);
    return entries;
}

}  // namespace modshelf::modules
