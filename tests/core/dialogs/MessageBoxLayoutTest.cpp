#include <gtest/gtest.h>

#include "core/dialogs/MessageBoxLayout.h"

using namespace modshelf::dialogs;

namespace {

// Base units 8 x 16 keep the arithmetic easy to follow: 38*8/4 = 76 minimum
// button width, 12*16/8 = 24 button height.
LayoutMetrics metrics() {
    LayoutMetrics m;
    m.baseUnitX = 8;
    m.baseUnitY = 16;
    m.screenWidth = 1000;
    m.iconSize = {32, 32};
    return m;
}

TextMeasurer fixedText(int width, int height, int lines = 1, int* limitSeen = nullptr) {
    return [=](int limit) {
        if (limitSeen) *limitSeen = limit;
        return MeasuredText{{width, height}, lines};
    };
}

}  // namespace

TEST(MessageBoxLayout, MulDivRoundsToNearest) {
    EXPECT_EQ(mulDiv(38, 7, 4), 67);   // 66.5
    EXPECT_EQ(mulDiv(12, 13, 8), 20);  // 19.5
    EXPECT_EQ(mulDiv(13, 6, 4), 20);   // 19.5
    EXPECT_EQ(mulDiv(10, 15, 8), 19);  // 18.75
    EXPECT_EQ(mulDiv(-38, 7, 4), -67);
    EXPECT_EQ(mulDiv(1, 2, 0), -1);
}

TEST(MessageBoxLayout, ButtonSizesFollowTheBaseUnits) {
    const LayoutMetrics m = metrics();
    EXPECT_EQ(minimumButtonWidth(m, false), 76);
    EXPECT_EQ(minimumButtonWidth(m, true), 76 + 12);
    EXPECT_EQ(buttonHeight(m, false), 24);
    EXPECT_EQ(buttonHeight(m, true), 26);
    EXPECT_EQ(checkBoxHeight(m), 20);
    EXPECT_EQ(countdownExtraWidth(m), 26);
    EXPECT_EQ(buttonWidth(m, 20, false, false), 76);    // short caption: the minimum
    EXPECT_EQ(buttonWidth(m, 100, false, false), 120);  // long caption: text + 20
    EXPECT_EQ(buttonWidth(m, 20, false, true), 102);    // countdown room on top
}

TEST(MessageBoxLayout, PlainBoxWithCentredButtons) {
    LayoutRequest r;
    r.buttonTextWidths = {20, 30};  // two minimum-width buttons: row 76+6+76 = 158
    int limit = 0;
    const auto l = layOutMessageBox(metrics(), r, fixedText(300, 40, 2, &limit));
    EXPECT_EQ(limit, 1000 / 2 + 80);
    EXPECT_EQ(l.message, (LayoutRect{16, 16, 328, 69}));
    EXPECT_FALSE(l.icon);
    EXPECT_EQ(l.box.width, 312 + 16);
    // No icon, no band: the row sits 5 below the message.
    ASSERT_EQ(l.buttons.size(), 2u);
    EXPECT_EQ(l.buttons[0], (LayoutRect{85, 74, 161, 98}));  // (328 - 158) / 2 = 85
    EXPECT_EQ(l.buttons[1], (LayoutRect{167, 74, 243, 98}));
    EXPECT_EQ(l.box.height, 98 + 12);
    EXPECT_EQ(toDialogUnits(metrics(), l.box), (LayoutSize{164, 55}));
}

