#include "core/modules/ModuleDetails.h"

#include <sqlite3.h>

#include <array>
#include <optional>
#include <string>
#include <string_view>

#include "core/host/HostInterface.h"
#include "core/modules/GuardedModuleConnection.h"

namespace modshelf::modules {

namespace {

class Statement {
public:
    Statement(sqlite3* db, const std::string& sql) {
        if (sqlite3_prepare_v2(db, sql.data(), static_cast<int>(sql.size()), &statement_,
                               nullptr) != SQLITE_OK) {
            sqlite3_finalize(statement_);
            statement_ = nullptr;
        }
    }
    ~Statement() { sqlite3_finalize(statement_); }
    Statement(const Statement&) = delete;
    Statement& operator=(const Statement&) = delete;
    sqlite3_stmt* get() const { return statement_; }

private:
    sqlite3_stmt* statement_ = nullptr;
};

// The module's Details table on its reading connection.
std::string detailsTable() {
    return std::string(kModuleSchema) + "." + std::string(host::kDetailsTable);
}

// A NULL field and the text "-1" are both empty. SQLite's text of a value is
// taken up to its first NUL, as a row callback receives it.
std::string fieldText(sqlite3_stmt* statement, int column) {
    if (column >= sqlite3_column_count(statement)) return {};
    const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(statement, column));
    if (!text) return {};
    std::string value(text);
    if (value == host::kEmptyFieldText) value.clear();
    return value;
}

ModuleDetails readRow(sqlite3_stmt* statement, const GuardedModuleConnection& connection,
                      int fields) {
    ModuleDetails details;
    if (sqlite3_step(statement) != SQLITE_ROW || connection.overBudget()) return details;
    details.description = fieldText(statement, host::kDescriptionColumn);
    if (fields > host::kTabNameColumn) details.tabName = fieldText(statement, host::kTabNameColumn);
    if (fields > host::kCommentsColumn)
        details.comments = fieldText(statement, host::kCommentsColumn);
    // A value SQLite could not hand over (out of the read's memory) is no
    // value at all: the read failed.
    if (sqlite3_errcode(connection.db()) == SQLITE_NOMEM) return {};
    return details;
}

// The first `wanted` columns of "SELECT * FROM Details" by position, for a
// Details whose "SELECT *" has `columns` columns; SQLite refuses the query
// when that count is wrong. One statement instead of two: "SELECT *" to learn
// the names and then the narrowed query.
std::string buildPositionalQuery(int columns, int wanted) {
    std::string query = "WITH d(";
    for (int i = 0; i < columns; ++i) query += (i ? ",c" : "c") + std::to_string(i);
    query += ") AS (SELECT * FROM " + detailsTable() + ") SELECT ";
    for (int i = 0; i < wanted && i < columns; ++i) query += (i ? ",c" : "c") + std::to_string(i);
    return query + " FROM d LIMIT 1;";
}

// The text stays valid until the next call on this thread.
const std::string& positionalQuery(int columns, int wanted) {
    struct Query {
        int columns = 0;
        int wanted = 0;
        std::string text;
    };
    thread_local std::array<Query, 4> recent;
    thread_local std::size_t next = 0;
    for (const Query& query : recent)
        if (query.columns == columns && query.wanted == wanted) return query.text;
    Query& slot = recent[next];
    next = (next + 1) % recent.size();
    slot = {columns, wanted, buildPositionalQuery(columns, wanted)};
    return slot.text;
}

// Modules of one kind mostly share one Details layout, so the column count
// last seen on this thread for a file extension is the guess for the next.
class ColumnCountGuesses {
public:
    int guess(std::string_view path) const {
        const std::string_view extension = extensionOf(path);
        for (const Guess& entry : entries_)
            if (entry.columns > 0 && entry.extension == extension) return entry.columns;
        return 0;
    }

    void remember(std::string_view path, int columns) {
        const std::string_view extension = extensionOf(path);
        for (Guess& entry : entries_)
            if (entry.columns > 0 && entry.extension == extension) {
                entry.columns = columns;
                return;
            }
        entries_[next_] = {std::string(extension), columns};
        next_ = (next_ + 1) % entries_.size();
    }

private:
    struct Guess {
        std::string extension;
        int columns = 0;
    };

    static std::string_view extensionOf(std::string_view path) {
        const std::size_t dot = path.find_last_of("./");
        return dot == std::string_view::npos || path[dot] == '/' ? std::string_view()
                                                                 : path.substr(dot);
    }

    std::array<Guess, 8> entries_;
    std::size_t next_ = 0;
};

thread_local ColumnCountGuesses tColumnCounts;

ModuleDetails readDetails(const std::string& path, int fields, const ModuleBudget& budget) {
    ModuleDetails details;
    GuardedModuleConnection connection(path, budget);
    sqlite3* db = connection.db();
    if (!db) return details;

    std::optional<Statement> statement;
    if (const int guess = tColumnCounts.guess(path); guess > 0) {
        statement.emplace(db, positionalQuery(guess, fields));
        if (!statement->get()) statement.reset();
    }
    if (!statement) {
        Statement all(db, "SELECT * FROM " + detailsTable() + " LIMIT 1;");
        if (!all.get()) return details;
        const int columns = sqlite3_column_count(all.get());
        tColumnCounts.remember(path, columns);
        statement.emplace(db, positionalQuery(columns, fields));
        // A Details of no columns at all still gives its row as "SELECT *".
        if (!statement->get()) return readRow(all.get(), connection, fields);
    }
    return readRow(statement->get(), connection, fields);
}

}  // namespace

ModuleDetails readModuleDetails(const std::string& path) {
    return readDetails(path, 3, ModuleBudget::forReport());
}

ModuleDetails readListedDetails(const std::string& path) {
    return readDetails(path, 2, ModuleBudget::forList());
}

}  // namespace modshelf::modules
