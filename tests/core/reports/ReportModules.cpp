#include "ReportModules.h"

#include <sqlite3.h>
#include <sys/time.h>

#include <stdexcept>

namespace modshelf::test {

void writeDetailsModule(const std::filesystem::path& path, const std::string& description,
                        const std::string& tabName, const std::string& comments) {
    sqlite3* db = nullptr;
    if (sqlite3_open(path.c_str(), &db) != SQLITE_OK) throw std::runtime_error("open");
    sqlite3_exec(db, "CREATE TABLE Details (Description TEXT, Abbreviation TEXT, Comments TEXT)",
                 nullptr, nullptr, nullptr);
    sqlite3_stmt* insert = nullptr;
    sqlite3_prepare_v2(db, "INSERT INTO Details VALUES (?, ?, ?)", -1, &insert, nullptr);
    sqlite3_bind_text(insert, 1, description.data(), static_cast<int>(description.size()),
                      SQLITE_TRANSIENT);
    sqlite3_bind_text(insert, 2, tabName.data(), static_cast<int>(tabName.size()),
                      SQLITE_TRANSIENT);
    sqlite3_bind_text(insert, 3, comments.data(), static_cast<int>(comments.size()),
                      SQLITE_TRANSIENT);
    const int step = sqlite3_step(insert);
    sqlite3_finalize(insert);
    sqlite3_close(db);
    if (step != SQLITE_DONE) throw std::runtime_error("insert");
}

void setLocalWriteTime(const std::filesystem::path& path, std::tm local) {
    local.tm_isdst = -1;
    const std::time_t seconds = std::mktime(&local);
    const timeval times[2] = {{seconds, 0}, {seconds, 0}};
    if (utimes(path.c_str(), times) != 0) throw std::runtime_error("utimes");
}

}  // namespace modshelf::test
