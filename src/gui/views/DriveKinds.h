#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "core/host/DriveMap.h"

namespace modshelf::gui {

// What a drive of the tree stands on, which decides its image and whether it
// is offered for expansion before it is opened.
enum class DriveKind { Fixed, Removable, Optical, NoRoot };

// One drive node of the tree: its label and the local folder it lists.
struct DriveEntry {
    std::string label;           // "C:\" for a prefix drive, the root itself otherwise
    std::filesystem::path root;  // local folder
    DriveKind kind = DriveKind::Fixed;
};

// The kind of a prefix drive: a device link "<letter>::" to an optical
// device, or a target whose mount is an optical or removable medium; a
// missing target under a media mount point is a drive without its medium.
DriveKind driveKindOf(const host::Drive& drive, const std::filesystem::path& prefix);

// The drives of the tree: the prefix's drive letters A to Z, or, when the
// prefix has none, the system's roots.
std::vector<DriveEntry> treeDrives(const host::DriveMap& drives,
                                   const std::filesystem::path& prefix);

}  // namespace modshelf::gui