TEST(MessageBoxLayout, IconBandAndRightAlignedButtons) {
    LayoutRequest r;
    r.hasIcon = true;
    r.hasBand = true;
    r.rightAligned = true;
    r.buttonTextWidths = {20};
    const auto l = layOutMessageBox(metrics(), r, fixedText(200, 20));
    // The message moves right by margin 8 + icon 32; the box ends 8 after it.
    EXPECT_EQ(l.message, (LayoutRect{56, 16, 268, 49}));
    ASSERT_TRUE(l.icon);
    EXPECT_EQ(*l.icon, (LayoutRect{8, 8, 42, 42}));
    EXPECT_EQ(l.box.width, 276);
    EXPECT_EQ(l.band, (LayoutRect{0, 0, 276, 49}));
    // With an icon or band the row sits 14 below; right-aligned 16 from the edge.
    EXPECT_EQ(l.buttons[0], (LayoutRect{276 - 76 - 16, 63, 276 - 16, 87}));
    EXPECT_EQ(l.box.height, 99);
}

TEST(MessageBoxLayout, TallIconPushesTheButtonsDown) {
    LayoutMetrics m = metrics();
    m.iconSize = {32, 64};
    LayoutRequest r;
    r.hasIcon = true;
    r.buttonTextWidths = {20};
    const auto l = layOutMessageBox(m, r, fixedText(200, 10));
    EXPECT_EQ(l.icon->bottom, 8 + 64 + 2);
    EXPECT_EQ(l.buttons[0].top, 74 + 14);
}

TEST(MessageBoxLayout, TextLimitForIconsNarrowAndNewerLook) {
    LayoutRequest r;
    r.buttonTextWidths = {20};
    int limit = 0;
    r.styleHasIconBits = true;
    layOutMessageBox(metrics(), r, fixedText(10, 10, 1, &limit));
    EXPECT_EQ(limit, 580 - 48);
    r.narrow = true;
    layOutMessageBox(metrics(), r, fixedText(10, 10, 1, &limit));
    EXPECT_EQ(limit, 333 - 48);
    r = LayoutRequest{};
    r.newerLook = true;
    r.buttonTextWidths = {20};
    layOutMessageBox(metrics(), r, fixedText(10, 10, 1, &limit));
    EXPECT_EQ(limit, 490);
}

TEST(MessageBoxLayout, NewerLookMarginsAndMultiLineTextBesideTheIcon) {
    LayoutRequest r;
    r.newerLook = true;
    r.hasIcon = true;
    r.buttonTextWidths = {20};
    auto one = layOutMessageBox(metrics(), r, fixedText(300, 20, 1));
    EXPECT_EQ(one.message, (LayoutRect{16 + 56, 32, 328 + 56, 81}));
    EXPECT_EQ(one.box.width, 384 + 24);
    auto two = layOutMessageBox(metrics(), r, fixedText(300, 40, 2));
    EXPECT_EQ(two.message.top, 24);  // aligned with the icon's top
    EXPECT_EQ(two.message.height(), 40 + 61 - 32);
    EXPECT_EQ(two.buttons[0].height(), 26);
}

TEST(MessageBoxLayout, WideButtonRowWidensTheBoxAndCheckBoxSitsBelow) {
    LayoutRequest r;
    r.buttonTextWidths = {100, 100, 100, 100};  // 4 x 120 + 3 x 6 = 498
    r.countdown = false;
    r.hasCheckBox = true;
    r.checkBoxWidth = 150;
    const auto l = layOutMessageBox(metrics(), r, fixedText(50, 20));
    EXPECT_EQ(l.box.width, 498 + 32);
    EXPECT_EQ(l.buttons.front().left, (530 - 498) / 2);
    EXPECT_EQ(l.buttons.back().right, l.buttons.front().left + 498);
    ASSERT_TRUE(l.checkBox);
    EXPECT_EQ(l.checkBox->left, 17);
    EXPECT_EQ(l.checkBox->top, l.buttons[0].bottom + 12);
    EXPECT_EQ(l.checkBox->height(), 20);
    EXPECT_EQ(l.box.height, l.checkBox->bottom + 16);

    // A check box caption wider than the box widens it.
    r.buttonTextWidths = {20};
    r.checkBoxWidth = 400;
    EXPECT_EQ(layOutMessageBox(metrics(), r, fixedText(50, 20)).box.width, 17 + 400 + 16);
}
