#include "core/workspaces/ListRow.h"

namespace modshelf::workspaces {

ActivationCategory activationCategory(const std::string& typeName) {
    return modules::categoryOfListTypeName(typeName);
}

bool isActivationRow(const ListRow& row) {
    return !row.typeName.empty() && !row.tabName.empty() &&
           activationCategory(row.typeName) != ActivationCategory::None;
}

}  // namespace modshelf::workspaces
