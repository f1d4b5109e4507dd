#pragma once

#include <string>
#include <string_view>

namespace modshelf::demo {

// Escapes text for an RTF body: backslash and braces get a backslash, and
// Latin-1 letters given in UTF-8 become hex escapes of their Windows-1252
// byte ("\'e9"); other characters beyond ASCII become "?".
std::string rtfEscape(std::string_view utf8);

// Comments as a word processor would store them for a module: several
// styles take turns by `variant`, from a full document with font table,
// colour table, generator group and hex escapes to a bare group and plain
// text without any markup.
std::string sampleComments(std::string_view tabName, std::string_view description, int variant);

// A comment of many paragraphs (well over 10,000 bytes), for the one module
// that shows how long texts are handled.
std::string longSampleComments(std::string_view description);

inline constexpr int kCommentVariants = 5;

}  // namespace modshelf::demo
