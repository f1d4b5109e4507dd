#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "core/modules/ModuleRecord.h"
#include "core/modules/TypeFilter.h"

namespace modshelf::settings {
class SettingsStore;
}

namespace modshelf::modules {

class DetailsCache;

// How the rows' check boxes are set, decided by the selected tree node.
class CheckRule {
public:
    enum class Mode { NoneChecked, AllChecked, LookUp };

    // Folder nodes and nothing selected: every box unchecked.
    CheckRule() = default;
    // <A>: every row checked and counted active.
    static CheckRule allChecked();
    // Bibles, commentaries and dictionaries checked by a looked-up flag:
    // true = active, false = inactive or no value. Others stay unchecked.
    // `store`, when given, is where the lookup reads its flags.
    using Lookup = std::function<bool(ActivationCategory, const std::string& tabName)>;
    static CheckRule lookUp(Lookup lookup, settings::SettingsStore* store = nullptr);

    Mode mode() const { return mode_; }
    // The store that the lookup reads from, so that a scan can make its reads
    // one settings operation; null otherwise.
    settings::SettingsStore* store() const { return store_; }
    // The box of a listed row.
    bool checks(const ModuleRow& row) const;

private:
    Mode mode_ = Mode::NoneChecked;
    Lookup lookup_;
    settings::SettingsStore* store_ = nullptr;
};

// How far a scan has come: modules whose Details are read, of those to read.
struct ScanProgress {
    std::size_t modulesRead = 0;
    std::size_t modulesToRead = 0;
};

// Rows that a scan has finished, in the folder's order (not yet sorted), with
// the progress so far. Called on the scanning thread.
using RowsReady = std::function<void(std::vector<ModuleRow> rows, ScanProgress progress)>;

struct ScanOptions {
    // Worker threads for reading Details: 0 picks the machine's cores. Small
    // folders are read on the calling thread whatever this says.
    unsigned threads = 0;
    // What earlier scans found; updated with this scan's. May be null.
    DetailsCache* cache = nullptr;
    // Rows the caller is done with, such as the list's rows before a refill:
    // the new rows are copied into their texts' storage rather than into
    // fresh allocations. Taken over (left empty). May be null.
    std::vector<ModuleRow>* spareRows = nullptr;
    // A file changed this shortly before the scan may change again within
    // the same tick of the file system's clock, leaving its stamp as it was;
    // what was read from such a file is read again next time. Two seconds
    // cover the coarsest clocks (FAT).
    std::int64_t settleNs = 2'000'000'000;
    // Hears of rows as they are read, when set; the result still holds every
    // row, sorted.
    RowsReady rowsReady = {};
    // Set from another thread to end the scan early; the result is then
    // marked cancelled and the folder's memory is kept as it was.
    const std::atomic<bool>* cancel = nullptr;
};

struct ScanResult {
    std::vector<ModuleRow> rows;    // sorted by file name, ascending, ignoring case
    std::uint32_t fileCount = 0;    // rows listed
    std::uint32_t activeCount = 0;  // rows checked
    bool folderReadable = false;    // false: the folder could not be listed
    std::uint32_t modulesRead = 0;  // modules opened for their Details by this scan
    bool cancelled = false;         // ended early: rows and counts are incomplete
};

// Lists `folder` (a local folder; the separator is added when missing): every
// file that is not hidden (on Linux a name starting with "." is hidden too)
// and that `filter` lets through, with its kind, size, time and, for the six
// detail-bearing kinds, the Details of the module. The results are the same
// whatever the threads and cache. A folder that cannot be read gives no rows.
ScanResult scanFolder(const std::string& folder, const TypeFilter& filter, const CheckRule& rule,
                      const ScanOptions& options = {});

// Sets every row's box by `rule` and counts the active rows; what a scan does
// itself, for rows scanned without a rule.
void applyCheckRule(ScanResult& result, const CheckRule& rule);

// The order of the list after a fill: file name ascending, ignoring case.
bool fileNameLess(const ModuleRow& a, const ModuleRow& b);

}  // namespace modshelf::modules
