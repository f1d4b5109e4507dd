#include "core/reports/RtfKeywords.h"

#include <array>
#include <unordered_map>

namespace modshelf::reports {

namespace {

using K = RtfKeywordKind;
using S = RtfSpecial;

constexpr RtfKeyword chr(std::string_view word, char byte) {
    return {word, K::Character, byte, S::None};
}
constexpr RtfKeyword dest(std::string_view word) {
    return {word, K::Destination, 0, S::None};
}
constexpr RtfKeyword prop(std::string_view word) {
    return {word, K::Property, 0, S::None};
}
constexpr RtfKeyword special(std::string_view word, RtfSpecial action) {
    return {word, K::Special, 0, action};
}

// Formatting never reaches the plain text, so the property words carry no
// values: they are listed so that a `\*` before one of them does not make its
// group skipped.
constexpr std::array kKeywords = {
    prop("b"),
    prop("u"),
    prop("i"),
    prop("li"),
    prop("ri"),
    prop("fi"),
    prop("cols"),
    prop("sbknone"),
    prop("sbkcol"),
    prop("sbkeven"),
    prop("sbkodd"),
    prop("sbkpage"),
    prop("pgnx"),
    prop("pgny"),
    prop("pgndec"),
    prop("pgnucrm"),
    prop("pgnlcrm"),
    prop("pgnucltr"),
    prop("pgnlcltr"),
    prop("qc"),
    prop("ql"),
    prop("qr"),
    prop("qj"),
    prop("paperw"),
    prop("paperh"),
    prop("margl"),
    prop("margr"),
    prop("margt"),
    prop("margb"),
    prop("pgnstart"),
    prop("facingp"),
    prop("landscape"),
    chr("par", '\n'),
    chr("\n", '\n'),
    chr("\r", '\n'),
    chr("tab", '\t'),
    chr("ldblquote", '"'),
    chr("rdblquote", '"'),
    chr("{", '{'),
    chr("}", '}'),
    chr("\\", '\\'),
    special("bin", S::Binary),
    special("*", S::SkipIfUnknown),
    special("'", S::Hex),
    dest("author"),
    dest("buptim"),
    dest("colortbl"),
    dest("comment"),
    dest("creatim"),
    dest("doccomm"),
    dest("fonttbl"),
    dest("footer"),
    dest("footerf"),
    dest("footerl"),
    dest("footerr"),
    dest("footnote"),
    dest("ftncn"),
    dest("ftnsep"),
    dest("ftnsepc"),
    dest("header"),
    dest("headerf"),
    dest("headerl"),
    dest("headerr"),
    dest("info"),
    dest("keywords"),
    dest("operator"),
    dest("pict"),
    dest("printim"),
    dest("private1"),
    dest("revtim"),
    dest("rxe"),
    dest("stylesheet"),
    dest("subject"),
    dest("tc"),
    dest("title"),
    dest("txe"),
    dest("xe"),
};

}  // namespace

const RtfKeyword* findRtfKeyword(std::string_view keyword) {
    // Every keyword is listed once, so a hashed lookup finds the same row as a
    // search in order, without 77 comparisons per control word of a long text.
    static const std::unordered_map<std::string_view, const RtfKeyword*> index = [] {
        std::unordered_map<std::string_view, const RtfKeyword*> map;
        for (const RtfKeyword& row : kKeywords) map.emplace(row.keyword, &row);
        return map;
    }();
    const auto found = index.find(keyword);
    return found == index.end() ? nullptr : found->second;
}

int rtfKeywordCount() {
    return static_cast<int>(kKeywords.size());
}

}  // namespace modshelf::reports
