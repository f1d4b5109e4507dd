#include "core/modules/ModuleRecord.h"

namespace modshelf::modules {

std::string shortenedFileName(const std::string& name) {
    const std::size_t dot = name.find('.');
    const std::size_t brace = name.find('{');
    if (dot == std::string::npos || brace == std::string::npos || brace != dot + 1) return name;
    // Everything before the brace, the brace and the next two characters.
    std::string shortened = name.substr(0, brace + 3) + "...";
    return shortened.size() < name.size() ? shortened : name;
}

}  // namespace modshelf::modules
