#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/modules/ListColumns.h"
#include "core/modules/ListSort.h"

using namespace modshelf::modules;

namespace {

struct Row {
    std::string name, type, tab, description;
    std::uint64_t size = 0, time = 0;
};

SortKeys keysOf(const Row& r) {
    return {r.name, r.type, r.tab, r.description, r.size, r.time};
}

std::vector<std::string> namesAfter(std::vector<Row> rows, int column, SortDirection direction) {
    sortRows(rows, column, direction, keysOf);
    std::vector<std::string> names;
    for (const Row& r : rows) names.push_back(r.name);
    return names;
}

const std::vector<Row> kRows = {
    // name      type          tab      description          size   time
    {"beta.bblx", "Bible", "KJV", "King James", 500, 30},
    {"Alpha.cmtx", "Commentary", "", "", 1000, 10},
    {"gamma.txt", "", "", "Notes", 0, 20},
    {"delta.dctx", "Dictionary", "easton", "", 999, 40},
};

}  // namespace

TEST(ListSort, FileNameIgnoresCaseBothWays) {
    EXPECT_EQ(namesAfter(kRows, kColFileName, SortDirection::First),
              (std::vector<std::string>{"Alpha.cmtx", "beta.bblx", "delta.dctx", "gamma.txt"}));
    EXPECT_EQ(namesAfter(kRows, kColFileName, SortDirection::Second),
              (std::vector<std::string>{"gamma.txt", "delta.dctx", "beta.bblx", "Alpha.cmtx"}));
}

TEST(ListSort, SizeLargestFirstThenSmallestFirst) {
    EXPECT_EQ(namesAfter(kRows, kColFileSize, SortDirection::First),
              (std::vector<std::string>{"Alpha.cmtx", "delta.dctx", "beta.bblx", "gamma.txt"}));
    EXPECT_EQ(namesAfter(kRows, kColFileSize, SortDirection::Second),
              (std::vector<std::string>{"gamma.txt", "beta.bblx", "delta.dctx", "Alpha.cmtx"}));
}

TEST(ListSort, DateNewestFirstThenOldestFirst) {
    EXPECT_EQ(namesAfter(kRows, kColLastModified, SortDirection::First),
              (std::vector<std::string>{"delta.dctx", "beta.bblx", "gamma.txt", "Alpha.cmtx"}));
    EXPECT_EQ(namesAfter(kRows, kColLastModified, SortDirection::Second),
              (std::vector<std::string>{"Alpha.cmtx", "gamma.txt", "beta.bblx", "delta.dctx"}));
}

TEST(ListSort, UnknownKindsAndEmptyTextsComeLastInBothDirections) {
    // Module type: the unknown kind (empty sort name) after every type name.
    auto byType = namesAfter(kRows, kColModuleType, SortDirection::First);
    EXPECT_EQ(byType.back(), "gamma.txt");
    EXPECT_EQ(byType.front(), "beta.bblx");
    byType = namesAfter(kRows, kColModuleType, SortDirection::Second);
    EXPECT_EQ(byType.front(), "delta.dctx");
    EXPECT_EQ(byType.back(), "gamma.txt");

    // Tab name: empties last, names compared without case ("easton" < "KJV").
    EXPECT_EQ(namesAfter(kRows, kColTabName, SortDirection::First),
              (std::vector<std::string>{"delta.dctx", "beta.bblx", "Alpha.cmtx", "gamma.txt"}));
    EXPECT_EQ(namesAfter(kRows, kColTabName, SortDirection::Second),
              (std::vector<std::string>{"beta.bblx", "delta.dctx", "Alpha.cmtx", "gamma.txt"}));

    // Description: the same rule; names beyond "ZZZZZ" (here a non-ASCII one)
    // still come before the empty ones.
    std::vector<Row> rows = kRows;
    rows.push_back({"eta.bblx", "Bible", "Ελληνικά", "Ελληνικά", 1, 1});
    auto byDescription = namesAfter(rows, kColDescription, SortDirection::First);
    EXPECT_EQ(byDescription[0], "beta.bblx");
    EXPECT_EQ(byDescription[1], "gamma.txt");
    EXPECT_EQ(byDescription[2], "eta.bblx");
    auto byTab = namesAfter(rows, kColTabName, SortDirection::First);
    EXPECT_EQ(byTab[2], "eta.bblx");
}

