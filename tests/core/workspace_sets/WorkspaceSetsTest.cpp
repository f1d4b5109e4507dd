#include <gtest/gtest.h>

#include "core/app/AppState.h"
#include "core/settings/MemorySettingsStore.h"
#include "core/settings/RegistryAccess.h"
#include "core/workspaces/ActivationUndo.h"
#include "core/workspaces/WorkspaceActivation.h"
#include "core/workspaces/WorkspaceFlags.h"
#include "core/workspaces/WorkspaceMatrix.h"
#include "support/ScriptedPrompter.h"

using namespace modshelf;
using namespace modshelf::workspaces;
using settings::RegRoot;
namespace id = dialogs::id;

namespace {

const std::string kHost = "Software\\VB and VBA Program Settings\\Scrivel\\Resource\\";
constexpr auto kBible = ActivationCategory::Bibles;

std::vector<std::string> names(const std::vector<ModuleRef>& modules) {
    std::vector<std::string> out;
    for (const ModuleRef& m : modules) out.push_back(m.tabName);
    return out;
}

TEST(ActivationPreview, NamesWhatTurnsOnAndOffAndLeavesUnlistedModulesAlone) {
    const std::vector<ModuleFlag> current = {{{kBible, "asv"}, true},
                                             {{kBible, "KJV"}, false},
                                             {{kBible, "OLD"}, true},  // not listed: untouched
                                             {{ActivationCategory::Commentaries, "MHC"}, true}};
    const std::vector<ListRow> rows = {{"Bible", "KJV", true},      {"Bible", "ASV", true},
                                       {"Bible", "NEW", true},      {"Commentary", "MHC", false},
                                       {"Map", "Atlas", true},      {"Bible", "", true},
                                       {"Dictionary", "EAS", false}};
    const ActivationPreview preview = previewActivation(rows, current);
    EXPECT_EQ(names(preview.turnedOn), (std::vector<std::string>{"KJV", "NEW"}));
    EXPECT_EQ(names(preview.turnedOff), (std::vector<std::string>{"MHC"}));
    EXPECT_EQ(preview.unchanged, 2);  // ASV stays on, EAS stays off
}

TEST(ActivationPreview, TheLastOfTwoRowsWithOneTabNameWins) {
    const ActivationPreview preview =
        previewActivation({{"Bible", "KJV", true}, {"Bible", "kjv", false}}, {});
    EXPECT_TRUE(preview.turnedOn.empty());
    EXPECT_EQ(preview.unchanged, 1);
}

struct UndoFixture : ::testing::Test {
    settings::MemorySettingsStore store;
    test::ScriptedPrompter prompter;
    int closeQuestions = 0;
    WorkspaceActivation activation{store, prompter, [this](const std::string&) {
                                       ++closeQuestions;
                                       return false;
                                   }};
    ActivationUndoFlow undo{store, prompter, [this](const std::string&) {
                                ++closeQuestions;
                                return false;
                            }};

