#include "core/workspaces/WorkspaceChecks.h"

#include "core/host/HostInterface.h"
#include "core/settings/RegistryKey.h"
#include "core/workspaces/WorkspaceStore.h"

namespace modshelf::workspaces {

StoreChecksResult storeWorkspaceChecks(settings::SettingsStore& store, int number,
                                       const std::vector<ListRow>& rows) {
    StoreChecksResult result;
    settings::SettingsOperation operation(store);
    for (const ListRow& row : rows) {
        if (!isActivationRow(row)) continue;
        settings::RegistryKey key(store);
        if (key.Create(settings::RegRoot::CurrentUser,
                       moduleDataKeyPath(number - 1, activationCategory(row.typeName))) !=
            settings::kSuccess)
            continue;
        key.SetString(row.tabName, host::activationText(row.checked));
        if (row.checked) ++result.activeCount;
        ++result.rowsWritten;
    }
    result.status = operation.commit();
    return result;
}

}  // namespace modshelf::workspaces
