#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/reports/ListPrinter.h"

using namespace modshelf::reports;

namespace {

// A list whose columns are already in display order.
class FakeList : public ListPrintSource {
public:
    std::vector<std::string> headings{"File Name", "Type", "Size"};
    std::vector<int> widths{120, 60, 40};
    int items = 0;
    std::vector<bool> checks;

    int itemCount() const override { return items; }
    int columnCount() const override { return static_cast<int>(headings.size()); }
    std::string heading(int c) const override { return headings[c]; }
    int columnWidth(int c) const override { return widths[c]; }
    std::string cell(int item, int c) const override {
        return headings[c] + "#" + std::to_string(item);
    }
    bool checked(int item) const override {
        return item < static_cast<int>(checks.size()) && checks[item];
    }
};

// Metrics that give exactly `rows` rows per page at one-to-one scale.
ListPrintMetrics metricsForRows(int rows) {
    ListPrintMetrics m;
    m.averageCharWidth = 7;
    m.itemWidth = 220;
    m.rowHeight = 20;
    m.headerHeight = 20;
    m.printerWidth = 6 * 7 + 220;
    m.printerHeight = (rows + 6) * 20;
    m.printerDpiY = 96;
    m.screenDpiY = 96;
    return m;
}

std::vector<std::string> rowTexts(const PrintedPage& page) {
    std::vector<std::string> out;
    for (const PrintText& t : page.texts)
        if (t.font == PrintText::Font::Normal) out.push_back(t.text);
    return out;
}

}  // namespace

TEST(ListPrinterTest, ScaleFactorsFollowPrinterAndList) {
    ListPrintMetrics m;
    m.averageCharWidth = 6;
    m.itemWidth = 564;  // 6 * 6 + 564 = 600
    m.rowHeight = 17;
    m.headerHeight = 30;
    m.printerWidth = 4800;  // eight times the list
    m.printerHeight = 6600;
    m.printerDpiY = 600;
    m.screenDpiY = 96;  // 6.25 -> 6
    ListPrinter printer;
    printer.setMetrics(m, 10);
    EXPECT_EQ(printer.horizontalScale(), 8);
    EXPECT_EQ(printer.verticalScale(), 6);
    EXPECT_EQ(printer.page(), (PrintRect{12, 0, 4800 / 8 - 24, 6600 / 6}));
    EXPECT_EQ(printer.rowsPerPage(), 6600 / (17 * 6) - 6 - 1);  // the taller heading costs a row
}

TEST(ListPrinterTest, DegenerateMetricsStillGiveOneOfEach) {
    struct Case {
        const char* what;
        ListPrintMetrics metrics;
    };
    const Case cases[] = {
        {"list wider than the printer", {8, 5000, 20, 20, 2000, 3000, 600, 96}},
        {"printer coarser than the screen", {8, 400, 20, 20, 2000, 3000, 72, 96}},
        {"row taller than the page", {8, 400, 4000, 20, 2000, 3000, 600, 96}},
        {"nothing measured", {0, 0, 0, 0, 0, 0, 0, 0}},
    };
    for (const Case& c : cases) {
        ListPrinter printer;
        printer.setMetrics(c.metrics, 3);
        EXPECT_GE(printer.horizontalScale(), 1) << c.what;
        EXPECT_GE(printer.verticalScale(), 1) << c.what;
        EXPECT_GE(printer.rowsPerPage(), 1) << c.what;
        EXPECT_EQ(printer.pageCount(), (3 + printer.rowsPerPage() - 1) / printer.rowsPerPage())
            << c.what;
        FakeList list;
        list.items = 3;
        EXPECT_FALSE(rowTexts(printer.layoutPage(1, list)).empty()) << c.what;
    }
}

TEST(ListPrinterTest, PagesHoldRowsPerPageAndTheLastTheRest) {
    struct Case {
        int items;
        int pages;
        int rowsOnLast;
    };
    for (const Case c : {Case{40, 1, 40}, Case{41, 2, 1}, Case{1, 1, 1}, Case{120, 3, 40}}) {
        ListPrinter printer;
        printer.setMetrics(metricsForRows(40), c.items);
        ASSERT_EQ(printer.rowsPerPage(), 40);
        EXPECT_EQ(printer.pageCount(), c.pages) << c.items;
        FakeList list;
        list.items = c.items;
        const auto cells = rowTexts(printer.layoutPage(c.pages, list));
        EXPECT_EQ(cells.size(), static_cast<std::size_t>(c.rowsOnLast) * 3) << c.items;
    }
}

