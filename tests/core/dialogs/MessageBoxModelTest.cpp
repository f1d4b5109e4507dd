#include <gtest/gtest.h>

#include "core/dialogs/MessageBoxModel.h"

using namespace modshelf::dialogs;

namespace {

std::vector<int> ids(const MessageBoxModel& m) {
    std::vector<int> out;
    for (const auto& b : m.buttons()) out.push_back(b.id);
    return out;
}

std::vector<std::string> captions(const MessageBoxModel& m) {
    std::vector<std::string> out;
    for (const auto& b : m.buttons()) out.push_back(b.caption);
    return out;
}

MessageBoxModel box(std::uint32_t style, const MessageBoxParams* params = nullptr) {
    return MessageBoxModel("text", std::string(" Caption"), style, params);
}

}  // namespace

TEST(MessageBoxModel, EachButtonSetHasItsButtonsAndEscapeAnswer) {
    struct Case {
        std::uint32_t set;
        std::vector<std::string> captions;
        std::vector<int> ids;
        std::optional<int> escape;
    };
    const std::vector<Case> cases = {
        {0, {"OK"}, {1}, 1},
        {1, {"OK", "Cancel"}, {1, 2}, 2},
        {2, {"&Abort", "&Retry", "&Ignore"}, {3, 4, 5}, std::nullopt},
        {3, {"&Yes", "&No", "Cancel"}, {6, 7, 2}, 2},
        {4, {"&Yes", "&No"}, {6, 7}, std::nullopt},
        {5, {"&Retry", "Cancel"}, {4, 2}, 2},
        {6, {"Cancel", "&Try Again", "&Continue"}, {2, 10, 11}, 2},
        {7, {"&Continue", "&Abort"}, {11, 3}, std::nullopt},
        {8, {"&Skip", "S&kip All", "Cancel"}, {14, 15, 2}, 2},
        {9, {"&Ignore", "I&gnore All", "Cancel"}, {5, 16, 2}, 2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE("set " + std::to_string(c.set));
        MessageBoxModel m = box(c.set);
        EXPECT_EQ(captions(m), c.captions);
        EXPECT_EQ(ids(m), c.ids);
        EXPECT_EQ(m.escapeAnswer(), c.escape);
        EXPECT_EQ(m.closeEnabled(), c.escape.has_value());
    }
    // 10 to 15 show OK, but neither Escape nor Close answers them.
    for (std::uint32_t set = 10; set <= 15; ++set) {
        MessageBoxModel m = box(set);
        EXPECT_EQ(captions(m), std::vector<std::string>{"OK"});
        EXPECT_EQ(m.escapeAnswer(), std::nullopt) << set;
        EXPECT_FALSE(m.closeEnabled());
    }
}

TEST(MessageBoxModel, DefaultButtonBitsBeyondTheButtonsMeanTheFirst) {
    EXPECT_EQ(box(mb::kYesNoCancel | mb::kDefButton2).defaultButton().id, id::kNo);
    EXPECT_EQ(box(mb::kYesNoCancel | mb::kDefButton3).defaultButton().id, id::kCancel);
    EXPECT_EQ(box(mb::kYesNoCancel | mb::kDefButton4).defaultIndex(), 0u);
    EXPECT_EQ(box(mb::kOk | mb::kDefButton2).defaultButton().id, id::kOk);
    EXPECT_EQ(box(mb::kOk | mb::kDefButton6).defaultIndex(), 0u);
    // Help counts as a button present.
    EXPECT_EQ(box(mb::kOk | mb::kHelp | mb::kDefButton2).defaultButton().id, id::kHelp);
    // 0x600 and above name no button at all.
    EXPECT_EQ(box(mb::kYesNoCancel | 0xF00).defaultIndex(), 0u);
}

TEST(MessageBoxModel, YesToAllAndNoToAllJoinOnlyTheYesNoSets) {
    const std::uint32_t both = mb::kYesToAll | mb::kNoToAll;
    EXPECT_EQ(ids(box(mb::kYesNoCancel | both)),
              (std::vector<int>{id::kYes, id::kYesToAll, id::kNo, id::kNoToAll, id::kCancel}));
    EXPECT_EQ(ids(box(mb::kYesNo | mb::kNoToAll)),
              (std::vector<int>{id::kYes, id::kNo, id::kNoToAll}));
    EXPECT_EQ(captions(box(mb::kYesNo | mb::kYesToAll))[1], "Y&es to All");
    EXPECT_EQ(ids(box(mb::kOkCancel | both)), (std::vector<int>{id::kOk, id::kCancel}));
}

TEST(MessageBoxModel, CheckBoxesAndTheirResultBits) {
    EXPECT_FALSE(box(mb::kOk).checkBox());
    auto ask = box(mb::kYesNo | mb::kDontAskAgain);
    ASSERT_TRUE(ask.checkBox());
    EXPECT_EQ(ask.checkBox()->caption, "Don't ask me again");
    EXPECT_EQ(ask.resultFor(id::kYes, true), static_cast<int>(id::kYes | mb::kDontAskAgain));
    EXPECT_EQ(ask.resultFor(id::kYes, false), id::kYes);

    auto tell = box(mb::kOk | mb::kDontTellAgain);
    EXPECT_EQ(tell.checkBox()->caption, "Don't tell me again");
    EXPECT_EQ(tell.resultFor(id::kOk, true), static_cast<int>(0x02000001u));
    auto show = box(mb::kOk | mb::kDontShowAgain);
    EXPECT_EQ(show.checkBox()->caption, "Don't show again");
    EXPECT_EQ(show.timeoutResult(true), static_cast<int>(0x84000001u));

    // Without a check box, a "ticked" flag changes nothing.
    EXPECT_EQ(box(mb::kOk).resultFor(id::kOk, true), id::kOk);
}

TEST(MessageBoxModel, CustomButtonsReplaceTheSetAndTakeTwentyThreeOnwards) {
    MessageBoxParams p;
    p.customButtons = "Keep\nReplace\n\nMerge\nSkip\nFifth";
    auto m = box(mb::kYesNoCancel | mb::kHelp | mb::kDefButton2, &p);
    EXPECT_TRUE(m.hasCustomButtons());
    EXPECT_EQ(captions(m), (std::vector<std::string>{"Keep", "Replace", "Merge", "Skip", "&Help"}));
    EXPECT_EQ(ids(m), (std::vector<int>{23, 24, 25, 26, id::kHelp}));
    EXPECT_EQ(m.defaultButton().id, 24);
    EXPECT_EQ(m.escapeAnswer(), id::kCancel);

    EXPECT_EQ(splitCustomButtons(""), std::vector<std::string>{});
    EXPECT_EQ(splitCustomButtons("One\n"), std::vector<std::string>{"One"});
    EXPECT_EQ(splitCustomButtons(std::string(150, 'x'))[0].size(), 99u);
}

TEST(MessageBoxModel, HelpAndReportButtonsFollowTheSet) {
    MessageBoxParams p;
    p.reportCallback = [](const std::string&, std::uint32_t) {};
    auto m = box(mb::kOkCancel | mb::kHelp, &p);
    EXPECT_EQ(ids(m), (std::vector<int>{id::kOk, id::kCancel, id::kHelp, id::kReport}));
    EXPECT_EQ(m.buttons().back().caption, "Re&port");

    p.reportCaption = "Send &Report";
    EXPECT_EQ(box(mb::kOk, &p).buttons().back().caption, "Send &Report");
    EXPECT_EQ(ids(box(mb::kOk)), std::vector<int>{id::kOk});
}

TEST(MessageBoxModel, OwnCaptionsReplaceDefaultsWhereGivenAndAreCut) {
    MessageBoxParams p;
    p.useOwnCaptions = true;
    p.ownCaptions[static_cast<std::size_t>(Caption::Yes)] = "&Ja";
    p.ownCaptions[static_cast<std::size_t>(Caption::DontAskAgain)] = std::string(120, 'q');
    auto m = box(mb::kYesNo | mb::kDontAskAgain, &p);
    EXPECT_EQ(captions(m), (std::vector<std::string>{"&Ja", "&No"}));
    EXPECT_EQ(m.checkBox()->caption, std::string(99, 'q'));
    // Without the flag the own captions are ignored.
    p.useOwnCaptions = false;
    EXPECT_EQ(captions(box(mb::kYesNo, &p))[0], "&Yes");
}

TEST(MessageBoxModel, NullCaptionBecomesErrorAndLongTextsAreCut) {
    MessageBoxModel nullCaption("text", std::nullopt, mb::kOk, nullptr);
    EXPECT_EQ(nullCaption.caption(), "Error");
    MessageBoxModel emptyCaption("text", std::string(), mb::kOk, nullptr);
    EXPECT_EQ(emptyCaption.caption(), "");

    MessageBoxModel longOne(std::string(70000, 'a'), std::string(2000, 'b'), mb::kOk, nullptr);
    EXPECT_EQ(longOne.text().size(), 65535u);
    EXPECT_EQ(longOne.caption().size(), 2000u);
    EXPECT_EQ(longOne.windowTitle().size(), 1023u);

    // Cuts count characters, and never split one.
    std::string umlauts;
    for (int i = 0; i < 1100; ++i) umlauts += "\xC3\xA4";
    MessageBoxModel wide("x", umlauts, mb::kOk, nullptr);
    EXPECT_EQ(wide.windowTitle().size(), 2u * 1023u);
}

TEST(MessageBoxModel, SecondsOfAThousandOrMoreBecomeTenAndNonPositiveMeanNone) {
    auto withSeconds = [](int timeout, int disabled) {
        MessageBoxParams p;
        p.timeoutSeconds = timeout;
        p.disabledSeconds = disabled;
        return MessageBoxModel("t", std::string("c"), mb::kOk, &p);
    };
    EXPECT_EQ(withSeconds(1000, 1000).timeoutSeconds(), 10);
    EXPECT_EQ(withSeconds(1000, 1000).disabledSeconds(), 10);
    EXPECT_EQ(withSeconds(999, 5).timeoutSeconds(), 999);
    EXPECT_EQ(withSeconds(5000, 0).timeoutSeconds(), 10);
    EXPECT_EQ(withSeconds(-3, -1).timeoutSeconds(), 0);
    EXPECT_EQ(withSeconds(0, -1).disabledSeconds(), 0);
    EXPECT_EQ(MessageBoxModel("t", std::nullopt, mb::kOk, nullptr).timeoutSeconds(), 0);
}

TEST(MessageBoxModel, LookIconsColoursAndSound) {
    MessageBoxParams standard = standardParams(true, 3);
    auto m = box(mb::kOk, &standard);
    EXPECT_TRUE(m.buttonsRightAligned());
    EXPECT_TRUE(m.hasOwnIcon());
    EXPECT_TRUE(m.hasBand());
    EXPECT_EQ(m.bandColour(), Colour{0x00FFFFFF});
    EXPECT_EQ(m.textColour(), Colour{0x00FF0000});
    EXPECT_EQ(m.timeoutSeconds(), 3);

    MessageBoxParams centred = standardParams(false);
    EXPECT_FALSE(box(mb::kYesNoCancel | mb::kIconQuestion, &centred).buttonsRightAligned());
    // The newer look aligns right whatever the caller says, and brings a band.
    MessageBoxModel newer("t", std::string("c"), mb::kOk, nullptr, true);
    EXPECT_TRUE(newer.newerLook());
    EXPECT_TRUE(newer.buttonsRightAligned());
    EXPECT_TRUE(newer.hasBand());
    EXPECT_EQ(newer.bandColour(), std::nullopt);
    EXPECT_FALSE(box(mb::kOk).hasBand());

    EXPECT_EQ(box(mb::kIconStop).standardIcon(), StandardIcon::Stop);
    EXPECT_EQ(box(mb::kIconQuestion).standardIcon(), StandardIcon::Question);
    EXPECT_EQ(box(mb::kIconExclamation).standardIcon(), StandardIcon::Exclamation);
    EXPECT_EQ(box(mb::kIconInformation).standardIcon(), StandardIcon::Information);
    EXPECT_EQ(box(0x70).standardIcon(), StandardIcon::Exclamation);
    EXPECT_EQ(box(0).standardIcon(), StandardIcon::None);

    EXPECT_TRUE(box(mb::kIconInformation).beeps());
    EXPECT_EQ(box(mb::kOkCancel | mb::kIconInformation).beepType(), mb::kIconInformation);
    EXPECT_FALSE(box(mb::kNoSound).beeps());
    EXPECT_TRUE(box(mb::kIconStop | mb::kSystemModal).usesSystemBox());
    EXPECT_FALSE(box(mb::kIconStop).usesSystemBox());
    EXPECT_FALSE(box(mb::kIconExclamation | mb::kSystemModal).usesSystemBox());
}
