#include "core/settings/WineHive.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>

#include "core/settings/Utf16.h"
#include "core/settings/WineHiveEscaping.h"

namespace modshelf::settings {

namespace {

constexpr std::size_t npos = std::string_view::npos;

bool isSpace(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f';
}
bool isHexDigit(char c) {
    return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
}
unsigned hexDigitValue(char c) {
    if (c >= '0' && c <= '9') return static_cast<unsigned>(c - '0');
    if (c >= 'a' && c <= 'f') return static_cast<unsigned>(c - 'a' + 10);
    return static_cast<unsigned>(c - 'A' + 10);
}
bool isTextType(std::uint32_t type) {
    return type == kRegSz || type == kRegExpandSz || type == kRegMultiSz;
}
std::size_t skipSpaces(std::string_view line, std::size_t pos) {
    while (pos < line.size() && isSpace(line[pos])) ++pos;
    return pos;
}

std::vector<std::string_view> splitLines(std::string_view text) {
    std::vector<std::string_view> lines;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find('\n', start);
        std::string_view line = text.substr(start, end == npos ? npos : end - start);
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        lines.push_back(line);
        if (end == npos) break;
        start = end + 1;
    }
    return lines;
}

// Reads comma-separated hex bytes, following "\" continuations onto the next
// lines. `index` is the value's first line on entry and its last on return.
bool parseHexBytes(const std::vector<std::string_view>& lines, std::size_t& index, std::size_t pos,
                   std::string& bytes) {
    std::string_view line = lines[index];
    for (;;) {
        while (pos < line.size() && isHexDigit(line[pos])) {
            unsigned value = 0;
            std::size_t digits = 0;
            while (pos < line.size() && isHexDigit(line[pos])) {
                value = value * 16 + hexDigitValue(line[pos]);
                if (++digits > 2) return false;
                ++pos;
            }
            bytes.push_back(static_cast<char>(value));
            pos = skipSpaces(line, pos);
            if (pos < line.size() && line[pos] == ',') ++pos;
            pos = skipSpaces(line, pos);
        }
        pos = skipSpaces(line, pos);
        if (pos == line.size()) return true;
        if (line[pos] != '\\' || index + 1 >= lines.size()) return false;
        line = lines[++index];
        pos = skipSpaces(line, 0);
    }
}

// Parses the value starting at lines[index] into `key`; on success `index` is
// the value's last line.
bool parseValue(const std::vector<std::string_view>& lines, std::size_t& index, KeyNode& key) {
    const std::string_view line = lines[index];
    std::size_t pos = skipSpaces(line, 0);
    std::u16string name;
    if (line[pos] == '@') {
        ++pos;
    } else {
        pos = parseHiveText(line, pos + 1, '"', name);
        if (pos == npos) return false;
    }
    pos = skipSpaces(line, pos);
    if (pos >= line.size() || line[pos] != '=') return false;
    pos = skipSpaces(line, pos + 1);
    const std::string_view data = line.substr(pos);

    RegValue value;
    auto parseString = [&](std::size_t prefix, std::uint32_t type) {
        std::u16string text;
        if (parseHiveText(line, pos + prefix, '"', text) == npos) return false;
        text.push_back(u'\0');
        value = RegValue::fromBytes(utf16ToUtf8(text), type);
        return true;
    };
    bool ok;
    if (data.starts_with("\"")) {
        ok = parseString(1, kRegSz);
    } else if (data.starts_with("str:\"")) {
        ok = parseString(5, kRegSz);
    } else if (data.starts_with("str(2):\"")) {
        ok = parseString(8, kRegExpandSz);
    } else if (data.starts_with("str(7):\"")) {
        ok = parseString(8, kRegMultiSz);
    } else if (data.starts_with("dword:")) {
        const std::string digits(data.substr(6));
        value = RegValue::fromDword(
            static_cast<std::uint32_t>(std::strtoul(digits.c_str(), nullptr, 16)));
        ok = true;
    } else if (data.starts_with("hex:") || data.starts_with("hex(")) {
        std::size_t start = pos + 4;
        std::uint32_t type = kRegBinary;
        if (data[3] == '(') {
            const std::string rest(data.substr(4));
            char* end = nullptr;
            type = static_cast<std::uint32_t>(std::strtoul(rest.c_str(), &end, 16));
            if (end == rest.c_str() || end[0] != ')' || end[1] != ':') return false;
            start = pos + 4 + static_cast<std::size_t>(end - rest.c_str()) + 2;
        }
        std::string bytes;
        std::size_t last = index;
        if (!parseHexBytes(lines, last, start, bytes)) return false;
        if (isTextType(type)) {
            // Text kept as bytes: UTF-16 on Wine's side. An odd length has no
            // UTF-8 form; such a value stays as the file has it.
            if (bytes.size() % 2 != 0) return false;
            bytes = utf16ToUtf8(bytesToUtf16(bytes));
        }
        value = RegValue::fromBytes(bytes, type);
        index = last;
        ok = true;
    } else {
        ok = false;
    }
    if (!ok) return false;
    key.setValue(utf16ToUtf8(name), std::move(value));
    return true;
}

// Parses "[path] seconds" (the line without its leading spaces and "[").
bool parseKeyHeader(std::string_view line, std::size_t pos, std::string& path,
                    std::int64_t& seconds) {
    std::u16string name;
    pos = parseHiveText(line, pos, ']', name);
    if (pos == npos) return false;
    path = utf16ToUtf8(name);
    pos = skipSpaces(line, pos);
    seconds = 0;
    bool tooLarge = false;
    while (pos < line.size() && line[pos] >= '0' && line[pos] <= '9') {
        const int digit = line[pos++] - '0';
        tooLarge = tooLarge || seconds > (INT64_MAX - digit) / 10;
        if (!tooLarge) seconds = seconds * 10 + digit;
    }
    // A time past any clock is no time: unknown, as when it is missing.
    if (tooLarge) seconds = 0;
    return true;
}

std::uint64_t parseHex64(std::string_view digits) {
    std::uint64_t value = 0;
    for (char c : digits) {
        if (!isHexDigit(c)) break;
        value = (value << 4) | hexDigitValue(c);
    }
    return value;
}

void appendHexByte(std::string& out, unsigned char byte) {
    static constexpr char kDigits[] = "0123456789abcdef";
    out.push_back(kDigits[byte >> 4]);
    out.push_back(kDigits[byte & 0xF]);
}

void writeValue(std::string& out, const NamedValue& named) {
    std::size_t count;
    if (named.name.empty()) {
        out += "@=";
        count = 2;
    } else {
        const std::string escaped = escapeHiveText(utf8ToUtf16(named.name), "\"");
        out.push_back('"');
        out += escaped;
        out += "\"=";
        count = escaped.size() + 3;
    }
    const RegValue& value = named.value;
    char buffer[32];
    if (isTextType(value.type) && !value.data.empty() && value.data.back() == '\0') {
        if (value.type != kRegSz) {
            std::snprintf(buffer, sizeof buffer, "str(%x):", unsigned{value.type});
            out += buffer;
        }
        out.push_back('"');
        out += escapeHiveText(utf8ToUtf16(value.data), "\"");
        out += "\"\n";
        return;
    }
    if (value.type == kRegDword && value.data.size() == 4) {
        std::uint32_t number = 0;
        for (int i = 3; i >= 0; --i)
            number = (number << 8) | static_cast<unsigned char>(value.data[i]);
        std::snprintf(buffer, sizeof buffer, "dword:%08x\n", unsigned{number});
        out += buffer;
        return;
    }
    const std::string bytes =
        isTextType(value.type) ? utf16ToBytes(utf8ToUtf16(value.data)) : value.data;
    if (value.type == kRegBinary) {
        std::snprintf(buffer, sizeof buffer, "hex:");
    } else {
        std::snprintf(buffer, sizeof buffer, "hex(%x):", unsigned{value.type});
    }
    out += buffer;
    count += std::string_view(buffer).size();
    // Wrap as Wine does: after a comma once the line passes 76 columns.
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        appendHexByte(out, static_cast<unsigned char>(bytes[i]));
        count += 2;
        if (i + 1 < bytes.size()) {
            out.push_back(',');
            if (++count > 76) {
                out += "\\\n  ";
                count = 2;
            }
        }
    }
    out.push_back('\n');
}

