#include <gtest/gtest.h>

#include <string>

#include "core/reports/RtfKeywords.h"
#include "core/reports/RtfToText.h"

namespace modshelf::reports {
namespace {

using namespace std::string_literals;

struct Case {
    const char* name;
    std::string rtf;
    std::string text;
};

class RtfConverts : public testing::TestWithParam<Case> {};

TEST_P(RtfConverts, ToPlainText) {
    std::string out = "previous";
    ASSERT_TRUE(ConvertRtfToText(GetParam().rtf, out)) << GetParam().name;
    EXPECT_EQ(out, GetParam().text) << GetParam().name;
}

const char* kDocument =
    "{\\rtf1\\ansi\\ansicpg1252\\deff0\\deflang1033"
    "{\\fonttbl{\\f0\\fswiss\\fcharset0 Arial;}{\\f1\\froman Times New Roman;}}\r\n"
    "{\\colortbl ;\\red0\\green0\\blue128;}\r\n"
    "{\\stylesheet{\\s0 Normal;}}{\\info{\\author Someone}{\\title A title}}"
    "{\\*\\generator Riched20 6.3.9600;}\\viewkind4\\uc1 \r\n"
    "\\pard\\cf1\\b\\f0\\fs24 Heading\\cf0\\b0\\fs20\\par\r\n"
    "{\\header Page header}Body\\tab text\\par\r\n}";

INSTANTIATE_TEST_SUITE_P(
    Examples, RtfConverts,
    testing::Values(
        Case{"plain text loses its line breaks", "one\r\ntwo\nthree\r", "onetwothree"},
        Case{"font table skipped, par consumes its space",
             "{\\rtf1{\\fonttbl{\\f0 Arial;}}Hello\\par World}", "Hello\nWorld"},
        Case{"unknown starred group skipped", "{a{\\*\\generator Riched;}b}", "ab"},
        Case{"starred known keyword kept", "{a{\\*\\b bold}c}", "aboldc"},
        Case{"star cleared by the next word", "{\\*\\b x{\\generator y}z}", "xyz"},
        Case{"hex escape", "caf\\'e9!", "caf\xe9!"},
        Case{"hex digits across a line break", "\\'E\r\n9x", "\xe9x"},
        Case{"bad hex inside a picture is not hex", "{\\pict \\'eG 0a0b}ok", "ok"},
        Case{"control symbols keep a following space", "\\{ \\} \\\\ x", "{ } \\ x"},
        Case{"backslash before a line break is a paragraph", "a\\\nb\\\rc", "a\nb\nc"},
        Case{"unicode keeps only the replacement", "\\u8220?Quoted\\u8221?", "?Quoted?"},
        Case{"unknown words emit nothing", "a\\line b\\rquote c\\emdash d\\~e", "abcde"},
        Case{"quotes and tab", "\\ldblquote x\\rdblquote\\tab y", "\"x\"\ty"},
        Case{"bin takes its bytes as data", "\\bin3 {}\\z", "{}\\z"},
        Case{"bin of zero takes one byte", "\\bin0 }a", "}a"},
        Case{"negative bin takes one byte", "\\bin-4 {a", "{a"},
        Case{"bin inside a skipped picture still passes data", "{\\pict\\bin2 }}}x", "x"},
        Case{"a dash without digits is dropped", "\\foo-x", "x"},
        Case{"parameter and space delimiter", "\\fs24 big", "big"},
        Case{"keyword at the very end", "a\\par", "a\n"},
        Case{"overlong control word is unknown, never a keyword",
             "\\" + std::string(100, 'p') + "ar x", "x"},
        Case{"overlong parameter is read and dropped", "\\fs" + std::string(200, '9') + " y", "y"},
        Case{"real-world document", kDocument, "Heading\nBody\ttext\n"}),
    [](const testing::TestParamInfo<Case>& info) { return std::to_string(info.index); });

struct Failure {
    const char* name;
    std::string rtf;
    RtfResult result;
};

class RtfFails : public testing::TestWithParam<Failure> {};

TEST_P(RtfFails, WithItsCodeAndLeavesTheTextAlone) {
    std::string out;
    EXPECT_EQ(parseRtf(GetParam().rtf, out), GetParam().result) << GetParam().name;
    std::string kept = "kept";
    EXPECT_FALSE(ConvertRtfToText(GetParam().rtf, kept));
    EXPECT_EQ(kept, "kept");
}

INSTANTIATE_TEST_SUITE_P(
    Examples, RtfFails,
    testing::Values(Failure{"one opening brace too many", "{{a}", RtfResult::UnmatchedBrace},
                    Failure{"one closing brace too many", "{a}}", RtfResult::StackUnderflow},
                    Failure{"lone trailing backslash", "{a}\\", RtfResult::EndOfFile},
                    Failure{"dash at the very end", "\\fs-", RtfResult::EndOfFile},
                    Failure{"bad second hex digit", "\\'eG", RtfResult::InvalidHex},
                    Failure{"bad first hex digit", "\\'x1", RtfResult::InvalidHex}),
    [](const testing::TestParamInfo<Failure>& info) { return std::to_string(info.index); });

TEST(RtfToText, AConversionAfterAFailedOneStartsClean) {
    std::string out;
    // Leaves a skipped destination, hex mode and open groups behind.
    EXPECT_FALSE(ConvertRtfToText("{{\\fonttbl{\\*\\foo \\'e", out));
    EXPECT_FALSE(ConvertRtfToText("{\\bin9 ", out));
    ASSERT_TRUE(ConvertRtfToText("{\\rtf1 Hello\\par World}", out));
    EXPECT_EQ(out, "Hello\nWorld");
}

TEST(RtfToText, GroupsRestoreTheirDestination) {
    std::string out;
    ASSERT_TRUE(ConvertRtfToText("{a{\\fonttbl x{y}z}b{\\info{\\title t}}c}", out));
    EXPECT_EQ(out, "abc");
}

TEST(RtfToText, VeryDeepNestingIsHandledWithoutRecursion) {
    const std::size_t depth = 1'000'000;
    std::string rtf = std::string(depth, '{') + "deep" + std::string(depth, '}');
    std::string out;
    ASSERT_TRUE(ConvertRtfToText(rtf, out));
    EXPECT_EQ(out, "deep");
    rtf.pop_back();
    EXPECT_FALSE(ConvertRtfToText(rtf, out));
}

TEST(RtfToText, ALargeCommentConvertsWhole) {
    std::string rtf = "{\\rtf1{\\fonttbl{\\f0 Arial;}}";
    const std::string paragraph = "\\pard\\f0\\fs20 Line of text with caf\\'e9.\\par\r\n";
    std::string expected;
    while (rtf.size() < 10'000'000) {
        rtf += paragraph;
        expected += "Line of text with caf\xe9.\n";
    }
    rtf += "}";
    std::string out;
    ASSERT_TRUE(ConvertRtfToText(rtf, out));
    EXPECT_EQ(out, expected);
}

TEST(RtfKeywords, KnowsEveryRowAndNothingElse) {
    EXPECT_EQ(rtfKeywordCount(), 77);
    for (const char* word : {"par", "pict", "landscape", "bin", "*", "'", "\\", "xe"})
        EXPECT_NE(findRtfKeyword(word), nullptr) << word;
    for (const char* word : {"Par", "rtf", "line", "pa", "pars", ""})
        EXPECT_EQ(findRtfKeyword(word), nullptr) << word;
}

}  // namespace
}  // namespace modshelf::reports
