#include "core/modules/ListFormat.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>
#include <optional>
#include <string>

#include "core/modules/ModuleRecord.h"
#include "support/LocalTime.h"

namespace modshelf::modules {
namespace {

TEST(ListFormatTest, ThousandsAreGroupedFromTheRight) {
    EXPECT_EQ(FormatThousands(0), "0");
    EXPECT_EQ(FormatThousands(123), "123");
    EXPECT_EQ(FormatThousands(1000), "1,000");
    EXPECT_EQ(FormatThousands(123456), "123,456");
    EXPECT_EQ(FormatThousands(1234567), "1,234,567");
    EXPECT_EQ(FormatThousands(4294967295u), "4,294,967,295");
    // Files beyond 4 GiB keep their whole size.
    EXPECT_EQ(FormatThousands(5368709120ULL), "5,368,709,120");
    EXPECT_EQ(FormatThousands(18446744073709551615ULL), "18,446,744,073,709,551,615");
}

using test::localTime;

TEST(ListFormatTest, LastModifiedUsesATwelveHourClock) {
    EXPECT_EQ(lastModifiedText(localTime(2015, 3, 7, 21, 5)), "03/07/15  09:05 PM");
    EXPECT_EQ(lastModifiedText(localTime(2009, 12, 31, 0, 0)), "12/31/09  12:00 AM");
    EXPECT_EQ(lastModifiedText(localTime(2024, 1, 2, 12, 30)), "01/02/24  12:30 PM");
    EXPECT_EQ(lastModifiedText(localTime(2000, 6, 15, 11, 59)), "06/15/00  11:59 AM");
    EXPECT_EQ(lastModifiedText(localTime(2001, 6, 15, 13, 1)), "06/15/01  01:01 PM");
}

// Runs with TZ set to `zone`, then restores the old setting.
class ZoneScope {
public:
    explicit ZoneScope(const char* zone) {
        if (const char* old = std::getenv("TZ")) old_ = old;
        setenv("TZ", zone, 1);
        tzset();
    }
    ~ZoneScope() {
        if (old_) {
            setenv("TZ", old_->c_str(), 1);
        } else {
            unsetenv("TZ");
        }
        tzset();
    }

private:
    std::optional<std::string> old_;
};

TEST(ListFormatTest, FileTimesAreShownInLocalTime) {
    // 2015-03-07 21:05:00 UTC
    const std::uint64_t fileTime = fileTimeFromUnix(1425762300, 0);
    EXPECT_EQ(unixSecondsFromFileTime(fileTime), 1425762300);
    EXPECT_EQ(fileTime, 130702359000000000ULL);
    {
        ZoneScope utc("UTC0");
        EXPECT_EQ(lastModifiedText(fileTime), "03/07/15  09:05 PM");
    }
    {
        ZoneScope east("XST-3");  // three hours east of UTC
        EXPECT_EQ(lastModifiedText(fileTime), "03/08/15  12:05 AM");
    }
    EXPECT_EQ(lastModifiedText(std::uint64_t{0}), "");
}

TEST(ListFormatTest, BraceNamesAreShortenedOnlyRightAfterTheFirstDot) {
    EXPECT_EQ(shortenedFileName("abc.{0123456789}.bblx"), "abc.{01...");
    EXPECT_EQ(shortenedFileName("kjv.bblx"), "kjv.bblx");
    EXPECT_EQ(shortenedFileName("abc.x{0123456789}.bblx"), "abc.x{0123456789}.bblx");
    EXPECT_EQ(shortenedFileName("a{b.{0123456789}"), "a{b.{0123456789}");  // first "{" first
    // Shortening that would not make the name shorter keeps it whole.
    EXPECT_EQ(shortenedFileName("a.{12"), "a.{12");
    EXPECT_EQ(shortenedFileName("a.{1234"), "a.{1234");
    EXPECT_EQ(shortenedFileName("a.{12345"), "a.{12345");  // same length
    EXPECT_EQ(shortenedFileName("a.{123456"), "a.{12...");
}

}  // namespace
}  // namespace modshelf::modules
