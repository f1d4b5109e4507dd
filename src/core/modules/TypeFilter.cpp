#include "core/modules/TypeFilter.h"

#include <algorithm>

#include "core/tree/NodeKinds.h"

namespace modshelf::modules {

namespace {

using MK = ModuleKind;

// The menu lists "Gospel Harmonies" before "Graphics Modules", unlike the
// order of the commands.
constexpr std::array<FilterMenuEntry, 19> kMenu = {{
    {40041, "Bibles", " Show (or hide) Bibles in the module list (toggle)\n Bible Modules ",
     MK::Bible, false},
    {40042, "Commentaries",
     " Show (or hide) commentaries in the module list (toggle)\n Commentary Modules ",
     MK::Commentary, false},
    {40043, "Devotionals",
     " Show (or hide) devotionals in the module list (toggle)\n Devotional Modules ",
     MK::Devotional, false},
    {40044, "Dictionaries",
     " Show (or hide) dictionaries in the module list (toggle)\n Dictionary Modules ",
     MK::Dictionary, false},
    {40046, "Gospel Harmonies",
     " Show (or hide) Bible book harmonies in the module list (toggle)\n Book Harmony Modules ",
     MK::Harmony, false},
    {40045, "Graphics Modules",
     " Show (or hide) graphics modules in the module list (toggle)\n Graphics Modules ",
     MK::Graphics, false},
    {40047, "Illustrations",
     " Show (or hide) sermon illustrations in the module list (toggle)\n Sermon Illustration "
     "Modules ",
     MK::Illustrations, false},
    {40048, "Journal Files",
     " Show (or hide) user journals in the module list (toggle)\n User Journal Modules ",
     MK::Journal, false},
    {40049, "Memory Verse Modules",
     " Show (or hide) memory verse modules in the module list (toggle)\n Memory Verse Modules ",
     MK::MemoryVerse, false},
    {40050, "Note Files",
     " Show (or hide) user note files in the module list (toggle)\n User Notes Modules ", MK::Notes,
     false},
    {40051, "Overlay Files",
     " Show (or hide) Markup overlay files in the module list (toggle)\n Markup Overlay Modules ",
     MK::Overlay, false},
    {40052, "Prayer Lists",
     " Show (or hide) prayer lists in the module list (toggle)\n Prayer List Modules ",
     MK::PrayerList, false},
    {40053, "Reading Plans",
     " Show (or hide) Bible reading plans in the module list (toggle)\n Reading Plan Modules ",
     MK::ReadingPlan, false},
    {40054, "Reference Files",
     " Show (or hide) reference books in the module list (toggle)\n Reference Book Modules ",
     MK::Reference, false},
    {40055, "Topic Modules",
     " Show (or hide) topical book modules in the module list (toggle)\n Topical Book Modules ",
     MK::Topical, false},
    {40056, "Verse Analysis Modules",
     " Show (or hide) verse analysis modules in the module list (toggle)\n Verse Analysis "
     "Modules ",
     MK::VerseAnalysis, false},
    {40057, "Verse Lists",
     " Show (or hide) verse lists in the module list (toggle)\n Verse List Modules ", MK::VerseList,
     false},
    {kCommandAllModules, "All Scrivel Modules",
     " List (or hide) ALL Scrivel modules in the module list (toggle)\n List All Scrivel Modules ",
     std::nullopt, true},
    {kCommandOnlyModules, "Only Scrivel Modules",
     " List ONLY Scrivel modules in the module list (toggle)\n List Only Scrivel Modules ",
     std::nullopt, false},
}};

bool isActivatable(ModuleKind kind) {
    return activationCategory(kind) != ActivationCategory::None;
}

std::size_t indexOf(ModuleKind kind) {
    return static_cast<std::size_t>(kind);
}

}  // namespace

const std::array<FilterMenuEntry, 19>& filterMenuEntries() {
    return kMenu;
}

TypeFilter::TypeFilter() {
    applyFolderPreset();
}

bool TypeFilter::shows(ModuleKind kind) const {
    return isModuleKind(kind) ? show_[indexOf(kind)] : true;
}

bool TypeFilter::listsKind(ModuleKind kind) const {
    if (!isModuleKind(kind)) return !only_;
    return show_[indexOf(kind)];
}

void TypeFilter::applyWorkspacePreset() {
    for (const ModuleKindInfo& row : moduleKindTable())
        show_[indexOf(row.kind)] = isActivatable(row.kind);
    all_ = false;
    only_ = true;
}

void TypeFilter::applyFolderPreset() {
    show_.fill(true);
    all_ = true;
    only_ = false;
}

void TypeFilter::applyPresetFor(int nodeKind) {
    if (tree::node::isWorkspace(nodeKind)) {
        applyWorkspacePreset();
    } else {
        applyFolderPreset();
    }
}

void TypeFilter::toggleKind(ModuleKind kind) {
    if (!isModuleKind(kind)) return;
    bool& flag = show_[indexOf(kind)];
    if (flag) {
        flag = false;
        all_ = false;
    } else {
        flag = true;
    }
}

void TypeFilter::toggleAll() {
    const bool value = !all_;
    show_.fill(value);
    all_ = value;
}

void TypeFilter::toggleOnly() {
    only_ = !only_;
}

bool TypeFilter::handleCommand(int command) {
    if (command == kCommandAllModules) {
        toggleAll();
        return true;
    }
    if (command == kCommandOnlyModules) {
        toggleOnly();
        return true;
    }
    if (std::optional<ModuleKind> kind = kindOfFilterCommand(command)) {
        toggleKind(*kind);
        return true;
    }
    return false;
}

std::optional<FilterMenuItemState> TypeFilter::menuItemState(int command, int nodeKind) {
    const bool workspace = tree::node::isWorkspace(nodeKind);
    FilterMenuItemState state;
    state.command = command;
    if (command == kCommandAllModules) {
        if (std::all_of(show_.begin(), show_.end(), [](bool on) { return on; })) all_ = true;
        state.enabled = !workspace;
        state.checked = !workspace && all_;
        return state;
    }
    if (command == kCommandOnlyModules) {
        state.enabled = !workspace;
        state.checked = workspace || only_;
        return state;
    }
    std::optional<ModuleKind> kind = kindOfFilterCommand(command);
    if (!kind) return std::nullopt;
    state.enabled = !workspace;
    state.checked = workspace ? isActivatable(*kind) : show_[indexOf(*kind)];
    return state;
}

std::vector<FilterMenuItemState> TypeFilter::menuState(int nodeKind) {
    std::vector<FilterMenuItemState> items;
    items.reserve(kMenu.size());
    for (const FilterMenuEntry& entry : kMenu)
        items.push_back(*menuItemState(entry.command, nodeKind));
    return items;
}

}  // namespace modshelf::modules
