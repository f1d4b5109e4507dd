#include <gtest/gtest.h>

#include "core/app/AppState.h"
#include "core/settings/MemorySettingsStore.h"
#include "core/settings/RegistryAccess.h"
#include "core/workspaces/WorkspaceActivation.h"
#include "support/ScriptedPrompter.h"

using namespace modshelf;
using namespace modshelf::workspaces;
using settings::RegRoot;
namespace id = dialogs::id;

namespace {

const std::string kBibles = "Software\\VB and VBA Program Settings\\Scrivel\\Resource\\Bibles";
const std::string kComms = "Software\\VB and VBA Program Settings\\Scrivel\\Resource\\Commentaries";
const std::string kDicts = "Software\\VB and VBA Program Settings\\Scrivel\\Resource\\Dictionaries";

struct Fixture : ::testing::Test {
    settings::MemorySettingsStore store;
    test::ScriptedPrompter prompter;
    std::vector<std::string> closeQuestions;
    WorkspaceActivation activation{store, prompter, [this](const std::string& firstLine) {
                                       closeQuestions.push_back(firstLine);
                                       return true;
                                   }};
    std::vector<ListRow> rows = {{"Bible", "KJV", true},
                                 {"Bible", "ASV", false},
                                 {"Commentary", "MHC", false},
                                 {"Dictionary", "EASTON", true},
                                 {"Map", "Atlas", true}};

    std::string flag(const std::string& key, const std::string& name) {
        return settings::GetRegString(store, RegRoot::CurrentUser, key, name);
    }
};

}  // namespace

TEST_F(Fixture, DecliningWritesNothingAndSaysSoBriefly) {
    prompter.answer(id::kNo);
    prompter.answer(id::kOk | id::kTimeoutFlag);
    EXPECT_EQ(activation.activateWorkspace("07", rows, {}), 0);
    ASSERT_EQ(prompter.shown.size(), 2u);
    EXPECT_EQ(prompter.shown[0].text, "Do you wish to activate Workspace 07 ?");
    EXPECT_EQ(prompter.shown[0].caption, " Activate Workspace 07 ?");
    EXPECT_EQ(prompter.shown[0].style, dialogs::mb::kYesNoCancel | dialogs::mb::kIconQuestion);
    EXPECT_EQ(prompter.shown[0].params.options & dialogs::kOptionRightJustifyButtons, 0u);
    EXPECT_EQ(prompter.shown[1].text, "Workspace 07 was not activated.");
    EXPECT_EQ(prompter.shown[1].caption, " Workspace Not Activated");
    EXPECT_EQ(prompter.shown[1].params.timeoutSeconds, 3);
    EXPECT_TRUE(closeQuestions.empty());
    EXPECT_EQ(store.openKey(RegRoot::CurrentUser, kBibles), settings::kFileNotFound);

    prompter.answer(id::kCancel);
    prompter.answer(id::kOk);
    EXPECT_EQ(activation.activateAll(app::node::kAllModules, rows, {}), 0);
    EXPECT_EQ(prompter.shown.back().caption, " No Activation Change");
    EXPECT_EQ(store.openKey(RegRoot::CurrentUser, kBibles), settings::kFileNotFound);
}

TEST_F(Fixture, ANumberedWorkspaceWritesItsChecksAndLeavesUnlistedModules) {
    settings::SetRegString(store, kBibles, "Gone", "False");
    prompter.answer(id::kYes);
    prompter.answer(id::kOk);
    EXPECT_EQ(activation.activateWorkspace("07", rows, {}), 4);
    EXPECT_EQ(flag(kBibles, "KJV"), "True");
    EXPECT_EQ(flag(kBibles, "ASV"), "False");
    EXPECT_EQ(flag(kComms, "MHC"), "False");
    EXPECT_EQ(flag(kDicts, "EASTON"), "True");
    EXPECT_EQ(flag(kBibles, "Gone"), "False");
    ASSERT_EQ(closeQuestions.size(), 1u);
    EXPECT_EQ(closeQuestions[0],
              "A workspace is about to be activated, but Scrivel appears to be running.\n\n");
    EXPECT_EQ(prompter.shown.back().caption, " Workspace Activated");
    EXPECT_EQ(prompter.shown.back().text,
              "Workspace 07 has been activated.\n\nThis workspace will be in effect\nthe next time "
              "Scrivel is started.");
    EXPECT_EQ(prompter.shown.back().params.timeoutSeconds, 5);
}

TEST_F(Fixture, ActivateAllNeedsAWorkspaceNodeAndSetsEveryExistingValue) {
    prompter.answer(id::kOk);
    EXPECT_EQ(activation.activateAll(app::node::kResourceFolder, rows, {}), 0);
    EXPECT_EQ(prompter.shown.back().caption, " In Order to Activate ALL Scrivel Modules . . .");
    EXPECT_EQ(store.openKey(RegRoot::CurrentUser, kBibles), settings::kFileNotFound);

    settings::SetRegString(store, kBibles, "Gone", "False");
    settings::SetRegString(store, kDicts, "OldDict", "false");
    int refills = 0;
    prompter.answer(id::kYes);
    prompter.answer(id::kOk);
    EXPECT_EQ(activation.activateAll(app::node::kCurrentSettings, rows,
                                     [&] {
                                         ++refills;
                                         // The refill must already see the final state.
                                         EXPECT_EQ(flag(kBibles, "Gone"), "True");
                                     }),
              4);
    EXPECT_EQ(refills, 1);
    EXPECT_EQ(flag(kBibles, "ASV"), "True");
    EXPECT_EQ(flag(kComms, "MHC"), "True");
    EXPECT_EQ(flag(kDicts, "OldDict"), "True");
    EXPECT_EQ(prompter.shown.back().caption, " ALL Modules Activated");
}

TEST_F(Fixture, AFailedSaveIsNotReportedAsActivated) {
    store.failSaves(true);
    prompter.answer(id::kYes);
    EXPECT_EQ(activation.activateWorkspace("03", rows, {}), 0);
    EXPECT_TRUE(prompter.allAnswersUsed());
    EXPECT_EQ(prompter.shown.size(), 1u);  // the question only: no success notice
    store.failSaves(false);
    EXPECT_EQ(flag(kBibles, "KJV"), "");
}

TEST_F(Fixture, SeedingWritesTrueOnlyWhileScrivelHasNoKeys) {
    EXPECT_EQ(activation.seedHostActivation(rows), 4);
    EXPECT_EQ(flag(kBibles, "ASV"), "True");
    settings::SetRegString(store, kBibles, "ASV", "False");
    EXPECT_EQ(activation.seedHostActivation(rows), 0);  // three keys now exist
    EXPECT_EQ(flag(kBibles, "ASV"), "False");
}

TEST_F(Fixture, ActivatingAllIsOneSaveAndAFailureClaimsNothing) {
    settings::SetRegString(store, kBibles, "Gone", "False");
    store.failSaves(true);
    prompter.answer(id::kYes);
    EXPECT_EQ(activation.activateAll(app::node::kAllModules, rows, {}), 0);
    EXPECT_EQ(prompter.shown.size(), 1u);  // the question only
    store.failSaves(false);
    EXPECT_EQ(flag(kBibles, "Gone"), "False");
    EXPECT_EQ(flag(kBibles, "KJV"), "");

    const int saves = store.saveCount();
    prompter.answer(id::kYes);
    prompter.answer(id::kOk);
    EXPECT_EQ(activation.activateAll(app::node::kAllModules, rows, {}), 4);
    EXPECT_EQ(store.saveCount(), saves + 1);
    EXPECT_EQ(flag(kBibles, "Gone"), "True");
}
