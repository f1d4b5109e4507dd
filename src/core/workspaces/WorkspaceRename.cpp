#include "core/workspaces/WorkspaceRename.h"

#include <cstdio>

#include "core/settings/RegistryKey.h"
#include "core/text/AsciiText.h"
#include "core/workspaces/WorkspaceStore.h"

namespace modshelf::workspaces {

namespace {
constexpr std::size_t kPrefixLength = 5;  // "<07> "
}

std::string workspaceId(int number) {
    char id[8];
    std::snprintf(id, sizeof id, "%02d", number);
    return id;
}

std::string renameInitialName(const std::string& nodeLabel) {
    std::string trimmed = text::trimmed(nodeLabel);
    return trimmed.size() > kPrefixLength ? trimmed.substr(kPrefixLength) : "";
}

std::string renameWindowTitle(int number) {
    return " Rename Workspace " + workspaceId(number);
}

std::string renameLabelText(int number) {
    return "&Name for Workspace " + workspaceId(number);
}

bool renameNameTooLong(const std::string& typedName) {
    return text::trimmed(typedName).size() > kMaxWorkspaceNameBytes;
}

std::string nameTooLongText(const std::string& typedName) {
    return "This name takes " + std::to_string(text::trimmed(typedName).size()) +
           " bytes; a workspace name can take at most " + std::to_string(kMaxWorkspaceNameBytes) +
           ". Letters beyond A to Z take two or more bytes each.\n\nPlease shorten the name.";
}

RenameResult applyRename(settings::SettingsStore& store, int number, const std::string& typedName) {
    RenameResult result;
    const std::string name = text::trimmed(typedName);
    result.newLabel = workspacePrefix(number - 1) + name;
    if (name.size() > kMaxWorkspaceNameBytes) {
        result.status = settings::kInvalidParameter;
        result.error = nameTooLongText(name);
        return result;
    }
    settings::QuietSaves quiet(store);  // the rename tells the user itself
    settings::SettingsOperation operation(store);
    settings::RegistryKey key(store);
    result.status = key.Create(settings::RegRoot::CurrentUser, workspaceKeyPath(number - 1));
    if (result.status == settings::kSuccess) result.status = key.SetString("WorkspaceTitle", name);
    key.Close();
    const settings::Status saved = operation.commit();
    if (result.status == settings::kSuccess) result.status = saved;
    if (result.status != settings::kSuccess)
        result.error = saved != settings::kSuccess ? store.lastError()
                                                   : "The workspace's settings key could not be "
                                                     "opened.";
    return result;
}

std::string renameFailedText(int number, const std::string& error) {
    return "Workspace " + workspaceId(number) +
           " has not been renamed: its new name could not be saved.\n\n" + error;
}

bool renameChangesLabel(const std::string& newLabel) {
    for (int k = 1; k <= 15; ++k) {
        if (newLabel == workspacePrefix(k - 1)) return false;
    }
    return true;
}

std::string renamedNoticeText(int number) {
    return "Workspace " + workspaceId(number) + " has been renamed.";
}

}  // namespace modshelf::workspaces
