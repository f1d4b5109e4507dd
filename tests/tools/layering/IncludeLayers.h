#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace modshelf::test {

// Core's subsystem folders from the bottom up: a folder may include its own
// headers and those of the folders before it, never one after it.
inline const std::vector<std::string> kCoreLayers = {
    "text", "tree", "dialogs", "settings", "host", "modules", "workspaces", "reports", "app",
};

// Core sources that call the system directly: the module reader works below
// SQLite, on the files SQLite itself opens. No other core source may.
inline const std::vector<std::string> kSystemHeadersStillUsed = {
    "modules/GuardedModuleConnection.cpp",
    "modules/GuardedVfs.cpp",
    "modules/GuardedVfs.h",
};

// The header names of the #include lines of a source text, quoted or in
// angle brackets, without their delimiters.
std::vector<std::string> includedHeaders(std::string_view source);

// Why a file in core folder `folder` may not include `header`, or empty when
// it may. Core reaches neither the platform layer, the gui, Qt nor the
// system's own headers, and a core folder outside kCoreLayers is refused
// until it is given its place.
std::string includeFault(const std::string& folder, const std::string& header);

// Every fault of the sources below `coreRoot` (src/core), as
// "path: includes header (why)". `filesSeen` counts the files read.
std::vector<std::string> coreIncludeFaults(const std::filesystem::path& coreRoot, int& filesSeen);

}  // namespace modshelf::test
