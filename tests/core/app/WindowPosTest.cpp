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

}  // namespace
}  // namespace modshelf::app
