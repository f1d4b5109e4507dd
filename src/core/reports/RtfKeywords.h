#pragma once

#include <string_view>

namespace modshelf::reports {

// What a recognised control word does.
enum class RtfKeywordKind { Character, Destination, Property, Special };

// The actions of the special control words.
enum class RtfSpecial { None, Binary, SkipIfUnknown, Hex };

struct RtfKeyword {
    std::string_view keyword;  // without the backslash; one byte for a control symbol
    RtfKeywordKind kind;
    char character = 0;  // the byte a character row emits
    RtfSpecial special = RtfSpecial::None;
};

// The recognised control words, searched in order by exact (case-sensitive)
// match; every other control word is unknown. Null when `keyword` is unknown.
const RtfKeyword* findRtfKeyword(std::string_view keyword);

// How many control words are recognised.
int rtfKeywordCount();

}  // namespace modshelf::reports
