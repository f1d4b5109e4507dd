#pragma once

namespace modshelf::platform {

// Gives core this system's implementations of its operating-system
// interfaces (the module scan's folder lister, the drive map's and the folder
// search's folder access). The program calls it once at
// its start, before any window or command.
void installSystemServices();

}  // namespace modshelf::platform
