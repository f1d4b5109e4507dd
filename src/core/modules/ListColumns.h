#pragma once

#include <array>

namespace modshelf::modules {

// The module list's six columns, in display order.
enum ListColumn : int {
    kColFileName = 0,
    kColModuleType = 1,
    kColTabName = 2,
    kColFileSize = 3,
    kColLastModified = 4,
    kColDescription = 5,
};
inline constexpr int kListColumnCount = 6;

enum class ColumnAlign { Left, Centre, Right };

struct ListColumnInfo {
    const char* heading;
    int initialWidth;  // pixels
    ColumnAlign align;
};

const std::array<ListColumnInfo, kListColumnCount>& listColumns();

// The width a column gets when the list is sized to its content: the larger of
// the content's and the heading's width, at least 25, with the file name held
// to 190 and the description to 170 so that one long entry cannot push the
// other columns out of sight.
int sizedColumnWidth(int column, int contentWidth, int headingWidth);

}  // namespace modshelf::modules
