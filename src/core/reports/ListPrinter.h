#pragma once

#include <string>
#include <vector>

namespace modshelf::reports {

// What the page layout needs to know about the list on screen and the
// printer. Screen values are in the list's pixels, printer values in device
// pixels.
struct ListPrintMetrics {
    int averageCharWidth = 0;  // of the list's screen font
    int itemWidth = 0;         // a row's full width on screen (all columns)
    int rowHeight = 0;         // a row's height on screen
    int headerHeight = 0;      // the column headings' height on screen
    int printerWidth = 0;      // printable width in device pixels
    int printerHeight = 0;     // printable height in device pixels
    int printerDpiY = 0;
    int screenDpiY = 0;
};

// The list as the printout reads it: columns in their on-screen order.
class ListPrintSource {
public:
    virtual ~ListPrintSource() = default;
    virtual int itemCount() const = 0;
    virtual int columnCount() const = 0;  // displayed columns
    virtual std::string heading(int displayColumn) const = 0;
    virtual int columnWidth(int displayColumn) const = 0;
    virtual std::string cell(int item, int displayColumn) const = 0;
    virtual bool checked(int item) const = 0;
};

struct PrintRect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
    bool operator==(const PrintRect&) const = default;
};

// One text of a page, in drawing units (one screen pixel of the list, scaled
// by the page's two factors).
struct PrintText {
    enum class Font { Normal, Heading };
    enum class Align { LeftCentre, Centre, LeftBottom };
    std::string text;
    PrintRect rect;
    Font font = Font::Normal;
    Align align = Align::LeftCentre;
    bool clip = false;  // clipped to rect
};

struct PrintLine {
    int x1 = 0;
    int y1 = 0;
    int x2 = 0;
    int y2 = 0;
};

struct PrintedPage {
    std::vector<PrintText> texts;
    std::vector<PrintLine> lines;
};

// The page layout of the module list printout: a title line, the column
// headings with a rule under them, as many rows as fit, and a rule with the
// page number at the foot. The list's width is scaled to the printer's
// width; the factors are whole numbers, as is the height scale.
class ListPrinter {
public:
    // Works out scale, page rectangle and rows per page. The factors and the
    // rows per page are at least 1, whatever the list and the printer are.
    void setMetrics(const ListPrintMetrics& metrics, int itemCount);

    void setTitle(std::string title) { title_ = std::move(title); }
    const std::string& title() const { return title_; }
    // The first displayed column of each row starts with "Y  " or "n  " when
    // the list shows a workspace's check boxes.
    void setCheckPrefix(bool on) { checkPrefix_ = on; }

    int horizontalScale() const { return hScale_; }
    int verticalScale() const { return vScale_; }
    const PrintRect& page() const { return page_; }
    int rowHeight() const { return rowHeight_; }
    int rowsPerPage() const { return rowsPerPage_; }
    int pageCount() const;

    // Page `number` (from 1) of the list.
    PrintedPage layoutPage(int number, const ListPrintSource& source) const;

private:
    std::string title_;
    bool checkPrefix_ = false;
    int hScale_ = 1;
    int vScale_ = 1;
    PrintRect page_;
    int rowHeight_ = 1;
    int headerHeight_ = 1;
    int rowsPerPage_ = 1;
    int itemCount_ = 0;
};

// The title of a printout of the list of `folder`.
std::string listPrintTitle(const std::string& folder);

}  // namespace modshelf::reports
