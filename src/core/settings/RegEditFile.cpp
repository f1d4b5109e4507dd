#include "core/settings/RegEditFile.h"

#include <cstdio>
#include <cstdlib>
#include <optional>

#include "core/settings/Utf16.h"

namespace modshelf::settings {

namespace {

constexpr std::string_view kHeader = "Windows Registry Editor Version 5.00";

bool isTextType(std::uint32_t type) {
    return type == kRegSz || type == kRegExpandSz || type == kRegMultiSz;
}

std::string quoted(std::string_view text) {
    std::string out = "\"";
    for (char c : text) {
        if (c == '\\' || c == '"') out.push_back('\\');
        out.push_back(c);
    }
    out.push_back('"');
    return out;
}

std::string valueName(const std::string& name) {
    return name.empty() ? std::string("@") : quoted(name);
}

// A REG_SZ that the quoted form carries exactly: one final NUL, no other NUL
// and no control characters (whose escapes differ between tools).
bool fitsQuotedForm(const RegValue& value) {
    if (value.type != kRegSz || value.data.empty() || value.data.back() != '\0') return false;
    for (std::size_t i = 0; i + 1 < value.data.size(); ++i)
        if (static_cast<unsigned char>(value.data[i]) < 0x20) return false;
    return true;
}

std::string valueData(const RegValue& value) {
    if (fitsQuotedForm(value))
        return quoted(std::string_view(value.data).substr(0, value.data.size() - 1));
    if (value.type == kRegDword && value.data.size() == 4) {
        std::uint32_t number = 0;
        for (int i = 3; i >= 0; --i)
            number =
                (number << 8) | static_cast<unsigned char>(value.data[static_cast<std::size_t>(i)]);
        char buffer[16];
        std::snprintf(buffer, sizeof buffer, "dword:%08x", number);
        return buffer;
    }
    const std::string bytes =
        isTextType(value.type) ? utf16ToBytes(utf8ToUtf16(value.data)) : value.data;
    char buffer[16];
    std::string out;
    if (value.type == kRegBinary) {
        out = "hex:";
    } else {
        std::snprintf(buffer, sizeof buffer, "hex(%x):", value.type);
        out = buffer;
    }
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        std::snprintf(buffer, sizeof buffer, i ? ",%02x" : "%02x",
                      static_cast<unsigned char>(bytes[i]));
        out += buffer;
    }
    return out;
}

void skipSpaces(std::string_view line, std::size_t& pos) {
    while (pos < line.size() && (line[pos] == ' ' || line[pos] == '\t')) ++pos;
}

// A quoted text starting at line[pos] == '"'; pos ends after the closing quote.
bool parseQuoted(std::string_view line, std::size_t& pos, std::string& out) {
    out.clear();
    if (pos >= line.size() || line[pos] != '"') return false;
    for (++pos; pos < line.size(); ++pos) {
        char c = line[pos];
        if (c == '"') {
            ++pos;
            return true;
        }
        if (c == '\\' && pos + 1 < line.size()) {
            c = line[++pos];
            if (c == 'n')
                c = '\n';
            else if (c == 'r')
                c = '\r';
            else if (c == '0')
                c = '\0';
        }
        out.push_back(c);
    }
    return false;
}

bool parseHex(std::string_view text, std::string& bytes) {
    bytes.clear();
    std::size_t pos = 0;
    while (pos < text.size()) {
        skipSpaces(text, pos);
        if (pos >= text.size()) break;
        if (pos + 2 > text.size()) return false;
        const std::string digits(text.substr(pos, 2));
        char* end = nullptr;
        const unsigned long byte = std::strtoul(digits.c_str(), &end, 16);
        if (end != digits.c_str() + 2) return false;
        bytes.push_back(static_cast<char>(byte));
        pos += 2;
        skipSpaces(text, pos);
        if (pos < text.size() && text[pos] != ',') return false;
        ++pos;
    }
    return true;
}

// Only hex data goes on over several lines.
bool isHexValueLine(std::string_view line) {
    std::size_t pos = 0;
    std::string name;
    if (line.starts_with('@'))
        pos = 1;
    else if (!parseQuoted(line, pos, name))
        return false;
    skipSpaces(line, pos);
    if (pos >= line.size() || line[pos] != '=') return false;
    ++pos;
    skipSpaces(line, pos);
    return line.substr(pos).starts_with("hex");
}

bool parseData(std::string_view data, RegValue& value) {
    if (data.starts_with("\"")) {
        std::size_t pos = 0;
        std::string text;
        if (!parseQuoted(data, pos, text)) return false;
        value = RegValue::fromString(text);
        return true;
    }
    if (data.starts_with("dword:")) {
        const std::string digits(data.substr(6));
        char* end = nullptr;
        const unsigned long number = std::strtoul(digits.c_str(), &end, 16);
        if (end == digits.c_str()) return false;
        value = RegValue::fromDword(static_cast<std::uint32_t>(number));
        return true;
    }
    std::uint32_t type = kRegBinary;
    std::string_view hex;
    if (data.starts_with("hex:")) {
        hex = data.substr(4);
    } else if (data.starts_with("hex(")) {
        const std::size_t close = data.find("):");
        if (close == std::string_view::npos) return false;
        const std::string digits(data.substr(4, close - 4));
        char* end = nullptr;
        type = static_cast<std::uint32_t>(std::strtoul(digits.c_str(), &end, 16));
        if (end == digits.c_str()) return false;
        hex = data.substr(close + 2);
    } else {
        return false;
    }
    std::string bytes;
    if (!parseHex(hex, bytes)) return false;
    if (isTextType(type)) {
        if (bytes.size() % 2 != 0) return false;
        bytes = utf16ToUtf8(bytesToUtf16(bytes));
    }
    value = RegValue::fromBytes(bytes, type);
    return true;
}

}  // namespace

