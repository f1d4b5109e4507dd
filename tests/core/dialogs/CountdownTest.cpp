#include <gtest/gtest.h>

#include "core/dialogs/Countdown.h"

using namespace modshelf::dialogs;

TEST(Countdown, ThreeSecondsShowThreeTwoOneThenPress) {
    Countdown countdown(3);
    std::string caption = "OK";
    std::vector<std::string> shown;
    int ticks = 0;
    bool pressed = false;
    while (!pressed && ticks < 10) {
        ++ticks;
        Countdown::Step step = countdown.tick(caption);
        if (step.press) {
            pressed = true;
        } else {
            caption = step.caption;
            shown.push_back(caption);
        }
    }
    EXPECT_EQ(shown, (std::vector<std::string>{"OK = 3", "OK = 2", "OK = 1"}));
    EXPECT_EQ(ticks, 4);
    EXPECT_FALSE(countdown.running());
    // Once pressed it stays quiet.
    EXPECT_FALSE(countdown.tick(caption).press);
}

TEST(Countdown, StoppingRestoresTheCaptionOfTheFirstTick) {
    Countdown countdown(5);
    EXPECT_EQ(countdown.stop(), std::nullopt);  // nothing changed yet

    Countdown running(5);
    auto step = running.tick("&Yes");
    EXPECT_EQ(step.caption, "&Yes = 5");
    step = running.tick(step.caption);
    EXPECT_EQ(step.caption, "&Yes = 4");
    EXPECT_EQ(running.stop(), std::optional<std::string>("&Yes"));
    EXPECT_FALSE(running.running());
    EXPECT_FALSE(running.tick("&Yes").press);
}

TEST(Countdown, NonPositiveSecondsMeanNoCountdown) {
    for (int seconds : {0, -1, -1000}) {
        Countdown countdown(seconds);
        EXPECT_FALSE(countdown.running());
        Countdown::Step step = countdown.tick("OK");
        EXPECT_FALSE(step.press);
        EXPECT_TRUE(step.caption.empty());
    }
}

TEST(DisabledPeriod, TitleCountsDownAndIsRestoredAtZero) {
    DisabledPeriod period(2, " Wait");
    EXPECT_TRUE(period.active());
    EXPECT_EQ(period.title(), " Wait 2");
    EXPECT_FALSE(period.tick());
    EXPECT_EQ(period.title(), " Wait 1");
    EXPECT_TRUE(period.tick());
    EXPECT_FALSE(period.active());
    EXPECT_EQ(period.title(), " Wait");
    EXPECT_FALSE(period.tick());

    DisabledPeriod none(-4, "x");
    EXPECT_FALSE(none.active());
    EXPECT_EQ(none.title(), "x");
}
