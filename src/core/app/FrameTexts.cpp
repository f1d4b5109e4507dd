#include "core/app/FrameTexts.h"

#include <cctype>

#include "core/modules/ListFormat.h"

namespace modshelf::app {

std::string startTitle(const std::string& titlePrefix, const std::string& folder) {
    std::string text = folder;
    const bool windowsPath = text.size() >= 2 && text[1] == ':';
    if (!text.empty() && windowsPath) {
        for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        text[0] = static_cast<char>(std::toupper(static_cast<unsigned char>(text[0])));
    }
    const char separator = windowsPath || text.find('/') == std::string::npos ? '\\' : '/';
    if (text.empty() || text.back() != separator) text += separator;
    return titlePrefix + text + "*.*";
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
