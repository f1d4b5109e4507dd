#include "core/settings/XmlEscaping.h"

#include <array>
#include <cstdint>
#include <optional>

#include "core/settings/Utf16.h"

namespace modshelf::settings {

namespace {

struct NamedEntity {
    std::string_view entity;
    char character;
};
constexpr std::array<NamedEntity, 5> kNamedEntities{{
    {"&amp;", '&'},
    {"&quot;", '"'},
    {"&lt;", '<'},
    {"&gt;", '>'},
    {"&apos;", '\''},
}};

int hexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

// "&#10;" or "&#x0a;" at the front of text: the code point and the length.
std::optional<std::pair<char32_t, std::size_t>> characterReference(std::string_view text) {
    if (text.size() < 4 || text[0] != '&' || text[1] != '#') return std::nullopt;
    const bool hex = text[2] == 'x' || text[2] == 'X';
    std::size_t i = hex ? 3 : 2;
    const std::size_t digitsStart = i;
    std::uint32_t value = 0;
    for (; i < text.size() && text[i] != ';'; ++i) {
        const int digit =
            hex ? hexDigit(text[i]) : (text[i] >= '0' && text[i] <= '9' ? text[i] - '0' : -1);
        if (digit < 0 || i - digitsStart >= 8) return std::nullopt;
        value = value * (hex ? 16 : 10) + static_cast<std::uint32_t>(digit);
    }
    if (i == digitsStart || i >= text.size()) return std::nullopt;
    if (value == 0 || value > 0x10FFFF || (value >= 0xD800 && value <= 0xDFFF)) return std::nullopt;
    return std::make_pair(static_cast<char32_t>(value), i + 1);
}

}  // namespace

std::string EscapeXmlText(std::string_view text) {
    std::string out;
    out.reserve(text.size() + 8);
    for (const char c : text) {
        switch (c) {
            case '&':
                out += "&amp;";
                break;
            case '"':
                out += "&quot;";
                break;
            case '<':
                out += "&lt;";
                break;
            case '\r':
                out += "&#13;";
                break;
            case '\n':
                out += "&#10;";
                break;
            default:
                out += c;
        }
    }
    return out;
}

std::string UnescapeXmlText(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    std::size_t i = 0;
    while (i < text.size()) {
        if (text[i] != '&') {
            out += text[i++];
            continue;
        }
        const std::string_view rest = text.substr(i);
        bool decoded = false;
        for (const auto& named : kNamedEntities) {
            if (rest.starts_with(named.entity)) {
                out += named.character;
                i += named.entity.size();
                decoded = true;
                break;
            }
        }
        if (decoded) continue;
        if (const auto reference = characterReference(rest)) {
            appendUtf8(out, reference->first);
            i += reference->second;
            continue;
        }
        out += text[i++];
    }
    return out;
}

bool isValidUtf8(std::string_view text) {
    std::size_t i = 0;
    const std::size_t n = text.size();
    while (i < n) {
        const auto c = static_cast<unsigned char>(text[i]);
        if (c < 0x80) {
            ++i;
            continue;
        }
        std::size_t length = 0;
        char32_t codePoint = 0;
        char32_t minimum = 0;
        if ((c & 0xE0) == 0xC0) {
            length = 2, codePoint = c & 0x1F, minimum = 0x80;
        } else if ((c & 0xF0) == 0xE0) {
            length = 3, codePoint = c & 0x0F, minimum = 0x800;
        } else if ((c & 0xF8) == 0xF0) {
            length = 4, codePoint = c & 0x07, minimum = 0x10000;
        } else {
            return false;
        }
        if (n - i < length) return false;
        for (std::size_t k = 1; k < length; ++k) {
            const auto next = static_cast<unsigned char>(text[i + k]);
            if ((next & 0xC0) != 0x80) return false;
            codePoint = (codePoint << 6) | (next & 0x3F);
        }
        if (codePoint < minimum || codePoint > 0x10FFFF) return false;
        if (codePoint >= 0xD800 && codePoint <= 0xDFFF) return false;
        i += length;
    }
    return true;
}

}  // namespace modshelf::settings
