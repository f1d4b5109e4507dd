#pragma once

#include <cstdint>
#include <vector>

#include "core/settings/SettingsStore.h"
#include "core/workspaces/ListRow.h"

namespace modshelf::workspaces {

struct StoreChecksResult {
    int rowsWritten = 0;
    std::uint32_t activeCount = 0;
    settings::Status status = settings::kSuccess;  // of the one save
};

// Stores the check state of every listed Bible, Commentary and Dictionary into
// numbered workspace `number` (1 to 15), as one operation. Values of modules
// that are not listed are left alone. Tab names are stored whole.
StoreChecksResult storeWorkspaceChecks(settings::SettingsStore& store, int number,
                                       const std::vector<ListRow>& rows);

}  // namespace modshelf::workspaces
