#include "core/modules/ModuleScan.h"

#include <algorithm>
#include <cctype>
#include <optional>

#include "core/modules/DetailsCache.h"
#include "core/modules/FolderLister.h"
#include "core/modules/FolderListing.h"
#include "core/modules/ModuleScanRows.h"
#include "core/settings/RegistryTypes.h"
#include "core/settings/SettingsStore.h"

namespace modshelf::modules {

namespace {

// The caller gets its own copy of the remembered rows; a copy into spare rows
// reuses their texts' storage, which for a refill of the same folder means
// allocating nothing.
void copyRows(const std::vector<ModuleRow>& rows, std::vector<ModuleRow>* spare,
              std::vector<ModuleRow>& into) {
    if (spare) {
        into = std::move(*spare);
        spare->clear();
    }
    into = rows;
}

}  // namespace

void applyCheckRule(ScanResult& result, const CheckRule& rule) {
    result.activeCount = 0;
    // Reading a flag may create its key; all such keys are saved once.
    std::optional<settings::SettingsOperation> operation;
    if (rule.store()) operation.emplace(*rule.store());
    if (rule.mode() == CheckRule::Mode::NoneChecked) {
        for (ModuleRow& row : result.rows) row.checked = false;
        return;
    }
    for (ModuleRow& row : result.rows) {
        row.checked = rule.checks(row);
        if (row.checked) ++result.activeCount;
    }
}

CheckRule CheckRule::allChecked() {
    CheckRule rule;
    rule.mode_ = Mode::AllChecked;
    return rule;
}

CheckRule CheckRule::lookUp(Lookup lookup, settings::SettingsStore* store) {
    CheckRule rule;
    rule.mode_ = Mode::LookUp;
    rule.lookup_ = std::move(lookup);
    rule.store_ = store;
    return rule;
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
    const int order = settings::compareNoCase(a.record.fileName, b.record.fileName);
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

    FolderMemory previous;
    if (options.cache) previous = options.cache->take(folder);
    // Hidden marks are read while building rows, and only for files not seen
    // last time with the same stamp.
    FolderListing listing =
        folderLister().listFiles(folder, /*readHidden=*/false, previous.listing.files.size());
    result.folderReadable = listing.readable;
    if (!listing.readable) return result;  // the folder's memory is dropped too

    if (options.cache && previous.allReusable && previous.filter == filter &&
        listing.sameFilesAs(previous.listing)) {
        // Nothing changed that the rows depend on: only the boxes may differ.
        copyRows(previous.rows, options.spareRows, result.rows);
        options.cache->remember(folder, std::move(previous));
    } else {
        std::optional<FolderMemory> built = buildFolderRows(
            folder, std::move(listing), filter, previous, options.threads, options.settleNs,
            result.modulesRead, options.rowsReady, options.cancel);
        if (!built) {
            result.cancelled = true;
            if (options.cache) options.cache->remember(folder, std::move(previous));
            if (options.spareRows) options.spareRows->clear();
            return result;
        }
        FolderMemory& memory = *built;
        previous = FolderMemory();  // free last time's rows before keeping two sets
        if (options.cache) {
            copyRows(memory.rows, options.spareRows, result.rows);
            options.cache->remember(folder, std::move(memory));
        } else {
            result.rows = std::move(memory.rows);
            if (options.spareRows) options.spareRows->clear();
        }
    }
    applyCheckRule(result, rule);
    result.fileCount = static_cast<std::uint32_t>(result.rows.size());
    return result;
}

}  // namespace modshelf::modules
