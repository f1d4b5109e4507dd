#include "core/app/WorkspaceLabels.h"

#include "core/workspaces/WorkspaceStore.h"

namespace modshelf::app {

void buildWorkspaceLabels(AppState& state, settings::SettingsStore& store) {
    for (int slot : workspaces::kWorkspaceOrder) {
        state.workspaceDisplayName[slot] = workspaces::buildDisplayName(
            store, workspaces::workspacePrefix(slot), workspaces::workspaceKeyPath(slot),
            state.workspaceDisplayName[slot]);
    }
}

void setWorkspaceFolders(AppState& state) {
    state.workspaceFolder.fill(state.resourceFolder);
}

}  // namespace modshelf::app
