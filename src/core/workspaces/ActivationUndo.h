#pragma once

#include <functional>
#include <string>

#include "core/dialogs/Prompter.h"
#include "core/settings/SettingsStore.h"

namespace modshelf::workspaces {

// Where the activation before the latest one is kept, below HKEY_CURRENT_USER.
inline constexpr std::string_view kLastActivationKey =
    "Software\\Quorvel\\Modshelf\\LastActivation";

// Copies Scrivel's three activation keys, every value as it is, into the undo
// key, with the identifier of the activation about to be written ("01" ...
// "15", "A"). Call inside the activation's operation, before its writes, so
// that the copy and the activation are saved together or not at all.
void saveActivationUndo(settings::SettingsStore& store, const std::string& identifier);

// The identifier of the activation that can be undone, or empty when there is
// none. Reads only.
std::string undoableActivation(settings::SettingsStore& store);

struct UndoResult {
    bool undone = false;     // false: nothing to undo, or the save failed
    std::string identifier;  // the activation that was taken back
    int valuesRestored = 0;  // values written back
    int valuesRemoved = 0;   // values the activation had added
    int activeModules = 0;   // modules active after the undo
};

// Puts Scrivel's three keys back exactly as they were before the latest
// activation and forgets the copy, as one operation.
UndoResult undoLastActivation(settings::SettingsStore& store);

// "Undo Last Activation" with its question, the offer to close a running
// Scrivel (as activation makes it) and the notice of what was restored.
class ActivationUndoFlow {
public:
    using AskToCloseHost = std::function<bool(const std::string& firstLine)>;
    ActivationUndoFlow(settings::SettingsStore& store, dialogs::Prompter& prompter,
                       AskToCloseHost askToCloseHost);

    UndoResult run();

private:
    settings::SettingsStore& store_;
    dialogs::Prompter& prompter_;
    AskToCloseHost askToCloseHost_;
};

// "Workspace 03" or "ALL Modules", as notices name an activation.
std::string activationName(const std::string& identifier);

}  // namespace modshelf::workspaces
