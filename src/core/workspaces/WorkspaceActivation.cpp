#include "core/workspaces/WorkspaceActivation.h"

#include <algorithm>

#include "core/host/HostInterface.h"
#include "core/settings/RegistryKey.h"
#include "core/tree/NodeKinds.h"
#include "core/workspaces/ActivationUndo.h"
#include "core/workspaces/WorkspaceStore.h"

namespace modshelf::workspaces {

namespace {

using settings::kSuccess;
using settings::RegRoot;

const char* const kAllExplanation =
    "In order to activate all modules, either \"<A> ALL Scrivel Modules\", \"<C> Current Scrivel "
    "Settings\", or any one of the nine numbered workspaces must be selected first.  "
    "So, please click on one of these above nodes in the tree to the left side of the Modshelf "
    "window, and then invoke the \"Activate ALL Modules\" command once again.\n\n"
    "[You can also activate all modules from within Scrivel itself -- after starting Scrivel, "
    "click on Scrivel's \"Options\" menu and then on the \"Resource...\" menu item, and then make "
    "sure that all of the resources in Scrivel's \"Resource Options\" window are checked, before "
    "finally clicking on its OK button.]";

constexpr ActivationCategory kCategories[] = {
    ActivationCategory::Bibles, ActivationCategory::Commentaries, ActivationCategory::Dictionaries};

// Scrivel's own activation key for a category, the one <C> shows.
std::string hostActivationKey(ActivationCategory category) {
    return moduleDataKeyPath(tree::kSlotCurrent, category);
}

const std::string kHostResourceKey(host::kHostResourceKey);

// Writes each activation row's flag into Scrivel's keys as one operation.
// Gives the number of values written, or -1 when the save failed.
template <typename IsActive>
int writeHostFlags(settings::SettingsStore& store, const std::vector<ListRow>& rows,
                   IsActive isActive) {
    int written = 0;
    settings::SettingsOperation operation(store);
    for (const ListRow& row : rows) {
        if (!isActivationRow(row)) continue;
        settings::RegistryKey key(store);
        if (key.Create(RegRoot::CurrentUser, hostActivationKey(activationCategory(row.typeName))) !=
            kSuccess)
            continue;
        key.SetString(row.tabName, host::activationText(isActive(row)));
        ++written;
    }
    return operation.commit() == kSuccess ? written : -1;
}

}  // namespace

WorkspaceActivation::WorkspaceActivation(settings::SettingsStore& store,
                                         dialogs::Prompter& prompter, AskToCloseHost askToCloseHost)
    : store_(store), prompter_(prompter), askToCloseHost_(std::move(askToCloseHost)) {}

int WorkspaceActivation::activateWorkspace(const std::string& identifier,
                                           const std::vector<ListRow>& rows,
                                           const std::function<void()>& refillList) {
    const bool all = identifier == "A";

    const std::string question = all ? "Do you wish to activate ALL Scrivel modules ?"
                                     : "Do you wish to activate Workspace " + identifier + " ?";
    const std::string caption =
        all ? " Activate ALL Modules ?" : " Activate Workspace " + identifier + " ?";
    int answer = prompter_.messageBox(question, caption,
                                      dialogs::mb::kYesNoCancel | dialogs::mb::kIconQuestion,
                                      dialogs::standardParams(false));
    if ((answer & 0xFFFF) != dialogs::id::kYes) {
        if (all)
            prompter_.messageBox("No change in module activation was made.",
                                 " No Activation Change", dialogs::mb::kOk,
                                 dialogs::standardParams(true, 3));
        else
            prompter_.messageBox("Workspace " + identifier + " was not activated.",
                                 " Workspace Not Activated", dialogs::mb::kOk,
                                 dialogs::standardParams(true, 3));
        return 0;
    }
    if (askToCloseHost_)
        askToCloseHost_(
            "A workspace is about to be activated, but Scrivel appears to be running.\n\n");

    // For all modules, every value Scrivel already knows (listed or not) turns
    // on too, saved with the listed ones so that the notice below is true.
    settings::SettingsOperation operation(store_);
    saveActivationUndo(store_, identifier);  // saved with the activation, or not at all
    const int written =
        writeHostFlags(store_, rows, [all](const ListRow& row) { return row.checked || all; });
    if (all) activateAllExisting();
    if (operation.commit() != kSuccess || written < 0)
        return 0;  // the store has told the user why; this is no success

    if (refillList) refillList();

    if (all) {
        prompter_.messageBox(
            "Workspace A has been activated.\n\nALL Scrivel modules will be visible\nthe next "
            "time Scrivel is started.",
            " ALL Modules Activated", dialogs::mb::kOk, dialogs::standardParams(true, 5));
    } else {
        prompter_.messageBox("Workspace " + identifier +
                                 " has been activated.\n\nThis workspace will be in effect\nthe "
                                 "next time Scrivel is started.",
                             " Workspace Activated", dialogs::mb::kOk,
                             dialogs::standardParams(true, 5));
    }
    return written;
}

int WorkspaceActivation::activateAll(int nodeKind, const std::vector<ListRow>& rows,
                                     const std::function<void()>& refillList) {
    if (!tree::node::isWorkspace(nodeKind)) {
        prompter_.messageBox(kAllExplanation, " In Order to Activate ALL Scrivel Modules . . .",
                             dialogs::mb::kOk, dialogs::standardParams(true));
        return 0;
    }
    return activateWorkspace("A", rows, refillList);
}

int WorkspaceActivation::activateAllExisting() {
    int visited = 0;
    settings::SettingsOperation operation(store_);
    for (ActivationCategory category : kCategories) {
        const std::string path = hostActivationKey(category);
        if (store_.openKey(RegRoot::CurrentUser, path) != kSuccess) continue;
        settings::RegKeyInfo info;
        if (store_.queryInfo(RegRoot::CurrentUser, path, info) != kSuccess) continue;
        for (std::uint32_t i = 0; i < info.values; ++i) {
            std::string name;
            settings::RegValue value;
            if (store_.enumValue(RegRoot::CurrentUser, path, i, name, value) != kSuccess) continue;
            store_.setValue(RegRoot::CurrentUser, path, name,
                            settings::RegValue::fromString(host::activationText(true)));
            ++visited;
        }
    }
    operation.commit();
    return visited;
}

int WorkspaceActivation::seedHostActivation(const std::vector<ListRow>& rows) {
    settings::RegKeyInfo info;
    if (store_.openKey(RegRoot::CurrentUser, kHostResourceKey) == kSuccess &&
        store_.queryInfo(RegRoot::CurrentUser, kHostResourceKey, info) == kSuccess &&
        info.subKeys > 2)
        return 0;

    return std::max(0, writeHostFlags(store_, rows, [](const ListRow&) { return true; }));
}

}  // namespace modshelf::workspaces
