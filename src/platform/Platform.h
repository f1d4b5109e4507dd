#pragma once

// The one header through which the gui and the program's entry reach the
// operating system: it picks this system's implementations, so that nothing
// above the platform layer names a Linux file or type.

#if defined(_WIN32)
#error "This build has no Windows platform layer"
#else
#include "platform/linux/AtomicFile.h"
#include "platform/linux/CommandLineProgram.h"
#include "platform/linux/LinuxProgramLauncher.h"
#include "platform/linux/SettingsStoreFactory.h"
#include "platform/linux/SingleInstance.h"
#include "platform/linux/SystemServices.h"
#include "platform/linux/WinePrefixLocation.h"
#include "platform/linux/X11WindowSystem.h"

namespace modshelf::platform {
// Starts Windows programs (Scrivel, the SQLite editor) in the Wine prefix.
using NativeProgramLauncher = LinuxProgramLauncher;
// Finds and closes Scrivel's top-level windows.
using NativeWindowSystem = X11WindowSystem;
}  // namespace modshelf::platform
#endif
