#include "core/workspaces/ListRow.h"

#include "core/settings/RegistryTypes.h"

namespace modshelf::workspaces {

ActivationCategory activationCategory(const std::string& typeName) {
    using settings::equalsNoCase;
    if (equalsNoCase(typeName, "bible")) return ActivationCategory::Bibles;
    if (equalsNoCase(typeName, "commentary")) return ActivationCategory::Commentaries;
    if (equalsNoCase(typeName, "dictionary")) return ActivationCategory::Dictionaries;
    return ActivationCategory::None;
}

const char* categoryKeyName(ActivationCategory category) {
    switch (category) {
        case ActivationCategory::Bibles:
            return "Bibles";
        case ActivationCategory::Commentaries:
            return "Commentaries";
        case ActivationCategory::Dictionaries:
            return "Dictionaries";
        case ActivationCategory::None:
            break;
    }
    return "";
}

bool isActivationRow(const ListRow& row) {
    return !row.typeName.empty() && !row.tabName.empty() &&
           activationCategory(row.typeName) != ActivationCategory::None;
}

}  // namespace modshelf::workspaces
