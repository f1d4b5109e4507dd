#pragma once

#include <string>
#include <vector>

namespace modshelf::workspaces {

// A row of the module list as it is shown, in the list's current order: what
// storing checks and activating a workspace read back from the list.
struct ListRow {
    std::string typeName;  // "Bible", "Commentary", ... or empty
    std::string tabName;   // empty when the module has none
    bool checked = false;
};

// Which activation key a row belongs to, by its type name without regard to case.
enum class ActivationCategory { None, Bibles, Commentaries, Dictionaries };
ActivationCategory activationCategory(const std::string& typeName);
const char* categoryKeyName(ActivationCategory category);  // "Bibles", ...

// Rows that take part in activation: a Bible, Commentary or Dictionary with a
// non-empty tab name.
bool isActivationRow(const ListRow& row);

}  // namespace modshelf::workspaces
