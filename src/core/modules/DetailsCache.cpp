#include "core/modules/DetailsCache.h"

namespace modshelf::modules {

const ModuleRow* FolderMemory::rowFor(std::string_view name, const FileStamp& stamp) const {
    for (std::size_t i = 0; i < listing.files.size(); ++i) {
        const FolderFile& file = listing.files[i];
        if (listing.name(file) != name) continue;
        if (!(file.stamp == stamp) || rowOf[i] == kNoRow) return nullptr;
        return &rows[rowOf[i]];
    }
    return nullptr;
}

std::optional<ModuleDetails> DetailsCache::find(const std::string& folder, const std::string& name,
                                                const FileStamp& stamp) const {
    std::lock_guard lock(mutex_);
    auto it = folders_.find(folder);
    if (it == folders_.end()) return std::nullopt;
    const FolderMemory& memory = it->second;
    const ModuleRow* row = memory.rowFor(name, stamp);
    if (!row || !readsDetails(row->kind)) return std::nullopt;
    if (!memory.detailsReusable[static_cast<std::size_t>(row - memory.rows.data())])
        return std::nullopt;
    return ModuleDetails{row->record.description, row->record.tabName, {}};
}

std::size_t DetailsCache::size() const {
    std::lock_guard lock(mutex_);
    std::size_t total = 0;
    for (const auto& [folder, memory] : folders_) total += memory.listing.files.size();
    return total;
}

void DetailsCache::clear() {
    std::lock_guard lock(mutex_);
    folders_.clear();
}

FolderMemory DetailsCache::take(const std::string& folder) {
    std::lock_guard lock(mutex_);
    auto it = folders_.find(folder);
    if (it == folders_.end()) return {};
    FolderMemory memory = std::move(it->second);
    folders_.erase(it);
    return memory;
}

void DetailsCache::remember(const std::string& folder, FolderMemory memory) {
    std::lock_guard lock(mutex_);
    if (memory.listing.files.empty()) {
        folders_.erase(folder);
    } else {
        folders_[folder] = std::move(memory);
    }
}

}  // namespace modshelf::modules
