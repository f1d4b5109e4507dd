// "Activate Workspace 01" ... "15" and "Activate ALL Modules" from the menus.

#include "WorkspaceFrameFixture.h"
#include "core/app/AppState.h"
#include "core/app/CommandIds.h"
#include "core/dialogs/MessageBoxParams.h"
#include "gui/views/CFileView.h"

namespace modshelf::gui::testing {
namespace {

namespace cmd = app::cmd;
namespace mb = dialogs::mb;
using dialogs::id::kNo;
using dialogs::id::kOk;
using dialogs::id::kYes;

class ActivationCommands : public WorkspaceFrameFixture {
protected:
    void SetUp() override {
        WorkspaceFrameFixture::SetUp();
        // Scrivel's keys as Scrivel left them, with a module that is not listed.
        settings::SetRegString(store, scrivelKey("Bibles"), "KJV", "False");
        settings::SetRegString(store, scrivelKey("Bibles"), "WEB", "True");
        settings::SetRegString(store, scrivelKey("Bibles"), "Gone", "False");
        settings::SetRegString(store, scrivelKey("Bibles"), kLongTab, "False");
        settings::SetRegString(store, scrivelKey("Commentaries"), "MHC", "True");
        settings::SetRegString(store, scrivelKey("Dictionaries"), "Easton", "False");
    }
    bool enabled(int id) { return frame->routeUpdate(id).enabled; }
};

TEST_F(ActivationCommands, EnabledOnlyForTheSelectedWorkspaceAndAllAlways) {
    selectWorkspace(1);  // <02>
    for (int n = 1; n <= 15; ++n)
        EXPECT_EQ(enabled(cmd::activateWorkspace(n)), n == 2) << "workspace " << n;
    EXPECT_TRUE(enabled(cmd::kActivateAll));

    selectResourceFolder();
    for (int n = 1; n <= 15; ++n) EXPECT_FALSE(enabled(cmd::activateWorkspace(n)));
    EXPECT_TRUE(enabled(cmd::kActivateAll));
}

TEST_F(ActivationCommands, Workspace03WritesItsBoxesIntoScrivelsKeys) {
    selectWorkspace(2);
    clickCheckBox("kjv.bblx");
    clickCheckBox("easton.dctx");
    ASSERT_TRUE(prompter.shown.empty());

    prompter.answer(kYes);
    prompter.answer(kOk);
    frame->setActiveView(frame->treeView());  // the list handles it whichever pane is active
    EXPECT_TRUE(frame->routeCommand(cmd::activateWorkspace(3)));

    ASSERT_EQ(prompter.shown.size(), 2u);
    EXPECT_EQ(prompter.shown[0].caption, " Activate Workspace 03 ?");
    EXPECT_EQ(prompter.shown[0].text, "Do you wish to activate Workspace 03 ?");
    EXPECT_EQ(prompter.shown[0].style, mb::kYesNoCancel | mb::kIconQuestion);
    EXPECT_EQ(prompter.shown[1].caption, " Workspace Activated");
    EXPECT_EQ(prompter.shown[1].params.timeoutSeconds, 5);
    EXPECT_EQ(prompter.shown[1].params.options & dialogs::kOptionRightJustifyButtons, 1u);

    EXPECT_EQ(flag(scrivelKey("Bibles"), "KJV"), "True");
    EXPECT_EQ(flag(scrivelKey("Bibles"), "WEB"), "False");
    EXPECT_EQ(flag(scrivelKey("Bibles"), kLongTab), "False");
    EXPECT_EQ(flag(scrivelKey("Commentaries"), "MHC"), "False");
    EXPECT_EQ(flag(scrivelKey("Dictionaries"), "Easton"), "True");
    EXPECT_EQ(flag(scrivelKey("Bibles"), "Gone"), "False");  // not listed: left alone
    EXPECT_EQ(flag(scrivelKey("Bibles"), ""), "<none>");
}

TEST_F(ActivationCommands, DecliningWritesNothing) {
    selectWorkspace(2);
    clickCheckBox("kjv.bblx");
    prompter.answer(kNo);
    prompter.answer(kOk);
    frame->routeCommand(cmd::activateWorkspace(3));
    ASSERT_EQ(prompter.shown.size(), 2u);
    EXPECT_EQ(prompter.shown[1].text, "Workspace 03 was not activated.");
    EXPECT_EQ(flag(scrivelKey("Bibles"), "KJV"), "False");
    EXPECT_EQ(flag(scrivelKey("Bibles"), "WEB"), "True");
}

TEST_F(ActivationCommands, AWorkspaceThatIsNotShownIsNotActivatedFromAnotherOnesBoxes) {
    selectWorkspace(2);
    clickCheckBox("kjv.bblx");
    // Workspace 05's command while <03> is shown: the list holds <03>'s boxes.
    EXPECT_TRUE(frame->routeCommand(cmd::activateWorkspace(5)));
    EXPECT_TRUE(prompter.shown.empty());
    EXPECT_EQ(flag(scrivelKey("Bibles"), "KJV"), "False");
}

TEST_F(ActivationCommands, AllModulesOutsideAWorkspaceOnlyExplains) {
    selectResourceFolder();
    prompter.answer(kOk);
    EXPECT_TRUE(frame->routeCommand(cmd::kActivateAll));
    ASSERT_EQ(prompter.shown.size(), 1u);
    EXPECT_EQ(prompter.shown[0].caption, " In Order to Activate ALL Scrivel Modules . . .");
    EXPECT_EQ(flag(scrivelKey("Bibles"), "KJV"), "False");
}

TEST_F(ActivationCommands, AllModulesInCurrentSettingsShowsTheNewStateAfterwards) {
    selectWorkspace(app::kSlotCurrent);
    ASSERT_FALSE(isChecked("kjv.bblx"));
    ASSERT_FALSE(isChecked("easton.dctx"));

    prompter.answer(kYes);
    prompter.answer(kOk);
    frame->routeCommand(cmd::kActivateAll);

    ASSERT_EQ(prompter.shown.size(), 2u);
    EXPECT_EQ(prompter.shown[1].caption, " ALL Modules Activated");
    for (const char* file : {"kjv.bblx", "web.bblx", "mhc.cmtx", "easton.dctx", "longname.bblx"})
        EXPECT_TRUE(isChecked(file)) << file;
    EXPECT_FALSE(isChecked("notab.bblx"));
    EXPECT_EQ(flag(scrivelKey("Bibles"), "Gone"), "True");  // every existing value
    EXPECT_EQ(state.activeCount, 5u);
}

}  // namespace
}  // namespace modshelf::gui::testing

