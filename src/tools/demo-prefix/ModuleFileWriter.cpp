#include "ModuleFileWriter.h"

#include <sqlite3.h>

#include <initializer_list>
#include <optional>
#include <stdexcept>
#include <string>

#include "DemoCatalogue.h"

namespace modshelf::demo {

namespace {

// Owns one connection; every failure becomes an exception naming the file.
class Database {
public:
    explicit Database(const std::filesystem::path& path) : path_(path) {
        int rc = sqlite3_open_v2(path.c_str(), &db_, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE,
                                 nullptr);
        if (rc != SQLITE_OK) fail(rc);
    }
    ~Database() { sqlite3_close(db_); }
    Database(const Database&) = delete;
    Database& operator=(const Database&) = delete;

    void exec(const std::string& sql) {
        char* error = nullptr;
        int rc = sqlite3_exec(db_, sql.c_str(), nullptr, nullptr, &error);
        if (rc != SQLITE_OK) {
            std::string message = error ? error : sqlite3_errstr(rc);
            sqlite3_free(error);
            throw std::runtime_error("Cannot write " + path_.string() + ": " + message);
        }
    }

    // Runs an INSERT with text parameters; an empty optional binds NULL.
    void insertTexts(const std::string& sql,
                     std::initializer_list<const std::optional<std::string>*> values) {
        sqlite3_stmt* statement = nullptr;
        int rc = sqlite3_prepare_v2(db_, sql.c_str(), -1, &statement, nullptr);
        if (rc != SQLITE_OK) fail(rc);
        int index = 1;
        for (const std::optional<std::string>* value : values) {
            if (value->has_value()) {
                sqlite3_bind_text(statement, index, (*value)->data(),
                                  static_cast<int>((*value)->size()), SQLITE_STATIC);
            } else {
                sqlite3_bind_null(statement, index);
            }
            ++index;
        }
        rc = sqlite3_step(statement);
        sqlite3_finalize(statement);
        if (rc != SQLITE_DONE) fail(rc);
    }

private:
    [[noreturn]] void fail(int rc) {
        std::string message = db_ ? sqlite3_errmsg(db_) : sqlite3_errstr(rc);
        throw std::runtime_error("Cannot write " + path_.string() + ": " + message);
    }

    std::filesystem::path path_;
    sqlite3* db_ = nullptr;
};

constexpr const char* kStandardDetails =
    "CREATE TABLE Details(Description TEXT, Abbreviation TEXT, Comments TEXT, Version TEXT, "
    "Font TEXT, RightToLeft INT, CustomCSS TEXT)";
constexpr const char* kStandardInsert =
    "INSERT INTO Details VALUES(?1, ?2, ?3, '1.2', 'Times New Roman', 0, '-1')";

}  // namespace

void writeModuleDatabase(const std::filesystem::path& path, const DemoFile& file) {
    Database db(path);
    if (file.form == FileForm::WalModule) {
        db.exec("PRAGMA journal_mode=WAL; PRAGMA synchronous=OFF;");
    } else {
        db.exec("PRAGMA journal_mode=OFF; PRAGMA synchronous=OFF;");
    }
    db.exec("BEGIN");
    switch (file.details) {
        case DetailsShape::Standard:
            db.exec(kStandardDetails);
            db.insertTexts(kStandardInsert, {&file.description, &file.tabName, &file.comments});
            break;
        case DetailsShape::TwoColumns:
            db.exec("CREATE TABLE Details(Title TEXT, Abbreviation TEXT)");
            db.insertTexts("INSERT INTO Details VALUES(?1, ?2)",
                           {&file.description, &file.tabName});
            break;
        case DetailsShape::EmptyTable:
            db.exec(kStandardDetails);
            break;
        case DetailsShape::NoTable:
            break;
    }
    const SampleContent& content = sampleContent(file.extension);
    db.exec(std::string(content.createStatement));
    for (std::string_view insert : content.insertStatements) db.exec(std::string(insert));
    db.exec("COMMIT");
}

}  // namespace modshelf::demo