void writeKey(std::string& out, const KeyNode& key, const std::string& path, bool isRoot) {
    // A key with subkeys but no values is written implicitly by its subkeys.
    const bool explicitKey =
        !key.values.empty() || !key.extraLines.empty() || (key.subkeys.empty() && !isRoot);
    if (explicitKey) {
        out += "\n[";
        out += path;
        out.push_back(']');
        if (key.modified != 0) {
            out.push_back(' ');
            out += std::to_string(key.modified);
        }
        out.push_back('\n');
        if (key.fileTime != 0) {
            char buffer[40];
            std::snprintf(buffer, sizeof buffer, "#time=%x%08x\n",
                          static_cast<unsigned>(key.fileTime >> 32),
                          static_cast<unsigned>(key.fileTime & 0xFFFFFFFFu));
            out += buffer;
        }
        for (const auto& line : key.extraLines) {
            out += line;
            out.push_back('\n');
        }
        for (const auto& value : key.values) writeValue(out, value);
    }
    for (const auto& child : key.subkeys) {
        std::string childPath = path;
        if (!isRoot) childPath += "\\\\";
        childPath += escapeHiveText(utf8ToUtf16(child.name), "[]");
        writeKey(out, child, childPath, false);
    }
}

}  // namespace

std::string WineHive::arch() const {
    for (const auto& line : header)
        if (line.starts_with("#arch=")) return line.substr(6);
    return {};
}