namespace modshelf::gui::testing {
namespace {

// Scrivel's keys are seeded from the first fill when Scrivel has none yet.
class Seeding : public WorkspaceFrameFixture {
protected:
    Seeding() { buildFrameInSetUp = false; }
};

TEST_F(Seeding, AFreshScrivelGetsEveryListedModuleActive) {
    buildFrame();
    EXPECT_EQ(flag(scrivelKey("Bibles"), "KJV"), "True");
    EXPECT_EQ(flag(scrivelKey("Bibles"), kLongTab), "True");
    EXPECT_EQ(flag(scrivelKey("Commentaries"), "MHC"), "True");
    EXPECT_EQ(flag(scrivelKey("Dictionaries"), "Easton"), "True");
    EXPECT_EQ(flag(scrivelKey("Bibles"), "Daily"), "<none>");
    // Only at start-up: later fills leave Scrivel's keys alone.
    settings::SetRegString(store, scrivelKey("Bibles"), "KJV", "False");
    selectWorkspace(2);
    selectResourceFolder();
    EXPECT_EQ(flag(scrivelKey("Bibles"), "KJV"), "False");
}

TEST_F(Seeding, ScrivelsOwnKeysAreLeftAlone) {
    for (const char* category : {"Bibles", "Commentaries", "Dictionaries"})
        settings::SetRegString(store, scrivelKey(category), "Other", "False");
    buildFrame();
    EXPECT_EQ(flag(scrivelKey("Bibles"), "KJV"), "<none>");
    EXPECT_EQ(flag(scrivelKey("Bibles"), "Other"), "False");
}

}  // namespace
}  // namespace modshelf::gui::testing
