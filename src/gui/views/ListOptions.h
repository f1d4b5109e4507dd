#pragma once

#include <array>
#include <cstdint>

namespace modshelf::settings {
class SettingsStore;
}

namespace modshelf::gui {

// The five display options of the module list, kept as DWORDs (1 on, 0 off)
// under the program's Settings key.
enum class ListOption { GridLines, LabelTips, AllowSort, DragColumns, FullRowSelect };
inline constexpr int kListOptionCount = 5;

struct ListOptionInfo {
    ListOption option;
    const char* valueName;  // "GridLines", ...
    int command;            // the menu command that toggles it
    bool refillAfterToggle;
};

const std::array<ListOptionInfo, kListOptionCount>& listOptionTable();
// The option a command toggles, or null.
const ListOptionInfo* listOptionForCommand(int command);

struct ListOptionFlags {
    std::array<bool, kListOptionCount> on{true, true, true, true, true};

    bool isOn(ListOption option) const { return on[static_cast<int>(option)]; }
    void set(ListOption option, bool value) { on[static_cast<int>(option)] = value; }

    // Reads every option; a missing value means on.
    void load(settings::SettingsStore& store);
    // Flips one option and writes its new value at once.
    void toggle(settings::SettingsStore& store, ListOption option);
};

}  // namespace modshelf::gui
