#include "core/reports/CodePage.h"

#include <array>
#include <cstdint>

#ifdef _WIN32
#include <windows.h>
#endif

namespace modshelf::reports {

namespace {

// Windows-1252 bytes 0x80 to 0x9F; the five the code page leaves undefined
// keep their C1 control character, as Windows itself maps them.
constexpr std::array<std::uint16_t, 32> kHighControlRange = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

void appendUtf8(std::string& out, std::uint32_t codePoint) {
    if (codePoint < 0x80) {
        out += static_cast<char>(codePoint);
    } else if (codePoint < 0x800) {
        out += static_cast<char>(0xC0 | (codePoint >> 6));
        out += static_cast<char>(0x80 | (codePoint & 0x3F));
    } else {
        out += static_cast<char>(0xE0 | (codePoint >> 12));
        out += static_cast<char>(0x80 | ((codePoint >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (codePoint & 0x3F));
    }
}

// The length of the valid UTF-8 sequence at `pos`, or 0.
std::size_t utf8SequenceLength(std::string_view text, std::size_t pos) {
    const auto lead = static_cast<unsigned char>(text[pos]);
    if (lead < 0x80) return 1;
    std::size_t length = 0;
    std::uint32_t min = 0;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
        min = 0x80;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        min = 0x800;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        min = 0x10000;
    } else {
        return 0;
    }
    if (pos + length > text.size()) return 0;
    std::uint32_t codePoint = lead & (0x7F >> length);
    for (std::size_t i = 1; i < length; ++i) {
        const auto next = static_cast<unsigned char>(text[pos + i]);
        if ((next & 0xC0) != 0x80) return 0;
        codePoint = (codePoint << 6) | (next & 0x3F);
    }
    if (codePoint < min || codePoint > 0x10FFFF || (codePoint >= 0xD800 && codePoint <= 0xDFFF))
        return 0;
    return length;
}

}  // namespace

CodePage systemCodePage() {
#ifdef _WIN32
    return GetACP() == CP_UTF8 ? CodePage::Utf8 : CodePage::SingleByte;
#else
    return CodePage::Utf8;
#endif
}

std::string windows1252BytesToUtf8(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t pos = 0; pos < text.size();) {
        // Most text is ASCII: copy such runs whole.
        std::size_t ascii = pos;
        while (ascii < text.size() && static_cast<unsigned char>(text[ascii]) < 0x80) ++ascii;
        if (ascii > pos) {
            out.append(text.substr(pos, ascii - pos));
            pos = ascii;
            continue;
        }
        const std::size_t length = utf8SequenceLength(text, pos);
        if (length > 0) {
            out.append(text.substr(pos, length));
            pos += length;
            continue;
        }
        const auto byte = static_cast<unsigned char>(text[pos++]);
        appendUtf8(out, byte >= 0x80 && byte <= 0x9F ? kHighControlRange[byte - 0x80] : byte);
    }
    return out;
}

std::size_t characterCount(std::string_view text, CodePage codePage) {
    if (codePage == CodePage::SingleByte) return text.size();
    std::size_t count = 0;
    for (unsigned char c : text)
        if ((c & 0xC0) != 0x80) ++count;
    return count;
}

std::size_t bytesOfFirstCharacters(std::string_view text, std::size_t count, CodePage codePage) {
    if (codePage == CodePage::SingleByte) return count < text.size() ? count : text.size();
    std::size_t seen = 0;
    for (std::size_t pos = 0; pos < text.size(); ++pos) {
        if ((static_cast<unsigned char>(text[pos]) & 0xC0) == 0x80) continue;
        if (seen++ == count) return pos;
    }
    return text.size();
}

}  // namespace modshelf::reports
