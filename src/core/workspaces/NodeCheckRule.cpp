#include "core/workspaces/NodeCheckRule.h"

#include <string>

#include "core/tree/NodeKinds.h"
#include "core/workspaces/WorkspaceStore.h"

namespace modshelf::workspaces {

modules::CheckRule checkRuleForNode(int nodeKind, settings::SettingsStore& store) {
    using modules::CheckRule;
    if (nodeKind == tree::node::kAllModules) return CheckRule::allChecked();
    if (tree::node::isNumberedWorkspace(nodeKind) || nodeKind == tree::node::kCurrentSettings) {
        const int slot = tree::workspaceSlot(nodeKind);
        return CheckRule::lookUp(
            [&store, slot](modules::ActivationCategory category, const std::string& tabName) {
                return readActiveFlag(store, slot, category, tabName);
            },
            &store);
    }
    return CheckRule();
}

}  // namespace modshelf::workspaces
