#pragma once

#include <string_view>

#include "core/modules/ModuleRecord.h"

namespace modshelf::modules {

// The list's search: a row stays when its file name, tab name or description
// contains `text`, ignoring ASCII letter case. Every row stays for an empty text.
bool rowMatchesSearch(const ModuleRecord& record, std::string_view text);

}  // namespace modshelf::modules
