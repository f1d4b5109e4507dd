// The two animated panels draw what their models say.

#include <gtest/gtest.h>

#include <QImage>
#include <QTest>
#include <QWidget>
#include <functional>

#include "core/dialogs/CodeRain.h"
#include "gui/dialogs/CCodeRain.h"
#include "gui/dialogs/CStarCrawl.h"

namespace modshelf::gui {
namespace {

int countPixels(const QImage& image, const std::function<bool(const QColor&)>& match) {
    int count = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) count += match(image.pixelColor(x, y));
    return count;
}

bool yellow(const QColor& c) {
    return c.red() > 120 && c.green() > 120 && c.blue() < 60;
}
bool grey(const QColor& c) {
    return c.red() > 0 && c.red() == c.green() && c.green() == c.blue();
}
bool rainGreen(const QColor& c) {
    return c.red() == 0 && c.green() > 60 && c.blue() == 0;
}
bool lightGreen(const QColor& c) {
    return c.red() >= 100 && c.green() >= 230 && c.blue() >= 100;
}

TEST(CreditsPanelsTest, CrawlShowsStarsAndYellowTextThatRestartsFromTheBottom) {
    QWidget window;
    window.resize(420, 260);
    auto* crawl = new CStarCrawl(&window, 42);
    crawl->setGeometry(10, 10, 400, 240);
    crawl->addLine("MODSHELF");
    crawl->addLine("CREDITS");
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    ASSERT_TRUE(crawl->isRunning());
    const QImage& image = crawl->frameImage();
    ASSERT_EQ(image.size(), crawl->contentsRect().size());
    const int height = image.height();
    EXPECT_EQ(crawl->crawl().scrollPosition(), height - 1);  // first frame drawn from the bottom

    for (int i = 0; i < 40; ++i) crawl->advanceFrame();
    EXPECT_GT(countPixels(image, grey), 0);
    EXPECT_GT(countPixels(image, yellow), 20);

    // Run until the text has left the top: it comes back at the bottom.
    bool restarted = false;
    int lastLineTop = 0;
    for (int i = 0; i < 2 * height && !restarted; ++i) {
        lastLineTop = crawl->crawl().scrollPosition() + crawl->lineHeight();
        crawl->advanceFrame();
        restarted = crawl->crawl().scrollPosition() > lastLineTop;
    }
    ASSERT_TRUE(restarted);
    EXPECT_EQ(lastLineTop, 0);  // not before the last line had reached the top
    EXPECT_EQ(crawl->crawl().scrollPosition(), height - 1);
}

TEST(CreditsPanelsTest, RainFallsInGreenAndThePageIsWrittenInLightGreen) {
    QWidget window;
    window.resize(320, 220);
    CCodeRain rain(&window, QRect(5, 5, 300, 200), 7);
    rain.model().lines = {"HELLO", "WORLD"};
    rain.model().setLastPageLine(2);
    rain.model().maxScrambleCycles = 3;
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    EXPECT_TRUE(rain.timerRunning(dialogs::CodeRain::kRainTimer));

    for (int i = 0; i < 30; ++i) rain.tickTimer(dialogs::CodeRain::kRainTimer);
    EXPECT_GT(countPixels(rain.frameImage(), rainGreen), 0);
    EXPECT_EQ(countPixels(rain.frameImage(), lightGreen), 0);

    rain.tickTimer(dialogs::CodeRain::kPageTimer);
    EXPECT_TRUE(rain.timerRunning(dialogs::CodeRain::kDecodeTimer));
    EXPECT_FALSE(rain.timerRunning(dialogs::CodeRain::kPageTimer));
    for (int i = 0; i < 2000 && !rain.model().pageDecoded(); ++i) {
        rain.tickTimer(dialogs::CodeRain::kCursorTimer);
        rain.tickTimer(dialogs::CodeRain::kDecodeTimer);
    }
    ASSERT_TRUE(rain.model().pageDecoded());
    EXPECT_TRUE(rain.timerRunning(dialogs::CodeRain::kPageTimer));
    EXPECT_TRUE(rain.timerRunning(dialogs::CodeRain::kGlintTimer));
    rain.tickTimer(dialogs::CodeRain::kGlintTimer);

    // Both lines stand on their rows, in light green, where the model placed them.
    const QSize cell = rain.cellSize();
    for (int line : {0, 1}) {
        const auto place = rain.model().placeOf(line);
        const QImage row =
            rain.frameImage().copy(place.column * cell.width(), place.row * cell.height(),
                                   5 * cell.width(), cell.height());
        EXPECT_GT(countPixels(row, lightGreen), 10) << "line " << line;
    }
}

}  // namespace
}  // namespace modshelf::gui
