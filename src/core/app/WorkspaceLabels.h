#pragma once

#include "core/app/AppState.h"

namespace modshelf::settings {
class SettingsStore;
}

namespace modshelf::app {

// Builds all seventeen labels into the state, in workspace order, each from
// its current display name as the default.
void buildWorkspaceLabels(AppState& state, settings::SettingsStore& store);
// Every workspace lists the resource folder.
void setWorkspaceFolders(AppState& state);

}  // namespace modshelf::app
