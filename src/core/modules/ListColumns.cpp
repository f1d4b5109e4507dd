#include "core/modules/ListColumns.h"

#include <algorithm>

namespace modshelf::modules {

const std::array<ListColumnInfo, kListColumnCount>& listColumns() {
    static const std::array<ListColumnInfo, kListColumnCount> columns = {{
        {"File Name", 200, ColumnAlign::Left},
        {"Module Type", 100, ColumnAlign::Centre},
        {"Tab Name", 100, ColumnAlign::Centre},
        {"File Size", 80, ColumnAlign::Right},
        {"Last Modified", 130, ColumnAlign::Centre},
        {"Description", 200, ColumnAlign::Left},
    }};
    return columns;
}

int sizedColumnWidth(int column, int contentWidth, int headingWidth) {
    constexpr int kMinimum = 25;
    constexpr int kFileNameLimit = 190;
    constexpr int kDescriptionLimit = 170;
    int width = std::max({contentWidth, headingWidth, kMinimum});
    if (column == kColFileName) width = std::min(width, kFileNameLimit);
    if (column == kColDescription) width = std::min(width, kDescriptionLimit);
    return width;
}

}  // namespace modshelf::modules
