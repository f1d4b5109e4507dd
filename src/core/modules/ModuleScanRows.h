#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "core/modules/DetailsCache.h"
#include "core/modules/FolderListing.h"
#include "core/modules/ModuleScan.h"
#include "core/modules/TypeFilter.h"

namespace modshelf::modules {

// The rows of `listing` (a listing of `folder`) under `filter`, in the list's
// order after a fill, as the folder's new memory. What `previous` says of a
// file with an unchanged stamp (its hidden mark, its Details) is taken over,
// and a row's place too when the rows are the same files as last time; the
// rest is read, the modules on up to `threads` threads (0: every core).
// `modulesRead` tells how many modules were opened. A file whose status
// changed less than `settleNs` before the listing is remembered without its
// stamp, so that the next scan reads it again.
// With `rowsReady`, rows are handed over in batches as their modules are read;
// with `cancel` set, reading stops at the next batch and nullopt is given.
std::optional<FolderMemory> buildFolderRows(const std::string& folder, FolderListing listing,
                                            const TypeFilter& filter, const FolderMemory& previous,
                                            unsigned threads, std::int64_t settleNs,
                                            std::uint32_t& modulesRead,
                                            const RowsReady& rowsReady = {},
                                            const std::atomic<bool>* cancel = nullptr);

}  // namespace modshelf::modules
