#include <gtest/gtest.h>

#include "core/settings/AnswerStore.h"
#include "core/dialogs/MessageBoxModel.h"
#include "core/settings/MemorySettingsStore.h"
#include "core/settings/RegistryAccess.h"

using namespace modshelf::dialogs;
using namespace modshelf::settings;

namespace {
MessageBoxParams placed(std::string source, std::uint32_t line, std::string company = "") {
    MessageBoxParams p;
    p.sourceName = std::move(source);
    p.sourceLine = line;
    p.companyName = std::move(company);
    return p;
}
}  // namespace

TEST(AnswerStore, KeyAndValueNames) {
    EXPECT_EQ(AnswerStore::keyPath("Quorvel", "Modshelf"), "Software\\Quorvel\\Modshelf\\Prompts");
    EXPECT_EQ(AnswerStore::keyPath("", "Modshelf"), "Software\\Modshelf\\Prompts");
    EXPECT_EQ(AnswerStore::valueName("Activation.cpp", 214), "Activation.cpp214");
}

TEST(AnswerStore, ATickedAnswerIsStoredAndReturnedLater) {
    MemorySettingsStore store;
    AnswerStore answers(store);
    const auto p = placed("Export.cpp", 40, "Quorvel");
    const int ticked = static_cast<int>(id::kYes | mb::kDontAskAgain);

    EXPECT_EQ(answers.recall(mb::kYesNo | mb::kDontAskAgain, p), std::nullopt);
    ASSERT_TRUE(answers.remember(p, ticked));
    EXPECT_EQ(GetRegDword(store, RegRoot::CurrentUser, "Software\\Quorvel\\Modshelf\\Prompts",
                          "Export.cpp40", 0),
              static_cast<std::uint32_t>(ticked));

    // Any check-box bit in the later call's style will do.
    EXPECT_EQ(answers.recall(mb::kYesNo | mb::kDontShowAgain, p), ticked);
    // A different place, or a call without a check box, asks again.
    EXPECT_EQ(answers.recall(mb::kYesNo | mb::kDontAskAgain, placed("Export.cpp", 41, "Quorvel")),
              std::nullopt);
    EXPECT_EQ(answers.recall(mb::kYesNo, p), std::nullopt);
    // Another program name is another key.
    EXPECT_EQ(AnswerStore(store, "Other").recall(mb::kYesNo | mb::kDontAskAgain, p), std::nullopt);
}

TEST(AnswerStore, UntickedOrUnplacedAnswersAreNotStored) {
    MemorySettingsStore store;
    AnswerStore answers(store);
    EXPECT_FALSE(answers.remember(placed("A.cpp", 1), id::kYes));
    EXPECT_FALSE(answers.remember(placed("", 1), static_cast<int>(id::kYes | mb::kDontAskAgain)));
    // Looking up never leaves keys behind.
    EXPECT_EQ(answers.recall(mb::kYesNo | mb::kDontAskAgain, placed("A.cpp", 1)), std::nullopt);
    EXPECT_EQ(store.openKey(RegRoot::CurrentUser, "Software\\Modshelf"), kFileNotFound);
}

TEST(AnswerStore, AStoredValueWithoutCheckBoxBitIsIgnored) {
    MemorySettingsStore store;
    SetRegDword(store, "Software\\Modshelf\\Prompts", "A.cpp7", id::kYes);
    EXPECT_EQ(AnswerStore(store).recall(mb::kYesNo | mb::kDontAskAgain, placed("A.cpp", 7)),
              std::nullopt);
    SetRegString(store, "Software\\Modshelf\\Prompts", "A.cpp8", "not a number");
    EXPECT_EQ(AnswerStore(store).recall(mb::kYesNo | mb::kDontAskAgain, placed("A.cpp", 8)),
              std::nullopt);
}

TEST(AnswerStore, AFailedSaveIsReportedAsNotRemembered) {
    MemorySettingsStore store;
    store.failSaves(true);
    EXPECT_FALSE(AnswerStore(store).remember(placed("A.cpp", 1),
                                             static_cast<int>(id::kOk | mb::kDontTellAgain)));
}
