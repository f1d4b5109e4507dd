#include "DetailsProbe.h"

#include <sqlite3.h>

#include <algorithm>

namespace modshelf::demo::probe {

DetailsRow readDetailsRow(const std::filesystem::path& path, bool immutable) {
    DetailsRow row;
    sqlite3* db = nullptr;
    const std::string name = immutable ? "file:" + path.string() + "?immutable=1" : path.string();
    const int flags = SQLITE_OPEN_READONLY | (immutable ? SQLITE_OPEN_URI : 0);
    if (sqlite3_open_v2(name.c_str(), &db, flags, nullptr) != SQLITE_OK) {
        sqlite3_close(db);
        return row;
    }
    sqlite3_stmt* statement = nullptr;
    if (sqlite3_prepare_v2(db, "SELECT * FROM Details LIMIT 1", -1, &statement, nullptr) ==
        SQLITE_OK) {
        const int rc = sqlite3_step(statement);
        row.opened = rc == SQLITE_ROW || rc == SQLITE_DONE;
        if (rc == SQLITE_ROW) {
            row.hasRow = true;
            for (int i = 0; i < sqlite3_column_count(statement); ++i) {
                const auto* text = sqlite3_column_text(statement, i);
                if (text) {
                    row.columns.emplace_back(
                        std::string(reinterpret_cast<const char*>(text),
                                    static_cast<std::size_t>(sqlite3_column_bytes(statement, i))));
                } else {
                    row.columns.emplace_back(std::nullopt);
                }
            }
        }
    }
    sqlite3_finalize(statement);
    sqlite3_close(db);
    return row;
}

std::vector<std::string> listTree(const std::filesystem::path& folder) {
    std::vector<std::string> entries;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(folder)) {
        entries.push_back(entry.path().lexically_relative(folder).string());
    }
    std::sort(entries.begin(), entries.end());
    return entries;
}

}  // namespace modshelf::demo::probe
