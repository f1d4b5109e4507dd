#include "core/text/AsciiText.h"

#include <gtest/gtest.h>

namespace modshelf::text {
namespace {

TEST(AsciiTextTest, TrimmingRemovesEveryBlankAtBothEndsAndKeepsInnerOnes) {
    EXPECT_EQ(trimmed(" \t\n\v\f\rGreek  Studies\r\f\v\n\t "), "Greek  Studies");
    EXPECT_EQ(trimmed(" \t\r\n"), "");
    EXPECT_EQ(trimmed(""), "");
    // A no-break space (UTF-8 C2 A0) is part of the name, not a blank.
    EXPECT_EQ(trimmed("\xC2\xA0x\xC2\xA0"), "\xC2\xA0x\xC2\xA0");
}

TEST(AsciiTextTest, LowerCasingChangesOnlyAsciiCapitals) {
    EXPECT_EQ(lowerAscii(std::string("C:\\Program Files (X86)\\Scrivel")),
              "c:\\program files (x86)\\scrivel");
    // Cyrillic "Б" (D0 91) keeps its bytes; so do '@' and '[' around the capitals.
    EXPECT_EQ(lowerAscii(std::string("\xD0\x91@AZ[")), "\xD0\x91@az[");
    EXPECT_EQ(upperAscii('c'), 'C');
    EXPECT_EQ(upperAscii('{'), '{');
}

}  // namespace
}  // namespace modshelf::text
