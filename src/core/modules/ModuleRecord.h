#pragma once

#include <cstdint>
#include <string>

#include "core/modules/ModuleKind.h"

namespace modshelf::modules {

// One row of the module list.
struct ModuleRecord {
    std::string fileName;            // as shown; a long "name.{...}" is shortened
    std::string fullName;            // the name on disk, for building the file's path
    std::string moduleType;          // list type name of the kind, empty when unknown
    std::string tabName;             // from Details for the six detail-bearing kinds
    std::uint64_t size = 0;          // bytes, the whole size
    std::uint64_t lastModified = 0;  // file time: UTC, 100 ns units since 1601
    std::string description;         // from Details for the six detail-bearing kinds

    bool operator==(const ModuleRecord&) const = default;
};

// A listed row: the record, what the list shows beside it, and its check box.
struct ModuleRow {
    ModuleRecord record;
    ModuleKind kind = ModuleKind::Unknown;
    bool checked = false;

    // 1 for one of the seventeen kinds, 0 for any other file.
    int imageIndex() const { return isModuleKind(kind) ? 1 : 0; }

    bool operator==(const ModuleRow&) const = default;
};

// The name the list shows: "abc.{0123456789}.bblx" becomes "abc.{01..." when
// the first "{" stands right after the first "."; other names are unchanged.
std::string shortenedFileName(const std::string& name);

}  // namespace modshelf::modules
