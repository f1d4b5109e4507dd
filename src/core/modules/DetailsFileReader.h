#pragma once

#include <optional>
#include <string>

#include "core/modules/ModuleDetails.h"

namespace modshelf::modules {

// Reads the first Details row straight from the database file, without
// opening a SQLite connection: a few page reads instead of a connection, a
// schema parse and a statement per module. It answers only for the plain
// shape every module has (UTF-8 text, an ordinary rowid table without
// indexes, primary key or generated columns, at least three stored fields,
// no floating-point fields) and gives nullopt for anything else, including
// damage, so that the caller asks SQLite. Reads the main file alone, as an
// immutable SQLite connection would.
std::optional<ModuleDetails> readDetailsFromFile(const std::string& path);

}  // namespace modshelf::modules
