#pragma once

#include "core/settings/TreeSettingsStore.h"

namespace modshelf::settings {

// A store that lives in memory only: for tests, and as a stand-in wherever no
// durable store is wanted. Saves can be made to fail, so that callers' handling
// of a failed save can be tested; a failed save returns the store to its state
// after the last successful one.
class MemorySettingsStore : public TreeSettingsStore {
public:
    void failSaves(bool fail, std::string message = "The settings file could not be written.");
    int saveCount() const { return saveCount_; }

protected:
    Status save(std::string& message) override;

private:
    bool failSaves_ = false;
    std::string failMessage_;
    std::array<RegistryTree, 5> durable_;
    int saveCount_ = 0;
};

}  // namespace modshelf::settings
