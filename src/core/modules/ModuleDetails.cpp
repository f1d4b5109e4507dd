#include "core/modules/ModuleDetails.h"

#include <sqlite3.h>
#include <sys/stat.h>

#include <cstdio>
#include <filesystem>

#include "core/host/HostInterface.h"
#include "core/modules/DetailsFileReader.h"

namespace modshelf::modules {

namespace {

// Reading a module opens a connection, parses its schema and closes it again,
// thousands of times per fill. SQLite's memory statistics take a global mutex
// on every allocation, and each connection allocates a lookaside arena it
// hardly uses; neither is wanted. This runs before main, while no other
// thread can be using SQLite, which sqlite3_config requires.
[[maybe_unused]] const bool kSqliteTuned = [] {
    sqlite3_config(SQLITE_CONFIG_MEMSTATUS, 0);
    sqlite3_config(SQLITE_CONFIG_LOOKASIDE, 0, 0);
    return true;
}();

bool exists(const std::string& path) {
    struct stat info;
    return ::stat(path.c_str(), &info) == 0;
}

// A "file:" URI for the path; SQLite decodes %HH, and '?' and '#' would end
// the path part.
std::string uriFor(const std::string& path, DetailsOpenMode mode) {
    std::error_code error;
    std::string absolute = std::filesystem::absolute(path, error).string();
    if (error) absolute = path;
    std::string uri = "file://";
    if (absolute.empty() || absolute.front() != '/') uri.push_back('/');
    static constexpr char kHex[] = "0123456789ABCDEF";
    for (unsigned char c : absolute) {
        if (c == '%' || c == '?' || c == '#' || c < 0x20) {
            uri.push_back('%');
            uri.push_back(kHex[c >> 4]);
            uri.push_back(kHex[c & 15]);
        } else {
            uri.push_back(static_cast<char>(c));
        }
    }
    // immutable: no locks, no journal or -wal/-shm looked for or created.
    uri += mode == DetailsOpenMode::SharedReadOnly ? "?mode=ro" : "?mode=ro&immutable=1";
    return uri;
}

std::string fieldText(sqlite3_stmt* statement, int column, int columnCount) {
    if (column >= columnCount) return {};
    const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(statement, column));
    if (!text) return {};
    std::string value(text);
    if (value == host::kEmptyFieldText) value.clear();
    return value;
}

// Bytes 18 and 19 of a database header are 2 in WAL mode.
bool headerSaysWal(const std::string& path) {
    unsigned char header[20] = {};
    FILE* file = std::fopen(path.c_str(), "rb");
    if (!file) return false;
    const std::size_t got = std::fread(header, 1, sizeof header, file);
    std::fclose(file);
    return got == sizeof header && header[18] == 2 && header[19] == 2;
}

}  // namespace

DetailsOpenMode openModeFor(const std::string& path, bool hasWalAndShm, bool hasJournal) {
    if (hasWalAndShm) return DetailsOpenMode::SharedReadOnly;
    // A WAL-mode database would make an ordinary connection create -wal and
    // -shm files, so a stray journal beside one does not count.
    if (hasJournal && !headerSaysWal(path)) return DetailsOpenMode::SharedReadOnly;
    return DetailsOpenMode::Immutable;
}

ModuleDetails readModuleDetails(const std::string& path, DetailsOpenMode mode) {
    ModuleDetails details;
    if (path.empty()) return details;
    if (mode == DetailsOpenMode::Auto) {
        mode = openModeFor(path, exists(path + "-wal") && exists(path + "-shm"),
                           exists(path + "-journal"));
    }

    // The plain shape of a module is read from its pages directly; SQLite
    // answers for everything else.
    if (mode == DetailsOpenMode::Immutable) {
        if (std::optional<ModuleDetails> direct = readDetailsFromFile(path)) return *direct;
    }

    sqlite3* db = nullptr;
    const std::string uri = uriFor(path, mode);
    const int flags = SQLITE_OPEN_READONLY | SQLITE_OPEN_URI | SQLITE_OPEN_NOMUTEX;
    if (sqlite3_open_v2(uri.c_str(), &db, flags, nullptr) != SQLITE_OK) {
        sqlite3_close(db);
        return details;
    }
    // A module is untrusted input: schema-defined functions must not run.
    sqlite3_db_config(db, SQLITE_DBCONFIG_TRUSTED_SCHEMA, 0, nullptr);
    sqlite3_db_config(db, SQLITE_DBCONFIG_DEFENSIVE, 1, nullptr);

    sqlite3_stmt* statement = nullptr;
    const std::string_view query = host::kDetailsQuery;
    if (sqlite3_prepare_v2(db, query.data(), static_cast<int>(query.size()), &statement, nullptr) ==
        SQLITE_OK) {
        if (sqlite3_step(statement) == SQLITE_ROW) {
            const int columns = sqlite3_column_count(statement);
            details.description = fieldText(statement, host::kDescriptionColumn, columns);
            details.tabName = fieldText(statement, host::kTabNameColumn, columns);
            details.comments = fieldText(statement, host::kCommentsColumn, columns);
        }
    }
    sqlite3_finalize(statement);
    sqlite3_close(db);
    return details;
}

}  // namespace modshelf::modules