TEST(ListPrinterTest, PageThreeStartsWithItemTwiceRowsPerPage) {
    ListPrinter printer;
    printer.setMetrics(metricsForRows(40), 100);
    FakeList list;
    list.items = 100;
    const PrintedPage page = printer.layoutPage(3, list);
    const auto cells = rowTexts(page);
    ASSERT_EQ(cells.size(), 20u * 3);
    EXPECT_EQ(cells.front(), "File Name#80");
    EXPECT_EQ(cells.back(), "Size#99");
    // The first row sits one heading height below the headings' top, the
    // next ones a row further each; the last row ends above the footer rule.
    const PrintText* firstCell = nullptr;
    const PrintText* lastCell = nullptr;
    for (const PrintText& t : page.texts) {
        if (t.text == "File Name#80") firstCell = &t;
        if (t.text == "File Name#99") lastCell = &t;
    }
    ASSERT_TRUE(firstCell && lastCell);
    EXPECT_EQ(firstCell->rect.top, 2 * 20 + 20);
    EXPECT_EQ(lastCell->rect.top - firstCell->rect.top, 19 * 20);
    EXPECT_EQ(page.texts[1].text, "3");  // the page number
}

TEST(ListPrinterTest, HeadingsFollowDisplayOrderAndWidths) {
    ListPrinter printer;
    printer.setMetrics(metricsForRows(10), 1);
    FakeList list;
    list.items = 1;
    list.headings = {"Size", "File Name", "Type"};  // dragged on screen
    list.widths = {40, 120, 60};
    const PrintedPage page = printer.layoutPage(1, list);
    std::vector<PrintText> headings;
    for (const PrintText& t : page.texts)
        if (t.font == PrintText::Font::Heading && t.clip) headings.push_back(t);
    ASSERT_EQ(headings.size(), 3u);
    const int left = printer.page().left;
    EXPECT_EQ(headings[0].text, "Size");
    EXPECT_EQ(headings[0].rect.left, left);
    EXPECT_EQ(headings[0].rect.right, left + 40);
    EXPECT_EQ(headings[1].text, "File Name");
    EXPECT_EQ(headings[1].rect.left, left + 40);
    EXPECT_EQ(headings[2].rect.left, left + 160);
    EXPECT_EQ(headings[2].rect.right, left + 220);
    // Row cells start under their headings (the first one pixel in) and are
    // cut at the column's right edge.
    const auto& texts = page.texts;
    const auto rowStart = texts.end() - 3;
    EXPECT_EQ(rowStart[0].rect.left, left + 1);
    EXPECT_EQ(rowStart[1].rect.left, left + 40);
    EXPECT_EQ(rowStart[2].rect.right, left + 220);
    EXPECT_TRUE(rowStart[2].clip);
}

TEST(ListPrinterTest, OnlyTheHeadingAndFooterRulesAreDrawn) {
    ListPrinter printer;
    printer.setMetrics(metricsForRows(40), 30);
    FakeList list;
    list.items = 30;
    const PrintedPage page = printer.layoutPage(1, list);
    ASSERT_EQ(page.lines.size(), 2u);
    for (const PrintLine& line : page.lines) EXPECT_EQ(line.y1, line.y2);
    const int footerY = printer.page().bottom - 3 * printer.rowHeight();
    EXPECT_EQ(page.lines[0].y1, footerY);
    EXPECT_EQ(page.lines[1].y1, 3 * printer.rowHeight());
}

TEST(ListPrinterTest, CheckPrefixMarksTheFirstDisplayedColumnOnly) {
    for (const bool prefix : {true, false}) {
        ListPrinter printer;
        printer.setMetrics(metricsForRows(40), 2);
        printer.setCheckPrefix(prefix);
        FakeList list;
        list.items = 2;
        list.checks = {true, false};
        const auto cells = rowTexts(printer.layoutPage(1, list));
        ASSERT_EQ(cells.size(), 6u);
        EXPECT_EQ(cells[0], prefix ? "Y  File Name#0" : "File Name#0");
        EXPECT_EQ(cells[1], "Type#0");
        EXPECT_EQ(cells[3], prefix ? "n  File Name#1" : "File Name#1");
    }
}
