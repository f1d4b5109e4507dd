#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace modshelf::reports {

// The 8-bit code page that texts are kept in. On Linux it is UTF-8; on
// Windows it is the system's ANSI code page, which is a single-byte one.
enum class CodePage { Utf8, SingleByte };

CodePage systemCodePage();

// RTF hex escapes give bytes of the document's Windows code page ("\'e9" is
// "é"). In a UTF-8 text such a byte is not a character at all, so every byte
// that does not start a valid UTF-8 sequence is read as Windows-1252 and
// written as UTF-8; valid UTF-8 passes unchanged.
std::string windows1252BytesToUtf8(std::string_view text);

// How many characters `text` holds, and how many bytes its first `count`
// characters take, in the given code page. A cut never splits a UTF-8
// sequence.
std::size_t characterCount(std::string_view text, CodePage codePage);
std::size_t bytesOfFirstCharacters(std::string_view text, std::size_t count, CodePage codePage);

}  // namespace modshelf::reports
