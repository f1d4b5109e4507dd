#include "core/reports/ListPrinter.h"

#include <algorithm>

namespace modshelf::reports {

namespace {

// Space above the title line, in drawing units.
constexpr int kTitleTop = 18;
// Rows that the title, the headings and the footer take from a page.
constexpr int kRowsForFrame = 6;

int atLeastOne(int value) {
    return std::max(1, value);
}

int divideOrZero(int value, int divisor) {
    return divisor > 0 ? value / divisor : 0;
}

}  // namespace

void ListPrinter::setMetrics(const ListPrintMetrics& m, int itemCount) {
    itemCount_ = std::max(0, itemCount);
    const int charWidth = std::max(0, m.averageCharWidth);
    rowHeight_ = atLeastOne(m.rowHeight);
    // Rows start below the headings; a heading taller than a row must not
    // push the last row of a page into the footer.
    headerHeight_ = std::max(rowHeight_, m.headerHeight);

    hScale_ = atLeastOne(divideOrZero(m.printerWidth, 6 * charWidth + std::max(0, m.itemWidth)));
    vScale_ = atLeastOne(divideOrZero(m.printerDpiY, m.screenDpiY));

    page_.left = 2 * charWidth;
    page_.top = 0;
    page_.right = m.printerWidth / hScale_ - 4 * charWidth;
    page_.bottom = m.printerHeight / vScale_;

    const int byHeight = m.printerHeight / (rowHeight_ * vScale_) - kRowsForFrame;
    const int footerY = page_.bottom - 3 * rowHeight_;
    const int rowsTop = 2 * rowHeight_ + headerHeight_;
    const int byFooter = (footerY - rowsTop) / rowHeight_;
    rowsPerPage_ = atLeastOne(std::min(byHeight, byFooter));
}

int ListPrinter::pageCount() const {
    return (itemCount_ + rowsPerPage_ - 1) / rowsPerPage_;
}

PrintedPage ListPrinter::layoutPage(int number, const ListPrintSource& source) const {
    PrintedPage out;
    const int left = page_.left;
    const int right = left + page_.right;  // the page's right edge, from its left margin
    const int rh = rowHeight_;

    out.texts.push_back({title_,
                         {left, page_.top + kTitleTop, page_.right, page_.top + kTitleTop + rh},
                         PrintText::Font::Heading,
                         PrintText::Align::LeftCentre,
                         false});

    const int footerY = page_.bottom - 3 * rh;
    out.lines.push_back({left, footerY, right, footerY});
    const int numberTop = footerY + rh / 2;
    out.texts.push_back({std::to_string(number),
                         {left, numberTop, right, numberTop + rh},
                         PrintText::Font::Heading,
                         PrintText::Align::Centre,
                         false});

    const int columns = source.columnCount();
    std::vector<int> starts(static_cast<std::size_t>(std::max(0, columns)) + 1, 0);
    for (int c = 0; c < columns; ++c)
        starts[c + 1] = starts[c] + std::max(0, source.columnWidth(c));

    const int headingsTop = 2 * rh;
    for (int c = 0; c < columns; ++c)
        out.texts.push_back(
            {source.heading(c),
             {left + starts[c], headingsTop, left + starts[c + 1], headingsTop + rh},
             PrintText::Font::Heading,
             PrintText::Align::LeftCentre,
             true});
    out.lines.push_back({left, headingsTop + rh, right, headingsTop + rh});

    const int items = std::min(itemCount_, source.itemCount());
    const int first = (std::max(1, number) - 1) * rowsPerPage_;
    const int end = std::min(items, first + rowsPerPage_);
    for (int item = first; item < end; ++item) {
        const int top = headingsTop + headerHeight_ + (item - first) * rh;
        for (int c = 0; c < columns; ++c) {
            std::string text = source.cell(item, c);
            if (c == 0 && checkPrefix_) text = (source.checked(item) ? "Y  " : "n  ") + text;
            const int cellLeft = left + (c == 0 ? 1 : starts[c]);
            out.texts.push_back({std::move(text),
                                 {cellLeft, top, left + starts[c + 1], top + rh},
                                 PrintText::Font::Normal,
                                 PrintText::Align::LeftBottom,
                                 true});
        }
    }
    return out;
}

std::string listPrintTitle(const std::string& folder) {
    return "Modshelf  -  " + folder;
}

}  // namespace modshelf::reports
