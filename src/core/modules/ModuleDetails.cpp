#include "core/modules/ModuleDetails.h"

#include <sqlite3.h>

#include <algorithm>
#include <string>
#include <vector>

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

// The columns "SELECT * FROM Details" gives: all but the hidden columns of a
// virtual table (generated columns are there). From the schema SQLite has
// parsed already, which costs far less than preparing "SELECT *", whose
// column names SQLite works out in full.
struct DetailsColumns {
    bool known = false;
    int count = 0;
    std::vector<std::string> firstNames;  // up to the number asked for
};

DetailsColumns detailsColumns(sqlite3* db, int wanted) {
    DetailsColumns columns;
    Statement pragma(db, "PRAGMA " + std::string(kModuleSchema) + ".table_xinfo(\"" +
                             std::string(host::kDetailsTable) + "\");");
    if (!pragma.get()) return columns;
    constexpr int kName = 1;
    constexpr int kHidden = 6;  // 1: hidden; 2 and 3: generated
    int step;
    while ((step = sqlite3_step(pragma.get())) == SQLITE_ROW) {
        if (sqlite3_column_int(pragma.get(), kHidden) == 1) continue;
        ++columns.count;
        if (static_cast<int>(columns.firstNames.size()) < wanted) {
            const auto* name =
                reinterpret_cast<const char*>(sqlite3_column_text(pragma.get(), kName));
            columns.firstNames.emplace_back(name ? name : "");
        }
    }
    columns.known = step == SQLITE_DONE;
    return columns;
}

std::string quotedName(const std::string& name) {
    std::string quoted = "\"";
    for (char c : name) {
        if (c == '"') quoted.push_back('"');
        quoted.push_back(c);
    }
    return quoted + "\"";
}

// "SELECT *" scans the table itself; a query for fewer columns would scan an
// index holding them if there is one, and its first row could be another.
constexpr const char* kInTableOrder = " NOT INDEXED";

// The named columns, one by one, so that a long column the caller does not
// want (the comments, for the list) is never loaded.
std::string namedQuery(const std::vector<std::string>& names) {
    std::string query = "SELECT ";
    for (std::size_t i = 0; i < names.size(); ++i) query += (i ? "," : "") + quotedName(names[i]);
    return query + " FROM " + detailsTable() + kInTableOrder + " LIMIT 1;";
}

// The first `wanted` of `columns` columns by position, whatever their names
// (an empty name cannot be selected by name).
std::string positionalQuery(int columns, int wanted) {
    std::string query = "WITH d(";
    for (int i = 0; i < columns; ++i) query += (i ? ",c" : "c") + std::to_string(i);
    query += ") AS (SELECT * FROM " + detailsTable() + kInTableOrder + ") SELECT ";
    for (int i = 0; i < wanted && i < columns; ++i) query += (i ? ",c" : "c") + std::to_string(i);
    return query + " FROM d LIMIT 1;";
}

ModuleDetails readDetails(const std::string& path, int fields, const ModuleBudget& budget) {
    GuardedModuleConnection connection(path, budget);
    sqlite3* db = connection.db();
    if (!db) return {};
    const DetailsColumns columns = detailsColumns(db, fields);
    if (!columns.known || columns.count == 0) return {};
    const bool named = std::none_of(columns.firstNames.begin(), columns.firstNames.end(),
                                    [](const std::string& name) { return name.empty(); });
    Statement statement(
        db, named ? namedQuery(columns.firstNames) : positionalQuery(columns.count, fields));
    if (!statement.get()) return {};
    return readRow(statement.get(), connection, fields);
}

}  // namespace

ModuleDetails readModuleDetails(const std::string& path) {
    return readDetails(path, 3, ModuleBudget::forReport());
}

ModuleDetails readListedDetails(const std::string& path) {
    return readDetails(path, 2, ModuleBudget::forList());
}

}  // namespace modshelf::modules
