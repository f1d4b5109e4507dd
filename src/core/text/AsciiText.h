#pragma once

#include <string>
#include <string_view>

// Text rules shared by every part of the program. Names, paths and registry
// texts are compared and trimmed by their ASCII letters and blanks only, so
// that the result never depends on the user's locale.

namespace modshelf::text {

// Space, tab, line feed, vertical tab, form feed or carriage return.
constexpr bool isBlank(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

constexpr char lowerAscii(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

constexpr char upperAscii(char c) {
    return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
}

// The text with its ASCII capitals made small; other bytes are kept.
std::string lowerAscii(std::string text);

// The text without blanks at either end.
std::string trimmed(std::string_view text);

}  // namespace modshelf::text
