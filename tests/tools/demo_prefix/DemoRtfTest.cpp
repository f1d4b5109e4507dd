#include "DemoRtf.h"

#include <gtest/gtest.h>

namespace modshelf::demo {
namespace {

TEST(DemoRtf, EscapesSpecialCharactersAndLatinLetters) {
    EXPECT_EQ(rtfEscape("a\\b{c}"), "a\\\\b\\{c\\}");
    EXPECT_EQ(rtfEscape("caf\xC3\xA9"), "caf\\'e9");
    EXPECT_EQ(rtfEscape("\xC2\xA9 1850"), "\\'a9 1850");
    // Beyond Latin-1: one question mark per character, whatever its length.
    EXPECT_EQ(rtfEscape("\xE2\x80\x9Cq\xF0\x9F\x93\x96"), "?q?");
}

TEST(DemoRtf, VariantsAreBalancedDocuments) {
    for (int variant = 0; variant < kCommentVariants; ++variant) {
        const std::string text = sampleComments("T{B}", "Caf\xC3\xA9 notes", variant);
        int depth = 0;
        bool underflow = false;
        for (std::size_t i = 0; i < text.size(); ++i) {
            if (text[i] == '\\') {
                ++i;  // an escaped brace or backslash does not count
            } else if (text[i] == '{') {
                ++depth;
            } else if (text[i] == '}') {
                underflow = underflow || --depth < 0;
            }
        }
        EXPECT_EQ(depth, 0) << variant;
        EXPECT_FALSE(underflow) << variant;
        if (text.starts_with("{\\rtf1")) {
            EXPECT_NE(text.find("\\par"), std::string::npos) << variant;
        }
    }
    EXPECT_EQ(sampleComments("X", "Y", 2), sampleComments("X", "Y", 2 + kCommentVariants));
}

}  // namespace
}  // namespace modshelf::demo