std::string regEditText(const std::vector<RegEditChange>& changes) {
    std::string out(kHeader);
    out += "\r\n";
    const std::string* openKey = nullptr;
    for (const auto& change : changes) {
        const bool deletesKey = change.kind == RegEditChange::Kind::DeleteKey;
        if (deletesKey || change.kind == RegEditChange::Kind::CreateKey || !openKey ||
            *openKey != change.keyPath) {
            out += "\r\n[";
            if (deletesKey) out += "-";
            out += change.keyPath + "]\r\n";
            openKey = deletesKey ? nullptr : &change.keyPath;
        }
        if (change.kind == RegEditChange::Kind::SetValue)
            out += valueName(change.name) + "=" + valueData(change.value) + "\r\n";
        else if (change.kind == RegEditChange::Kind::DeleteValue)
            out += valueName(change.name) + "=-\r\n";
    }
    return out;
}

namespace {

void collectChanges(const KeyNode& key, const std::string& path,
                    std::vector<RegEditChange>& changes) {
    changes.push_back({RegEditChange::Kind::CreateKey, path, {}, {}});
    for (const auto& value : key.values)
        changes.push_back({RegEditChange::Kind::SetValue, path, value.name, value.value});
    for (const auto& child : key.subkeys) collectChanges(child, path + "\\" + child.name, changes);
}

}  // namespace

std::string regEditTextOf(const RegistryTree& tree, std::string_view rootName) {
    std::vector<RegEditChange> changes;
    collectChanges(tree.root(), std::string(rootName), changes);
    return regEditText(changes);
}

bool parseRegEdit(std::string_view text, std::string_view rootName, RegistryTree& tree,
                  std::string& error) {
    tree = RegistryTree{};
    return applyRegEdit(text, rootName, tree, error);
}

namespace {

// The text's lines, a hex value that goes on over several lines joined into
// one. False when the text does not begin with a regedit header.
bool logicalLines(std::string_view text, std::vector<std::string>& lines, std::string& error) {
    lines.clear();
    std::string current;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find('\n', start);
        if (end == std::string_view::npos) end = text.size();
        std::string_view line = text.substr(start, end - start);
        if (line.ends_with('\r')) line.remove_suffix(1);
        start = end + 1;
        // A hex value goes on after a final backslash, indented.
        if (!current.empty()) {
            std::size_t pos = 0;
            skipSpaces(line, pos);
            line.remove_prefix(pos);
        }
        current += line;
        if (current.ends_with('\\') && isHexValueLine(current)) {
            current.pop_back();
            continue;
        }
        lines.push_back(std::move(current));
        current.clear();
    }
    if (!current.empty()) lines.push_back(std::move(current));
    if (lines.empty() || (lines.front() != kHeader && lines.front() != "REGEDIT4")) {
        error = "The registry export does not begin with \"" + std::string(kHeader) + "\".";
        return false;
    }
    return true;
}

