#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace modshelf::demo {

// How a sample file is made.
enum class FileForm {
    Module,      // a SQLite database in rollback-journal mode
    WalModule,   // a SQLite database left in write-ahead-log mode
    Damaged,     // a module cut short: the database header, then nothing useful
    ZeroLength,  // an empty file, as an interrupted download leaves it
    Text,        // a plain text file
};

// The shape of a module's Details table.
enum class DetailsShape {
    Standard,    // description, tab name, comments, and further columns
    TwoColumns,  // description and tab name only
    EmptyTable,  // the table exists but has no row
    NoTable,     // the module has no Details table at all
};

// One file the generator writes. A field without a value is stored as NULL.
struct DemoFile {
    std::string relativePath;  // below the target folder, "/" between components
    std::string extension;     // the kind's extension in lower case, empty for non-modules
    FileForm form = FileForm::Module;
    DetailsShape details = DetailsShape::Standard;
    std::optional<std::string> description;
    std::optional<std::string> tabName;
    std::optional<std::string> comments;
    std::string text;           // the contents of a Text file
    std::int64_t modified = 0;  // modification time, Unix seconds

    std::string fileName() const;
    bool isHidden() const { return !fileName().empty() && fileName().front() == '.'; }
};

inline constexpr int kDefaultModuleCount = 60;
inline constexpr int kBenchmarkModuleCount = 10000;

struct DemoModuleOptions {
    // Ordinary modules. The first seventeen (or the first six, see below) are
    // one of each kind, so every kind appears once the count allows it.
    int count = kDefaultModuleCount;
    // Only the kinds whose Details the list reads (for benchmarks).
    bool detailBearingOnly = false;
    // The awkward files of a real folder, written besides the count: a hidden
    // module, a damaged and an empty one, a readme, a name with "{", fields of
    // "-1", a module without Details, a long comment, a subfolder and so on.
    bool specialFiles = true;
    // The time of the oldest file; the others follow at irregular steps.
    std::int64_t firstModified = 1420106400;  // 2015-01-01 10:00 UTC
};

// A folder for timing the list filling: 10,000 modules of the kinds whose
// Details are read, and nothing else.
inline DemoModuleOptions benchmarkModuleOptions() {
    DemoModuleOptions options;
    options.count = kBenchmarkModuleCount;
    options.detailBearingOnly = true;
    options.specialFiles = false;
    return options;
}

// The files for a resource folder, in a fixed order. Pure: the same options
// always give the same list.
std::vector<DemoFile> planDemoModules(const DemoModuleOptions& options);

// The user's own files (notes, journals, prayer lists), for the user files folder.
std::vector<DemoFile> planUserFiles(std::int64_t firstModified = 1546336800);

// Writes one file below `folder`, replacing any file of that name, and gives
// it its modification time. Throws std::runtime_error on failure.
void writeDemoFile(const std::filesystem::path& folder, const DemoFile& file);

// Plans and writes the files for a resource folder; creates the folder.
std::vector<DemoFile> writeDemoModules(const std::filesystem::path& folder,
                                       const DemoModuleOptions& options);

// Writes a list of files into `folder`, creating it and any subfolders, then
// gives every folder below it (and itself) a fixed time.
void writeDemoFiles(const std::filesystem::path& folder, const std::vector<DemoFile>& files,
                    std::int64_t folderTime);

}  // namespace modshelf::demo
