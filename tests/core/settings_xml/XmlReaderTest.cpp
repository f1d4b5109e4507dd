#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/settings/XmlReader.h"
#include "support/ScriptedPrompter.h"
#include "support/TempDir.h"

namespace modshelf::settings {
namespace {

// Every event of a text as "event:data", events 0 included when asked.
std::vector<std::string> trace(const std::string& text, bool withNone = false) {
    XmlReader reader;
    reader.SetText(text);
    std::vector<std::string> events;
    while (reader.Next()) {
        const int e = reader.GetEvent();
        switch (e) {
            case kXmlNone:
                if (withNone) events.push_back("0");
                break;
            case kXmlStartTag:
                events.push_back("1:" + reader.GetElementName());
                break;
            case kXmlEndTag:
                events.push_back("2:" + reader.GetElementName());
                break;
            case kXmlAttribute:
                events.push_back("3:" + reader.GetElementName() + "." + reader.GetAttributeName() +
                                 "=" + reader.GetAttributeValue());
                break;
            case kXmlText:
                events.push_back("4:" + reader.GetText());
                break;
            case kXmlDeclaration:
                events.push_back("5:" + reader.GetDeclaration());
                break;
            default:
                events.push_back(std::to_string(e));
        }
    }
    if (reader.HadError()) events.push_back("error:" + reader.GetErrorText());
    return events;
}

using Events = std::vector<std::string>;

TEST(XmlReader, DeclarationGivesItsAttributesThenNothingEvents) {
    EXPECT_EQ(trace("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n", true),
              (Events{"5:?xml", "0", "0", "0", "3:.version=1.0", "0", "0", "0", "3:.encoding=UTF-8",
                      "0", "0", "0"}));
}

struct EventCase {
    const char* name;
    std::string text;
    Events expected;
};

class XmlReaderEvents : public ::testing::TestWithParam<EventCase> {};

TEST_P(XmlReaderEvents, ReportsEachItem) {
    EXPECT_EQ(trace(GetParam().text), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Examples, XmlReaderEvents,
    ::testing::Values(
        EventCase{"EmptyElement",
                  "<v name=\"a\" value=\"b\"/>",
                  {"1:v", "3:v.name=a", "3:v.value=b", "2:v"}},
        EventCase{"IndentationIsText", "<r>\n  <k/>\n</r>", {"1:r", "4:  ", "1:k", "2:k", "2:r"}},
        EventCase{"QuotedValueKeepsApostropheAndGreaterThan",
                  "<v value=\"it's > that\"/>",
                  {"1:v", "3:v.value=it's > that", "2:v"}},
        EventCase{
            "ApostropheQuotes", "<v value='say \"hi\"'/>", {"1:v", "3:v.value=say \"hi\"", "2:v"}},
        EventCase{"ValueOverTwoLinesJoinsWithCrLf",
                  "<v value=\"a\r\nb\"/>",
                  {"1:v", "3:v.value=a\r\nb", "2:v"}},
        EventCase{"ValueOverLfLinesAlsoGetsCrLf",
                  "<v value=\"a\n\nb\"/>",
                  {"1:v", "3:v.value=a\r\n\r\nb", "2:v"}},
        EventCase{"CommentOverThreeLines",
                  "<r><!-- one\ntwo\nthree --></r>",
                  {"1:r", "6", "6", "6", "2:r"}},
        EventCase{"CData", "<r><![CDATA[x < y]]></r>", {"1:r", "7", "2:r"}},
        EventCase{"EndTagWithSpaces", "< k name=\"x\" ></k >", {"1:k", "3:k.name=x", "2:k"}},
        EventCase{"QuoteOpensAtLineEnd", "<v value=\"\nb\"/>", {"1:v", "3:v.value=\r\nb", "2:v"}},
        EventCase{"TextPerLine", "<r>one\ntwo</r>", {"1:r", "4:one", "4:two", "2:r"}}),
    [](const auto& info) { return std::string(info.param.name); });

struct ErrorCase {
    const char* name;
    std::string text;
    std::string error;
};

class XmlReaderErrors : public ::testing::TestWithParam<ErrorCase> {};

TEST_P(XmlReaderErrors, StopWithTheLineAndTheMessage) {
    const Events events = trace(GetParam().text);
    ASSERT_FALSE(events.empty());
    EXPECT_EQ(events.back(), "error:" + GetParam().error);
}

const std::string kDeep = [] {
    std::string text;
    for (int i = 0; i <= XmlReader::kMaxDepth; ++i) text += "<k>";
    return text;
}();

INSTANTIATE_TEST_SUITE_P(
    Faults, XmlReaderErrors,
    ::testing::Values(
        ErrorCase{"LessThanInsideTag", "<r>\n<k <v>", "Parse error in line 2 : (Bad '<' symbol)"},
        ErrorCase{"LessThanEndsLine", "<r>\n<k/>  <",
                  "Parse error in line 2 : ('<' symbol not allowed at the end of a line)"},
        ErrorCase{"EmptyName", "<>", "Parse error in line 1 : (Empty element name)"},
        ErrorCase{"EqualsWithoutName", "<k =\"x\">",
                  "Parse error in line 1 : (Missing attribute name before '=')"},
        ErrorCase{"StrayCharacter", "x<r/>", "Parse error in line 1 : (Syntax error)"},
        ErrorCase{"NotUtf8", "<r>\n<k name=\"\xC3\x28\"/>",
                  "Parse error in line 2 : (Text that is not UTF-8)"},
        ErrorCase{"OverlongUtf8", "<k name=\"\xC0\xAF\"/>",
                  "Parse error in line 1 : (Text that is not UTF-8)"},
        ErrorCase{"TooDeep", kDeep, "Parse error in line 1 : (Elements nested too deeply)"},
        ErrorCase{"LongLine", "<r " + std::string(XmlReader::kMaxLineLength + 1, 'a'),
                  "Parse error in line 1 : (Line too long)"},
        ErrorCase{"LongValueOverManyLines",
                  "<v value=\"" +
                      [] {
                          std::string lines;
                          for (int i = 0; i < 40; ++i) lines += std::string(40000, 'a') + "\n";
                          return lines;
                      }(),
                  "Parse error in line 27 : (Attribute value too long)"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(XmlReader, ShowsItsErrorOnceAndStaysAtTheEnd) {
    test::ScriptedPrompter prompter;
    XmlReader reader;
    reader.SetText("<r>\n\n<k <");
    reader.SetShowErrors(&prompter);
    while (reader.Next()) {
    }
    EXPECT_FALSE(reader.Next());
    ASSERT_EQ(prompter.plainMessages.size(), 1u);
    EXPECT_EQ(prompter.plainMessages[0], "Modshelf: Parse error in line 3 : (Bad '<' symbol)");
}

TEST(XmlReader, ReadsAFileAgainAfterCloseAndTellsAMissingFile) {
    test::TempDir dir;
    test::writeFile(dir / "a.xml", "<r>\r\n</r>\r\n");
    XmlReader reader;
    reader.SetFile((dir / "a.xml").string());
    int events = 0;
    while (reader.Next()) ++events;
    reader.Close();
    int again = 0;
    while (reader.Next()) ++again;
    EXPECT_EQ(events, again);
    EXPECT_FALSE(reader.HadError());
    EXPECT_FALSE(reader.EndedInsideMarkup());

    XmlReader missing;
    missing.SetFile((dir / "none.xml").string());
    EXPECT_FALSE(missing.Next());
    EXPECT_FALSE(missing.HadError());
}

TEST(XmlReader, TellsAFileCutInsideAValue) {
    XmlReader reader;
    reader.SetText("<r>\n<v name=\"abc");
    while (reader.Next()) {
    }
    EXPECT_FALSE(reader.HadError());
    EXPECT_TRUE(reader.EndedInsideMarkup());
}

}  // namespace
}  // namespace modshelf::settings
