#pragma once

#include <filesystem>

#include "DemoModules.h"

namespace modshelf::demo {

// Writes a module database for `file` at `path` (which must not exist): its
// Details table in the file's shape and a small content table for its kind.
// Tuned for speed: no journal, no syncing, one transaction. Throws
// std::runtime_error with SQLite's message on failure.
void writeModuleDatabase(const std::filesystem::path& path, const DemoFile& file);

}  // namespace modshelf::demo
