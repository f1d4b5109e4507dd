#include <gtest/gtest.h>

#include <sys/stat.h>

#include <string>

#include "ReportModules.h"
#include "core/app/AppState.h"
#include "core/reports/FileProperties.h"
#include "core/reports/TextCleaning.h"
#include "support/LocalTime.h"
#include "support/ScriptedPrompter.h"
#include "support/TempDir.h"

namespace modshelf::reports {
namespace {

using test::TempDir;

using test::localTime;

TEST(ModifiedLine, UsesATwelveHourClock) {
    struct Case {
        std::tm time;
        const char* line;
    };
    const Case cases[] = {
        {localTime(2016, 3, 9, 0, 30), "The file was last modified on 03/09/16 at 12:30 AM"},
        {localTime(2016, 3, 9, 12, 5), "The file was last modified on 03/09/16 at 12:05 PM"},
        {localTime(2009, 12, 31, 23, 59), "The file was last modified on 12/31/09 at 11:59 PM"},
        {localTime(2000, 1, 1, 11, 0), "The file was last modified on 01/01/00 at 11:00 AM"},
    };
    for (const Case& c : cases) EXPECT_EQ(modifiedLine(c.time), c.line);
}

TEST(CleanText, TidiesAsDocumented) {
    struct Case {
        std::string in;
        std::string display;
        std::string file;
        CodePage codePage = CodePage::Utf8;
    };
    const Case cases[] = {
        {"", "", ""},
        {" \t\r\n Text \n ", "Text", "Text"},
        {"a\tb", "a b", "a b"},
        {"a    b   c", "a  b  c", "a  b  c"},
        {"a\n\n\n\nb", "a\r\n\r\n\r\nb", "a\r\n\r\n\r\nb"},
        {"a\n\n\nb", "a\r\n\r\nb", "a\r\n\r\nb"},
        {"a\r\nb", "a\r\nb", "a\r\nb"},
        {"Tom & Jerry", "Tom && Jerry", "Tom & Jerry"},
        {"it\xE2\x80\x99s", "it's", "it's"},
        {"\xC2\xA9 1999 \xC2\xAE", "\xC2\xA9 1999 \xC2\xAE", "\xC2\xA9 1999 \xC2\xAE"},
        {"\xC2\xA9 1999 \xC2\xAE", "\xA9 1999 \xAE", "\xA9 1999 \xAE", CodePage::SingleByte},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(CleanTextForDisplay(c.in, c.codePage), c.display) << c.in;
        EXPECT_EQ(CleanTextForFile(c.in, c.codePage), c.file) << c.in;
    }
}

TEST(CodePage, HexEscapedBytesBecomeUtf8) {
    EXPECT_EQ(windows1252BytesToUtf8("caf\xE9 \x93q\x94 \xE2\x80\x99 ok"),
              "caf\xC3\xA9 \xE2\x80\x9Cq\xE2\x80\x9D \xE2\x80\x99 ok");
    EXPECT_EQ(windows1252BytesToUtf8("\xC3"), "\xC3\x83");  // a cut sequence is a byte
}

class FilePropertiesTest : public testing::Test {
protected:
    FilePropertiesTest() { state.currentFolder = dir.path().string(); }

    std::optional<SelectedFile> select(const std::string& name) { return SelectedFile{name, name}; }
    std::string display(const std::string& name) {
        prompter.answer(1);
        ShowFileProperties(context, select(name));
        return prompter.shown.back().text;
    }

