#include "core/settings/MemorySettingsStore.h"

namespace modshelf::settings {

void MemorySettingsStore::failSaves(bool fail, std::string message) {
    failSaves_ = fail;
    failMessage_ = std::move(message);
    if (fail) durable_ = branches_;
}

Status MemorySettingsStore::save(std::string& message) {
    if (failSaves_) {
        branches_ = durable_;
        message = failMessage_;
        return kWriteFault;
    }
    ++saveCount_;
    return kSuccess;
}

}  // namespace modshelf::settings
