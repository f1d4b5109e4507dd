#include "core/workspaces/WorkspaceStore.h"

#include <cctype>
#include <cstdio>

#include "core/host/HostInterface.h"
#include "core/settings/RegistryAccess.h"
#include "core/text/AsciiText.h"

namespace modshelf::workspaces {

namespace {

bool validSlot(int slot) {
    return slot >= 0 && slot < tree::kWorkspaceSlots;
}

}  // namespace

std::string workspaceKeyPath(int slot) {
    if (!validSlot(slot)) return {};
    std::string path(kModshelfKey);
    path += "\\Workspace";
    if (slot == tree::kSlotAll) return path + "A";
    if (slot == tree::kSlotCurrent) return path + "C";
    return path + std::to_string(slot + 1);
}

std::string workspacePrefix(int slot) {
    if (slot == tree::kSlotAll) return "<A>  ";
    if (slot == tree::kSlotCurrent) return "<C>  ";
    if (!validSlot(slot)) return {};
    char prefix[8];
    std::snprintf(prefix, sizeof prefix, "<%02d> ", slot + 1);
    return prefix;
}

std::string defaultDisplayName(int slot) {
    if (slot == tree::kSlotAll) return "ALL Scrivel Modules";
    if (slot == tree::kSlotCurrent) return "Current Scrivel Settings";
    if (!validSlot(slot)) return {};
    char name[16];
    std::snprintf(name, sizeof name, "Workspace %02d", slot + 1);
    return name;
}

int slotOfLabel(std::string_view label) {
    if (label.size() < 5) return -1;
    for (int slot = 0; slot < tree::kWorkspaceSlots; ++slot) {
        const std::string prefix = workspacePrefix(slot);
        bool same = true;
        for (std::size_t i = 0; i < 5 && same; ++i) {
            same = text::lowerAscii(label[i]) == text::lowerAscii(prefix[i]);
        }
        if (same) return slot;
    }
    return -1;
}

std::string buildDisplayName(settings::SettingsStore& store, const std::string& prefix,
                             const std::string& keyPath, const std::string& defaultName) {
    const std::string title = text::trimmed(settings::GetRegString(
        store, settings::RegRoot::CurrentUser, keyPath, std::string(kWorkspaceTitleValue)));
    return prefix + (title.empty() ? defaultName : title);
}

std::string moduleDataKeyPath(int slot, modules::ActivationCategory category) {
    const std::string_view subkey = modules::categoryKeyName(category);
    if (subkey.empty() || !validSlot(slot) || slot == tree::kSlotAll) return {};
    const std::string base =
        slot == tree::kSlotCurrent ? std::string(host::kHostResourceKey) : workspaceKeyPath(slot);
    return base + "\\" + std::string(subkey);
}

bool isActiveText(std::string_view text) {
    return settings::equalsNoCase(text, host::kActiveText);
}

bool readActiveFlag(settings::SettingsStore& store, int slot, modules::ActivationCategory category,
                    const std::string& tabName) {
    const std::string key = moduleDataKeyPath(slot, category);
    if (key.empty()) return false;
    return isActiveText(
        settings::GetRegString(store, settings::RegRoot::CurrentUser, key, tabName));
}

}  // namespace modshelf::workspaces
