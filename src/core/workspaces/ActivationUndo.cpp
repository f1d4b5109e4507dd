#include "core/workspaces/ActivationUndo.h"

#include <vector>

#include "core/tree/NodeKinds.h"
#include "core/workspaces/ListRow.h"
#include "core/workspaces/WorkspaceStore.h"

namespace modshelf::workspaces {

namespace {

using settings::kSuccess;
using settings::RegRoot;
using settings::RegValue;

constexpr ActivationCategory kCategories[] = {
    ActivationCategory::Bibles, ActivationCategory::Commentaries, ActivationCategory::Dictionaries};
constexpr const char* kIdentifierValue = "Workspace";

const std::string kUndoKey(kLastActivationKey);

std::string undoCategoryKey(ActivationCategory category) {
    return kUndoKey + "\\" + std::string(categoryKeyName(category));
}

using NamedValue = settings::RegNamedValue;

// Every value of a key as stored; none when the key is missing.
std::vector<NamedValue> readValues(settings::SettingsStore& store, const std::string& path) {
    std::vector<NamedValue> values;
    store.enumValues(RegRoot::CurrentUser, path, values);
    return values;
}

void deleteUndoKeys(settings::SettingsStore& store) {
    for (ActivationCategory category : kCategories)
        store.deleteKey(RegRoot::CurrentUser, undoCategoryKey(category));
    store.deleteKey(RegRoot::CurrentUser, kUndoKey);
}

}  // namespace

std::string activationName(const std::string& identifier) {
    return identifier == "A" ? "ALL Modules" : "Workspace " + identifier;
}

void saveActivationUndo(settings::SettingsStore& store, const std::string& identifier) {
    deleteUndoKeys(store);
    store.createKey(RegRoot::CurrentUser, kUndoKey);
    store.setValue(RegRoot::CurrentUser, kUndoKey, kIdentifierValue,
                   RegValue::fromString(identifier));
    for (ActivationCategory category : kCategories) {
        const std::string copy = undoCategoryKey(category);
        store.createKey(RegRoot::CurrentUser, copy);
        for (const NamedValue& v :
             readValues(store, moduleDataKeyPath(tree::kSlotCurrent, category)))
            store.setValue(RegRoot::CurrentUser, copy, v.name, v.value);
    }
}

std::string undoableActivation(settings::SettingsStore& store) {
    RegValue value;
    if (store.openKey(RegRoot::CurrentUser, kUndoKey) != kSuccess ||
        store.queryValue(RegRoot::CurrentUser, kUndoKey, kIdentifierValue, value) != kSuccess)
        return {};
    return value.text();
}

UndoResult undoLastActivation(settings::SettingsStore& store) {
    UndoResult result;
    result.identifier = undoableActivation(store);
    if (result.identifier.empty()) return result;

    settings::SettingsOperation operation(store);
    for (ActivationCategory category : kCategories) {
        const std::string hostKey = moduleDataKeyPath(tree::kSlotCurrent, category);
        const std::vector<NamedValue> before = readValues(store, undoCategoryKey(category));
        for (const NamedValue& now : readValues(store, hostKey)) {
            bool kept = false;
            for (const NamedValue& b : before)
                kept = kept || settings::equalsNoCase(b.name, now.name);
            if (!kept && store.deleteValue(RegRoot::CurrentUser, hostKey, now.name) == kSuccess)
                ++result.valuesRemoved;
        }
        if (!before.empty()) store.createKey(RegRoot::CurrentUser, hostKey);
        for (const NamedValue& b : before) {
            if (store.setValue(RegRoot::CurrentUser, hostKey, b.name, b.value) == kSuccess)
                ++result.valuesRestored;
            if (!b.name.empty() && isActiveText(b.value.text())) ++result.activeModules;
        }
    }
    deleteUndoKeys(store);
    result.undone = operation.commit() == kSuccess;
    return result;
}

ActivationUndoFlow::ActivationUndoFlow(settings::SettingsStore& store, dialogs::Prompter& prompter,
                                       AskToCloseHost askToCloseHost)
    : store_(store), prompter_(prompter), askToCloseHost_(std::move(askToCloseHost)) {}

UndoResult ActivationUndoFlow::run() {
    const std::string identifier = undoableActivation(store_);
    if (identifier.empty()) {
        prompter_.messageBox(
            "There is no activation to undo.\n\nEach activation keeps Scrivel's "
            "settings from before it, until it has been undone once.",
            " Nothing to Undo", dialogs::mb::kOk | dialogs::mb::kIconInformation,
            dialogs::standardParams(true));
        return {};
    }
    const std::string name = activationName(identifier);
    const int answer = prompter_.messageBox(
        "Do you wish to undo the activation of " + name +
            " ?\n\nScrivel's module settings from before it will be put back.",
        " Undo Last Activation ?", dialogs::mb::kYesNo | dialogs::mb::kIconQuestion,
        dialogs::standardParams(false));
    if ((answer & 0xFFFF) != dialogs::id::kYes) return {};
    if (askToCloseHost_)
        askToCloseHost_(
            "An activation is about to be undone, but Scrivel appears to be running.\n\n");

    UndoResult result = undoLastActivation(store_);
    if (!result.undone) return result;  // the store has told the user why
    prompter_.messageBox("The activation of " + name +
                             " has been undone.\n\nScrivel's settings from before it are back: " +
                             std::to_string(result.activeModules) +
                             " modules active.\nThey will be in effect the next time Scrivel is "
                             "started.",
                         " Activation Undone", dialogs::mb::kOk, dialogs::standardParams(true, 5));
    return result;
}

}  // namespace modshelf::workspaces