TEST(ListSort, EqualKeysKeepTheirPreviousOrder) {
    std::vector<Row> rows = {
        {"c", "", "", "", 5, 0}, {"a", "", "", "", 5, 0}, {"b", "", "", "", 5, 0}};
    EXPECT_EQ(namesAfter(rows, kColFileSize, SortDirection::First),
              (std::vector<std::string>{"c", "a", "b"}));
}

TEST(ListSort, CompareNoCaseFoldsAsciiOnly) {
    EXPECT_EQ(compareNoCase("ABC", "abc"), 0);
    EXPECT_LT(compareNoCase("abc", "abd"), 0);
    EXPECT_LT(compareNoCase("ab", "abc"), 0);
    EXPECT_GT(compareNoCase("b", "A"), 0);
    // "_" sorts before letters once they are folded to lower case.
    EXPECT_LT(compareNoCase("_x", "Zx"), 0);
}

TEST(ListSortState, EachClickFlipsItsColumnAndResetsTheOthers) {
    ListSortState state;
    EXPECT_EQ(state.click(kColFileSize), SortDirection::First);
    EXPECT_EQ(state.click(kColFileSize), SortDirection::Second);
    EXPECT_EQ(state.click(kColFileSize), SortDirection::First);
    // Another column, then back: the first column starts again.
    EXPECT_EQ(state.click(kColFileSize), SortDirection::Second);
    EXPECT_EQ(state.click(kColTabName), SortDirection::First);
    EXPECT_EQ(state.nextDirection(kColFileSize), SortDirection::First);
    EXPECT_EQ(state.lastColumn(), kColTabName);
}

TEST(ListSortState, AfterFillTheNextFileNameClickSortsZToA) {
    ListSortState state;
    state.click(kColDescription);
    state.afterFill();
    EXPECT_EQ(state.nextDirection(kColFileName), SortDirection::Second);
    EXPECT_EQ(state.nextDirection(kColDescription), SortDirection::First);
    EXPECT_EQ(state.click(kColModuleType), SortDirection::First);
}

TEST(ListColumns, HeadingsWidthsAndAlignment) {
    const auto& columns = listColumns();
    const char* headings[] = {"File Name", "Module Type",   "Tab Name",
                              "File Size", "Last Modified", "Description"};
    const int widths[] = {200, 100, 100, 80, 130, 200};
    for (int i = 0; i < kListColumnCount; ++i) {
        EXPECT_STREQ(columns[i].heading, headings[i]);
        EXPECT_EQ(columns[i].initialWidth, widths[i]);
    }
    EXPECT_EQ(columns[kColFileSize].align, ColumnAlign::Right);
    EXPECT_EQ(columns[kColModuleType].align, ColumnAlign::Centre);
    EXPECT_EQ(columns[kColDescription].align, ColumnAlign::Left);
}

TEST(ListColumns, SizingTakesTheWiderOfContentAndHeadingWithinLimits) {
    EXPECT_EQ(sizedColumnWidth(kColModuleType, 60, 90), 90);
    EXPECT_EQ(sizedColumnWidth(kColModuleType, 300, 90), 300);
    EXPECT_EQ(sizedColumnWidth(kColFileSize, 5, 10), 25);
    EXPECT_EQ(sizedColumnWidth(kColFileName, 400, 70), 190);
    EXPECT_EQ(sizedColumnWidth(kColFileName, 150, 70), 150);
    EXPECT_EQ(sizedColumnWidth(kColDescription, 400, 80), 170);
}