// A "[KEY]" or "[-KEY]" line: the path between the brackets and whether it removes.
bool parseKeyLine(std::string_view line, std::string_view& path, bool& remove) {
    const std::size_t close = line.rfind(']');
    if (close == std::string_view::npos) return false;
    path = line.substr(1, close - 1);
    remove = path.starts_with('-');
    if (remove) path.remove_prefix(1);
    return true;
}

enum class ValueLine { Unreadable, Set, Remove };

ValueLine parseValueLine(std::string_view line, std::string& name, RegValue& value) {
    std::size_t pos = 0;
    name.clear();
    if (line.front() == '@') {
        pos = 1;
    } else if (!parseQuoted(line, pos, name)) {
        return ValueLine::Unreadable;
    }
    skipSpaces(line, pos);
    if (pos >= line.size() || line[pos] != '=') return ValueLine::Unreadable;
    ++pos;
    skipSpaces(line, pos);
    if (line.substr(pos) == "-") return ValueLine::Remove;
    return parseData(line.substr(pos), value) ? ValueLine::Set : ValueLine::Unreadable;
}

}  // namespace

bool applyRegEdit(std::string_view text, std::string_view rootName, RegistryTree& tree,
                  std::string& error) {
    std::vector<std::string> lines;
    if (!logicalLines(text, lines, error)) return false;

    KeyNode* key = nullptr;
    for (std::size_t i = 1; i < lines.size(); ++i) {
        std::string_view line = lines[i];
        if (line.empty() || line.front() == ';') continue;
        if (line.front() == '[') {
            key = nullptr;
            std::string_view path;
            bool remove = false;
            if (!parseKeyLine(line, path, remove)) continue;
            if (path.size() < rootName.size() ||
                !equalsNoCase(path.substr(0, rootName.size()), rootName))
                continue;
            path.remove_prefix(rootName.size());
            if (!path.empty() && path.front() != '\\') continue;
            if (remove)
                tree.remove(std::string(path));
            else
                key = &tree.findOrCreate(std::string(path));
            continue;
        }
        if (!key) continue;
        std::string name;
        RegValue value;
        switch (parseValueLine(line, name, value)) {
            case ValueLine::Set:
                key->setValue(name, std::move(value));
                break;
            case ValueLine::Remove:
                key->removeValue(name);
                break;
            case ValueLine::Unreadable:
                break;
        }
    }
    return true;
}

bool parseRegEditChanges(std::string_view text, std::vector<RegEditChange>& changes,
                         std::string& error) {
    changes.clear();
    std::vector<std::string> lines;
    if (!logicalLines(text, lines, error)) return false;

    std::optional<std::string> key;  // the key that value lines belong to
    for (std::size_t i = 1; i < lines.size(); ++i) {
        std::string_view line = lines[i];
        if (line.empty() || line.front() == ';') continue;
        if (line.front() == '[') {
            key.reset();
            std::string_view path;
            bool remove = false;
            if (!parseKeyLine(line, path, remove) || path.empty()) continue;
            RegEditChange change;
            change.kind = remove ? RegEditChange::Kind::DeleteKey : RegEditChange::Kind::CreateKey;
            change.keyPath = std::string(path);
            if (!remove) key = change.keyPath;
            changes.push_back(std::move(change));
            continue;
        }
        if (!key) continue;
        RegEditChange change;
        change.keyPath = *key;
        switch (parseValueLine(line, change.name, change.value)) {
            case ValueLine::Set:
                change.kind = RegEditChange::Kind::SetValue;
                break;
            case ValueLine::Remove:
                change.kind = RegEditChange::Kind::DeleteValue;
                change.value = {};
                break;
            case ValueLine::Unreadable:
                continue;
        }
        changes.push_back(std::move(change));
    }
    return true;
}

std::string regEditFileBytes(std::string_view text) {
    return std::string("\xff\xfe", 2) + utf16ToBytes(utf8ToUtf16(text));
}

std::string regEditFileText(std::string_view bytes) {
    if (bytes.starts_with("\xff\xfe")) return utf16ToUtf8(bytesToUtf16(bytes.substr(2)));
    if (bytes.starts_with("\xef\xbb\xbf")) return std::string(bytes.substr(3));
    return std::string(bytes);
}

}  // namespace modshelf::settings
