#pragma once

#include <string>

#include "core/host/HostFolderState.h"

namespace modshelf::host {

class DriveMap;

// The one line the module list shows in its empty area when Scrivel's folders
// are missing: the resource folder was not found at start (naming where
// Modshelf looked), Scrivel's folder or its notes folder was there at start
// and is gone now, or the listed folder cannot be read. Empty when the list
// has nothing to explain. `listedFolder` is the local folder the list shows;
// `listedReadable` whether its latest listing could read it.
std::string missingFolderHint(const HostFolderState& state, const std::string& listedFolder,
                              bool listedReadable, const DriveMap& drives);

}  // namespace modshelf::host
