#pragma once

#include <filesystem>
#include <functional>
#include <string>
#include <string_view>

namespace modshelf::dialogs {
class Prompter;
}

namespace modshelf::reports {

// Writes a whole file so that a failure never leaves half of it where an old
// one stood; false with the reason, in words for the user, in `error`.
using ExportFileWriter = std::function<bool(const std::filesystem::path& target,
                                            std::string_view bytes, std::string& error)>;

// Writes an export's text (its bytes as they are: no terminator, no
// byte-order mark). A failure is told to the user, naming the file and the
// reason; nothing is shown on success.
bool writeExportFile(const std::filesystem::path& target, std::string_view text,
                     const ExportFileWriter& writer, dialogs::Prompter& prompter);

}  // namespace modshelf::reports
