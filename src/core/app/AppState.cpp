#include "core/app/AppState.h"

#include <cstdio>

namespace modshelf::app {

AppState::AppState() {
    for (int i = 0; i < 15; ++i) {
        char name[16];
        std::snprintf(name, sizeof name, "Workspace %02d", i + 1);
        workspaceDisplayName[i] = name;
    }
    workspaceDisplayName[kSlotAll] = "ALL Scrivel Modules";
    workspaceDisplayName[kSlotCurrent] = "Current Scrivel Settings";
}

}  // namespace modshelf::app
