#include "core/app/AppState.h"

#include "core/workspaces/WorkspaceStore.h"

namespace modshelf::app {

AppState::AppState() {
    for (int slot = 0; slot < kWorkspaceSlots; ++slot)
        workspaceDisplayName[slot] = workspaces::defaultDisplayName(slot);
}

}  // namespace modshelf::app
