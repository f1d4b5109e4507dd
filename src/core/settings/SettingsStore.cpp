#include "core/settings/SettingsStore.h"

namespace modshelf::settings {

void SettingsStore::beginOperation() {
    if (operationDepth_++ == 0) ++operationSerial_;
}

Status SettingsStore::endOperation() {
    if (operationDepth_ == 0) return kSuccess;
    if (--operationDepth_ > 0) return kSuccess;
    if (!pending_) return kSuccess;
    return saveNow();
}

Status SettingsStore::changed() {
    pending_ = true;
    if (operationDepth_ > 0) return kSuccess;
    return saveNow();
}

Status SettingsStore::saveNow() {
    pending_ = false;
    std::string message;
    Status status = save(message);
    if (status == kSuccess) {
        lastError_.clear();
        return status;
    }
    lastError_ = message.empty() ? "The settings could not be saved." : message;
    if (listener_ && quietDepth_ == 0) listener_(lastError_);
    return status;
}

Status SettingsStore::enumValues(RegRoot root, const std::string& path,
                                 std::vector<RegNamedValue>& values) {
    values.clear();
    if (const Status status = openKey(root, path); status != kSuccess) return status;
    RegNamedValue entry;
    for (std::uint32_t i = 0; enumValue(root, path, i, entry.name, entry.value) == kSuccess; ++i)
        values.push_back(entry);
    return kSuccess;
}

}  // namespace modshelf::settings
