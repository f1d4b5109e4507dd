#include "ModuleFixtures.h"

#include <sqlite3.h>

#include <stdexcept>

#include "support/TempDir.h"

namespace modshelf::test {

void run(sqlite3* db, const std::string& sql) {
    char* error = nullptr;
    if (sqlite3_exec(db, sql.c_str(), nullptr, nullptr, &error) != SQLITE_OK) {
        std::string message = error ? error : "unknown error";
        sqlite3_free(error);
        throw std::runtime_error(sql + ": " + message);
    }
}

namespace {

std::string quoted(const std::optional<std::string>& value) {
    if (!value) return "NULL";
    std::string text = "'";
    for (char c : *value) {
        if (c == '\'') text += '\'';
        text += c;
    }
    return text + "'";
}

}  // namespace

void writeModule(const std::filesystem::path& path, const std::optional<DetailsTable>& table,
                 bool wal) {
    std::filesystem::remove(path);
    sqlite3* db = nullptr;
    if (sqlite3_open(path.c_str(), &db) != SQLITE_OK) throw std::runtime_error("cannot create");
    run(db, "PRAGMA synchronous=OFF;");
    if (wal) run(db, "PRAGMA journal_mode=WAL;");
    run(db, "CREATE TABLE Bible(Book INT, Chapter INT, Verse INT, Scripture TEXT);");
    run(db, "INSERT INTO Bible VALUES(1,1,1,'In the beginning');");
    if (table) {
        std::string create = "CREATE TABLE Details(";
        for (std::size_t i = 0; i < table->columns.size(); ++i)
            create += (i ? ", " : "") + table->columns[i] + " TEXT";
        run(db, create + ");");
        for (const auto& row : table->rows) {
            std::string insert = "INSERT INTO Details VALUES(";
            for (std::size_t i = 0; i < row.size(); ++i) insert += (i ? "," : "") + quoted(row[i]);
            run(db, insert + ");");
        }
    }
    sqlite3_close(db);
}

void writeModule(const std::filesystem::path& path, const std::string& description,
                 const std::string& tabName, const std::string& comments) {
    DetailsTable table;
    table.rows.push_back({description, tabName, comments});
    writeModule(path, table);
}

std::map<std::string, std::string> snapshot(const std::filesystem::path& folder) {
    std::map<std::string, std::string> entries;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(folder)) {
        const std::string name = entry.path().lexically_relative(folder).string();
        entries[name] = entry.is_regular_file() ? readFile(entry.path()) : std::string("<dir>");
    }
    return entries;
}

}  // namespace modshelf::test
