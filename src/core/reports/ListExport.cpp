#include "core/reports/ListExport.h"

#include <string_view>

#include "core/tree/NodeKinds.h"

namespace modshelf::reports {

namespace {

enum Column { kFileName, kModuleType, kTabName, kFileSize, kLastModified, kDescription };

constexpr std::array<std::string_view, 6> kHeaders = {"FILE NAME", "MODULE TYPE",   "TAB NAME",
                                                      "FILE SIZE", "LAST MODIFIED", "DESCRIPTION"};

std::string withoutLineBreaks(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (char c : text)
        if (c != '\r' && c != '\n') out += c;
    return out;
}

std::string withoutChar(std::string_view text, char drop) {
    std::string out;
    out.reserve(text.size());
    for (char c : text)
        if (c != drop) out += c;
    return out;
}

// A cell of the tab-delimited file. File names on Linux may hold a tab or a
// line break too, so every text column loses them, not only tab name and
// description.
std::string tabCell(int column, const std::string& text) {
    if (text.empty()) return " ";
    if (column == kFileSize) {
        const std::string size = withoutChar(text, ' ');
        if (size.empty()) return " ";
        return withoutChar(size, ',');
    }
    std::string cell = withoutLineBreaks(text);
    for (char& c : cell)
        if (c == '\t') c = ' ';
    return cell;
}

struct Field {
    std::size_t cut;
    std::size_t width;
    bool right;
    std::string_view after;
};

constexpr Field kSelectionField = {5, 6, false, ""};
constexpr std::array<Field, 6> kFields = {{
    {29, 30, false, " "},
    {14, 17, false, ""},
    {11, 12, false, ""},
    {13, 14, true, "   "},
    {18, 19, false, "  "},
    {29, 30, false, "\r\n"},
}};

void appendField(std::string& line, std::string_view text, const Field& field, CodePage codePage) {
    const std::size_t bytes = bytesOfFirstCharacters(text, field.cut, codePage);
    const std::string_view kept = text.substr(0, bytes);
    const std::size_t characters = characterCount(kept, codePage);
    const std::size_t padding = field.width > characters ? field.width - characters : 0;
    if (field.right) line.append(padding, ' ');
    line.append(kept);
    if (!field.right) line.append(padding, ' ');
    line.append(field.after);
}

// The text an item puts into an even column before it is cut.
std::string evenText(int column, const std::string& text) {
    switch (column) {
        case kFileSize:
            return " " + text;
        case kFileName:
        case kTabName:
        case kDescription:
            return withoutLineBreaks(text) + " ";
        default:
            return text + " ";
    }
}

}  // namespace

bool exportHasSelectionColumn(int nodeKind) {
    return tree::node::isNumberedWorkspace(nodeKind) || nodeKind == tree::node::kCurrentSettings;
}

std::string BuildTabDelimitedText(const std::vector<ExportRow>& rows, bool selectionColumn) {
    std::string text;
    if (selectionColumn) text += "SEL\t";
    for (std::size_t column = 0; column < kHeaders.size(); ++column) {
        text += kHeaders[column];
        text += column + 1 < kHeaders.size() ? "\t" : "\r\n";
    }
    for (const ExportRow& row : rows) {
        if (selectionColumn) text += row.checked ? "Sel\t" : " \t";
        for (int column = 0; column < 6; ++column) {
            text += tabCell(column, row.cells[column]);
            text += column < 5 ? "\t" : "\r\n";
        }
    }
    return text;
}

std::string BuildEvenColumnsText(const std::vector<ExportRow>& rows, bool selectionColumn,
                                 CodePage codePage) {
    std::string text;
    text.reserve((rows.size() + 1) * 140);
    if (selectionColumn) appendField(text, "SEL", kSelectionField, codePage);
    for (std::size_t column = 0; column < kHeaders.size(); ++column)
        appendField(text, kHeaders[column], kFields[column], codePage);
    for (const ExportRow& row : rows) {
        if (selectionColumn)
            appendField(text, row.checked ? "Sel  " : "     ", kSelectionField, codePage);
        for (int column = 0; column < 6; ++column)
            appendField(text, evenText(column, row.cells[column]), kFields[column], codePage);
    }
    return text;
}

}  // namespace modshelf::reports
