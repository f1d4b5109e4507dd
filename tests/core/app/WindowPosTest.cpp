#include <gtest/gtest.h>

#include "core/app/WindowPos.h"

namespace modshelf::app {
namespace {

TEST(WindowPos, FormatsTenNumbersAndParsesThemBack) {
    WindowPos pos{kRestoreToMaximized, kShowMaximized, -1, -1, -8, -8, 120, 80, 920, 680};
    const std::string text = formatWindowPos(pos);
    EXPECT_EQ(text, "2:3:-1:-1:-8:-8:120:80:920:680");
    EXPECT_LE(text.size(), 99u);
    const auto parsed = parseWindowPos(text);
    ASSERT_TRUE(parsed);
    EXPECT_EQ(*parsed, pos);
}

TEST(WindowPos, RejectsTextsThatDoNotHoldTenNumbers) {
    EXPECT_FALSE(parseWindowPos(""));
    EXPECT_FALSE(parseWindowPos("0:1:-1:-1:-1:-1:10:10:500"));
    EXPECT_FALSE(parseWindowPos("0:1:-1:-1:-1:-1:10:10:500:x"));
    EXPECT_FALSE(parseWindowPos("a:1:-1:-1:-1:-1:10:10:500:400"));
    EXPECT_FALSE(parseWindowPos("0;1;-1;-1;-1;-1;10;10;500;400"));
    EXPECT_FALSE(parseWindowPos("0:1:-1:-1:-1:-1:10:10:99999999999:400"));
    // What follows the tenth number does not matter.
    const auto trailing = parseWindowPos("0:1:-1:-1:-1:-1:10:10:500:400:junk");
    ASSERT_TRUE(trailing);
    EXPECT_EQ(trailing->bottom, 400);
}

TEST(WindowPos, CloseWhileMaximizedKeepsTheNormalRectangleAndAddsTheFlag) {
    const WindowPos shown{0, kShowMaximized, -1, -1, -1, -1, 50, 60, 850, 660};
    const WindowPos stored = placementForClose(shown, true);
    EXPECT_EQ(stored.flags & kRestoreToMaximized, kRestoreToMaximized);
    EXPECT_EQ(stored.left, 50);
    EXPECT_EQ(stored.bottom, 660);
    EXPECT_EQ(placementForClose(shown, false).flags, 0);

    // At the next start the stored show state gives way to the one the program
    // was started with; the flag stays.
    const WindowPos start = placementForStart(stored, kShowNormal);
    EXPECT_EQ(start.showCmd, kShowNormal);
    EXPECT_EQ(start.flags & kRestoreToMaximized, kRestoreToMaximized);
}

TEST(WindowPos, APlacementIsBroughtInsideTheWorkAreaWithItsFrame) {
    const ScreenArea area{0, 0, 1920, 1040};
    const FrameMargins frame{1, 20, 1, 1};
    const struct {
        const char* what;
        int left, top, right, bottom;
        int wantLeft, wantTop, wantRight, wantBottom;
    } cases[] = {
        {"inside: unchanged", 100, 120, 740, 600, 100, 120, 740, 600},
        {"twice the screen: shrunk to the area", 200, 100, 3840 + 200, 2080 + 100, 1, 20, 1919,
         1039},
        {"off the right edge: moved in", 1700, 300, 2300, 700, 1319, 300, 1919, 700},
        {"title bar above the screen: moved down", 300, 5, 900, 505, 300, 20, 900, 520},
        {"off the left and bottom", -400, 900, 200, 1300, 1, 639, 601, 1039},
    };
    for (const auto& c : cases) {
        WindowPos pos{0, kShowNormal, -1, -1, -1, -1, c.left, c.top, c.right, c.bottom};
        const WindowPos got = clampToArea(pos, area, frame);
        EXPECT_EQ(got.left, c.wantLeft) << c.what;
        EXPECT_EQ(got.top, c.wantTop) << c.what;
        EXPECT_EQ(got.right, c.wantRight) << c.what;
        EXPECT_EQ(got.bottom, c.wantBottom) << c.what;
        EXPECT_EQ(got.showCmd, kShowNormal);
    }
    // A work area on a second monitor left of the first.
    WindowPos pos{0, kShowNormal, -1, -1, -1, -1, -2000, 50, -1000, 650};
    const WindowPos got = clampToArea(pos, ScreenArea{-1280, 0, 0, 1024}, frame);
    EXPECT_EQ(got.left, -1279);
    EXPECT_EQ(got.right, -279);
}

}  // namespace
}  // namespace modshelf::app