WineHive newWineHive(HiveBranch branch, const std::string& arch) {
    WineHive hive;
    hive.header.emplace_back(kWineHiveSignature);
    hive.header.emplace_back(branch == HiveBranch::CurrentUser
                                 ? ";; All keys relative to REGISTRY\\\\User\\\\S-1-5-21-0-0-0-1000"
                                 : ";; All keys relative to REGISTRY\\\\Machine");
    if (!arch.empty()) {
        hive.header.emplace_back();
        hive.header.push_back("#arch=" + arch);
    }
    return hive;
}

bool parseWineHive(std::string_view text, WineHive& hive, std::string& error) {
    hive = WineHive{};
    const std::vector<std::string_view> lines = splitLines(text);
    if (lines.empty() || lines[0] != kWineHiveSignature) {
        error = "The file is not a Wine registry file: its first line is not \"" +
                std::string(kWineHiveSignature) + "\".";
        return false;
    }

    enum class Place { Header, Key, Orphan } place = Place::Header;
    KeyNode* key = nullptr;
    auto keep = [&](std::string_view line) {
        if (place == Place::Header)
            hive.header.emplace_back(line);
        else if (place == Place::Key)
            key->extraLines.emplace_back(line);
        else
            hive.orphanLines.emplace_back(line);
    };

    hive.header.emplace_back(lines[0]);
    for (std::size_t i = 1; i < lines.size(); ++i) {
        const std::string_view line = lines[i];
        const std::size_t pos = skipSpaces(line, 0);
        const char first = pos < line.size() ? line[pos] : '\0';
        if (first == '[') {
            std::string path;
            std::int64_t seconds = 0;
            if (parseKeyHeader(line, pos + 1, path, seconds)) {
                place = Place::Key;
                key = &hive.tree.findOrCreate(path);
                if (seconds != 0) key->modified = seconds;
            } else {
                // Wine skips everything up to the next key it can read.
                place = Place::Orphan;
                key = nullptr;
                hive.orphanLines.emplace_back();
                hive.orphanLines.emplace_back(line);
            }
        } else if (first == '\0') {
            // Blank lines separate keys; only the header keeps its own.
            if (place == Place::Header) hive.header.emplace_back(line);
        } else if (place == Place::Key && (first == '"' || first == '@')) {
            std::size_t last = i;
            if (parseValue(lines, last, *key))
                i = last;
            else
                keep(line);
        } else if (place == Place::Key && line.substr(pos).starts_with("#time=")) {
            key->fileTime = parseHex64(line.substr(pos + 6));
        } else {
            keep(line);
        }
    }
    while (hive.header.size() > 1 && hive.header.back().empty()) hive.header.pop_back();
    return true;
}

std::string serializeWineHive(const WineHive& hive) {
    return serializeWineHive(hive.header, hive.tree, hive.orphanLines);
}

std::string serializeWineHive(const std::vector<std::string>& header, const RegistryTree& tree,
                              const std::vector<std::string>& orphanLines) {
    std::string out;
    out.reserve(64 * 1024);
    for (const auto& line : header) {
        out += line;
        out.push_back('\n');
    }
    writeKey(out, tree.root(), "", true);
    for (const auto& line : orphanLines) {
        out += line;
        out.push_back('\n');
    }
    return out;
}

}  // namespace modshelf::settings
