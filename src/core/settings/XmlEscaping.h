#pragma once

#include <string>
#include <string_view>

namespace modshelf::settings {

// Escapes a text for an attribute value of the backup file: "&", the double
// quote and "<" become entities; a carriage return or line feed becomes a
// character reference, so that a text holding a line break reads back as it
// was and not as the reader's line join.
std::string EscapeXmlText(std::string_view text);

// The reverse: decodes each entity of the text exactly once (an ampersand that
// decoding produces is never decoded again). Besides what EscapeXmlText makes,
// "&gt;", "&apos;" and decimal or hexadecimal character references are read,
// as a file edited by hand may hold them. Anything else after an ampersand
// stays as it is.
std::string UnescapeXmlText(std::string_view text);

// Whether the bytes are well-formed UTF-8 (no overlong forms, no surrogates,
// nothing above U+10FFFF).
bool isValidUtf8(std::string_view text);

}  // namespace modshelf::settings
