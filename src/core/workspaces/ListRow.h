#pragma once

#include <string>
#include <vector>

#include "core/modules/ModuleKind.h"

namespace modshelf::workspaces {

// A row of the module list as it is shown, in the list's current order: what
// storing checks and activating a workspace read back from the list.
struct ListRow {
    std::string typeName;  // "Bible", "Commentary", ... or empty
    std::string tabName;   // empty when the module has none
    bool checked = false;
};

// The catalogue's categories: a row's type name is the list type name of its kind.
using ActivationCategory = modules::ActivationCategory;
using modules::categoryKeyName;  // "Bibles", ...

// Which activation key a row belongs to, by its type name without regard to case.
ActivationCategory activationCategory(const std::string& typeName);

// Rows that take part in activation: a Bible, Commentary or Dictionary with a
// non-empty tab name.
bool isActivationRow(const ListRow& row);

}  // namespace modshelf::workspaces
