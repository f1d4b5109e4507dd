#pragma once

#include <cstddef>
#include <string>

namespace modshelf::dialogs {

// Cuts UTF-8 text to at most `maxCharacters` characters (code points), never
// inside a character.
std::string cutToCharacters(const std::string& text, std::size_t maxCharacters);

// Cuts UTF-8 text to at most `maxBytes` bytes, never inside a character.
std::string cutToBytes(const std::string& text, std::size_t maxBytes);

// A caption as it reads on screen: each "&" that marks a mnemonic removed and
// "&&" read as one "&".
std::string withoutMnemonics(const std::string& caption);

}  // namespace modshelf::dialogs
