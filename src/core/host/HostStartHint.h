#pragma once

#include <string>

#include "core/host/HostFolderState.h"

namespace modshelf::host {

class DriveMap;

// What the user reads when "Start Scrivel" could not start it: what is missing
// and where Modshelf looked, so that the user can mend Scrivel's settings or
// install it.
std::string hostStartFailureText(const HostFolderState& state, const DriveMap& drives);
inline constexpr const char* kHostStartFailureCaption = " Scrivel Not Started";

}  // namespace modshelf::host
