// Ticking and clearing module boxes in the list, as the user clicks them.

#include <QCoreApplication>
#include <QTest>

#include "WorkspaceFrameFixture.h"
#include "core/app/AppState.h"
#include "gui/views/CFileView.h"
#include "gui/views/ModuleListModel.h"

namespace modshelf::gui::testing {
namespace {

class Ticking : public WorkspaceFrameFixture {};

TEST_F(Ticking, AClickInWorkspace03StoresTheWholeListAndTheCountFollows) {
    settings::SetRegString(store, workspaceKey(3, "Bibles"), "Unlisted", "True");
    selectWorkspace(2);
    ASSERT_EQ(state.nodeKind, 3);
    ASSERT_FALSE(isChecked("kjv.bblx"));
    EXPECT_EQ(state.activeCount, 0u);

    clickCheckBox("kjv.bblx");
    EXPECT_TRUE(isChecked("kjv.bblx"));
    // Every listed Bible, Commentary and Dictionary is written, not only the
    // ticked one; a module that is not listed keeps its value.
    EXPECT_EQ(flag(workspaceKey(3, "Bibles"), "KJV"), "True");
    EXPECT_EQ(flag(workspaceKey(3, "Bibles"), "WEB"), "False");
    EXPECT_EQ(flag(workspaceKey(3, "Bibles"), kLongTab), "False");  // stored whole
    EXPECT_EQ(flag(workspaceKey(3, "Commentaries"), "MHC"), "False");
    EXPECT_EQ(flag(workspaceKey(3, "Dictionaries"), "Easton"), "False");
    EXPECT_EQ(flag(workspaceKey(3, "Bibles"), "Unlisted"), "True");
    EXPECT_EQ(flag(workspaceKey(3, "Bibles"), ""), "<none>");  // the module without a tab name
    EXPECT_EQ(state.activeCount, 1u);
    // No other workspace was touched.
    EXPECT_EQ(flag(workspaceKey(4, "Bibles"), "KJV"), "<none>");

    clickCheckBox("mhc.cmtx");
    clickCheckBox("longname.bblx");
    EXPECT_EQ(flag(workspaceKey(3, "Commentaries"), "MHC"), "True");
    EXPECT_EQ(flag(workspaceKey(3, "Bibles"), kLongTab), "True");
    EXPECT_EQ(state.activeCount, 3u);

    clickCheckBox("kjv.bblx");  // clearing
    EXPECT_FALSE(isChecked("kjv.bblx"));
    EXPECT_EQ(flag(workspaceKey(3, "Bibles"), "KJV"), "False");
    EXPECT_EQ(state.activeCount, 2u);

    // What was stored is what the workspace shows the next time it is chosen.
    selectWorkspace(3);
    EXPECT_FALSE(isChecked("mhc.cmtx"));
    selectWorkspace(2);
    EXPECT_FALSE(isChecked("kjv.bblx"));
    EXPECT_TRUE(isChecked("mhc.cmtx"));
    EXPECT_TRUE(isChecked("longname.bblx"));
    EXPECT_EQ(state.activeCount, 2u);
}

TEST_F(Ticking, BoxesOfAllModulesCurrentSettingsAndFoldersDoNotChange) {
    settings::SetRegString(store, scrivelKey("Bibles"), "KJV", "True");
    settings::SetRegString(store, scrivelKey("Bibles"), "WEB", "False");
    // A click that stores anything saves the store.
    auto clickStoresNothing = [this](const std::string& file) {
        const int saves = store.saveCount();
        clickCheckBox(file);
        return store.saveCount() == saves;
    };

    selectWorkspace(app::kSlotAll);
    ASSERT_TRUE(isChecked("kjv.bblx"));
    EXPECT_TRUE(clickStoresNothing("kjv.bblx"));
    EXPECT_TRUE(isChecked("kjv.bblx"));

    selectWorkspace(app::kSlotCurrent);
    ASSERT_TRUE(isChecked("kjv.bblx"));
    ASSERT_FALSE(isChecked("web.bblx"));
    EXPECT_TRUE(clickStoresNothing("kjv.bblx"));
    EXPECT_TRUE(clickStoresNothing("web.bblx"));
    EXPECT_TRUE(isChecked("kjv.bblx"));
    EXPECT_FALSE(isChecked("web.bblx"));
    EXPECT_EQ(flag(scrivelKey("Bibles"), "KJV"), "True");
    EXPECT_EQ(flag(scrivelKey("Bibles"), "WEB"), "False");

    selectResourceFolder();
    ASSERT_FALSE(isChecked("kjv.bblx"));
    EXPECT_TRUE(clickStoresNothing("kjv.bblx"));
    EXPECT_FALSE(isChecked("kjv.bblx"));
    // Nor can the box be changed other than by a click.
    const QModelIndex box = list->model().index(rowOf("kjv.bblx"), 0);
    EXPECT_FALSE(list->model().setData(box, Qt::Checked, Qt::CheckStateRole));
    EXPECT_FALSE(isChecked("kjv.bblx"));

    for (int n = 1; n <= 15; ++n) EXPECT_EQ(flag(workspaceKey(n, "Bibles"), "KJV"), "<none>");
}

TEST_F(Ticking, AFailedSaveShowsTheStoredStateAgain) {
    settings::SetRegString(store, workspaceKey(3, "Bibles"), "KJV", "True");
    selectWorkspace(2);
    ASSERT_TRUE(isChecked("kjv.bblx"));
    ASSERT_EQ(state.activeCount, 1u);

    store.failSaves(true, "The disk is full.");
    clickCheckBox("web.bblx");
    EXPECT_EQ(saveFailures, std::vector<std::string>{"The disk is full."});
    // The refill waits for the click to finish.
    QCoreApplication::processEvents();
    EXPECT_FALSE(isChecked("web.bblx"));
    EXPECT_TRUE(isChecked("kjv.bblx"));
    EXPECT_EQ(state.activeCount, 1u);

    store.failSaves(false);
    EXPECT_EQ(flag(workspaceKey(3, "Bibles"), "WEB"), "<none>");
    EXPECT_EQ(flag(workspaceKey(3, "Bibles"), "KJV"), "True");
    clickCheckBox("web.bblx");
    EXPECT_EQ(flag(workspaceKey(3, "Bibles"), "WEB"), "True");
    EXPECT_EQ(state.activeCount, 2u);
}

}  // namespace
}  // namespace modshelf::gui::testing
