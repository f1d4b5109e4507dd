#pragma once

#include <array>
#include <optional>
#include <string_view>
#include <vector>

#include "core/modules/ModuleKind.h"

namespace modshelf::modules {

// Command identifiers of the "Modules" menu beyond the seventeen kind toggles
// (40041 to 40057, see the module type table).
inline constexpr int kCommandAllModules = 40076;
inline constexpr int kCommandOnlyModules = 40077;

// One item of the "Modules" menu, in menu order.
struct FilterMenuEntry {
    int command;
    std::string_view label;
    std::string_view statusPrompt;   // status bar text "\n" tooltip text
    std::optional<ModuleKind> kind;  // empty for "All" and "Only"
    bool separatorBefore;
};
// Bibles ... Verse Lists (seventeen), then "All Scrivel Modules" and "Only
// Scrivel Modules" after a separator.
const std::array<FilterMenuEntry, 19>& filterMenuEntries();

// What a menu item looks like when the menu is shown.
struct FilterMenuItemState {
    int command = 0;
    bool enabled = true;
    bool checked = false;
};

// Which kinds the list shows. Lives in memory only; every tree selection
// resets it to the preset of the selected node.
class TypeFilter {
public:
    TypeFilter();  // everything shown, All on, Only off

    bool shows(ModuleKind kind) const;
    bool all() const { return all_; }
    bool only() const { return only_; }

    // Whether the scan lists a file of this kind / name: unknown kinds pass
    // the show flags, and Only keeps just the seventeen kinds.
    bool listsKind(ModuleKind kind) const;
    bool lists(std::string_view fileName) const { return listsKind(classify(fileName)); }

    // Presets: workspace nodes (numbered, <A>, <C>) show Bibles, commentaries
    // and dictionaries only, with All off and Only on; every other node shows
    // everything, with All on and Only off.
    void applyWorkspacePreset();
    void applyFolderPreset();
    void applyPresetFor(int nodeKind);

    // The menu toggles. A kind toggled off turns All off; toggled on, All is
    // left for the menu update to notice.
    void toggleKind(ModuleKind kind);
    void toggleAll();
    void toggleOnly();
    // Runs the toggle of a "Modules" menu command; false for other commands.
    // The caller refills the list after a true result.
    bool handleCommand(int command);

    // The state of one menu item with `nodeKind` selected. Asking for the
    // "All Scrivel Modules" item first turns All on when all seventeen flags
    // are on. nullopt for a command that is not in the menu.
    std::optional<FilterMenuItemState> menuItemState(int command, int nodeKind);
    // Every item, in menu order.
    std::vector<FilterMenuItemState> menuState(int nodeKind);

    bool operator==(const TypeFilter&) const = default;

private:
    std::array<bool, kModuleKindCount> show_{};
    bool all_ = true;
    bool only_ = false;
};

}  // namespace modshelf::modules
