#include "core/modules/ModuleScanRows.h"

#include <algorithm>
#include <atomic>
#include <optional>
#include <string_view>
#include <thread>
#include <unordered_map>

#include "core/modules/DetailsReadPool.h"
#include "core/modules/FolderLister.h"
#include "core/modules/ModuleScan.h"

namespace modshelf::modules {

namespace {

// Below this many files, threads cost more than they save.
constexpr std::size_t kParallelThreshold = 16;

// The first batch is small so that the first rows show at once.
constexpr std::size_t kFirstBatchRows = 64;
constexpr std::size_t kBatchRows = 512;

// Finds each file of a new listing in the previous one. Unchanged folders
// list their files in the same order, so the file after the last one found
// is tried first; names are hashed only once that guess fails.
class PreviousFiles {
public:
    explicit PreviousFiles(const FolderListing& previous) : previous_(previous) {}

    std::optional<std::size_t> find(std::string_view name) {
        const std::size_t guess = next_;
        if (guess < previous_.files.size() && previous_.name(previous_.files[guess]) == name) {
            next_ = guess + 1;
            return guess;
        }
        if (byName_.empty() && !previous_.files.empty()) {
            byName_.reserve(previous_.files.size());
            for (std::size_t i = 0; i < previous_.files.size(); ++i)
                byName_.emplace(previous_.name(previous_.files[i]), i);
        }
        auto it = byName_.find(name);
        if (it == byName_.end()) return std::nullopt;
        next_ = it->second + 1;
        return it->second;
    }

private:
    const FolderListing& previous_;
    std::size_t next_ = 0;
    std::unordered_map<std::string_view, std::size_t> byName_;
};

}  // namespace

std::optional<FolderMemory> buildFolderRows(const std::string& folder, FolderListing listing,
                                            const TypeFilter& filter, const FolderMemory& previous,
                                            unsigned threadsAsked, std::int64_t settleNs,
                                            std::uint32_t& modulesRead, const RowsReady& rowsReady,
                                            const std::atomic<bool>* cancel) {
    constexpr std::uint32_t kNoRow = FolderMemory::kNoRow;
    PreviousFiles previousFiles(previous.listing);
    std::vector<ModuleRow> rows;
    std::vector<std::uint32_t> fileOfRow;      // the listing's file of each row
    std::vector<std::uint32_t> previousRowOf;  // each row's row in `previous`, if any
    std::vector<char> reusable;
    rows.reserve(listing.files.size());
    fileOfRow.reserve(listing.files.size());
    previousRowOf.reserve(listing.files.size());
    reusable.reserve(listing.files.size());
    // Modules are read while the rest of the folder is looked at; the jobs
    // never outgrow what is reserved here, as the workers need.
    std::vector<DetailsJob> jobs;
    jobs.reserve(listing.files.size());
    std::vector<ModuleDetails> read(listing.files.size());
    const unsigned threads =
        listing.files.size() < kParallelThreshold ? 1 : readingThreads(threadsAsked);
    DetailsReadPool pool(jobs, read, threads - 1, cancel);
    std::string path = folder;
    const FolderLister& lister = folderLister();

    for (std::size_t fileIndex = 0; fileIndex < listing.files.size(); ++fileIndex) {
        FolderFile& file = listing.files[fileIndex];
        const std::string_view name = listing.name(file);
        // The file's row last time (its name decides its place), and whether
        // the file is the same version as then (what was read still holds).
        std::uint32_t previousRow = kNoRow;
        bool known = false;
        if (const std::optional<std::size_t> at = previousFiles.find(name)) {
            const FolderFile& before = previous.listing.files[*at];
            previousRow = previous.rowOf[*at];
            known = before.stamp == file.stamp;
            if (known) file.hidden = before.hidden;
        }
        if (!known) {
            path.resize(folder.size());
            path += name;
            file.hidden = lister.hiddenByWine(path);
        }
        if (file.hidden) continue;

        ModuleRow row;
        row.record.fileName = shortenedFileName(std::string(name));
        row.kind = classify(row.record.fileName);
        if (!filter.listsKind(row.kind)) continue;
        row.record.moduleType = std::string(listTypeName(row.kind));
        row.record.size = file.stamp.size;
        row.record.lastModified = file.fileTime;
        row.record.fullName = name;

        bool detailsReusable = true;
        if (row.record.fileName.size() >= 5 && readsDetails(row.kind)) {
            // A module with a side file may have a live writer, and can change
            // without its own file changing, so it is read afresh every time.
            if (!listing.sideFiles.empty()) {
                const std::string fullName(name);
                detailsReusable = !listing.hasSideFile(fullName + "-wal") &&
                                  !listing.hasSideFile(fullName + "-shm") &&
                                  !listing.hasSideFile(fullName + "-journal");
            }
            if (detailsReusable && known && previousRow != kNoRow &&
                previous.detailsReusable[previousRow]) {
                const ModuleRecord& before = previous.rows[previousRow].record;
                row.record.tabName = before.tabName;
                row.record.description = before.description;
            } else {
                jobs.push_back({rows.size(), folder + row.record.fullName});
                pool.publish(jobs.size());
            }
        }
        rows.push_back(std::move(row));
        fileOfRow.push_back(static_cast<std::uint32_t>(fileIndex));
        previousRowOf.push_back(previousRow);
        reusable.push_back(detailsReusable ? 1 : 0);
    }

    // Rows in batches: the modules of a batch are read, then its rows are
    // complete and can be shown.
    std::size_t nextJob = 0;
    for (std::size_t firstRow = 0; firstRow < rows.size();) {
        if (cancel && cancel->load()) return std::nullopt;
        const std::size_t batch = firstRow == 0 ? kFirstBatchRows : kBatchRows;
        const std::size_t endRow = std::min(rows.size(), firstRow + batch);
        std::size_t endJob = nextJob;
        while (endJob < jobs.size() && jobs[endJob].row < endRow) ++endJob;
        if (!pool.complete(endJob)) return std::nullopt;
        for (std::size_t i = nextJob; i < endJob; ++i) {
            ModuleRecord& record = rows[jobs[i].row].record;
            record.tabName = std::move(read[i].tabName);
            record.description = std::move(read[i].description);
        }
        nextJob = endJob;
        if (rowsReady)
            rowsReady(std::vector<ModuleRow>(rows.begin() + static_cast<std::ptrdiff_t>(firstRow),
                                             rows.begin() + static_cast<std::ptrdiff_t>(endRow)),
                      ScanProgress{endJob, jobs.size()});
        firstRow = endRow;
    }
    modulesRead = static_cast<std::uint32_t>(jobs.size());

    // The order: when every row was a row last time, and as many, the rows
    // are the same files and keep last time's places; otherwise sort.
    std::vector<std::uint32_t> order(rows.size());
    const bool sameRows =
        rows.size() == previous.rows.size() &&
        std::none_of(previousRowOf.begin(), previousRowOf.end(),
                     [](std::uint32_t row) { return row == FolderMemory::kNoRow; });
    if (sameRows) {
        for (std::uint32_t i = 0; i < rows.size(); ++i) order[previousRowOf[i]] = i;
    } else {
        for (std::uint32_t i = 0; i < order.size(); ++i) order[i] = i;
        std::sort(order.begin(), order.end(), [&rows](std::uint32_t a, std::uint32_t b) {
            return fileNameLess(rows[a], rows[b]);
        });
    }

    FolderMemory memory;
    memory.rowOf.assign(listing.files.size(), kNoRow);
    memory.rows.reserve(rows.size());
    memory.detailsReusable.reserve(rows.size());
    memory.allReusable = true;
    for (std::uint32_t index : order) {
        memory.rowOf[fileOfRow[index]] = static_cast<std::uint32_t>(memory.rows.size());
        memory.rows.push_back(std::move(rows[index]));
        memory.detailsReusable.push_back(reusable[index]);
        if (!reusable[index]) memory.allReusable = false;
    }
    // An empty stamp matches no file, so the next scan takes nothing from
    // this one for a file that may still be changing.
    const std::int64_t settledBefore = listing.listedAtNs - settleNs;
    for (FolderFile& file : listing.files)
        if (file.stamp.ctimeNs >= settledBefore) file.stamp = FileStamp{};
    memory.listing = std::move(listing);
    memory.filter = filter;
    return memory;
}

}  // namespace modshelf::modules
