#include "core/modules/ModuleDetails.h"

#include <sqlite3.h>

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

std::string quotedName(const char* name) {
    std::string quoted = "\"";
    for (const char* c = name; *c; ++c) {
        if (*c == '"') quoted.push_back('"');
        quoted.push_back(*c);
    }
    return quoted + "\"";
}

// The first `wanted` columns of "SELECT * FROM Details", named one by one, so
// that a long column the caller does not want (the comments, for the list) is
// never loaded. Empty when the names cannot stand for the positions.
std::string narrowedQuery(sqlite3_stmt* all, int wanted) {
    const int columns = sqlite3_column_count(all);
    if (wanted > columns) wanted = columns;
    if (wanted <= 0) return {};
    std::string select = "SELECT ";
    for (int i = 0; i < wanted; ++i) {
        const char* name = sqlite3_column_name(all, i);
        if (!name || !*name) return {};
        for (int j = 0; j < i; ++j)
            if (sqlite3_stricmp(name, sqlite3_column_name(all, j)) == 0) return {};
        if (i) select += ", ";
        select += quotedName(name);
    }
    return select + " FROM " + detailsTable() + " LIMIT 1;";
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

ModuleDetails readDetails(const std::string& path, int fields, const ModuleBudget& budget) {
    ModuleDetails details;
    GuardedModuleConnection connection(path, budget);
    if (!connection.db()) return details;

    Statement all(connection.db(), "SELECT * FROM " + detailsTable() + " LIMIT 1;");
    if (!all.get()) return details;
    const std::string narrowed = narrowedQuery(all.get(), fields);
    Statement few(connection.db(), narrowed.empty() ? std::string() : narrowed);
    sqlite3_stmt* statement = few.get() ? few.get() : all.get();

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

}  // namespace

ModuleDetails readModuleDetails(const std::string& path) {
    return readDetails(path, 3, ModuleBudget::forReport());
}

ModuleDetails readListedDetails(const std::string& path) {
    return readDetails(path, 2, ModuleBudget::forList());
}

}  // namespace modshelf::modules
