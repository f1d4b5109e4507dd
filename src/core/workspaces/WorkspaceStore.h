#pragma once

#include <array>
#include <string>
#include <string_view>

#include "core/modules/ModuleKind.h"
#include "core/tree/NodeKinds.h"

namespace modshelf::settings {
class SettingsStore;
}

namespace modshelf::workspaces {

// Modshelf's own settings root, below HKEY_CURRENT_USER.
inline constexpr std::string_view kModshelfKey = "Software\\Quorvel\\Modshelf";
inline constexpr std::string_view kWorkspaceTitleValue = "WorkspaceTitle";
inline constexpr std::string_view kWorkspaceNameValue = "WorkspaceName";

// The order in which every walk over the workspaces goes: <A>, <C>, <01> ... <15>.
inline constexpr std::array<int, tree::kWorkspaceSlots> kWorkspaceOrder = {
    tree::kSlotAll, tree::kSlotCurrent, 0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14};

// "Software\Quorvel\Modshelf\Workspace1" ... "Workspace15" (no leading zero),
// "...\WorkspaceA", "...\WorkspaceC". Empty for a slot out of range.
std::string workspaceKeyPath(int slot);
// "<01> " ... "<15> " (one blank), "<A>  " and "<C>  " (two blanks).
std::string workspacePrefix(int slot);
// "Workspace 01" ... "Workspace 15", "ALL Scrivel Modules", "Current Scrivel Settings".
std::string defaultDisplayName(int slot);
// The slot whose prefix begins `label` (first five characters, ignoring
// case), or -1.
int slotOfLabel(std::string_view label);

// The tree label: the prefix and the trimmed "WorkspaceTitle" of the key, or
// the prefix and `defaultName` when the title is empty, blank or too long to
// read (200 bytes or more). Reading creates a missing key.
std::string buildDisplayName(settings::SettingsStore& store, const std::string& prefix,
                             const std::string& keyPath, const std::string& defaultName);

// The key that holds a workspace's flags of one category: the workspace's own
// subkey for <01> ... <15>, Scrivel's activation key for <C>; empty for <A>
// (it stores nothing) and for ActivationCategory::None.
std::string moduleDataKeyPath(int slot, modules::ActivationCategory category);

// The reading rule: active when the text equals "true" ignoring case.
bool isActiveText(std::string_view text);
// Whether the module with `tabName` is active in the workspace. Reads through
// the settings layer, which creates a missing key; never writes a value.
bool readActiveFlag(settings::SettingsStore& store, int slot, modules::ActivationCategory category,
                    const std::string& tabName);

}  // namespace modshelf::workspaces
