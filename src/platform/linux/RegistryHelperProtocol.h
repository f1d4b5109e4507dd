#pragma once

// How Modshelf talks to modshelf-reg.exe, its registry helper inside the Wine
// prefix. Plain standard C++: the helper (built for Windows) includes it too,
// so both ends read and write the same bytes.
//
// Everything travels in frames over the helper's standard input and output:
// a header line "<VERB> <length>\n", then exactly <length> bytes. Lengths make
// any byte safe in a payload (NUL, line ends, quotes). The helper first writes
// the line kGreeting, so that anything Wine itself prints before the program
// runs is passed over.
//
// Requests:
//   EXPORT  payload: a key path with its root ("HKEY_CURRENT_USER\Software");
//           reply OK with the key and everything below it as regedit export
//           text in UTF-8 (the form a registry export reads).
//   SAVE    payload: a key path as for EXPORT; reply OK with the key and
//           everything below it in Wine's registry file form ("WINE REGISTRY
//           Version 2", keys relative to that key), written by the server in
//           one step. Volatile keys are not in it.
//   APPLY   payload: edits (encodeEdits); reply OK with the edits that the
//           registry refused (encodeFailures), empty when every one was made.
// Either reply may be ERR, with a message in UTF-8, when the request as a
// whole could not be served.

#include <charconv>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace modshelf::reghelper {

inline constexpr std::string_view kGreeting = "MODSHELF-REG 1";
inline constexpr std::string_view kExport = "EXPORT";
inline constexpr std::string_view kSave = "SAVE";
inline constexpr std::string_view kApply = "APPLY";
inline constexpr std::string_view kOk = "OK";
inline constexpr std::string_view kErr = "ERR";

// No honest frame comes near this; a longer one means the stream is garbled.
inline constexpr std::size_t kMaxFrame = std::size_t(1) << 30;

// One change. Paths and names are UTF-8; `data` holds the value's bytes as the
// registry stores them (text types already in UTF-16LE with their NULs).
struct Edit {
    enum class Op : char { CreateKey = 'K', DeleteKey = 'X', SetValue = 'S', DeleteValue = 'D' };
    Op op = Op::CreateKey;
    std::string key;  // with its root: "HKEY_CURRENT_USER\Software\..."
    std::string name;
    std::uint32_t type = 0;
    std::string data;
    bool operator==(const Edit&) const = default;
};

// An edit that the registry refused: its index in the request and the
// Windows error code.
struct Failure {
    std::size_t index = 0;
    std::uint32_t code = 0;
    bool operator==(const Failure&) const = default;
};

inline std::string frame(std::string_view verb, std::string_view payload) {
    std::string out(verb);
    out += ' ';
    out += std::to_string(payload.size());
    out += '\n';
    out += payload;
    return out;
}

template <typename Number>
bool parseNumber(std::string_view text, Number& number) {
    if (text.empty()) return false;
    const auto result = std::from_chars(text.data(), text.data() + text.size(), number);
    return result.ec == std::errc() && result.ptr == text.data() + text.size();
}

// The header line without its "\n".
inline bool parseFrameHeader(std::string_view line, std::string& verb, std::size_t& length) {
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    const std::size_t space = line.find(' ');
    if (space == std::string_view::npos || space == 0) return false;
    verb.assign(line.substr(0, space));
    return parseNumber(line.substr(space + 1), length) && length <= kMaxFrame;
}

// A field is "<length>:<bytes>".
inline void appendField(std::string& out, std::string_view field) {
    out += std::to_string(field.size());
    out += ':';
    out += field;
}

inline bool readField(std::string_view in, std::size_t& pos, std::string& field) {
    const std::size_t colon = in.find(':', pos);
    if (colon == std::string_view::npos || colon - pos > 10) return false;
    std::size_t length = 0;
    if (!parseNumber(in.substr(pos, colon - pos), length) || length > in.size() - colon - 1)
        return false;
    field.assign(in.substr(colon + 1, length));
    pos = colon + 1 + length;
    return true;
}

// Each edit: its op letter, then the fields key, name, type and data, then "\n".
inline std::string encodeEdits(const std::vector<Edit>& edits) {
    std::string out;
    for (const auto& edit : edits) {
        out += static_cast<char>(edit.op);
        appendField(out, edit.key);
        appendField(out, edit.name);
        appendField(out, std::to_string(edit.type));
        appendField(out, edit.data);
        out += '\n';
    }
    return out;
}

inline bool decodeEdits(std::string_view in, std::vector<Edit>& edits) {
    edits.clear();
    std::size_t pos = 0;
    while (pos < in.size()) {
        Edit edit;
        const char op = in[pos++];
        if (op != 'K' && op != 'X' && op != 'S' && op != 'D') return false;
        edit.op = static_cast<Edit::Op>(op);
        std::string type;
        if (!readField(in, pos, edit.key) || !readField(in, pos, edit.name) ||
            !readField(in, pos, type) || !readField(in, pos, edit.data) ||
            !parseNumber(std::string_view(type), edit.type) || pos >= in.size() || in[pos] != '\n')
            return false;
        ++pos;
        edits.push_back(std::move(edit));
    }
    return true;
}

// One line "<index> <code>" per refused edit.
inline std::string encodeFailures(const std::vector<Failure>& failures) {
    std::string out;
    for (const auto& failure : failures)
        out += std::to_string(failure.index) + ' ' + std::to_string(failure.code) + '\n';
    return out;
}

inline bool decodeFailures(std::string_view in, std::vector<Failure>& failures) {
    failures.clear();
    while (!in.empty()) {
        const std::size_t end = in.find('\n');
        if (end == std::string_view::npos) return false;
        const std::string_view line = in.substr(0, end);
        const std::size_t space = line.find(' ');
        Failure failure;
        if (space == std::string_view::npos || !parseNumber(line.substr(0, space), failure.index) ||
            !parseNumber(line.substr(space + 1), failure.code))
            return false;
        failures.push_back(failure);
        in.remove_prefix(end + 1);
    }
    return true;
}

}  // namespace modshelf::reghelper
