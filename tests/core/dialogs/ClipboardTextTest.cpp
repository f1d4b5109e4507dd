#include <gtest/gtest.h>

#include "core/dialogs/ClipboardText.h"
#include "core/dialogs/TextLimits.h"

using namespace modshelf::dialogs;

TEST(ClipboardText, SevenLinesFramedByTwentySevenHyphens) {
    const std::string text =
        clipboardText(" No File Selected", "No file is currently selected.", {"OK"});
    const std::string sep = "---------------------------\r\n";
    ASSERT_EQ(sep.size(), 29u);
    EXPECT_EQ(text, sep + " No File Selected\r\n" + sep + "No file is currently selected.\r\n" +
                        sep + "OK   \r\n" + sep);
}

TEST(ClipboardText, ButtonsLoseTheirMnemonicMarksAndEachTakesThreeSpaces) {
    const std::string text =
        clipboardText("T", "M", {"&Yes", "Y&es to All", "&No", "Save && &Quit"});
    EXPECT_NE(text.find("\r\nYes   Yes to All   No   Save & Quit   \r\n"), std::string::npos)
        << text;
}

TEST(ClipboardText, TitleMessageAndWholeTextAreBounded) {
    const std::string text = clipboardText(std::string(1500, 't'), std::string(9000, 'm'), {"OK"});
    EXPECT_NE(text.find(std::string(1000, 't') + "\r\n"), std::string::npos);
    EXPECT_EQ(text.find(std::string(1001, 't')), std::string::npos);
    EXPECT_NE(text.find(std::string(4000, 'm') + "\r\n"), std::string::npos);
    EXPECT_EQ(text.find(std::string(4001, 'm')), std::string::npos);

    // Many long captions run past the buffer: the text stops short of 8,192 bytes.
    std::vector<std::string> many(200, std::string(99, 'b'));
    const std::string full = clipboardText("T", "M", many);
    EXPECT_EQ(full.size(), kClipboardBufferBytes - 1);
}

TEST(TextLimits, CutsRespectCharacterBoundaries) {
    const std::string s =
        "a\xC3\xA4"
        "b\xE2\x82\xAC";  // a ä b €
    EXPECT_EQ(cutToCharacters(s, 2), "a\xC3\xA4");
    EXPECT_EQ(cutToCharacters(s, 4), s);
    EXPECT_EQ(cutToCharacters(s, 0), "");
    EXPECT_EQ(cutToBytes(s, 2), "a");  // the ä would be split
    EXPECT_EQ(cutToBytes(s, 6),
              "a\xC3\xA4"
              "b");
    EXPECT_EQ(cutToBytes(s, 100), s);
    EXPECT_EQ(withoutMnemonics("&Abort"), "Abort");
    EXPECT_EQ(withoutMnemonics("A&&B&"), "A&B");
}
