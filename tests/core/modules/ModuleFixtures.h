#pragma once

#include <sqlite3.h>

#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace modshelf::test {

// A Details table to write: its column names and its rows; a missing field is
// stored as NULL.
struct DetailsTable {
    std::vector<std::string> columns = {"Description", "Abbreviation", "Comments"};
    std::vector<std::vector<std::optional<std::string>>> rows;
};

// Writes a SQLite module at `path` with the given Details table (none when
// `table` is empty) and a small content table. `wal` leaves it in WAL mode.
void writeModule(const std::filesystem::path& path, const std::optional<DetailsTable>& table,
                 bool wal = false);
// The common case: one row of description, tab name and comments.
void writeModule(const std::filesystem::path& path, const std::string& description,
                 const std::string& tabName, const std::string& comments = "{\\rtf1 x}");

// Runs SQL on a test's own connection; throws with SQLite's message on error.
void run(sqlite3* db, const std::string& sql);

// Every entry of a folder (names, recursively) with its bytes, to prove that
// nothing was written.
std::map<std::string, std::string> snapshot(const std::filesystem::path& folder);

}  // namespace modshelf::test
