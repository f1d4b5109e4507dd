#include "core/settings/RegistryXmlValues.h"

#include <array>
#include <cstdio>

#include "core/settings/Utf16.h"

namespace modshelf::settings {

namespace {

struct TypeName {
    const char* name;
    std::uint32_t type;
};
constexpr std::array<TypeName, 8> kTypeNames{{
    {"REG_BINARY", kRegBinary},
    {"REG_DWORD", kRegDword},
    {"REG_SZ", kRegSz},
    {"REG_EXPAND_SZ", kRegExpandSz},
    {"REG_MULTI_SZ", kRegMultiSz},
    {"REG_QWORD", kRegQword},
    {"REG_RESOURCE_LIST", kRegResourceList},
    {"REG_RESOURCE_REQUIREMENTS_LIST", kRegResourceRequirementsList},
}};

const char* nameOfType(std::uint32_t type) {
    for (const auto& entry : kTypeNames)
        if (entry.type == type) return entry.name;
    return "";
}

std::string upToNul(const std::string& data) {
    return data.substr(0, data.find('\0'));
}

std::string hexBytes(const std::string& data) {
    static constexpr char kDigits[] = "0123456789abcdef";
    std::string out;
    out.reserve(data.size() * 3);
    for (std::size_t i = 0; i < data.size(); ++i) {
        if (i > 0) out += ' ';
        const auto byte = static_cast<unsigned char>(data[i]);
        out += kDigits[byte >> 4];
        out += kDigits[byte & 0xF];
    }
    return out;
}

// The byte at `index`, or 0 past the end of short data.
unsigned byteAt(const std::string& data, std::size_t index) {
    return index < data.size() ? static_cast<unsigned char>(data[index]) : 0u;
}

int hexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

// "0x" and exactly `digits` hex digits at the front; whatever follows (the
// decimal part of a number) is not read.
std::optional<std::uint64_t> parseHexNumber(const std::string& text, std::size_t digits) {
    if (text.size() < digits + 2 || text[0] != '0' || (text[1] != 'x' && text[1] != 'X'))
        return std::nullopt;
    std::uint64_t number = 0;
    for (std::size_t i = 0; i < digits; ++i) {
        const int digit = hexDigit(text[2 + i]);
        if (digit < 0) return std::nullopt;
        number = (number << 4) | static_cast<std::uint64_t>(digit);
    }
    if (text.size() > digits + 2 && hexDigit(text[digits + 2]) >= 0) return std::nullopt;
    return number;
}

std::optional<std::string> parseHexBytes(const std::string& text) {
    if (text.empty()) return std::string();
    const std::size_t count = (text.size() + 1) / 3;
    // Pairs separated by single characters, at most one trailing separator.
    if (count == 0 || text.size() > count * 3) return std::nullopt;
    std::string bytes;
    bytes.reserve(count);
    for (std::size_t i = 0; i < count; ++i) {
        const int high = hexDigit(text[3 * i]);
        const int low = hexDigit(text[3 * i + 1]);
        if (high < 0 || low < 0) return std::nullopt;
        if (3 * i + 2 < text.size() && text[3 * i + 2] != ' ') return std::nullopt;
        bytes += static_cast<char>((high << 4) | low);
    }
    return bytes;
}

std::string littleEndian(std::uint64_t number, int bytes) {
    std::string out;
    for (int i = 0; i < bytes; ++i) out += static_cast<char>((number >> (8 * i)) & 0xFF);
    return out;
}

}  // namespace

RegistryXmlValueText formatRegistryXmlValue(const RegValue& value) {
    RegistryXmlValueText out;
    const std::string& data = value.data;
    switch (value.type) {
        case kRegSz:
        case kRegNone:
            out.text = upToNul(data);
            return out;
        case kRegLink:
            out.text = upToNul(utf16ToUtf8(bytesToUtf16(data)));
            out.typeName = "REG_SZ";
            break;
        case kRegExpandSz:
            out.text = upToNul(data);
            break;
        case kRegBinary:
        case kRegResourceList:
        case kRegResourceRequirementsList:
            out.text = hexBytes(data);
            break;
        case kRegDword:
        case kRegDwordBigEndian: {
            const bool big = value.type == kRegDwordBigEndian;
            std::uint32_t number = 0;
            for (std::size_t i = 0; i < 4; ++i)
                number |= byteAt(data, i) << (8 * (big ? 3 - i : i));
            char text[32];
            std::snprintf(text, sizeof text, "0x%08x (%d)", number,
                          static_cast<std::int32_t>(number));
            out.text = text;
            out.typeName = "REG_DWORD";
            break;
        }
        case kRegMultiSz: {
            std::string body = data;
            // The list ends in two NULs (one for an empty list); the NULs
            // between the strings become line breaks.
            if (body.ends_with(std::string(2, '\0')))
                body.resize(body.size() - 2);
            else if (body.ends_with('\0'))
                body.pop_back();
            for (const char c : body) {
                if (c == '\0')
                    out.text += "\r\n";
                else
                    out.text += c;
            }
            break;
        }
        case kRegQword: {
            char text[24];
            std::string digits = "0x";
            for (int i = 7; i >= 0; --i) {
                std::snprintf(text, sizeof text, "%02x", byteAt(data, static_cast<std::size_t>(i)));
                digits += text;
            }
            out.text = digits;
            break;
        }
        default:
            out.text = upToNul(data);
            out.writeType = true;  // an empty "type": read back as text
            return out;
    }
    if (out.typeName.empty()) out.typeName = nameOfType(value.type);
    out.writeType = true;
    return out;
}

std::uint32_t registryXmlType(const std::string& typeName) {
    for (const auto& entry : kTypeNames)
        if (equalsNoCase(typeName, entry.name)) return entry.type;
    return kRegSz;
}

std::optional<RegValue> parseRegistryXmlValue(const std::string& typeName,
                                              const std::string& text) {
    const std::uint32_t type = registryXmlType(typeName);
    switch (type) {
        case kRegBinary:
        case kRegResourceList:
        case kRegResourceRequirementsList: {
            auto bytes = parseHexBytes(text);
            if (!bytes) return std::nullopt;
            return RegValue::fromBytes(*bytes, type);
        }
        case kRegDword: {
            if (text.empty()) return RegValue::fromDword(0);
            const auto number = parseHexNumber(text, 8);
            if (!number) return std::nullopt;
            return RegValue::fromDword(static_cast<std::uint32_t>(*number));
        }
        case kRegQword: {
            if (text.empty()) return RegValue::fromBytes(littleEndian(0, 8), kRegQword);
            const auto number = parseHexNumber(text, 16);
            if (!number) return std::nullopt;
            return RegValue::fromBytes(littleEndian(*number, 8), kRegQword);
        }
        case kRegMultiSz: {
            if (text.empty()) return RegValue::fromBytes(std::string(1, '\0'), kRegMultiSz);
            std::string bytes;
            bytes.reserve(text.size() + 2);
            for (const char c : text) {
                if (c == '\r') continue;
                bytes += c == '\n' ? '\0' : c;
            }
            bytes.append(2, '\0');
            return RegValue::fromBytes(bytes, kRegMultiSz);
        }
        case kRegExpandSz:
            return RegValue::fromString(text, kRegExpandSz);
        default:
            return RegValue::fromString(text, kRegSz);
    }
}

}  // namespace modshelf::settings
