#pragma once

#include <filesystem>

namespace modshelf::platform {

// The Wine prefix Modshelf works on: $WINEPREFIX when set and not empty,
// otherwise ~/.wine. The folder may not exist.
std::filesystem::path winePrefixPath();

}  // namespace modshelf::platform
