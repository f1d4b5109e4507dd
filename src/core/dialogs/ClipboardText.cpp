#include "core/dialogs/ClipboardText.h"

#include "core/dialogs/TextLimits.h"

namespace modshelf::dialogs {

std::string clipboardText(const std::string& windowTitle, const std::string& message,
                          const std::vector<std::string>& buttonCaptions) {
    const std::string separator = std::string(27, '-') + "\r\n";
    std::string text = separator;
    text += cutToCharacters(windowTitle, kClipboardTitleCharacters) + "\r\n";
    text += separator;
    text += cutToCharacters(message, kClipboardMessageCharacters) + "\r\n";
    text += separator;
    for (const std::string& caption : buttonCaptions) text += withoutMnemonics(caption) + "   ";
    text += "\r\n";
    text += separator;
    // The text is built in a fixed buffer that keeps room for its terminator.
    return cutToBytes(text, kClipboardBufferBytes - 1);
}

}  // namespace modshelf::dialogs
