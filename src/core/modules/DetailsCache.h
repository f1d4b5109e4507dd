#pragma once

#include <cstdint>
#include <mutex>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

#include "core/modules/FolderListing.h"
#include "core/modules/ModuleDetails.h"
#include "core/modules/ModuleRecord.h"
#include "core/modules/TypeFilter.h"

namespace modshelf::modules {

// What the latest scan of one folder found. The next scan of the folder reads
// nothing again for a file whose stamp is unchanged, and when the whole
// listing is unchanged it hands back these rows as they stand.
struct FolderMemory {
    static constexpr std::uint32_t kNoRow = UINT32_MAX;

    FolderListing listing;        // `hidden` is known for every file
    TypeFilter filter;            // what `rows` were listed under
    std::vector<ModuleRow> rows;  // in the list's order after a fill; boxes unset
    // Per file of `listing`: its index in `rows`, or kNoRow when not listed.
    std::vector<std::uint32_t> rowOf;
    // Per row: its Details hold while the file's stamp does. False for a
    // module with a live writer, which can change without its own file
    // changing and so is read afresh every time.
    std::vector<char> detailsReusable;
    bool allReusable = false;  // every row's Details may be reused

    // The row of the file named `name` if its stamp is still `stamp`.
    const ModuleRow* rowFor(std::string_view name, const FileStamp& stamp) const;
};

// What was learnt about each folder scanned, so that refilling an unchanged
// folder opens no module and reads no attributes. Each scan of a folder
// replaces that folder's memory, so files that went away are forgotten.
class DetailsCache {
public:
    // The Details remembered for a file with this exact stamp (description
    // and tab name; comments are not kept).
    std::optional<ModuleDetails> find(const std::string& folder, const std::string& name,
                                      const FileStamp& stamp) const;
    // The number of files remembered, over all folders.
    std::size_t size() const;
    void clear();

    // Removes a folder's memory and hands it over (empty when none).
    FolderMemory take(const std::string& folder);
    void remember(const std::string& folder, FolderMemory memory);

private:
    mutable std::mutex mutex_;
    std::unordered_map<std::string, FolderMemory> folders_;
};

}  // namespace modshelf::modules
