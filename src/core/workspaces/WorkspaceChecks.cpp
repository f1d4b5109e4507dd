#include "core/workspaces/WorkspaceChecks.h"

#include "core/settings/RegistryKey.h"

namespace modshelf::workspaces {

std::string workspaceCategoryKey(int number, ActivationCategory category) {
    return "Software\\Quorvel\\Modshelf\\Workspace" + std::to_string(number) + "\\" +
           std::string(categoryKeyName(category));
}

StoreChecksResult storeWorkspaceChecks(settings::SettingsStore& store, int number,
                                       const std::vector<ListRow>& rows) {
    StoreChecksResult result;
    settings::SettingsOperation operation(store);
    for (const ListRow& row : rows) {
        if (!isActivationRow(row)) continue;
        settings::RegistryKey key(store);
        if (key.Create(settings::RegRoot::CurrentUser,
                       workspaceCategoryKey(number, activationCategory(row.typeName))) !=
            settings::kSuccess)
            continue;
        key.SetString(row.tabName, row.checked ? "True" : "False");
        if (row.checked) ++result.activeCount;
        ++result.rowsWritten;
    }
    result.status = operation.commit();
    return result;
}

}  // namespace modshelf::workspaces