    void SetUp() override {
        settings::SetRegString(store, kHost + "Bibles", "KJV", "True");
        settings::SetRegString(store, kHost + "Bibles", "ASV", "False");
        settings::SetRegDword(store, kHost + "Bibles", "Odd", 7);  // kept exactly as it was
    }
    std::vector<ModuleFlag> host() { return readWorkspaceFlags(store, app::kSlotCurrent); }
};

TEST_F(UndoFixture, UndoPutsBackExactlyWhatWasThereOnce) {
    const auto before = host();
    settings::RegValue odd;
    prompter.answer(id::kYes);
    prompter.answer(id::kOk);
    ASSERT_GT(
        activation.activateWorkspace(
            "03", {{"Bible", "KJV", false}, {"Bible", "ASV", true}, {"Commentary", "MHC", true}},
            {}),
        0);
    EXPECT_EQ(compareActiveSets(host(), before).onlyInFirst.size(), 2u);

    prompter.answer(id::kYes);
    prompter.answer(id::kOk);
    const UndoResult result = undo.run();
    ASSERT_TRUE(result.undone);
    EXPECT_EQ(result.identifier, "03");
    EXPECT_EQ(result.activeModules, 1);
    EXPECT_EQ(result.valuesRemoved, 1);  // MHC was new
    EXPECT_TRUE(compareActiveSets(host(), before).empty());
    ASSERT_EQ(store.queryValue(RegRoot::CurrentUser, kHost + "Bibles", "Odd", odd),
              settings::kSuccess);
    EXPECT_EQ(odd, settings::RegValue::fromDword(7));
    EXPECT_NE(store.openKey(RegRoot::CurrentUser, kHost + "Commentaries\\MHC"), settings::kSuccess);
    EXPECT_NE(prompter.shown.back().text.find("1 modules active"), std::string::npos);
    EXPECT_EQ(closeQuestions, 2);

    // Once only: the second time there is nothing to undo.
    prompter.answer(id::kOk);
    EXPECT_FALSE(undo.run().undone);
    EXPECT_EQ(prompter.shown.back().caption, " Nothing to Undo");
}

TEST_F(UndoFixture, AFailedActivationKeepsTheEarlierUndoAndAFailedUndoKeepsItsCopy) {
    prompter.answer(id::kYes);
    prompter.answer(id::kOk);
    activation.activateWorkspace("01", {{"Bible", "ASV", true}}, {});

    store.failSaves(true);
    prompter.answer(id::kYes);
    EXPECT_EQ(activation.activateWorkspace("02", {{"Bible", "KJV", false}}, {}), 0);
    EXPECT_EQ(undoableActivation(store), "01");

    prompter.answer(id::kYes);
    EXPECT_FALSE(undo.run().undone);
    store.failSaves(false);
    EXPECT_EQ(undoableActivation(store), "01");
    EXPECT_TRUE(undoLastActivation(store).undone);
}

TEST_F(UndoFixture, DecliningChangesNothing) {
    prompter.answer(id::kYes);
    prompter.answer(id::kOk);
    activation.activateWorkspace("A", {{"Bible", "ASV", true}}, {});
    const int saves = store.saveCount();
    prompter.answer(id::kNo);
    EXPECT_FALSE(undo.run().undone);
    EXPECT_EQ(store.saveCount(), saves);
    EXPECT_EQ(undoableActivation(store), "A");
}

}  // namespace

namespace {

modules::ModuleRow moduleRow(const std::string& file, const std::string& type,
                             const std::string& tab) {
    modules::ModuleRow row;
    row.record.fileName = file;
    row.record.moduleType = type;
    row.record.tabName = tab;
    return row;
}

TEST(WorkspaceMatrix, ReadsEverySetAndStoresOneTickAsOneSave) {
    settings::MemorySettingsStore store;
    settings::SetRegString(store, "Software\\Quorvel\\Modshelf\\Workspace2\\Bibles", "kjv", "True");
    settings::SetRegString(store, "Software\\Quorvel\\Modshelf\\Workspace15\\Bibles", "KJV",
                           "False");
    settings::SetRegString(store, kHost + "Commentaries", "MHC", "TRUE");
    const auto matrix = WorkspaceMatrix::build(
        {moduleRow("kjv.bblx", "Bible", "KJV"), moduleRow("mhc.cmtx", "Commentary", "MHC"),
         moduleRow("atlas.mapx", "Map", "ATL"), moduleRow("x.bblx", "Bible", ""),
         moduleRow("kjv2.bblx", "Bible", "KJV")},
        store);
    WorkspaceMatrix m = matrix;
    ASSERT_EQ(m.rows().size(), 3u);  // the map and the nameless Bible take no part
    EXPECT_TRUE(m.rows()[0].active[1]);
    EXPECT_FALSE(m.rows()[0].active[14]);
    EXPECT_TRUE(m.rows()[1].active[WorkspaceMatrix::kCurrentColumn]);

    const int saves = store.saveCount();
    ASSERT_EQ(m.setActive(store, 0, 14, true), settings::kSuccess);
    EXPECT_EQ(store.saveCount(), saves + 1);
    EXPECT_TRUE(m.rows()[2].active[14]) << "a second file of the same module follows";
    EXPECT_EQ(readWorkspaceFlags(store, 14).size(), 1u) << "the stored name is reused, not doubled";

    store.failSaves(true);
    EXPECT_NE(m.setActive(store, 1, 0, true), settings::kSuccess);
    EXPECT_FALSE(m.rows()[1].active[0]);
    EXPECT_EQ(m.setActive(store, 1, WorkspaceMatrix::kCurrentColumn, false),
              settings::kInvalidParameter);
}

}  // namespace
