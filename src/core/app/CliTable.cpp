#include "core/app/CliTable.h"

#include <algorithm>
#include <cstdio>
#include <ctime>

#include "core/modules/ListFormat.h"

namespace modshelf::app {

namespace {

using Kind = CliTable::Kind;
using Format = CommandLine::Format;

std::uint64_t number(const std::string& text) {
    return text.empty() ? 0 : std::strtoull(text.c_str(), nullptr, 10);
}

std::string isoTime(std::uint64_t fileTime) {
    if (fileTime == 0) return {};
    const std::time_t seconds = modules::unixSecondsFromFileTime(fileTime);
    std::tm utc{};
    gmtime_r(&seconds, &utc);
    char buffer[32];
    std::strftime(buffer, sizeof buffer, "%Y-%m-%dT%H:%M:%SZ", &utc);
    return buffer;
}

std::string cellText(const std::string& raw, Kind kind, Format format) {
    switch (kind) {
        case Kind::Size:
            return format == Format::Text ? modules::FormatThousands(number(raw)) : raw;
        case Kind::FileTime:
            return format == Format::Text ? modules::lastModifiedText(number(raw))
                                          : isoTime(number(raw));
        case Kind::Flag:
            if (format == Format::Json) return raw == "1" ? "true" : "false";
            return raw == "1" ? "yes" : "no";
        case Kind::Text:
        case Kind::Number:
            break;
    }
    return raw;
}

// Tabs and line breaks inside a cell would break the row apart.
std::string tsvCell(std::string text) {
    std::replace_if(
        text.begin(), text.end(), [](char c) { return c == '\t' || c == '\n' || c == '\r'; }, ' ');
    return text;
}

// Display width of UTF-8 text: one per character (no wide characters in
// module names that matter here); bytes of broken sequences count one each.
std::size_t displayWidth(const std::string& text) {
    std::size_t width = 0;
    for (unsigned char c : text)
        if ((c & 0xC0) != 0x80) ++width;
    return width;
}

void writeText(std::ostream& out, const CliTable& table) {
    const std::size_t n = table.columns.size();
    std::vector<std::vector<std::string>> cells;
    std::vector<std::size_t> widths(n);
    for (std::size_t c = 0; c < n; ++c) widths[c] = displayWidth(table.columns[c].heading);
    for (const auto& row : table.rows) {
        std::vector<std::string> line;
        for (std::size_t c = 0; c < n; ++c) {
            std::string text = tsvCell(
                cellText(c < row.size() ? row[c] : "", table.columns[c].kind, Format::Text));
            widths[c] = std::max(widths[c], displayWidth(text));
            line.push_back(std::move(text));
        }
        cells.push_back(std::move(line));
    }
    auto writeLine = [&](const std::vector<std::string>& line) {
        std::string text;
        for (std::size_t c = 0; c < n; ++c) {
            const Kind kind = table.columns[c].kind;
            const bool right = kind == Kind::Number || kind == Kind::Size;
            const std::string pad(widths[c] - displayWidth(line[c]), ' ');
            if (c) text += "  ";
            text += right ? pad + line[c] : (c + 1 < n ? line[c] + pad : line[c]);
        }
        out << text << '\n';
    };
    std::vector<std::string> headings;
    for (const auto& column : table.columns) headings.push_back(column.heading);
    writeLine(headings);
    for (const auto& line : cells) writeLine(line);
}

void writeTsv(std::ostream& out, const CliTable& table) {
    for (std::size_t c = 0; c < table.columns.size(); ++c)
        out << (c ? "\t" : "") << table.columns[c].heading;
    out << '\n';
    for (const auto& row : table.rows) {
        for (std::size_t c = 0; c < table.columns.size(); ++c)
            out << (c ? "\t" : "")
                << tsvCell(
                       cellText(c < row.size() ? row[c] : "", table.columns[c].kind, Format::Tsv));
        out << '\n';
    }
}

void writeJson(std::ostream& out, const CliTable& table) {
    out << '[';
    for (std::size_t r = 0; r < table.rows.size(); ++r) {
        out << (r ? ",\n " : "\n ") << '{';
        for (std::size_t c = 0; c < table.columns.size(); ++c) {
            const CliTable::Column& column = table.columns[c];
            const std::string raw = c < table.rows[r].size() ? table.rows[r][c] : "";
            out << (c ? ", " : "") << jsonString(column.key) << ": ";
            switch (column.kind) {
                case Kind::Number:
                case Kind::Size:
                    out << (raw.empty() ? "0" : raw);
                    break;
                case Kind::Flag:
                    out << cellText(raw, column.kind, Format::Json);
                    break;
                case Kind::FileTime:
                case Kind::Text:
                    out << jsonString(cellText(raw, column.kind, Format::Json));
                    break;
            }
        }
        out << '}';
    }
    out << (table.rows.empty() ? "]\n" : "\n]\n");
}

// Length of the valid UTF-8 sequence at `i`, or 0.
std::size_t utf8Sequence(const std::string& s, std::size_t i) {
    const unsigned char c = static_cast<unsigned char>(s[i]);
    std::size_t length = c < 0x80           ? 1
                         : (c >> 5) == 0x6  ? 2
                         : (c >> 4) == 0xE  ? 3
                         : (c >> 3) == 0x1E ? 4
                                            : 0;
    if (length == 0 || i + length > s.size()) return 0;
    for (std::size_t k = 1; k < length; ++k)
        if ((static_cast<unsigned char>(s[i + k]) & 0xC0) != 0x80) return 0;
    if (length == 2 && c < 0xC2) return 0;  // overlong
    if (length == 3) {
        const unsigned char d = static_cast<unsigned char>(s[i + 1]);
        if ((c == 0xE0 && d < 0xA0) || (c == 0xED && d >= 0xA0)) return 0;  // overlong, surrogate
    }
    if (length == 4) {
        const unsigned char d = static_cast<unsigned char>(s[i + 1]);
        if ((c == 0xF0 && d < 0x90) || c > 0xF4 || (c == 0xF4 && d >= 0x90)) return 0;
    }
    return length;
}

}  // namespace

std::string jsonString(const std::string& bytes) {
    std::string out = "\"";
    for (std::size_t i = 0; i < bytes.size();) {
        const unsigned char c = static_cast<unsigned char>(bytes[i]);
        const std::size_t length = utf8Sequence(bytes, i);
        if (length > 1) {
            out.append(bytes, i, length);
            i += length;
            continue;
        }
        char escape[8];
        if (c == '"' || c == '\\') {
            out += '\\';
            out += static_cast<char>(c);
        } else if (c == '\n') {
            out += "\\n";
        } else if (c == '\t') {
            out += "\\t";
        } else if (c == '\r') {
            out += "\\r";
        } else if (c < 0x20 || length == 0) {
            std::snprintf(escape, sizeof escape, "\\u%04x", c);
            out += escape;
        } else {
            out += static_cast<char>(c);
        }
        ++i;
    }
    return out + "\"";
}

void writeTable(std::ostream& out, const CliTable& table, CommandLine::Format format) {
    switch (format) {
        case Format::Text:
            writeText(out, table);
            break;
        case Format::Tsv:
            writeTsv(out, table);
            break;
        case Format::Json:
            writeJson(out, table);
            break;
    }
}

}  // namespace modshelf::app
