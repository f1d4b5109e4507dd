#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace modshelf::app {

// The title the main window shows when it first appears: the title prefix,
// the folder with a closing separator, and "*.*". A Windows folder text is
// shown lower-cased with a capital first letter, as Windows shows it; a
// local (case-sensitive) folder keeps its case, since any other spelling
// would name a different folder.
std::string startTitle(const std::string& titlePrefix, const std::string& folder);

// Status pane 106: " Files %s : Active %s" while a workspace is selected,
// " Files %s" otherwise, the counts with thousands separators. While the
// list's search hides rows, `shown` rows of `files`: " Files 12 of 1,234".
std::string statusPaneText(std::uint32_t files, std::uint32_t active, bool workspaceSelected,
                           std::optional<std::uint32_t> shown = std::nullopt);

// The text that sizes pane 106.
inline constexpr const char* kStatusPaneSizingText = "  Files 4,321 : Active 4,321";
// The status bar's idle message.
inline constexpr const char* kIdleMessage = " Modshelf for Scrivel . . . ";

}  // namespace modshelf::app
