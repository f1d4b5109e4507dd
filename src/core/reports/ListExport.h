#pragma once

#include <array>
#include <string>
#include <vector>

#include "core/reports/CodePage.h"

namespace modshelf::reports {

// One item of the list as it is shown: the texts of its six columns by
// column number (file name, module type, tab name, file size, last
// modified, description), and its check box.
struct ExportRow {
    std::array<std::string, 6> cells;
    bool checked = false;
};

// Whether the exports carry the "SEL" column: only where the boxes say
// whether a module is active, in a numbered workspace and in <C>.
bool exportHasSelectionColumn(int nodeKind);

// The list as tab-delimited text: a header line, then one line per item in
// list order; every line ends in "\r\n". Cells never contain a tab or a line
// break, and an empty cell is a single space.
std::string BuildTabDelimitedText(const std::vector<ExportRow>& rows, bool selectionColumn);

// The list as text with even columns: fixed-width fields, cut and padded, so
// that every line has the same number of characters before its "\r\n" (128,
// or 134 with the selection column).
std::string BuildEvenColumnsText(const std::vector<ExportRow>& rows, bool selectionColumn,
                                 CodePage codePage = systemCodePage());

}  // namespace modshelf::reports
