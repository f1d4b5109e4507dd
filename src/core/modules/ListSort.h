#pragma once

#include <algorithm>
#include <array>
#include <cstdint>
#include <string_view>
#include <vector>

#include "core/modules/ListColumns.h"
#include "core/settings/RegistryTypes.h"

namespace modshelf::modules {

// Each column sorts one way on its first heading click and the other way on
// the next: text columns A to Z first, "File Size" largest first, "Last
// Modified" newest first.
enum class SortDirection { First, Second };

// What a row offers to the sort. Views into the row's own texts: nothing is
// copied per row.
struct SortKeys {
    std::string_view fileName;
    std::string_view sortTypeName;  // the kind's sort name; empty for an unknown kind
    std::string_view tabName;
    std::string_view description;
    std::uint64_t size = 0;
    std::uint64_t lastWrite = 0;  // any time unit that grows with time
};

// Case-insensitive byte comparison (ASCII letters folded to lower case):
// negative, zero or positive.
using settings::compareNoCase;

// True when row a belongs before row b when `column` is sorted in `direction`.
// Empty texts (and unknown kinds in "Module Type") come after every other
// text in both directions.
bool sortsBefore(const SortKeys& a, const SortKeys& b, int column, SortDirection direction);

// Sorts rows by one column. Rows with equal keys keep their previous order.
template <typename Row, typename KeysOf>
void sortRows(std::vector<Row>& rows, int column, SortDirection direction, KeysOf keysOf) {
    std::stable_sort(rows.begin(), rows.end(), [&](const Row& a, const Row& b) {
        return sortsBefore(keysOf(a), keysOf(b), column, direction);
    });
}

// Which way each column sorts on its next heading click. A click on a column
// sorts it and flips its flag; every other column starts again with its first
// direction.
class ListSortState {
public:
    SortDirection nextDirection(int column) const;
    // Records a click on `column` and gives the direction to sort it in.
    SortDirection click(int column);
    // After a fill the rows are in "File Name" A to Z order, so the next click
    // on "File Name" sorts Z to A.
    void afterFill();
    // The column and direction of the latest sort, for the heading's mark.
    int lastColumn() const { return lastColumn_; }
    SortDirection lastDirection() const { return lastDirection_; }

private:
    std::array<bool, kListColumnCount> flipped_{};
    int lastColumn_ = -1;
    SortDirection lastDirection_ = SortDirection::First;
};

}  // namespace modshelf::modules
