#include <gtest/gtest.h>

#include "core/dialogs/CreditCrawl.h"
#include "core/dialogs/StarField.h"

using namespace modshelf::dialogs;

TEST(StarFieldTest, StarsWrapAtBothEndsOfTheDepthRange) {
    struct Case {
        int z;
        int speed;
        int expected;
    };
    const Case cases[] = {
        {-240, 15, -255},  // exactly the nearest depth stays
        {-250, 15, 255},   // passing the viewer comes back at the far end
        {-256, 0, 255},    // the extra depth a new star may have never gets drawn
        {250, -10, -255},  // moving away past the far end
        {100, 15, 85},
    };
    RandomSource random(7);
    StarField field(random, 1);
    for (const Case& c : cases) {
        field.stars()[0].z = c.z;
        field.step(c.speed);
        EXPECT_EQ(field.stars()[0].z, c.expected) << "from z " << c.z << " at speed " << c.speed;
    }
}

TEST(StarFieldTest, NewStarsLieWithinTheField) {
    RandomSource random(12345);
    StarField field(random);
    ASSERT_EQ(field.stars().size(), 100u);
    for (const auto& star : field.stars()) {
        EXPECT_GE(star.x, -512);
        EXPECT_LE(star.x, 512);
        EXPECT_GE(star.z, -256);
        EXPECT_LE(star.z, 256);
    }
}

TEST(StarFieldTest, NearStarsSpreadFromTheCentreAndShineBrighter) {
    RandomSource random(1);
    StarField field(random, 0);
    const StarField::Point far = field.project({100, -50, 255}, 400, 300);
    const StarField::Point near = field.project({100, -50, -255}, 400, 300);
    EXPECT_EQ(far.x, 200 + 100 * 100 / 511);
    EXPECT_EQ(far.y, 150 - 50 * 100 / 511);
    EXPECT_EQ(near.x, 200 + 100 * 100);
    EXPECT_EQ(near.y, 150 - 50 * 100);
    EXPECT_EQ(far.shade, 0);
    EXPECT_EQ(near.shade, 254);
}

TEST(CreditCrawlTest, RestartsFromTheBottomOnlyWhenTheLastLineHasLeftTheTop) {
    CreditCrawl crawl;
    for (const char* line : {"one", "two", "three"}) crawl.addLine(line);
    crawl.setScrollStep(1);
    crawl.setScrollPosition(-19);  // the last line's top is at 1

    auto lines = crawl.frame(100, 10);
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(lines[0].index, 2u);
    EXPECT_EQ(lines[0].y, 1);
    EXPECT_EQ(crawl.scrollPosition(), -20);

    EXPECT_TRUE(crawl.frame(100, 10).empty());
    EXPECT_EQ(crawl.scrollPosition(), 99);  // back at the bottom, already one step on
}

TEST(CreditCrawlTest, LinesFadeInTowardsTheTopAndStayYellowBelow) {
    CreditCrawl crawl;
    for (const char* line : {"a", "", "b"}) crawl.addLine(line);
    crawl.setScrollStep(2);
    crawl.setScrollPosition(100);
    const auto lines = crawl.frame(400, 100);
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(lines[0].colour.red, 100);
    EXPECT_EQ(lines[0].colour.green, 100);
    EXPECT_EQ(lines[0].colour.blue, 0);
    EXPECT_EQ(lines[2].y, 300);
    EXPECT_EQ(lines[2].colour.red, 255);
    EXPECT_EQ(lines[2].colour.green, 255);
    EXPECT_EQ(crawl.scrollPosition(), 98);
}

TEST(CreditCrawlTest, PerspectiveRowsStayInsideTheImageAndNarrowUpwards) {
    const std::pair<int, int> sizes[] = {{445, 279}, {1, 1}, {10, 3}, {300, 2000}};
    for (auto [width, height] : sizes) {
        const auto rows = perspectiveRows(width, height);
        ASSERT_EQ(rows.size(), static_cast<std::size_t>(height));
        int previousWidth = width;
        int previousY = height;
        for (const PerspectiveRow& row : rows) {
            EXPECT_GE(row.x, 0);
            EXPECT_LE(row.x + row.width, width);
            EXPECT_GE(row.y, 0);
            EXPECT_LT(row.y, height);
            EXPECT_LE(row.width, previousWidth);
            EXPECT_LE(row.y, previousY);
            previousWidth = row.width;
            previousY = row.y;
        }
    }
    EXPECT_TRUE(perspectiveRows(0, 10).empty());
}
