#pragma once

#include <string>

namespace modshelf::modules {

// The first row of a module's Details table, by column position.
struct ModuleDetails {
    std::string description;  // column 0
    std::string tabName;      // column 1: the module's name in every activation key
    std::string comments;     // column 2: RTF

    bool operator==(const ModuleDetails&) const = default;
};

// Reads the first Details row of the module at `path`, all three fields, for
// the module's information. A missing, empty, truncated, locked or non-SQLite
// file, one that is not a regular file, a file without a Details table or
// with an empty one, and a module over its budget give three empty fields; a
// field that is missing, NULL or exactly "-1" is empty. The values are the
// texts SQLite gives for the row. Never reports an error and never writes.
ModuleDetails readModuleDetails(const std::string& path);

// The same read for a row of the list: description and tab name only, under
// the list's tighter budget; the comments are not read at all.
ModuleDetails readListedDetails(const std::string& path);

}  // namespace modshelf::modules
