#include "core/modules/DetailsFileReader.h"

#include <gtest/gtest.h>
#include <sqlite3.h>

#include <filesystem>

#include "ModuleFixtures.h"
#include "support/TempDir.h"

namespace modshelf::modules {
namespace {

// Builds a module from SQL and compares the direct read with SQLite's own.
class DetailsFileReaderTest : public ::testing::Test {
protected:
    std::string make(const std::string& name, const std::string& sql) {
        const std::string path = (dir / name).string();
        sqlite3* db = nullptr;
        EXPECT_EQ(sqlite3_open(path.c_str(), &db), SQLITE_OK);
        char* error = nullptr;
        EXPECT_EQ(
            sqlite3_exec(db, ("PRAGMA synchronous=OFF;" + sql).c_str(), nullptr, nullptr, &error),
            SQLITE_OK)
            << (error ? error : "");
        sqlite3_free(error);
        sqlite3_close(db);
        return path;
    }
    // The direct read, when it answers, must equal SQLite's.
    void expectSameAsSqlite(const std::string& path, bool expectDirect) {
        const std::optional<ModuleDetails> direct = readDetailsFromFile(path);
        const ModuleDetails viaSqlite = readModuleDetails(path, DetailsOpenMode::SharedReadOnly);
        EXPECT_EQ(direct.has_value(), expectDirect) << path;
        if (direct) {
            EXPECT_EQ(*direct, viaSqlite) << path;
        }
        EXPECT_EQ(readModuleDetails(path, DetailsOpenMode::Immutable), viaSqlite) << path;
    }

    test::TempDir dir;
};

TEST_F(DetailsFileReaderTest, PlainModulesAreReadDirectly) {
    const std::string longComment = "{\\rtf1 " + std::string(20000, 'c') + "}";
    expectSameAsSqlite(make("long.bblx",
                            "CREATE TABLE Details(a,b,c,d);"
                            "INSERT INTO Details VALUES('Long','LNG','" +
                                longComment + "','x');"),
                       true);
    expectSameAsSqlite(make("numbers.bblx",
                            "CREATE TABLE Details(a,b,c);"
                            "INSERT INTO Details VALUES(-1, 42, -70000000000);"),
                       true);
    expectSameAsSqlite(make("blob.bblx",
                            "CREATE TABLE Details(a,b,c);"
                            "INSERT INTO Details VALUES(x'414200', 'T', 1);"),
                       true);
    expectSameAsSqlite(make("empty.bblx", "CREATE TABLE Details(a,b,c);"), true);
    expectSameAsSqlite(make("none.bblx", "CREATE TABLE Other(a);"), true);
}

TEST_F(DetailsFileReaderTest, DeepTreesAndLargeSchemasGiveTheFirstRow) {
    std::string sql = "CREATE TABLE Details(a,b,c);";
    for (int i = 0; i < 60; ++i)
        sql +=
            "CREATE TABLE Extra" + std::to_string(i) + "(x TEXT, y TEXT, z TEXT, w TEXT, v TEXT);";
    sql +=
        "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i+1 FROM n WHERE i<3000) "
        "INSERT INTO Details SELECT 'Row ' || i, 'T' || i, printf('%.500c', 'x') FROM n;";
    const std::string path = make("deep.cmtx", sql);
    expectSameAsSqlite(path, true);
    EXPECT_EQ(readDetailsFromFile(path)->tabName, "T1");
}

TEST_F(DetailsFileReaderTest, UnusualShapesAreLeftToSqlite) {
    expectSameAsSqlite(make("pk.bblx",
                            "CREATE TABLE Details(id INTEGER PRIMARY KEY, b, c);"
                            "INSERT INTO Details VALUES(7, 'T', 'C');"),
                       false);
    expectSameAsSqlite(make("index.bblx",
                            "CREATE TABLE Details(a,b,c); CREATE INDEX i ON "
                            "Details(a,b,c); INSERT INTO Details VALUES('z','T','C');"
                            "INSERT INTO Details VALUES('a','U','D');"),
                       false);
    expectSameAsSqlite(make("float.bblx",
                            "CREATE TABLE Details(a,b,c);"
                            "INSERT INTO Details VALUES(1.5, 'T', 'C');"),
                       false);
    expectSameAsSqlite(make("added.bblx",
                            "CREATE TABLE Details(a,b);"
                            "INSERT INTO Details VALUES('D','T');"
                            "ALTER TABLE Details ADD COLUMN c DEFAULT 'later';"),
                       false);
    expectSameAsSqlite(make("view.bblx",
                            "CREATE TABLE T(a,b,c); INSERT INTO T VALUES('D','T','C');"
                            "CREATE VIEW Details AS SELECT * FROM T;"),
                       false);
    expectSameAsSqlite(make("utf16.bblx",
                            "PRAGMA encoding='UTF-16le'; CREATE TABLE Details(a,b,c);"
                            "INSERT INTO Details VALUES('D','T','C');"),
                       false);
}

TEST_F(DetailsFileReaderTest, DamagedFilesAreNotAnswered) {
    const std::string path = make("whole.bblx",
                                  "CREATE TABLE Details(a,b,c);"
                                  "INSERT INTO Details VALUES('D','T','C');");
    std::string bytes = test::readFile(path);
    test::writeFile(dir / "cut.bblx", bytes.substr(0, 4096 + 100));
    EXPECT_FALSE(readDetailsFromFile((dir / "cut.bblx").string()).has_value());
    bytes[100] = 0x42;  // the schema page's type
    test::writeFile(dir / "bad.bblx", bytes);
    EXPECT_FALSE(readDetailsFromFile((dir / "bad.bblx").string()).has_value());
    test::writeFile(dir / "text.bblx", "not a database at all, but long enough to have a header " +
                                           std::string(100, '.'));
    EXPECT_FALSE(readDetailsFromFile((dir / "text.bblx").string()).has_value());
    EXPECT_FALSE(readDetailsFromFile((dir / "missing.bblx").string()).has_value());
}

}  // namespace
}  // namespace modshelf::modules
