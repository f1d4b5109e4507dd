#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace modshelf::platform {

// Replaces `target` with `bytes` so that a crash or kill at any moment leaves
// either the old file or the new one: the bytes go to a temporary file in the
// same folder, which is flushed to disk and then renamed over the target (and
// the folder is flushed too). A target reached through a symbolic link is
// replaced where the link points, so the link stays. The new file keeps the
// old one's permissions. On failure the target is untouched, no temporary file
// is left, and `error` says why in words for the user.
bool writeFileAtomically(const std::filesystem::path& target, std::string_view bytes,
                         std::string& error);

// Reads a whole file. False, with the reason in `error`, when it cannot.
bool readWholeFile(const std::filesystem::path& file, std::string& bytes, std::string& error);

}  // namespace modshelf::platform
