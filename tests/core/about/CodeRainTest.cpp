#include <gtest/gtest.h>

#include <algorithm>

#include "SimulatedTimers.h"
#include "core/dialogs/CodeRain.h"
#include "core/dialogs/CreditLines.h"

using namespace modshelf::dialogs;

namespace {

// A panel of the about box's size: 45 columns, 21 rows.
CodeRain::Geometry panel(int width = 440, int height = 280) {
    return {width, height, 10, 14,
            [](const std::string& s) { return static_cast<int>(s.size()) * 8; }};
}

// The about box's settings of the rain.
void configureAsAboutBox(CodeRain& rain, std::vector<std::string> lines) {
    rain.defaultPageTime = 10;
    rain.setCursorMode(true, false);
    rain.maxScrambleCycles = 120;
    rain.highestRandomCode = 255;
    rain.lines = std::move(lines);
    rain.setLastPageLine(static_cast<int>(rain.lines.size()));
}

// What happened to the pages on the simulated clock.
struct PageEvent {
    long at;
    int firstLine;
    bool decoded;  // false: the page was set up; true: it was fully decoded
};

std::vector<PageEvent> watchPages(CodeRain& rain, SimulatedTimers& timers, long until) {
    std::vector<PageEvent> events;
    timers.run(until, [&](int timer) {
        const bool wasDecoded = rain.pageDecoded();
        rain.tick(timer);
        if (timer == CodeRain::kPageTimer && rain.pageShown())
            events.push_back({timers.now(), rain.pageFirst(), false});
        if (!wasDecoded && rain.pageDecoded() && timer != CodeRain::kPageTimer)
            events.push_back({timers.now(), rain.pageFirst(), true});
    });
    return events;
}

}  // namespace

TEST(CodeRainTest, PagesComeAfterTheStartDelayAndStandForTheirOwnTimes) {
    SimulatedTimers timers;
    RandomSource random(2026);
    CodeRain rain(panel(), timers, random);
    configureAsAboutBox(rain, rainCredits("V.3.37"));

    const auto events = watchPages(rain, timers, 60000);
    ASSERT_GE(events.size(), 5u);
    EXPECT_EQ(events[0].at, 5000);  // the first page after 5 s
    EXPECT_EQ(events[0].firstLine, 0);
    EXPECT_FALSE(events[0].decoded);
    EXPECT_TRUE(events[1].decoded);
    EXPECT_GT(events[1].at, events[0].at);
    EXPECT_EQ(events[2].at, events[1].at + 4000);  // stands 4 s once decoded
    EXPECT_EQ(events[2].firstLine, 6);             // the line after the page-end line
    EXPECT_TRUE(events[3].decoded);
    EXPECT_EQ(events[4].at, events[3].at + 5000);  // the second page stands 5 s
    EXPECT_EQ(events[4].firstLine, 0);             // then the first comes again
    EXPECT_FALSE(events[4].decoded);
}

TEST(CodeRainTest, PageWithoutAnEndLineUsesTheDefaultTimeAndWrapsAround) {
    SimulatedTimers timers;
    RandomSource random(3);
    CodeRain rain(panel(), timers, random);
    configureAsAboutBox(rain, {"HELLO", "WORLD"});
    rain.defaultPageTime = 7;

    const auto events = watchPages(rain, timers, 30000);
    ASSERT_GE(events.size(), 3u);
    EXPECT_TRUE(events[1].decoded);
    EXPECT_EQ(events[2].at, events[1].at + 7000);
    EXPECT_EQ(events[2].firstLine, 0);
}

TEST(CodeRainTest, AnEmptyLineFinishesAtOnce) {
    SimulatedTimers timers;
    RandomSource random(4);
    CodeRain rain(panel(), timers, random);
    configureAsAboutBox(rain, {"", "\x01 2"});

    const auto events = watchPages(rain, timers, 9000);
    ASSERT_GE(events.size(), 3u);
    EXPECT_EQ(events[0].at, 5000);
    EXPECT_TRUE(events[1].decoded);
    EXPECT_EQ(events[1].at, 5000 + CodeRain::kDecodeInterval);  // the first decode step
    EXPECT_EQ(events[2].at, events[1].at + 2000);
}

