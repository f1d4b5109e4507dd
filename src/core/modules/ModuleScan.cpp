#include "core/modules/ModuleScan.h"

#include <algorithm>
#include <atomic>
#include <cctype>
#include <optional>
#include <thread>

#include "core/app/AppState.h"
#include "core/modules/DetailsCache.h"
#include "core/modules/FolderListing.h"
#include "core/settings/SettingsStore.h"
#include "core/workspaces/WorkspaceStore.h"

namespace modshelf::modules {

namespace {

// Below this many modules to read, threads cost more than they save.
constexpr std::size_t kParallelThreshold = 16;

struct DetailsJob {
    std::size_t row;
    std::string path;
    DetailsOpenMode mode;
};

void readAll(std::vector<DetailsJob>& jobs, std::vector<ModuleDetails>& results, unsigned threads) {
    results.resize(jobs.size());
    if (threads == 0) threads = std::max(1u, std::thread::hardware_concurrency());
    threads = std::min<unsigned>(threads, 16);
    if (jobs.size() < kParallelThreshold || threads <= 1) {
        for (std::size_t i = 0; i < jobs.size(); ++i)
            results[i] = readModuleDetails(jobs[i].path, jobs[i].mode);
        return;
    }
    std::atomic<std::size_t> next{0};
    auto work = [&] {
        for (std::size_t i = next++; i < jobs.size(); i = next++)
            results[i] = readModuleDetails(jobs[i].path, jobs[i].mode);
    };
    std::vector<std::thread> pool;
    pool.reserve(threads - 1);
    for (unsigned t = 1; t < threads; ++t) pool.emplace_back(work);
    work();
    for (std::thread& thread : pool) thread.join();
}

char lowerAscii(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c;
}

int compareNoCase(const std::string& a, const std::string& b) {
    const std::size_t n = std::min(a.size(), b.size());
    for (std::size_t i = 0; i < n; ++i) {
        const int ca = static_cast<unsigned char>(lowerAscii(a[i]));
        const int cb = static_cast<unsigned char>(lowerAscii(b[i]));
        if (ca != cb) return ca < cb ? -1 : 1;
    }
    if (a.size() == b.size()) return 0;
    return a.size() < b.size() ? -1 : 1;
}

// Sorts row numbers and then moves each row once, rather than swapping whole
// rows (seven strings each) around during the sort.
void sortByFileName(std::vector<ModuleRow>& rows) {
    std::vector<std::uint32_t> order(rows.size());
    for (std::uint32_t i = 0; i < order.size(); ++i) order[i] = i;
    std::sort(order.begin(), order.end(),
              [&rows](std::uint32_t a, std::uint32_t b) { return fileNameLess(rows[a], rows[b]); });
    std::vector<ModuleRow> sorted;
    sorted.reserve(rows.size());
    for (std::uint32_t index : order) sorted.push_back(std::move(rows[index]));
    rows = std::move(sorted);
}

}  // namespace

CheckRule CheckRule::allChecked() {
    CheckRule rule;
    rule.mode_ = Mode::AllChecked;
    return rule;
}

CheckRule CheckRule::lookUp(Lookup lookup) {
    CheckRule rule;
    rule.mode_ = Mode::LookUp;
    rule.lookup_ = std::move(lookup);
    return rule;
}

CheckRule CheckRule::forNode(int nodeKind, settings::SettingsStore& store) {
    if (nodeKind == app::node::kAllModules) return allChecked();
    if (app::node::isNumberedWorkspace(nodeKind) || nodeKind == app::node::kCurrentSettings) {
        const int slot = app::workspaceSlot(nodeKind);
        CheckRule rule =
            lookUp([&store, slot](ActivationCategory category, const std::string& tabName) {
                return workspaces::readActiveFlag(store, slot, category, tabName);
            });
        rule.store_ = &store;
        return rule;
    }
    return CheckRule();
}

bool CheckRule::checks(const ModuleRow& row) const {
    // Names shorter than an extension never get a box.
    if (row.record.fileName.size() < 5) return false;
    switch (mode_) {
        case Mode::AllChecked:
            return true;
        case Mode::NoneChecked:
            return false;
        case Mode::LookUp: {
            const ActivationCategory category = activationCategory(row.kind);
            if (category == ActivationCategory::None || !lookup_) return false;
            return lookup_(category, row.record.tabName);
        }
    }
    return false;
}

bool fileNameLess(const ModuleRow& a, const ModuleRow& b) {
    const int order = compareNoCase(a.record.fileName, b.record.fileName);
    if (order != 0) return order < 0;
    // Equal ignoring case: keep a fixed order all the same.
    if (a.record.fileName != b.record.fileName) return a.record.fileName < b.record.fileName;
    return a.record.fullName < b.record.fullName;
}

ScanResult scanFolder(const std::string& folderText, const TypeFilter& filter,
                      const CheckRule& rule, const ScanOptions& options) {
    ScanResult result;
    std::string folder = folderText;
    if (!folder.empty() && folder.back() != '/') folder.push_back('/');

    DetailsCache::FolderEntries cached;
    if (options.cache) cached = options.cache->takeFolder(folder);
    // The folder's entries are updated in place: each file met is marked,
    // and what was not met (the file went away) is dropped at the end.
    DetailsCache::FolderEntries& kept = cached;
    // Hidden attributes are read here, and only for files the cache has not
    // seen with the same stamp.
    FolderListing listing = listFolderFiles(folder, /*readHidden=*/false);
    result.folderReadable = listing.readable;
    if (!listing.readable) return result;

    std::vector<DetailsJob> jobs;
    std::vector<FileStamp> jobStamps;
    result.rows.reserve(listing.files.size());
    std::string path = folder;
    for (FolderFile& file : listing.files) {
        DetailsCache::Entry* entry = nullptr;
        bool known = false;
        if (options.cache) {
            entry = &kept[file.name];
            known = entry->stamp == file.stamp;
        }
        if (known) {
            file.hidden = entry->hidden;
        } else {
            path.resize(folder.size());
            path += file.name;
            file.hidden = wineHiddenAttribute(path);
        }
        if (file.hidden) {
            if (entry) *entry = {file.stamp, {}, false, true, true};
            continue;
        }
        ModuleRow row;
        row.record.fileName = shortenedFileName(file.name);
        row.kind = classify(row.record.fileName);
        if (!filter.listsKind(row.kind)) {
            if (entry) *entry = {file.stamp, {}, false, false, true};
            continue;
        }
        row.record.moduleType = std::string(listTypeName(row.kind));
        row.record.size = file.stamp.size;
        row.record.lastModified = file.fileTime;

        if (row.record.fileName.size() >= 5 && readsDetails(row.kind)) {
            DetailsOpenMode mode = DetailsOpenMode::Immutable;
            if (!listing.sideFiles.empty()) {
                mode = openModeFor(folder + file.name,
                                   listing.hasSideFile(file.name + "-wal") &&
                                       listing.hasSideFile(file.name + "-shm"),
                                   listing.hasSideFile(file.name + "-journal"));
            }
            // A module with a live writer can change without its own file
            // changing, so it is read afresh every time and never cached.
            const bool cacheable = mode == DetailsOpenMode::Immutable;
            if (cacheable && known && entry->hasDetails) {
                row.record.tabName = entry->details.tabName;
                row.record.description = entry->details.description;
                entry->seen = true;
            } else {
                if (entry) *entry = {file.stamp, {}, false, false, true};
                jobs.push_back({result.rows.size(), folder + file.name, mode});
                jobStamps.push_back(cacheable ? file.stamp : FileStamp{});
            }
        } else if (entry) {
            *entry = {file.stamp, {}, false, false, true};
        }
        row.record.fullName = std::move(file.name);
        result.rows.push_back(std::move(row));
    }

    std::vector<ModuleDetails> read;
    readAll(jobs, read, options.threads);
    for (std::size_t i = 0; i < jobs.size(); ++i) {
        ModuleRecord& record = result.rows[jobs[i].row].record;
        record.tabName = read[i].tabName;
        record.description = read[i].description;
        if (options.cache && !(jobStamps[i] == FileStamp{}))
            kept[record.fullName] = {
                jobStamps[i], {read[i].description, read[i].tabName, {}}, true, false, true};
    }
    if (options.cache) {
        for (auto it = kept.begin(); it != kept.end();) {
            if (it->second.seen) {
                it->second.seen = false;
                ++it;
            } else {
                it = kept.erase(it);  // the file went away
            }
        }
        options.cache->replaceFolder(folder, std::move(kept));
    }

    // Reading a flag may create its key; all such keys are saved once.
    std::optional<settings::SettingsOperation> operation;
    if (rule.store()) operation.emplace(*rule.store());
    for (ModuleRow& row : result.rows) {
        row.checked = rule.checks(row);
        if (row.checked) ++result.activeCount;
    }
    sortByFileName(result.rows);
    result.fileCount = static_cast<std::uint32_t>(result.rows.size());
    return result;
}

}  // namespace modshelf::modules
