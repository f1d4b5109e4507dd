#include <gtest/gtest.h>

#include "CliFixture.h"
#include "core/settings/RegistryAccess.h"
#include "core/workspaces/ActivationUndo.h"

using modshelf::test::CliFixture;

namespace {

class CliCommands : public CliFixture {
protected:
    void SetUp() override {
        addModule("kjv.bblx", "KJV", "King James");
        addModule("asv.bblx", "ASV", "American Standard");
        addModule("mhc.cmtx", "MHC", "Matthew Henry");
        addModule("notes.notx", "MyNotes");
        setFlag(3, "Bibles", "KJV", "True");
        setFlag(3, "Commentaries", "MHC", "True");
        setFlag(3, "Bibles", "ASV", "False");
        setFlag(0, "Bibles", "kjv", "true");  // Scrivel's own, another case
        setFlag(0, "Commentaries", "MHC", "True");
        setFlag(5, "Bibles", "ASV", "True");
    }
};

TEST_F(CliCommands, WorkspacesShowCountsNamesAndTheOneScrivelHas) {
    modshelf::settings::SetRegString(store, "Software\\Quorvel\\Modshelf\\Workspace5",
                                     "WorkspaceTitle", "  Greek study ");
    ASSERT_EQ(run({"workspaces", "--format", "tsv"}), 0) << err.str();
    const std::string text = out.str();
    EXPECT_NE(text.find("03\t2\tyes\tWorkspace 03\n"), std::string::npos) << text;
    EXPECT_NE(text.find("05\t1\tno\tGreek study\n"), std::string::npos) << text;
    EXPECT_NE(text.find("01\t0\tno\tWorkspace 01\n"), std::string::npos) << text;
}

TEST_F(CliCommands, ReportsChangeNothingInTheSettings) {
    const int savesBefore = store.saveCount();
    for (const auto& args : std::vector<std::vector<std::string>>{
             {"workspaces"}, {"list"}, {"list", "--workspace", "9"}, {"diff", "1", "C"}})
        EXPECT_EQ(run(args), 0) << err.str();
    EXPECT_EQ(store.saveCount(), savesBefore);
    // Not even the keys a read would have created.
    EXPECT_NE(store.openKey(modshelf::settings::RegRoot::CurrentUser,
                            "Software\\Quorvel\\Modshelf\\Workspace9\\Bibles"),
              modshelf::settings::kSuccess);
}

TEST_F(CliCommands, ListsAWorkspaceWithItsFlags) {
    ASSERT_EQ(run({"list", "--workspace", "3", "--format", "tsv"}), 0) << err.str();
    const std::string text = out.str();
    EXPECT_EQ(
        text.rfind(
            "Active\tFile Name\tModule Type\tTab Name\tFile Size\tLast Modified\tDescription\n", 0),
        0u);
    EXPECT_NE(text.find("no\tasv.bblx\tBible\tASV\t"), std::string::npos) << text;
    EXPECT_NE(text.find("yes\tkjv.bblx\tBible\tKJV\t"), std::string::npos) << text;
    EXPECT_EQ(text.find("notes.notx"), std::string::npos) << "the workspace lists three kinds";
}

TEST_F(CliCommands, ListsAFolderByItsWindowsPathAndRefusesAMissingOne) {
    ASSERT_EQ(run({"list", "C:\\scrivel", "--format", "json"}), 0) << err.str();
    EXPECT_NE(out.str().find("\"file_name\": \"notes.notx\""), std::string::npos) << out.str();
    EXPECT_EQ(run({"list", "Q:\\x"}), 1);
    EXPECT_NE(err.str().find("no such drive"), std::string::npos);
    EXPECT_EQ(run({"list", (drive.path() / "gone").string()}), 1);
    EXPECT_NE(err.str().find("no such folder"), std::string::npos);
}

TEST_F(CliCommands, DiffNamesWhatIsActiveOnOneSideOnly) {
    ASSERT_EQ(run({"diff", "5", "C", "--format", "tsv"}), 0);
    EXPECT_EQ(out.str(),
              "Active in\tNot in\tModule Type\tTab Name\n"
              "05\tC\tBible\tASV\n"
              "C\t05\tBible\tkjv\n"
              "C\t05\tCommentary\tMHC\n");
    ASSERT_EQ(run({"diff", "3", "C", "--format", "tsv"}), 0);
    EXPECT_EQ(out.str(), "Active in\tNot in\tModule Type\tTab Name\n");
}

TEST_F(CliCommands, ActivationWhileScrivelRunsIsRefusedAndWritesNothing) {
    hostRunning = true;
    const int savesBefore = store.saveCount();
    EXPECT_EQ(run({"activate", "5"}), 1);
    EXPECT_NE(err.str().find("--close-scrivel"), std::string::npos);
    EXPECT_EQ(store.saveCount(), savesBefore);
    EXPECT_EQ(flag(0, "Bibles", "ASV"), "(none)");
    EXPECT_EQ(closeRequests, 0);

    hostCloses = false;
    EXPECT_EQ(run({"activate", "5", "--close-scrivel"}), 1);
    EXPECT_EQ(closeRequests, 1);
    EXPECT_EQ(store.saveCount(), savesBefore);
}

TEST_F(CliCommands, ActivationWritesTheWorkspaceAndCanBeUndone) {
    hostRunning = true;
    ASSERT_EQ(run({"activate", "05", "--close-scrivel"}), 0) << err.str();
    EXPECT_NE(out.str().find("Workspace 05 has been activated."), std::string::npos);
    EXPECT_EQ(flag(0, "Bibles", "ASV"), "True");
    EXPECT_EQ(flag(0, "Bibles", "KJV"), "False");
    EXPECT_EQ(flag(0, "Commentaries", "MHC"), "False");
    EXPECT_EQ(modshelf::workspaces::undoableActivation(store), "05");

    EXPECT_TRUE(modshelf::workspaces::undoLastActivation(store).undone);
    EXPECT_EQ(flag(0, "Bibles", "ASV"), "(none)");
    EXPECT_EQ(flag(0, "Bibles", "kjv"), "true");
    EXPECT_EQ(flag(0, "Commentaries", "MHC"), "True");
}

TEST_F(CliCommands, AFailedSaveIsAFailure) {
    store.failSaves(true, "The disk is full.");
    EXPECT_EQ(run({"activate", "A"}), 1);
    EXPECT_NE(err.str().find("The disk is full."), std::string::npos);
    store.failSaves(false);
    EXPECT_EQ(flag(0, "Bibles", "ASV"), "(none)");
}

TEST_F(CliCommands, ShowNeedsAnExistingFile) {
    EXPECT_EQ(run({"show", (resources / "kjv.bblx").string()}), 0);
    EXPECT_NE(out.str().find("KJV"), std::string::npos) << out.str();
    EXPECT_NE(out.str().find("King James"), std::string::npos) << out.str();
    EXPECT_EQ(out.str().find('\r'), std::string::npos);
    EXPECT_EQ(run({"show", "c:\\scrivel\\MHC.cmtx"}), 0) << err.str();
    EXPECT_NE(out.str().find("Matthew Henry"), std::string::npos) << out.str();
    EXPECT_EQ(run({"show", (resources / "none.bblx").string()}), 1);
    EXPECT_NE(err.str().find("no such module file"), std::string::npos);
}

TEST_F(CliCommands, UsageErrorsSayHowToGetHelp) {
    EXPECT_EQ(run({"activate", "99"}), 2);
    EXPECT_NE(err.str().find("Try 'modshelf --help'"), std::string::npos);
    EXPECT_TRUE(out.str().empty());
}

}  // namespace
