#include "core/app/FrameTexts.h"

#include <cctype>

#include "core/modules/ListFormat.h"
#include "core/text/AsciiText.h"

namespace modshelf::app {

std::string startTitle(const std::string& titlePrefix, const std::string& folder) {
    std::string shown = folder;
    const bool windowsPath = shown.size() >= 2 && shown[1] == ':';
    if (!shown.empty() && windowsPath) {
        shown = text::lowerAscii(std::move(shown));
        shown[0] = text::upperAscii(shown[0]);
    }
    const char separator = windowsPath || shown.find('/') == std::string::npos ? '\\' : '/';
    if (shown.empty() || shown.back() != separator) shown += separator;
    return titlePrefix + shown + "*.*";
}

std::string statusPaneText(std::uint32_t files, std::uint32_t active, bool workspaceSelected,
                           std::optional<std::uint32_t> shown) {
    std::string text = " Files ";
    if (shown) text += modules::FormatThousands(*shown) + " of ";
    text += modules::FormatThousands(files);
    if (workspaceSelected) text += " : Active " + modules::FormatThousands(active);
    return text;
}

}  // namespace modshelf::app
