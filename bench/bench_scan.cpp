// Filling the module list from a folder of 10,000 detail-bearing modules:
// the plain per-file read, the floors that no fill can beat, the first fill
// and the refill of an unchanged folder.
#include <benchmark/benchmark.h>
#include <dirent.h>
#include <fcntl.h>
#include <sqlite3.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <stdexcept>

#include "DemoModules.h"
#include "core/modules/DetailsCache.h"
#include "core/modules/FolderListing.h"
#include "core/modules/ModuleScan.h"
#include "platform/linux/LinuxFolderLister.h"

namespace {

using namespace modshelf::modules;
namespace fs = std::filesystem;

constexpr int kModules = 10000;

// The system's lister, as the program installs it at its start.
const modshelf::platform::LinuxFolderLister kLister;
[[maybe_unused]] const bool kListerInstalled =
    (installFolderLister(std::make_shared<modshelf::platform::LinuxFolderLister>()), true);

// The generated folder is kept between runs; the generator is deterministic,
// and a marker written last says the folder is complete.
const std::string& benchFolder() {
    static const std::string folder = [] {
        const fs::path path = fs::temp_directory_path() / "modshelf-bench-scan-10000";
        const fs::path marker = path / ".complete";
        if (!fs::exists(marker)) {
            fs::remove_all(path);
            modshelf::demo::DemoModuleOptions options;
            options.count = kModules;
            options.detailBearingOnly = true;
            options.specialFiles = false;
            modshelf::demo::writeDemoModules(path, options);
            std::ofstream(marker) << "done\n";
        }
        return path.string() + "/";
    }();
    return folder;
}

// The plain read: open read-only, run the query through sqlite3_exec with a
// row callback, close, one file after another.
int rowCallback(void* context, int columns, char** texts, char**) {
    if (!texts) return -1;
    auto* details = static_cast<ModuleDetails*>(context);
    if (columns >= 1 && texts[0]) details->description = texts[0];
    if (columns >= 2 && texts[1]) details->tabName = texts[1];
    if (columns >= 3 && texts[2]) details->comments = texts[2];
    for (std::string* field : {&details->description, &details->tabName, &details->comments})
        if (*field == "-1") field->clear();
    return 0;
}

ModuleDetails baselineRead(const std::string& path) {
    ModuleDetails details;
    sqlite3* db = nullptr;
    if (sqlite3_open_v2(path.c_str(), &db, SQLITE_OPEN_READONLY, nullptr) != SQLITE_OK) {
        sqlite3_close(db);
        return details;
    }
    char* error = nullptr;
    sqlite3_exec(db, "SELECT * FROM Details LIMIT 1;", rowCallback, &details, &error);
    sqlite3_close(db);
    sqlite3_free(error);
    return details;
}

ScanResult baselineScan(const std::string& folder, const TypeFilter& filter) {
    ScanResult result;
    FolderListing listing = kLister.listFiles(folder, true, 0);
    result.folderReadable = listing.readable;
    for (const FolderFile& file : listing.files) {
        const std::string name(listing.name(file));
        if (file.hidden) continue;
        ModuleRow row;
        row.record.fileName = shortenedFileName(name);
        row.kind = classify(row.record.fileName);
        if (!filter.listsKind(row.kind)) continue;
        row.record.moduleType = std::string(listTypeName(row.kind));
        row.record.size = file.stamp.size;
        row.record.lastModified = file.fileTime;
        if (row.record.fileName.size() >= 5 && readsDetails(row.kind)) {
            const ModuleDetails details = baselineRead(folder + name);
            row.record.tabName = details.tabName;
            row.record.description = details.description;
        }
        row.record.fullName = name;
        result.rows.push_back(std::move(row));
    }
    std::sort(result.rows.begin(), result.rows.end(), fileNameLess);
    result.fileCount = static_cast<std::uint32_t>(result.rows.size());
    return result;
}

// The fast fills must give exactly the rows of the plain read.
void checkSameRows(const ScanResult& fast, const char* what) {
    static const ScanResult reference = baselineScan(benchFolder(), TypeFilter());
    if (fast.rows != reference.rows || fast.fileCount != reference.fileCount ||
        fast.activeCount != reference.activeCount) {
        std::fprintf(stderr, "%s differs from the plain read\n", what);
        std::abort();
    }
}

void BM_Baseline(benchmark::State& state) {
    const std::string& folder = benchFolder();
    for (auto _ : state) {
        ScanResult result = baselineScan(folder, TypeFilter());
        benchmark::DoNotOptimize(result.rows.data());
    }
    state.counters["files"] = kModules;
}

void BM_FloorFirstFill(benchmark::State& state) {
    const std::string& folder = benchFolder();
    std::vector<char> buffer(8192);
    for (auto _ : state) {
        DIR* dir = ::opendir(folder.c_str());
        const int dirFd = ::dirfd(dir);
        std::size_t bytes = 0;
        while (const dirent* entry = ::readdir(dir)) {
            if (entry->d_name[0] == '.') continue;
            const int fd = ::openat(dirFd, entry->d_name, O_RDONLY | O_CLOEXEC);
            if (fd < 0) continue;
            const ssize_t got = ::read(fd, buffer.data(), buffer.size());
            if (got > 0) bytes += static_cast<std::size_t>(got);
            ::close(fd);
        }
        ::closedir(dir);
        benchmark::DoNotOptimize(bytes);
    }
}

void BM_FirstFill(benchmark::State& state) {
    const std::string& folder = benchFolder();
    checkSameRows(scanFolder(folder, TypeFilter(), CheckRule()), "first fill");
    for (auto _ : state) {
        DetailsCache cache;  // empty: every module is opened
        ScanResult result = scanFolder(folder, TypeFilter(), CheckRule(), {0, &cache});
        benchmark::DoNotOptimize(result.rows.data());
    }
}

// Selecting a folder: the time until the first rows reach the list, on a
// first fill (nothing cached). The scan is cancelled once they are there.
void BM_FirstRows(benchmark::State& state) {
    const std::string& folder = benchFolder();
    for (auto _ : state) {
        DetailsCache cache;
        std::atomic<bool> cancel{false};
        std::size_t firstRows = 0;
        ScanOptions options;
        options.cache = &cache;
        options.cancel = &cancel;
        options.rowsReady = [&](std::vector<ModuleRow> rows, ScanProgress) {
            if (!firstRows) firstRows = rows.size();
            cancel = true;
        };
        ScanResult result = scanFolder(folder, TypeFilter(), CheckRule(), options);
        if (firstRows == 0) std::abort();
        benchmark::DoNotOptimize(result.rows.data());
    }
}

void BM_FirstFillOneThread(benchmark::State& state) {
    const std::string& folder = benchFolder();
    for (auto _ : state) {
        ScanResult result = scanFolder(folder, TypeFilter(), CheckRule(), {1, nullptr});
        benchmark::DoNotOptimize(result.rows.data());
    }
}

void BM_FloorRefill(benchmark::State& state) {
    const std::string& folder = benchFolder();
    for (auto _ : state) {
        DIR* dir = ::opendir(folder.c_str());
        const int dirFd = ::dirfd(dir);
        std::uint64_t total = 0;
        while (const dirent* entry = ::readdir(dir)) {
            if (entry->d_name[0] == '.') continue;
            struct stat info;
            if (::fstatat(dirFd, entry->d_name, &info, 0) == 0)
                total += static_cast<std::uint64_t>(info.st_size) + info.st_mtim.tv_sec;
        }
        ::closedir(dir);
        benchmark::DoNotOptimize(total);
    }
}

// Refilling as the list does it: the list hands its previous rows back to
// the scan, whose texts' storage takes the new rows.
void BM_Refill(benchmark::State& state) {
    const std::string& folder = benchFolder();
    DetailsCache cache;
    std::vector<ModuleRow> listRows =
        scanFolder(folder, TypeFilter(), CheckRule(), {0, &cache}).rows;
    ScanOptions options{0, &cache, &listRows};
    listRows = scanFolder(folder, TypeFilter(), CheckRule(), options).rows;
    ScanResult checked = scanFolder(folder, TypeFilter(), CheckRule(), options);
    checkSameRows(checked, "refill");
    listRows = std::move(checked.rows);
    for (auto _ : state) {
        ScanResult result = scanFolder(folder, TypeFilter(), CheckRule(), options);
        benchmark::DoNotOptimize(result.rows.data());
        listRows = std::move(result.rows);
    }
}

// The same without rows to reuse: every text of the 10,000 rows is allocated.
void BM_RefillFreshRows(benchmark::State& state) {
    const std::string& folder = benchFolder();
    DetailsCache cache;
    scanFolder(folder, TypeFilter(), CheckRule(), {0, &cache});
    checkSameRows(scanFolder(folder, TypeFilter(), CheckRule(), {0, &cache}), "refill");
    for (auto _ : state) {
        ScanResult result = scanFolder(folder, TypeFilter(), CheckRule(), {0, &cache});
        benchmark::DoNotOptimize(result.rows.data());
    }
}

}  // namespace

BENCHMARK(BM_Baseline)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(2.0);
BENCHMARK(BM_FloorFirstFill)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(2.0);
BENCHMARK(BM_FirstFill)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(2.0);
BENCHMARK(BM_FirstRows)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(1.0);
BENCHMARK(BM_FirstFillOneThread)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(2.0);
BENCHMARK(BM_FloorRefill)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(2.0);
BENCHMARK(BM_Refill)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(2.0);
BENCHMARK(BM_RefillFreshRows)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(2.0);

BENCHMARK_MAIN();
