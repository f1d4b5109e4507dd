#pragma once

#include <functional>
#include <string>
#include <vector>

#include "core/dialogs/Prompter.h"
#include "core/settings/SettingsStore.h"
#include "core/workspaces/ListRow.h"

namespace modshelf::workspaces {

// Makes a workspace, or all modules, Scrivel's active set: Scrivel reads its
// activation keys when it starts, so the change shows at its next start.
class WorkspaceActivation {
public:
    // Offers to close a running Scrivel; the argument is the question's first
    // line. Returns whether Scrivel was found running.
    using AskToCloseHost = std::function<bool(const std::string& firstLine)>;

    WorkspaceActivation(settings::SettingsStore& store, dialogs::Prompter& prompter,
                        AskToCloseHost askToCloseHost);

    // identifier: "01" to "15", or "A" for all modules, which also turns on
    // every value Scrivel already has. rows: the list as shown.
    // refillList runs after the writes when the tree has <C> selected (pass an
    // empty function otherwise). Gives the number of values written; 0 when
    // the user declined or the save failed.
    int activateWorkspace(const std::string& identifier, const std::vector<ListRow>& rows,
                          const std::function<void()>& refillList);

    // "Activate ALL Modules": explains itself unless a workspace node
    // (numbered, <A> or <C>) is selected.
    int activateAll(int nodeKind, const std::vector<ListRow>& rows,
                    const std::function<void()>& refillList);

    // Sets every existing value of Scrivel's three keys to "True"; gives the
    // number of values it went through.
    int activateAllExisting();

    // Writes "True" for every listed module into Scrivel's keys when Scrivel
    // has none yet. Gives the number of values written.
    int seedHostActivation(const std::vector<ListRow>& rows);

private:
    settings::SettingsStore& store_;
    dialogs::Prompter& prompter_;
    AskToCloseHost askToCloseHost_;
};

}  // namespace modshelf::workspaces
