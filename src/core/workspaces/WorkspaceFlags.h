#pragma once

#include <string>
#include <vector>

#include "core/workspaces/ListRow.h"

namespace modshelf::settings {
class SettingsStore;
}

namespace modshelf::workspaces {

// One module as the activation keys name it: its category and tab name.
struct ModuleRef {
    ActivationCategory category = ActivationCategory::None;
    std::string tabName;

    bool operator==(const ModuleRef&) const = default;
};

// A stored flag: the module and whether its text reads as active.
struct ModuleFlag {
    ModuleRef module;
    bool active = false;
};

// Orders modules by category, then by tab name without regard to case, as the
// registry orders value names.
bool moduleLess(const ModuleRef& a, const ModuleRef& b);
bool sameModule(const ModuleRef& a, const ModuleRef& b);

// Every flag stored for a workspace: slots 0 to 14 for <01> to <15>,
// tree::kSlotCurrent for Scrivel's own settings. <A> stores none. Reads only:
// a missing key gives no flags and is not created. Sorted by moduleLess.
std::vector<ModuleFlag> readWorkspaceFlags(settings::SettingsStore& store, int slot);

// The active modules among `flags`, in their order.
std::vector<ModuleRef> activeModules(const std::vector<ModuleFlag>& flags);

// What is active in one set and not in the other.
struct SetDifference {
    std::vector<ModuleRef> onlyInFirst;
    std::vector<ModuleRef> onlyInSecond;
    bool empty() const { return onlyInFirst.empty() && onlyInSecond.empty(); }
};
SetDifference compareActiveSets(const std::vector<ModuleFlag>& first,
                                const std::vector<ModuleFlag>& second);

// What activating the listed rows would change in Scrivel's settings: the
// modules it turns on (checked, not active now) and off (unchecked, active
// now). Rows that take no part in activation are skipped.
struct ActivationPreview {
    std::vector<ModuleRef> turnedOn;
    std::vector<ModuleRef> turnedOff;
    int unchanged = 0;
};
ActivationPreview previewActivation(const std::vector<ListRow>& rows,
                                    const std::vector<ModuleFlag>& current);

// "Bible", "Commentary" or "Dictionary": the list's type name of a category.
std::string categoryTypeName(ActivationCategory category);

}  // namespace modshelf::workspaces