TEST(CodeRainTest, TwoPageEndLinesInARowMakeAnEmptyPageInsteadOfShowingTheMarker) {
    SimulatedTimers timers;
    RandomSource random(5);
    CodeRain rain(panel(), timers, random);
    configureAsAboutBox(rain, {"A", "\x01 1", "\x01 1", "B"});

    std::vector<int> firstLines;
    timers.run(40000, [&](int timer) {
        rain.tick(timer);
        if (timer == CodeRain::kPageTimer) firstLines.push_back(rain.pageFirst());
        for (const auto& item : rain.overlay())
            ASSERT_EQ(item.text.find(CodeRain::kPageEnd), std::string::npos);
    });
    ASSERT_GE(firstLines.size(), 4u);
    EXPECT_EQ(std::vector<int>(firstLines.begin(), firstLines.begin() + 4),
              (std::vector<int>{0, 2, 3, 0}));
}

TEST(CodeRainTest, DecodingFollowsTheCursorAndEndsWithTheTrueText) {
    SimulatedTimers timers;
    RandomSource random(6);
    CodeRain rain(panel(), timers, random);
    const std::vector<std::string> page = {"Quorvel Modshelf", "", "V.3.37"};
    configureAsAboutBox(rain, page);
    rain.defaultPageTime = 60;

    timers.run(20000, [&](int timer) {
        rain.tick(timer);
        if (!rain.pageShown() || rain.pageDecoded()) return;
        const int behindCursor = rain.cursorColumn() - rain.placeOf(rain.currentLine()).column;
        ASSERT_LE(static_cast<int>(rain.decoded().size()), std::max(0, behindCursor));
    });
    ASSERT_TRUE(rain.pageDecoded());

    std::vector<std::string> shown;
    for (const auto& item : rain.overlay())
        if (item.colour == CodeRain::kLightGreen && item.text.size() > 1)
            shown.push_back(item.text);
    EXPECT_EQ(shown, (std::vector<std::string>{"Quorvel Modshelf", "V.3.37"}));
    // Centred on the grid, one line below the other.
    EXPECT_EQ(rain.placeOf(0).column, (440 - 16 * 8) / 2 / 10);
    EXPECT_EQ(rain.placeOf(2).row, rain.placeOf(0).row + 2);
}

TEST(CodeRainTest, RainAndGlintsStayOnTheGridWhateverItsSize) {
    const std::pair<int, int> sizes[] = {{440, 280}, {5, 5}, {30, 20}, {440, 30}};
    for (auto [width, height] : sizes) {
        SimulatedTimers timers;
        RandomSource random(static_cast<std::uint32_t>(width * 1000 + height));
        CodeRain rain(panel(width, height), timers, random);
        configureAsAboutBox(rain, rainCredits("V.3.37"));
        int changed = 0;
        timers.run(30000, [&](int timer) {
            rain.tick(timer);
            changed += static_cast<int>(rain.takeChangedCells().size());
            int active = 0;
            for (const auto& glint : rain.glints()) active += glint.active;
            ASSERT_EQ(active, rain.glintsActive());
            for (const auto& drop : rain.drops()) {
                if (drop.active) {
                    ASSERT_LE(drop.row, drop.endRow);
                }
                ASSERT_LE(drop.endRow, rain.rows());
            }
        });
        EXPECT_GT(changed, 0) << width << "x" << height;
        for (const auto& cell : rain.cells()) {
            if (cell.code == ' ') {
                EXPECT_EQ(cell.colour, CodeRain::kBlack);
            } else {
                EXPECT_EQ(cell.colour.red, 0);
                EXPECT_GE(cell.colour.green, 75);
                EXPECT_GE(static_cast<unsigned char>(cell.code), 32);
            }
        }
    }
}

TEST(CodeRainTest, TheSameSeedReplaysTheSameRain) {
    auto run = [](std::uint32_t seed) {
        SimulatedTimers timers;
        RandomSource random(seed);
        CodeRain rain(panel(), timers, random);
        timers.run(3000, [&](int timer) { rain.tick(timer); });
        std::string grid;
        for (const auto& cell : rain.cells()) grid += cell.code;
        return grid;
    };
    EXPECT_EQ(run(9), run(9));
    EXPECT_NE(run(9), run(10));
}

TEST(CodeRainTest, PageEndLinesGiveTheirSeconds) {
    const std::pair<std::string, int> cases[] = {
        {"\x01 4", 4},
        {"\x01"
         "12",
         12},
        {"\x01   7 s", 7},
        {"\x01", 0},
        {"\x01 x5", 0},
        {"\x01 99999999999999", 24 * 60 * 60},
    };
    for (const auto& [line, seconds] : cases) EXPECT_EQ(pageEndSeconds(line), seconds) << line;
}
