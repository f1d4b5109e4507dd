#include "core/settings/WineHiveEscaping.h"

#include <cstdio>

#include "core/settings/Utf16.h"
#include "core/settings/WineHive.h"

namespace modshelf::settings {

namespace {

bool isHexDigit(char32_t c) {
    return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
}

int hexValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return c - 'A' + 10;
}

// The letter escapes, indexed by control character; '.' where there is none.
constexpr std::string_view kLetterEscapes = ".......abtnvfr.............e....";

// Appends the character at line[pos] (raw UTF-8, or a byte that is not UTF-8
// taken as Latin-1) and returns the position after it.
std::size_t appendRawCharacter(std::string_view line, std::size_t pos, std::u16string& out) {
    const unsigned char lead = static_cast<unsigned char>(line[pos]);
    std::size_t length = 1;
    if (lead >= 0xF0)
        length = 4;
    else if (lead >= 0xE0)
        length = 3;
    else if (lead >= 0xC0)
        length = 2;
    if (pos + length > line.size()) length = 1;
    std::u16string units = utf8ToUtf16(line.substr(pos, length));
    out += units;
    // A malformed sequence converts byte by byte; take only its first byte.
    if (length > 1 && units.size() == length) {
        out.resize(out.size() - units.size() + 1);
        return pos + 1;
    }
    return pos + length;
}

}  // namespace

std::size_t parseHiveText(std::string_view line, std::size_t pos, char end, std::u16string& out) {
    while (pos < line.size() && line[pos] != end) {
        const char c = line[pos];
        if (c != '\\') {
            if (static_cast<unsigned char>(c) < 0x80) {
                out.push_back(static_cast<char16_t>(c));
                ++pos;
            } else {
                pos = appendRawCharacter(line, pos, out);
            }
            continue;
        }
        if (++pos >= line.size()) return std::string_view::npos;  // a backslash ends the line
        const char e = line[pos];
        switch (e) {
            case 'a':
                out.push_back(u'\a');
                ++pos;
                break;
            case 'b':
                out.push_back(u'\b');
                ++pos;
                break;
            case 'e':
                out.push_back(u'\x1b');
                ++pos;
                break;
            case 'f':
                out.push_back(u'\f');
                ++pos;
                break;
            case 'n':
                out.push_back(u'\n');
                ++pos;
                break;
            case 'r':
                out.push_back(u'\r');
                ++pos;
                break;
            case 't':
                out.push_back(u'\t');
                ++pos;
                break;
            case 'v':
                out.push_back(u'\v');
                ++pos;
                break;
            case 'x': {
                ++pos;
                if (pos >= line.size() || !isHexDigit(line[pos])) {
                    out.push_back(u'x');
                    break;
                }
                unsigned value = 0;
                for (int digits = 0; digits < 4 && pos < line.size() && isHexDigit(line[pos]);
                     ++digits)
                    value = value * 16 + hexValue(line[pos++]);
                out.push_back(static_cast<char16_t>(value));
                break;
            }
            case '0':
            case '1':
            case '2':
            case '3':
            case '4':
            case '5':
            case '6':
            case '7': {
                unsigned value = 0;
                for (int digits = 0;
                     digits < 3 && pos < line.size() && line[pos] >= '0' && line[pos] <= '7';
                     ++digits)
                    value = value * 8 + (line[pos++] - '0');
                out.push_back(static_cast<char16_t>(value));
                break;
            }
            default:
                if (static_cast<unsigned char>(e) < 0x80) {
                    out.push_back(static_cast<char16_t>(e));
                    ++pos;
                } else {
                    pos = appendRawCharacter(line, pos, out);
                }
        }
    }
    if (pos >= line.size()) return std::string_view::npos;
    return pos + 1;
}

std::string escapeHiveText(std::u16string_view text, std::string_view quote) {
    std::string out;
    out.reserve(text.size() + 8);
    char buffer[16];
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char16_t c = text[i];
        const bool hasNext = i + 1 < text.size();
        const char16_t next = hasNext ? text[i + 1] : 0;
        if (c > 127) {
            // The reader takes up to four hex digits, so pad when one follows.
            const bool padded = hasNext && next < 128 && isHexDigit(next);
            std::snprintf(buffer, sizeof buffer, padded ? "\\x%04x" : "\\x%x", unsigned{c});
            out += buffer;
        } else if (c < 32) {
            if (c == 0 && !hasNext) continue;  // the terminating NUL is implied
            if (kLetterEscapes[c] != '.') {
                out.push_back('\\');
                out.push_back(kLetterEscapes[c]);
            } else {
                const bool padded = hasNext && next >= '0' && next <= '7';
                std::snprintf(buffer, sizeof buffer, padded ? "\\%03o" : "\\%o", unsigned{c});
                out += buffer;
            }
        } else {
            const char ch = static_cast<char>(c);
            if (ch == '\\' || quote.find(ch) != std::string_view::npos) out.push_back('\\');
            out.push_back(ch);
        }
    }
    return out;
}

}  // namespace modshelf::settings
