#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "core/modules/ModuleDetails.h"

namespace modshelf::test {

// One awkward module of the corpus.
struct CorpusModule {
    enum class Expect {
        AsSqlite,    // what a plain SQLite read of a copy gives
        Empty,       // over its budget, or not a regular file: three empty fields
        ListsEmpty,  // the report reads it as SQLite does; the list's budget refuses it
    };
    std::string name;
    Expect expect = Expect::AsSqlite;
};

// Writes the corpus into `folder`: odd column types and schemas, damaged
// headers and truncated files, views and virtual tables, WAL modules in each
// state, links, FIFOs, hostile views and long texts. Gives what each module
// is expected to read as. `writers` receives the processes that hold modules
// open while the corpus is read (a live WAL writer, as Scrivel would be); the
// caller ends them with endCorpusWriters.
std::vector<CorpusModule> writeModuleCorpus(const std::filesystem::path& folder,
                                            std::vector<int>& writers);
void endCorpusWriters(std::vector<int>& writers);

// What a plain SQLite connection reads from the module: open read-only,
// "SELECT * FROM Details LIMIT 1" through sqlite3_exec's row callback. Run on
// a copy: on a WAL module SQLite creates side files.
modules::ModuleDetails plainSqliteRead(const std::string& path);

// Copies a module and its side files into `to`, as regular files.
std::filesystem::path copyWithSideFiles(const std::filesystem::path& module,
                                        const std::filesystem::path& to);

}  // namespace modshelf::test
