#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace modshelf::settings {

// Reads escaped hive text starting at line[pos] up to the unescaped `end`
// character, appending UTF-16 code units to `out`. Accepts everything Wine
// reads: the C escapes, octal escapes of up to three digits, \x with up to
// four hex digits, and raw UTF-8. Returns the position just after `end`, or
// std::string_view::npos when the line ends first.
std::size_t parseHiveText(std::string_view line, std::size_t pos, char end, std::u16string& out);

}  // namespace modshelf::settings
