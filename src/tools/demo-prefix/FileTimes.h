#pragma once

#include <cstdint>
#include <filesystem>

namespace modshelf::demo {

// Sets a file's access and modification times to `seconds` (Unix time). With
// `followLinks` false a symbolic link gets the time itself. Throws
// std::runtime_error on failure.
void setFileTime(const std::filesystem::path& path, std::int64_t seconds, bool followLinks = true);

// Gives `folder` and every folder below it the time `seconds`, deepest first,
// so that setting one folder's time is not undone by touching its parent.
void setFolderTimes(const std::filesystem::path& folder, std::int64_t seconds);

}  // namespace modshelf::demo
