#pragma once

#include "core/modules/ModuleScan.h"

namespace modshelf::settings {
class SettingsStore;
}

namespace modshelf::workspaces {

// The check rule of a tree node kind: <A> checks every row, the numbered
// workspaces and <C> read their flags from `store`, folders check nothing.
modules::CheckRule checkRuleForNode(int nodeKind, settings::SettingsStore& store);

}  // namespace modshelf::workspaces
