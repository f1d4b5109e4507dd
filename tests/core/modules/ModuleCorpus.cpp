#include "ModuleCorpus.h"

#include <signal.h>
#include <sqlite3.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <fstream>
#include <stdexcept>

#include "ModuleFixtures.h"
#include "support/TempDir.h"

namespace modshelf::test {

namespace fs = std::filesystem;
using Expect = CorpusModule::Expect;

namespace {

sqlite3* create(const fs::path& path, const std::string& sql, const std::string& pragmas = {}) {
    fs::remove(path);
    sqlite3* db = nullptr;
    if (sqlite3_open(path.c_str(), &db) != SQLITE_OK) throw std::runtime_error("cannot create");
    run(db, "PRAGMA synchronous=OFF;" + pragmas);
    run(db,
        "CREATE TABLE Bible(Book INT, Chapter INT, Verse INT, Scripture TEXT);"
        "INSERT INTO Bible VALUES(1,1,1,'In the beginning');");
    run(db, sql);
    return db;
}

void write(const fs::path& path, const std::string& sql, const std::string& pragmas = {}) {
    sqlite3_close(create(path, sql, pragmas));
}

void patch(const fs::path& path, std::size_t offset, const std::string& bytes) {
    std::fstream file(path, std::ios::in | std::ios::out | std::ios::binary);
    file.seekp(static_cast<std::streamoff>(offset));
    file.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

const std::string kPlainTable =
    "CREATE TABLE Details(Description TEXT, Abbreviation TEXT, Comments TEXT);";
const std::string kPlainRow = "INSERT INTO Details VALUES('Plain text','PLN','{\\rtf1 c}');";

// A schema edit that SQLite itself would refuse to make.
std::string editSchema(const std::string& set) {
    return "PRAGMA writable_schema=ON; UPDATE sqlite_schema SET " + set +
           " WHERE name='Details'; PRAGMA writable_schema=OFF;";
}

// Another process that opens the module, runs `sql` and keeps the module open
// until it is ended, as a running Scrivel does.
int startWriter(const fs::path& path, const std::string& sql) {
    int ready[2];
    if (::pipe(ready) != 0) throw std::runtime_error("pipe");
    const pid_t pid = ::fork();
    if (pid < 0) throw std::runtime_error("fork");
    if (pid == 0) {
        sqlite3* db = nullptr;
        sqlite3_open(path.c_str(), &db);
        sqlite3_exec(db, sql.c_str(), nullptr, nullptr, nullptr);
        const char done = 1;
        if (::write(ready[1], &done, 1) != 1) ::_exit(1);
        for (;;) ::pause();
    }
    ::close(ready[1]);
    char done = 0;
    if (::read(ready[0], &done, 1) != 1) throw std::runtime_error("writer failed");
    ::close(ready[0]);
    return pid;
}

}  // namespace

std::vector<CorpusModule> writeModuleCorpus(const fs::path& folder, std::vector<int>& writers) {
    std::vector<CorpusModule> corpus;
    auto add = [&](const std::string& name, Expect expect = Expect::AsSqlite) {
        corpus.push_back({name, expect});
        return folder / name;
    };

    // Shapes of the Details table and its values.
    write(add("plain.bblx"), kPlainTable + kPlainRow);
    write(add("real.bblx"),
          "CREATE TABLE Details(d TEXT, t REAL, c DOUBLE, x FLOAT);"
          "INSERT INTO Details VALUES(2024, 2024, 1.5, 7);");
    write(add("numbers.cmtx"),
          "CREATE TABLE Details(d INT, t, c BLOB);"
          "INSERT INTO Details VALUES(-1, x'414243', 9223372036854775807);");
    write(add("generated.bblx"),
          "CREATE TABLE Details(d TEXT, t AS /* c */ ('GEN'), c TEXT);"
          "INSERT INTO Details(d, c) VALUES('Generated', 'com');");
    write(add("stored-generated.dctx"),
          "CREATE TABLE Details(d TEXT, c TEXT, t TEXT GENERATED ALWAYS AS (upper(d)) STORED);"
          "INSERT INTO Details(d, c) VALUES('abc', 'com');");
    write(add("rowid-alias.bblx"),
          "CREATE TABLE Details(id INTEGER PRIMARY KEY, t TEXT, c TEXT);"
          "INSERT INTO Details VALUES(42, 'ID', 'c');");
    write(add("without-rowid.bblx"),
          "CREATE TABLE Details(d TEXT PRIMARY KEY, t TEXT, c TEXT) WITHOUT ROWID;"
          "INSERT INTO Details VALUES('zz', 'Z', 'c'), ('aa', 'A', 'c');");
    write(add("quoted-names.bblx"),
          "CREATE TABLE Details(\"a\"\"b\" TEXT, [select] TEXT, `c d` TEXT);"
          "INSERT INTO Details VALUES('quote', 'SEL', 'c');");
    write(add("covering-index.bblx"),
          "CREATE TABLE Details(d TEXT, t TEXT, c TEXT); CREATE INDEX DT ON Details(d, t);"
          "INSERT INTO Details VALUES('zz', 'Z', 'c'), ('aa', 'A', 'c');");
    write(add("empty-name.bblx"),
          "CREATE TABLE Details(\"\" TEXT, t TEXT, c TEXT);"
          "INSERT INTO Details VALUES('nameless', 'NN', 'c');");
    write(add("rowid-named.cmtx"),
          "CREATE TABLE Details(rowid TEXT, oid TEXT, c TEXT);"
          "INSERT INTO Details(rowid, oid, c) VALUES('Named rowid', 'OID', 'c');");
    write(add("view-same-names.bblx"),
          "CREATE VIEW Details AS SELECT 'first' AS x, 'SECOND' AS x, 'third' AS X;");
    write(add("fts4.bblx"),
          "CREATE VIRTUAL TABLE Details USING fts4(d, t, c);"
          "INSERT INTO Details VALUES('Full text', 'FT4', 'c');");
    write(add("fts5.cmtx"),
          "CREATE VIRTUAL TABLE Details USING fts5(d, t, c);"
          "INSERT INTO Details VALUES('Full text', 'FT5', 'c');");
    write(add("view.bblx"), "CREATE VIEW Details AS SELECT 'From a view', 'VW', 'c';");
    write(add("nul-inside.bblx"),
          "CREATE TABLE Details(d, t, c); INSERT INTO Details VALUES('before' || char(0) || "
          "'after', CAST(x'4142004344' AS TEXT), 'c');");
    write(add("bad-utf8.bblx"),
          "CREATE TABLE Details(d, t, c); INSERT INTO Details VALUES(CAST(x'C0FF20E9' AS TEXT), "
          "CAST(x'54FE' AS TEXT), 'c');");
    write(add("utf16.bblx"), kPlainTable + "INSERT INTO Details VALUES('Wide', 'W16', 'c');",
          "PRAGMA encoding='UTF-16le';");
    write(
        add("fewer-declared.bblx"),
        "CREATE TABLE Details(d, t, c, x); INSERT INTO Details VALUES('four', 'FOUR', 'c', 'x');" +
            editSchema("sql='CREATE TABLE Details(d, t)'"));
    write(add("more-declared.bblx"),
          "CREATE TABLE Details(d); INSERT INTO Details VALUES('one');" +
              editSchema("sql='CREATE TABLE Details(d, t DEFAULT ''DEF'', c)'"));
    write(add("null-schema.bblx"), kPlainTable + kPlainRow + editSchema("sql=NULL"));
    write(add("root-page-one.bblx"), kPlainTable + kPlainRow + editSchema("rootpage=1"));

    // Damaged files.
    write(folder / "whole.tmp", kPlainTable + kPlainRow);
    const std::string whole = readFile(folder / "whole.tmp");
    fs::remove(folder / "whole.tmp");
    writeFile(add("truncated.bblx"), whole.substr(0, whole.size() - 1000));
    writeFile(add("half-page.bblx"), whole.substr(0, 1500));
    writeFile(add("header-only.bblx"), whole.substr(0, 100));
    writeFile(add("zero.bblx"), "");
    writeFile(add("text.bblx"), "This is a readme, not a database.\n");
    write(add("page-count.bblx"), kPlainTable + kPlainRow);
    patch(folder / "page-count.bblx", 28, std::string("\0\0\0\x40", 4));
    write(add("payload-fractions.bblx"), kPlainTable + kPlainRow);
    patch(folder / "payload-fractions.bblx", 21, "\x41\x21\x21");

    // WAL modules in each state.
    write(add("wal-closed.bblx"), kPlainTable + kPlainRow, "PRAGMA journal_mode=WAL;");
    write(add("wal-live.bblx"), kPlainTable + kPlainRow, "PRAGMA journal_mode=WAL;");
    writers.push_back(startWriter(folder / "wal-live.bblx",
                                  "PRAGMA wal_autocheckpoint=0; "
                                  "UPDATE Details SET Abbreviation='NEW';"));
    fs::create_symlink("wal-live.bblx", add("link-to-wal.bblx"));
    // A WAL whose -shm is gone: SQLite would have to create one to read it.
    // The read shows nothing rather than the rows from before the log, and
    // creates nothing.
    sqlite3* logged = create(folder / "wal-no-shm.bblx", kPlainTable + kPlainRow,
                             "PRAGMA journal_mode=WAL; PRAGMA wal_autocheckpoint=0;");
    run(logged, "UPDATE Details SET Abbreviation='NEW';");
    corpus.push_back({"wal-no-shm.bblx", Expect::Empty});
    const std::string wal = readFile(folder / "wal-no-shm.bblx-wal");
    const std::string db = readFile(folder / "wal-no-shm.bblx");
    sqlite3_close(logged);
    writeFile(folder / "wal-no-shm.bblx", db);
    writeFile(folder / "wal-no-shm.bblx-wal", wal);
    fs::remove(folder / "wal-no-shm.bblx-shm");

    // Files that are not regular, or whose side files are not.
    ::mkfifo((folder / "fifo.bblx").c_str(), 0644);
    corpus.push_back({"fifo.bblx", Expect::Empty});
    write(add("fifo-journal.bblx", Expect::Empty), kPlainTable + kPlainRow);
    ::mkfifo((folder / "fifo-journal.bblx-journal").c_str(), 0644);
    write(add("fifo-wal.bblx", Expect::Empty), kPlainTable + kPlainRow, "PRAGMA journal_mode=WAL;");
    ::mkfifo((folder / "fifo-wal.bblx-wal").c_str(), 0644);
    ::mkfifo((folder / "fifo-wal.bblx-shm").c_str(), 0644);

    // Hostile views: endless work, huge values, memory.
    write(add("endless.bblx", Expect::Empty),
          "CREATE VIEW Details AS WITH RECURSIVE n(i) AS (VALUES(1) UNION ALL SELECT i+1 FROM n) "
          "SELECT i,i,i FROM n WHERE i<0;");
    write(add("huge-value.bblx", Expect::Empty),
          "CREATE VIEW Details AS SELECT printf('%.400000000c','x'), 'HUGE', 'c';");
    write(add("huge-star-value.bblx", Expect::Empty),
          "CREATE VIEW Details AS SELECT 'd', printf('%.*c', '400000000', 'x'), 'c';");
    write(add("printf.bblx"),
          "CREATE VIEW Details AS SELECT printf('%s %5.2f%%', 'Version', 2.5), "
          "format('%d-%!.3c', 7, 'x'), printf(NULL);");
    write(add("zeroblob.bblx", Expect::Empty),
          "CREATE VIEW Details AS SELECT zeroblob(400000000), 'ZB', 'c';");
    write(add("memory-hog.bblx", Expect::Empty),
          "CREATE VIEW Details AS WITH RECURSIVE n(i, s) AS (VALUES(1, printf('%.900000c','x')) "
          "UNION ALL SELECT i+1, s FROM n WHERE i<2000) SELECT s, i, 'c' FROM n ORDER BY i DESC;");
    write(add("slow-column.dctx", Expect::Empty),
          "CREATE TABLE Base(d, t, c); INSERT INTO Base VALUES('d','SLOW','c');"
          "CREATE VIEW Details AS SELECT d, (WITH RECURSIVE n(i) AS (VALUES(1) UNION ALL "
          "SELECT i+1 FROM n WHERE i<100000000) SELECT max(i) FROM n) || t, c FROM Base;");

    // Long texts: a description past the list's length limit, and comments
    // that only the report reads.
    write(add("long-description.bblx", Expect::ListsEmpty),
          kPlainTable + "INSERT INTO Details VALUES(printf('%.5000000c','d'), 'LONG', 'c');");
    write(add("long-comments.bblx"),
          kPlainTable + "INSERT INTO Details VALUES('Short', 'LCOM', printf('%.3000000c','c'));");
    return corpus;
}

void endCorpusWriters(std::vector<int>& writers) {
    for (int pid : writers) {
        ::kill(pid, SIGKILL);
        ::waitpid(pid, nullptr, 0);
    }
    writers.clear();
}

namespace {

int rowCallback(void* context, int columns, char** texts, char**) {
    if (!texts) return -1;
    auto* details = static_cast<modules::ModuleDetails*>(context);
    if (columns >= 1 && texts[0]) details->description = texts[0];
    if (columns >= 2 && texts[1]) details->tabName = texts[1];
    if (columns >= 3 && texts[2]) details->comments = texts[2];
    for (std::string* field : {&details->description, &details->tabName, &details->comments})
        if (*field == "-1") field->clear();
    return 0;
}

}  // namespace

modules::ModuleDetails plainSqliteRead(const std::string& path) {
    modules::ModuleDetails details;
    sqlite3* db = nullptr;
    if (sqlite3_open_v2(path.c_str(), &db, SQLITE_OPEN_READONLY, nullptr) == SQLITE_OK) {
        char* error = nullptr;
        sqlite3_exec(db, "SELECT * FROM Details LIMIT 1;", rowCallback, &details, &error);
        sqlite3_free(error);
    }
    sqlite3_close(db);
    return details;
}

fs::path copyWithSideFiles(const fs::path& module, const fs::path& to) {
    const fs::path target = to / module.filename();
    for (const char* suffix : {"", "-wal", "-shm", "-journal"}) {
        const fs::path from = module.string() + suffix;
        if (fs::is_regular_file(from))
            fs::copy_file(from, target.string() + suffix, fs::copy_options::overwrite_existing);
    }
    return target;
}

}  // namespace modshelf::test
