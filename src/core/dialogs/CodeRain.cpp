#include "core/dialogs/CodeRain.h"

#include <algorithm>
#include <cctype>
#include <utility>

namespace modshelf::dialogs {

namespace {

// Longer than anyone watches a page; keeps a wild number from overflowing.
constexpr int kLongestPageSeconds = 24 * 60 * 60;

}  // namespace

int pageEndSeconds(const std::string& line) {
    std::size_t i = line.empty() ? 0 : 1;
    while (i < line.size() && line[i] == ' ') ++i;
    int seconds = 0;
    for (; i < line.size() && std::isdigit(static_cast<unsigned char>(line[i])); ++i)
        seconds = std::min(kLongestPageSeconds, seconds * 10 + (line[i] - '0'));
    return seconds;
}

CodeRain::CodeRain(Geometry geometry, RainTimers& timers, RandomSource& random, int pageStartDelay)
    : geometry_(std::move(geometry)), timers_(timers), random_(random) {
    geometry_.cellWidth = std::max(1, geometry_.cellWidth);
    geometry_.cellHeight = std::max(1, geometry_.cellHeight);
    if (!geometry_.textWidth)
        geometry_.textWidth = [w = geometry_.cellWidth](const std::string& s) {
            return static_cast<int>(s.size()) * w;
        };
    columns_ = std::max(0, geometry_.width) / geometry_.cellWidth + 1;
    rows_ = std::max(0, geometry_.height) / geometry_.cellHeight + 1;
    cells_.assign(static_cast<std::size_t>(columns_ * rows_), Cell{' ', kBlack});
    changed_.assign(cells_.size(), false);
    drops_.assign(static_cast<std::size_t>(columns_), Drop{});
    glints_.assign(static_cast<std::size_t>(columns_ * 0.2), Glint{});
    timers_.start(kPageTimer, std::max(0, pageStartDelay) * 1000);
    timers_.start(kRainTimer, kRainInterval);
}

void CodeRain::setCursorMode(bool on, bool block) {
    cursorOn_ = on;
    cursorCode_ = block ? kBlock : 'a';
}

bool CodeRain::tick(int timer) {
    switch (timer) {
        case kPageTimer:
            setupPage();
            return false;
        case kDecodeTimer:
            glintStep();
            decodeStep();
            return true;
        case kCursorTimer:
            if (++cursorColumn_ >= columns_) timers_.stop(kCursorTimer);
            return true;
        case kRainTimer:
            rainStep();
            return true;
        case kGlintTimer:
            glintStep();
            return true;
        default:
            return false;
    }
}

const CodeRain::Cell& CodeRain::cell(int column, int row) const {
    return cells_[static_cast<std::size_t>(row * columns_ + column)];
}

std::vector<CodeRain::Place> CodeRain::takeChangedCells() {
    for (const Place& place : changedList_)
        changed_[static_cast<std::size_t>(place.row * columns_ + place.column)] = false;
    return std::exchange(changedList_, {});
}

CodeRain::Place CodeRain::placeOf(int line) const {
    const int k = line - pageFirst_;
    if (k < 0 || k >= static_cast<int>(places_.size())) return {};
    return places_[static_cast<std::size_t>(k)];
}

void CodeRain::setupPage() {
    const int count = static_cast<int>(lines.size());
    if (count == 0) return;
    int first = pageLast_ + 2;  // skips the page-end line of the page before
    if (first < 0 || first >= count) first = 0;

    int last = count - 1;
    int seconds = defaultPageTime;
    for (int i = first; i < count; ++i) {
        const std::string& line = lines[static_cast<std::size_t>(i)];
        if (!line.empty() && line[0] == kPageEnd) {
            last = i - 1;
            seconds = pageEndSeconds(line);
            break;
        }
    }

    pageFirst_ = first;
    pageLast_ = last;
    pageTime_ = seconds;
    pageShown_ = true;
    pageDecoded_ = false;

    const int pageLines = last - first + 1;
    const int top = (rows_ - pageLines - 1) / 2;
    places_.clear();
    for (int k = 0; k < pageLines; ++k) {
        const std::string& line = lines[static_cast<std::size_t>(first + k)];
        places_.push_back(
            {(geometry_.width - geometry_.textWidth(line)) / 2 / geometry_.cellWidth, top + k});
    }

    decoded_.clear();
    cycles_.clear();
    timers_.stop(kPageTimer);
    timers_.stop(kGlintTimer);
    current_ = first;
    if (pageLines <= 0) {
        // Two page-end lines in a row: an empty page, shown for its time.
        finishPage();
        return;
    }
    timers_.start(kDecodeTimer, kDecodeInterval);
    startCursor();
}

void CodeRain::startCursor() {
    cursorColumn_ = 0;
    cursorRow_ = placeOf(current_).row;
    timers_.start(kCursorTimer, kCursorInterval);
}

void CodeRain::finishPage() {
    pageDecoded_ = true;
    timers_.stop(kDecodeTimer);
    timers_.start(kPageTimer, pageTime_ * 1000);
    timers_.start(kGlintTimer, kGlintInterval);
}

void CodeRain::decodeStep() {
    if (!pageShown_ || pageDecoded_) return;
    if (cursorOn_ && cursorCode_ != kBlock) cursorCode_ = randomCode();

    const std::string& target = lines[static_cast<std::size_t>(current_)];
    const int lineColumn = placeOf(current_).column;
    bool finished = true;
    for (std::size_t i = 0; i < target.size(); ++i) {
        if (cursorOn_ && static_cast<int>(i) >= cursorColumn_ - lineColumn) {
            finished = false;  // the cursor has not passed this character yet
            break;
        }
        if (i < decoded_.size()) {
            if (cycles_[i] >= maxScrambleCycles) {
                decoded_[i] = target[i];
            } else if (decoded_[i] != target[i]) {
                decoded_[i] = scrambleCode();
                ++cycles_[i];
                finished = false;
            }
        } else {
            decoded_.push_back(scrambleCode());
            cycles_.push_back(0);
            finished = false;
        }
    }
    // A line waits for the cursor to leave the right edge; an empty line does not.
    if (finished && !target.empty() && cursorOn_ && cursorColumn_ < columns_) finished = false;
    if (!finished) return;

    if (current_ >= pageLast_) {
        finishPage();
        return;
    }
    ++current_;
    decoded_.clear();
    cycles_.clear();
    startCursor();
}

void CodeRain::rainStep() {
    const int active = static_cast<int>(
        std::count_if(drops_.begin(), drops_.end(), [](const Drop& d) { return d.active; }));
    if (active < columns_) {
        int column = random_.below(columns_);
        for (int tries = 0; drops_[static_cast<std::size_t>(column)].active && tries < columns_;
             ++tries)
            column = random_.below(columns_);
        Drop& drop = drops_[static_cast<std::size_t>(column)];
        if (!drop.active) {
            drop.active = true;
            // A grid too small for the random spans falls from top to bottom.
            drop.row = 0;
            if (random_.next() % 2 == 0 && rows_ > 2) drop.row = random_.below(rows_ - 2);
            drop.endRow = rows_;
            if (random_.next() % 2 == 0 && rows_ - drop.row - 2 > 0)
                drop.endRow = std::min(rows_, random_.below(rows_ - drop.row - 2) + drop.row + 3);
            drop.code = random_.below(5) == 0 ? ' ' : randomCode();
            drawHead(column, drop);
            ++drop.row;
        }
    }
    for (int column = 0; column < columns_; ++column) {
        Drop& drop = drops_[static_cast<std::size_t>(column)];
        if (!drop.active) continue;
        drawDim(column, drop.row - 1, drop.code);
        if (drop.row >= drop.endRow) {
            drop.active = false;
            continue;
        }
        drawHead(column, drop);
        ++drop.row;
    }
}

void CodeRain::glintStep() {
    const int capacity = static_cast<int>(glints_.size());
    if (glintsActive_ < capacity && random_.below(101) == 0) {
        int slot = random_.below(capacity);
        for (int tries = 0; glints_[static_cast<std::size_t>(slot)].active && tries < capacity;
             ++tries)
            slot = random_.below(capacity);
        Glint& glint = glints_[static_cast<std::size_t>(slot)];
        if (!glint.active) {
            glint.active = true;
            glint.life = random_.below(501) + 300;
            glint.column = random_.below(columns_ + 1);
            glint.row = random_.below(rows_ + 1);
            ++glintsActive_;
        }
    }
    for (Glint& glint : glints_) {
        if (!glint.active) continue;
        if (glint.life <= 0) {
            glint.active = false;
            --glintsActive_;
        } else {
            glint.code = randomCode();
            --glint.life;
        }
    }
}

std::vector<CodeRain::Item> CodeRain::overlay() const {
    std::vector<Item> items;
    for (const Glint& glint : glints_)
        if (glint.active)
            items.push_back({glint.column, glint.row, std::string(1, glint.code), kGreen});
    if (!pageShown_) return items;
    for (int line = pageFirst_; line < current_ && line <= pageLast_; ++line) {
        const Place place = placeOf(line);
        items.push_back(
            {place.column, place.row, lines[static_cast<std::size_t>(line)], kLightGreen});
    }
    if (current_ <= pageLast_ && !decoded_.empty()) {
        const Place place = placeOf(current_);
        items.push_back({place.column, place.row, decoded_, kLightGreen});
    }
    if (cursorOn_)
        items.push_back({cursorColumn_, cursorRow_, std::string(1, cursorCode_), kLightGreen});
    return items;
}

void CodeRain::drawHead(int column, Drop& drop) {
    // A space keeps its black cell, so space drops wipe their column as they fall.
    if (drop.code != ' ') drop.code = randomCode();
    setCell(column, drop.row, drop.code, kGreen);
}

void CodeRain::drawDim(int column, int row, char code) {
    setCell(column, row, code, Colour{0, random_.below(76) + 75, 0});
}

void CodeRain::setCell(int column, int row, char code, Colour colour) {
    if (column < 0 || column >= columns_ || row < 0 || row >= rows_) return;
    const auto index = static_cast<std::size_t>(row * columns_ + column);
    cells_[index] = code == ' ' ? Cell{' ', kBlack} : Cell{code, colour};
    if (!changed_[index]) {
        changed_[index] = true;
        changedList_.push_back({column, row});
    }
}

char CodeRain::randomCode() {
    return static_cast<char>(random_.below(224) + 32);
}

char CodeRain::scrambleCode() {
    return static_cast<char>(random_.below(std::clamp(highestRandomCode, 32, 255) - 31) + 32);
}

}  // namespace modshelf::dialogs
