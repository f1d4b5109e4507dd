#include "core/workspaces/WorkspaceRename.h"

#include <cstdio>

#include "core/settings/RegistryKey.h"
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

std::string trimWhiteSpace(const std::string& text) {
    const char* blanks = " \t\r\n\v\f";
    auto first = text.find_first_not_of(blanks);
    if (first == std::string::npos) return "";
    auto last = text.find_last_not_of(blanks);
    return text.substr(first, last - first + 1);
}

std::string renameInitialName(const std::string& nodeLabel) {
    std::string trimmed = trimWhiteSpace(nodeLabel);
    return trimmed.size() > kPrefixLength ? trimmed.substr(kPrefixLength) : "";
}

std::string renameWindowTitle(int number) {
    return " Rename Workspace " + workspaceId(number);
}

std::string renameLabelText(int number) {
    return "&Name for Workspace " + workspaceId(number);
}

RenameResult applyRename(settings::SettingsStore& store, int number, const std::string& typedName) {
    RenameResult result;
    const std::string name = trimWhiteSpace(typedName);
    settings::RegistryKey key(store);
    result.status = key.Create(settings::RegRoot::CurrentUser, workspaceKeyPath(number - 1));
    if (result.status == settings::kSuccess) result.status = key.SetString("WorkspaceTitle", name);
    result.newLabel = workspacePrefix(number - 1) + name;
    return result;
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
