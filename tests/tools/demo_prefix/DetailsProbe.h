#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace modshelf::demo::probe {

// What a plain read-only SQLite connection finds in a module's Details table.
struct DetailsRow {
    bool opened = false;  // the query ran (the file is a database with a Details table)
    bool hasRow = false;
    std::vector<std::optional<std::string>> columns;
};

// Opens the file read-only (immutable for a module left in WAL mode, which
// would otherwise need a -shm file) and reads the first Details row.
DetailsRow readDetailsRow(const std::filesystem::path& path, bool immutable = false);

// The relative paths of every entry below `folder`, sorted.
std::vector<std::string> listTree(const std::filesystem::path& folder);

}  // namespace modshelf::demo::probe
