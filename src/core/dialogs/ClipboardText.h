#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace modshelf::dialogs {

inline constexpr std::size_t kClipboardBufferBytes = 8192;
inline constexpr std::size_t kClipboardTitleCharacters = 1000;
inline constexpr std::size_t kClipboardMessageCharacters = 4000;

// The text that Ctrl+C puts on the clipboard: title, message and the button
// captions (without their "&"), each part framed by a line of 27 hyphens,
// every line ending in "\r\n".
std::string clipboardText(const std::string& windowTitle, const std::string& message,
                          const std::vector<std::string>& buttonCaptions);

}  // namespace modshelf::dialogs