    TempDir dir;
    app::AppState state;
    test::ScriptedPrompter prompter;
    std::string title;
    ReportContext context{state.currentFolder,
                          state.selectedModulePath,
                          state.moduleDetails,
                          state.titlePrefix,
                          prompter,
                          [this](const std::string& t) { title = t; }};
};

TEST_F(FilePropertiesTest, DisplayReportOfAModuleWithAKindGuess) {
    const auto path = dir / "Topics.TOPX";
    test::writeDetailsModule(path, "Topics & themes", "TOP",
                             "{\\rtf1{\\fonttbl{\\f0 Arial;}}Short\\par comments}");
    test::setLocalWriteTime(path, localTime(2016, 3, 9, 0, 30));
    const std::string size = std::to_string(std::filesystem::file_size(path));

    const std::string text = display("Topics.TOPX");
    const std::string folder = state.currentFolder + "/";
    EXPECT_EQ(text, "Module Information for " + folder +
                        "Topics.TOPX is as follows :\n\n"
                        "The module is likely a Topical Book module\n\n"
                        "The file size is " +
                        size.substr(0, size.size() - 3) + "," + size.substr(size.size() - 3) +
                        " bytes\n\nThe file was last modified on 03/09/16 at 12:30 AM"
                        "\n\nThe Scrivel tab name for this module is :  TOP"
                        "\n\nThe description for this module is :  Topics && themes"
                        "\n\nThe comments for this module consist of the following :\n\n"
                        "Short\r\ncomments  ");
    const auto& shown = prompter.shown.back();
    EXPECT_EQ(shown.caption, " Module Information for Topics.TOPX");
    EXPECT_EQ(shown.style, 0u);
    EXPECT_EQ(shown.params.iconId, 100u);
    EXPECT_EQ(shown.params.options, 1u);
    EXPECT_EQ(shown.params.timeoutSeconds, 0);
    EXPECT_EQ(state.selectedModulePath, folder + "Topics.TOPX");
    EXPECT_EQ(title, state.titlePrefix + folder + "Topics.TOPX");
    EXPECT_EQ(state.moduleDetails.tabName, "TOP");
}

TEST_F(FilePropertiesTest, TextReportNeverCutsAndKeepsAmpersands) {
    const std::string comments(2000, 'c');
    test::writeDetailsModule(dir / "Long.bblx", "  A & B  ", "LNG", "{\\rtf1 " + comments + "}");
    const std::string text = BuildFilePropertiesText(context, select("Long.bblx"));
    EXPECT_NE(text.find("is as follows :\r\n\r\nThe file size is "), std::string::npos) << text;
    EXPECT_EQ(text.find("likely"), std::string::npos);
    EXPECT_NE(text.find("\r\n\r\nThe description for this module is :  A & B\r\n\r\n"),
              std::string::npos);
    EXPECT_TRUE(text.ends_with("consist of the following :\r\n\r\n" + comments + "\r\n\r\n"));
    EXPECT_TRUE(prompter.shown.empty());
}

TEST_F(FilePropertiesTest, CommentsAreCutAfter750CharactersOnlyForDisplay) {
    for (const std::size_t length : {750u, 751u}) {
        const std::string name = "c" + std::to_string(length) + ".cmtx";
        // Two-byte characters count once each.
        std::string comments;
        for (std::size_t i = 0; i < length; ++i) comments += i % 2 ? "\\'e9" : "x";
        test::writeDetailsModule(dir / name, "", "", "{\\rtf1 " + comments + "}");
        const std::string text = display(name);
        std::string shownComments;
        for (std::size_t i = 0; i < 750; ++i) shownComments += i % 2 ? "\xC3\xA9" : "x";
        if (length == 750) {
            EXPECT_TRUE(text.ends_with("consist of the following :\n\n" + shownComments + "  "));
        } else {
            EXPECT_TRUE(text.ends_with("include the following :\n\n" + shownComments + "  [...]  "))
                << text.substr(text.size() - 40);
        }
        EXPECT_EQ(text.find("tab name"), std::string::npos);
        EXPECT_EQ(text.find("description"), std::string::npos);
    }
}

TEST_F(FilePropertiesTest, FilesThatAreNotModulesOrNotThere) {
    test::writeFile(dir / "notes.txt", std::string(1234567, 'n'));
    std::string text = display("notes.txt");
    EXPECT_TRUE(text.starts_with("File Information for "));
    EXPECT_NE(text.find("The file size is 1,234,567 bytes\n\nThe file was last modified on "),
              std::string::npos);
    EXPECT_TRUE(text.ends_with("M")) << text;
    EXPECT_EQ(prompter.shown.back().caption, " File Information for notes.txt");

    // Too short to be a module, though it ends in a module extension's letters.
    test::writeFile(dir / "bblx", "x");
    EXPECT_TRUE(display("bblx").starts_with("File Information for "));

    const std::string gone = BuildFilePropertiesText(context, select("gone.bblx"));
    EXPECT_EQ(gone,
              "File Information for " + state.currentFolder + "/gone.bblx is as follows :\r\n\r\n");
}

TEST_F(FilePropertiesTest, ABrokenModuleOrBadRtfLeavesItsSectionsOut) {
    test::writeFile(dir / "broken.devx", "not a database at all");
    std::string text = display("broken.devx");
    EXPECT_TRUE(text.starts_with("Module Information for "));
    EXPECT_TRUE(text.ends_with("M")) << text;

    test::writeDetailsModule(dir / "badrtf.dctx", "Desc", "BAD", "{\\rtf1 unclosed");
    text = display("badrtf.dctx");
    EXPECT_TRUE(text.ends_with("The description for this module is :  Desc")) << text;
}

TEST_F(FilePropertiesTest, ANamedPipeIsNeverOpened) {
    const auto fifo = dir / "pipe.bblx";
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    const std::string text = BuildFilePropertiesText(context, select("pipe.bblx"));
    EXPECT_TRUE(text.starts_with("Module Information for ")) << text;
    EXPECT_EQ(text.find("tab name"), std::string::npos);
}

TEST_F(FilePropertiesTest, AShortenedNameIsReadFromTheFileOnDisk) {
    test::writeDetailsModule(dir / "abc.{0123456789}.bblx", "", "ABC", "");
    prompter.answer(1);
    ShowFileProperties(context, SelectedFile{"abc.{01...", "abc.{0123456789}.bblx"});
    const auto& shown = prompter.shown.back();
    EXPECT_EQ(shown.caption, " Module Information for abc.{01...");
    EXPECT_NE(shown.text.find("tab name for this module is :  ABC"), std::string::npos);
    EXPECT_EQ(state.selectedModulePath, state.currentFolder + "/abc.{0123456789}.bblx");
    EXPECT_EQ(title, state.titlePrefix + state.currentFolder + "/abc.{01...");
}

TEST_F(FilePropertiesTest, NothingSelectedShowsTheNoticeAndClearsThePath) {
    state.selectedModulePath = "/old/path.bblx";
    prompter.answer(1);
    EXPECT_EQ(BuildFilePropertiesText(context, std::nullopt), "");
    ASSERT_EQ(prompter.shown.size(), 1u);
    EXPECT_EQ(prompter.shown[0].text, "No file is currently selected.");
    EXPECT_EQ(prompter.shown[0].caption, " No File Selected");
    EXPECT_EQ(prompter.shown[0].params.timeoutSeconds, 3);
    EXPECT_EQ(state.selectedModulePath, "");
}

}  // namespace
}  // namespace modshelf::reports
