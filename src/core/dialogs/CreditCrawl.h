#pragma once

#include <string>
#include <vector>

namespace modshelf::dialogs {

// Credit lines rolling up from the bottom of a view. Lines fade in from dark
// yellow at the top edge; when the last line has left the top, the crawl
// starts again from the bottom.
class CreditCrawl {
public:
    struct Colour {
        int red = 0;
        int green = 0;
        int blue = 0;
    };

    // A line to draw in this frame: its index, its top and its colour.
    struct VisibleLine {
        std::size_t index = 0;
        int y = 0;
        Colour colour;
    };

    void addLine(std::string line) { lines_.push_back(std::move(line)); }
    const std::vector<std::string>& lines() const { return lines_; }

    void setScrollStep(int step) { scrollStep_ = step; }
    int scrollStep() const { return scrollStep_; }

    // The top of the first line, in pixels from the top of the view.
    int scrollPosition() const { return scrollPosition_; }
    void setScrollPosition(int position) { scrollPosition_ = position; }

    // One frame on a view `height` pixels high whose lines are `lineHeight`
    // pixels each: the lines to draw, then the crawl moves up one step.
    std::vector<VisibleLine> frame(int height, int lineHeight);

private:
    std::vector<std::string> lines_;
    int scrollStep_ = 1;
    int scrollPosition_ = 0;
};

// One row of the flat text image stretched into the perspective view.
struct PerspectiveRow {
    int sourceRow = 0;
    int x = 0;
    int y = 0;
    int width = 0;
};

// How the rows of a flat text image of the given size lie in the tilted
// plane: the bottom row at full width, rows higher up ever narrower and closer
// together, as if the text ran away into the distance.
std::vector<PerspectiveRow> perspectiveRows(int width, int height);

}  // namespace modshelf::dialogs
