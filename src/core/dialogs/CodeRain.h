#pragma once

#include <functional>
#include <string>
#include <vector>

#include "core/dialogs/RandomSource.h"

namespace modshelf::dialogs {

// The timers that drive the rain. The window implements them with real timers;
// tests with a simulated clock. Starting a running timer restarts it with the
// new interval.
class RainTimers {
public:
    virtual ~RainTimers() = default;
    virtual void start(int timer, int milliseconds) = 0;
    virtual void stop(int timer) = 0;
};

// Green characters raining down a black grid while short text pages are
// decoded in place, character by character, behind a moving cursor. This is
// the whole animation without the drawing: the rain's own grid of cells, and
// what stands over it (glints, page text, cursor) at any moment.
class CodeRain {
public:
    enum Timer {
        kPageTimer = 0,    // the wait before the next page
        kDecodeTimer = 1,  // decoding the page, with glints
        kCursorTimer = 2,  // the cursor sweeping over a line
        kRainTimer = 3,    // the falling drops
        kGlintTimer = 4,   // glints while a finished page stands
        kTimerCount = 5
    };

    static constexpr int kDecodeInterval = 10;
    static constexpr int kCursorInterval = 30;
    static constexpr int kRainInterval = 80;
    static constexpr int kGlintInterval = 10;

    // The character code of a solid block (the cursor), and of the first
    // character of a page-end line.
    static constexpr char kBlock = '\x01';
    static constexpr char kPageEnd = '\x01';

    struct Colour {
        int red = 0;
        int green = 0;
        int blue = 0;
        bool operator==(const Colour&) const = default;
    };
    static constexpr Colour kBlack{0, 0, 0};
    static constexpr Colour kGreen{0, 255, 0};
    static constexpr Colour kLightGreen{128, 255, 128};

    // The size of the view and of one grid cell, and how wide a text is drawn.
    struct Geometry {
        int width = 0;
        int height = 0;
        int cellWidth = 1;
        int cellHeight = 1;
        std::function<int(const std::string&)> textWidth;
    };

    struct Cell {
        char code = ' ';
        Colour colour;
    };

    struct Drop {
        bool active = false;
        int row = 0;
        int endRow = 0;
        char code = ' ';
    };

    struct Glint {
        bool active = false;
        int life = 0;
        int column = 0;
        int row = 0;
        char code = ' ';
    };

    // Text to draw at a grid cell (more cells when longer than one character).
    struct Item {
        int column = 0;
        int row = 0;
        std::string text;
        Colour colour;
    };

    struct Place {
        int column = 0;
        int row = 0;
    };

    // Starts the page timer with the page-start delay (seconds) and the rain timer.
    CodeRain(Geometry geometry, RainTimers& timers, RandomSource& random, int pageStartDelay = 5);

    int defaultPageTime = 5;      // seconds, for a page without a page-end line
    int maxScrambleCycles = 20;   // a character is shown right after this many
    int highestRandomCode = 255;  // the scramble's characters range from 32 to this

    // Cursor on or off; `block` a solid block, otherwise a changing character.
    void setCursorMode(bool on, bool block);
    bool cursorOn() const { return cursorOn_; }
    char cursorCode() const { return cursorCode_; }

    // The pages: lines in order; a line starting with kPageEnd ends a page and
    // gives its display time in seconds after that character.
    std::vector<std::string> lines;
    // The last line of the page before; the next page starts two lines on, or
    // at the first line when that is past the end.
    void setLastPageLine(int line) { pageLast_ = line; }

    // One tick of a timer. True when the view must be redrawn.
    bool tick(int timer);

    int columns() const { return columns_; }
    int rows() const { return rows_; }

    // The rain's grid, row by row, and the cells changed since the last call.
    const std::vector<Cell>& cells() const { return cells_; }
    const Cell& cell(int column, int row) const;
    std::vector<Place> takeChangedCells();

    // What stands over the rain now: glints, page text, cursor, in drawing order.
    std::vector<Item> overlay() const;

    // The state, for the view and for tests.
    bool pageShown() const { return pageShown_; }
    int pageFirst() const { return pageFirst_; }
    int pageLast() const { return pageLast_; }
    int pageTime() const { return pageTime_; }
    int currentLine() const { return current_; }
    bool pageDecoded() const { return pageDecoded_; }
    const std::string& decoded() const { return decoded_; }
    Place placeOf(int line) const;
    int cursorColumn() const { return cursorColumn_; }
    int cursorRow() const { return cursorRow_; }
    const std::vector<Drop>& drops() const { return drops_; }
    const std::vector<Glint>& glints() const { return glints_; }
    int glintsActive() const { return glintsActive_; }

private:
    void setupPage();
    void startCursor();
    void finishPage();
    void decodeStep();
    void rainStep();
    void glintStep();
    void drawHead(int column, Drop& drop);
    void drawDim(int column, int row, char code);
    void setCell(int column, int row, char code, Colour colour);
    char randomCode();
    char scrambleCode();

    Geometry geometry_;
    RainTimers& timers_;
    RandomSource& random_;
    int columns_ = 0;
    int rows_ = 0;

    bool cursorOn_ = true;
    char cursorCode_ = kBlock;
    int cursorColumn_ = 0;
    int cursorRow_ = 0;

    bool pageShown_ = false;
    bool pageDecoded_ = false;
    int pageFirst_ = 0;
    int pageLast_ = -2;
    int pageTime_ = 0;
    int current_ = 0;
    std::vector<Place> places_;  // one per line of the page
    std::string decoded_;
    std::vector<int> cycles_;

    std::vector<Cell> cells_;
    std::vector<bool> changed_;
    std::vector<Place> changedList_;
    std::vector<Drop> drops_;
    std::vector<Glint> glints_;
    int glintsActive_ = 0;
};

// The display time of a page-end line in seconds: the digits after its first
// character, leading blanks skipped; 0 without digits.
int pageEndSeconds(const std::string& line);

}  // namespace modshelf::dialogs
