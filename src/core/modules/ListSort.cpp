#include "core/modules/ListSort.h"

namespace modshelf::modules {
namespace {

// Text order with empties last whichever way the non-empty texts run.
bool textBefore(std::string_view a, std::string_view b, SortDirection direction) {
    if (a.empty() || b.empty()) return !a.empty() && b.empty();
    int order = compareNoCase(a, b);
    return direction == SortDirection::First ? order < 0 : order > 0;
}

template <typename T>
bool numberBefore(T a, T b, SortDirection direction) {
    // First direction: largest (newest) first.
    return direction == SortDirection::First ? a > b : a < b;
}

}  // namespace

bool sortsBefore(const SortKeys& a, const SortKeys& b, int column, SortDirection direction) {
    switch (column) {
        case kColFileName: {
            int order = compareNoCase(a.fileName, b.fileName);
            return direction == SortDirection::First ? order < 0 : order > 0;
        }
        case kColModuleType:
            return textBefore(a.sortTypeName, b.sortTypeName, direction);
        case kColTabName:
            return textBefore(a.tabName, b.tabName, direction);
        case kColFileSize:
            return numberBefore(a.size, b.size, direction);
        case kColLastModified:
            return numberBefore(a.lastWrite, b.lastWrite, direction);
        case kColDescription:
            return textBefore(a.description, b.description, direction);
        default:
            return false;
    }
}

SortDirection ListSortState::nextDirection(int column) const {
    if (column < 0 || column >= kListColumnCount) return SortDirection::First;
    return flipped_[column] ? SortDirection::Second : SortDirection::First;
}

SortDirection ListSortState::click(int column) {
    SortDirection direction = nextDirection(column);
    bool wasFlipped = column >= 0 && column < kListColumnCount && flipped_[column];
    flipped_.fill(false);
    if (column >= 0 && column < kListColumnCount) flipped_[column] = !wasFlipped;
    lastColumn_ = column;
    lastDirection_ = direction;
    return direction;
}

void ListSortState::afterFill() {
    flipped_.fill(false);
    flipped_[kColFileName] = true;
    lastColumn_ = kColFileName;
    lastDirection_ = SortDirection::First;
}

}  // namespace modshelf::modules
