#include "core/app/Startup.h"

#include <iostream>
#include <system_error>

#include "core/app/AppState.h"
#include "core/app/HelpPaths.h"
#include "core/app/InstanceMarker.h"
#include "core/dialogs/MessageBoxParams.h"
#include "core/dialogs/Prompter.h"
#include "core/settings/RegistryAccess.h"

namespace modshelf::app {

bool refuseSecondCopy(InstanceMarker& marker, dialogs::Prompter& prompter) {
    if (marker.create() != InstanceMarker::Result::AlreadyExists) return false;
    prompter.beep();
    prompter.messageBox("Another copy of Modshelf is already running.", " Modshelf Already Running",
                        dialogs::mb::kOk, dialogs::standardParams(true, 3));
    marker.close();
    return true;
}

void deleteRtfWorkFile(const std::filesystem::path& folder) {
    const auto file = folder / kRtfWorkFile;
    std::error_code error;
    // Never a folder that happens to carry the name.
    if (std::filesystem::is_directory(std::filesystem::symlink_status(file, error))) return;
    std::filesystem::remove(file, error);
}

void clearLeftovers(settings::SettingsStore& store, const std::filesystem::path& currentDir,
                    std::ostream& diagnostics) {
    settings::DeleteKeyTree(store, settings::RegRoot::CurrentUser, kProfileKey, diagnostics);
    deleteRtfWorkFile(currentDir);
}

bool initInstance(AppState& state, const StartupEnvironment& env,
                  const std::function<bool()>& createMainWindow) {
    state.helpFilePath = helpFilePathFor(env.programPath);
    if (refuseSecondCopy(env.marker, env.prompter)) return false;
    // Everything the start writes (keys that the first reads create, the
    // bookkeeping values, the leftovers removed) is saved once, at the end.
    settings::SettingsOperation operation(env.store);
    if (!createMainWindow()) return false;
    clearLeftovers(env.store, env.currentDir, env.diagnostics ? *env.diagnostics : std::cout);
    operation.commit();
    return true;
}

}  // namespace modshelf::app
