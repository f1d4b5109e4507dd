#pragma once

#include <string>
#include <string_view>

namespace modshelf::settings {

// Conversions between the store's UTF-8 text and the UTF-16 that Windows (and
// Wine's registry) keeps. Both directions are lossless for every sequence of
// UTF-16 code units: an unpaired surrogate travels as its three-byte UTF-8
// form (as WTF-8 does). A byte that is not UTF-8 becomes the lone surrogate
// U+DC80..U+DCFF and comes back as that byte, so any bytes round-trip and no
// input is ever refused.
std::u16string utf8ToUtf16(std::string_view text);
std::string utf16ToUtf8(std::u16string_view text);

// Raw little-endian bytes of UTF-16 text, and back (an odd final byte is dropped).
std::string utf16ToBytes(std::u16string_view text);
std::u16string bytesToUtf16(std::string_view bytes);

// Appends one code point as UTF-8 (surrogates included, see above).
void appendUtf8(std::string& out, char32_t codePoint);

}  // namespace modshelf::settings
