// The list's search, the comparisons, undoing an activation and the matrix.

#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QTableView>
#include <QTest>

#include "WorkspaceFrameFixture.h"
#include "core/app/CommandIds.h"
#include "core/workspaces/ActivationUndo.h"
#include "gui/MainStatusBar.h"
#include "gui/views/CFileView.h"
#include "gui/views/ListSearchBar.h"
#include "gui/views/ModuleListModel.h"
#include "gui/workspaces/WorkspaceCompareDialog.h"
#include "gui/workspaces/WorkspaceMatrixDialog.h"
#include "gui/workspaces/WorkspaceViewCommands.h"

namespace modshelf::gui::testing {
namespace {

namespace cmd = app::cmd;
using dialogs::id::kOk;
using dialogs::id::kYes;

class WorkspaceTools : public WorkspaceFrameFixture {
protected:
    template <typename T>
    T* child() const {
        return list->findChild<T*>();
    }
    std::vector<std::string> visibleFiles() const {
        std::vector<std::string> files;
        for (int r = 0; r < list->model().rowCount(); ++r)
            if (!list->detailsView()->isRowHidden(r))
                files.push_back(list->model().row(r).record.fileName);
        return files;
    }
    QStringList items(QListWidget* w) const {
        QStringList out;
        for (int i = 0; i < w->count(); ++i) out << w->item(i)->text();
        return out;
    }
};

TEST_F(WorkspaceTools, SearchNarrowsTheRowsAndEscapeBringsThemBack) {
    selectResourceFolder();
    const int all = list->model().rowCount();
    auto* bar = child<ListSearchBar>();
    ASSERT_NE(bar, nullptr);
    frame->setActiveView(frame->treeView());
    ASSERT_TRUE(frame->routeCommand(cmd::kFindModules));
    QTest::keyClicks(bar, "KJ");
    EXPECT_EQ(visibleFiles(), (std::vector<std::string>{"kjv.bblx"}));
    EXPECT_EQ(state.shownCount, 1u);

    // A sort moves the rows; the search follows them.
    list->headingClicked(0);
    list->headingClicked(0);
    EXPECT_EQ(visibleFiles(), (std::vector<std::string>{"kjv.bblx"}));
    // Hidden rows stay in the list: what is stored and activated is the folder.
    EXPECT_EQ(static_cast<int>(list->listRows().size()), all);

    QTest::keyClick(bar, Qt::Key_Escape);
    EXPECT_TRUE(bar->text().isEmpty());
    EXPECT_EQ(static_cast<int>(visibleFiles().size()), all);
    EXPECT_FALSE(state.shownCount.has_value());
}

TEST_F(WorkspaceTools, CompareWithCurrentShowsWhatActivationWouldChangeAndWritesNothing) {
    // The first fill turned on every listed module in Scrivel's keys.
    settings::SetRegString(store, scrivelKey("Bibles"), "KJV", "False");
    settings::SetRegString(store, workspaceKey(4, "Bibles"), "KJV", "True");
    settings::SetRegString(store, workspaceKey(4, "Commentaries"), "MHC", "True");
    selectWorkspace(3);  // <04>
    auto* views = list->findChild<WorkspaceViewCommands*>();
    ASSERT_NE(views, nullptr);
    const int saves = store.saveCount();
    QStringList on, off;
    views->setDialogShown([&](QDialog& dialog) {
        auto& compare = static_cast<WorkspaceCompareDialog&>(dialog);
        on = items(compare.leftList());
        off = items(compare.rightList());
    });
    ASSERT_TRUE(frame->routeCommand(cmd::kCompareWithCurrent));
    EXPECT_EQ(on, QStringList{"Bible  KJV"});
    EXPECT_TRUE(off.contains("Bible  WEB")) << off.join(", ").toStdString();
    EXPECT_FALSE(off.contains("Commentary  MHC"));
    EXPECT_EQ(store.saveCount(), saves);

    selectResourceFolder();
    EXPECT_FALSE(frame->routeUpdate(cmd::kCompareWithCurrent).enabled);
}

TEST_F(WorkspaceTools, CompareWorkspacesFollowsTheChoice) {
    settings::SetRegString(store, workspaceKey(1, "Bibles"), "KJV", "True");
    settings::SetRegString(store, workspaceKey(2, "Commentaries"), "MHC", "True");
    auto* views = list->findChild<WorkspaceViewCommands*>();
    QStringList left, right;
    views->setDialogShown([&](QDialog& dialog) {
        auto& compare = static_cast<WorkspaceCompareDialog&>(dialog);
        compare.secondChoice()->setCurrentIndex(1);  // <02>
        left = items(compare.leftList());
        right = items(compare.rightList());
    });
    ASSERT_TRUE(frame->routeCommand(cmd::kCompareWorkspaces));
    EXPECT_EQ(left, QStringList{"Bible  KJV"});
    EXPECT_EQ(right, QStringList{"Commentary  MHC"});
}

TEST_F(WorkspaceTools, UndoIsOfferedAfterAnActivationAndPutsTheSettingsBack) {
    settings::SetRegString(store, scrivelKey("Bibles"), "KJV", "False");
    selectWorkspace(0);
    EXPECT_FALSE(frame->routeUpdate(cmd::kUndoActivation).enabled);
    clickCheckBox("kjv.bblx");
    prompter.answer(kYes);
    prompter.answer(kOk);
    ASSERT_TRUE(frame->routeCommand(cmd::activateWorkspace(1)));
    EXPECT_EQ(flag(scrivelKey("Bibles"), "WEB"), "False");
    EXPECT_EQ(flag(scrivelKey("Bibles"), "KJV"), "True");
    ASSERT_TRUE(frame->routeUpdate(cmd::kUndoActivation).enabled);

    prompter.answer(kYes);
    prompter.answer(kOk);
    ASSERT_TRUE(frame->routeCommand(cmd::kUndoActivation));
    EXPECT_EQ(flag(scrivelKey("Bibles"), "WEB"), "True");
    EXPECT_EQ(flag(scrivelKey("Bibles"), "KJV"), "False");
    EXPECT_EQ(prompter.shown.back().caption, " Activation Undone");
    EXPECT_FALSE(frame->routeUpdate(cmd::kUndoActivation).enabled);
}

TEST_F(WorkspaceTools, MatrixTicksAreStoredAndTheListFollows) {
    selectWorkspace(6);  // <07>
    auto* views = list->findChild<WorkspaceViewCommands*>();
    views->setDialogShown([&](QDialog& dialog) {
        auto& matrix = static_cast<WorkspaceMatrixDialog&>(dialog);
        QAbstractItemModel* model = matrix.table()->model();
        matrix.searchBox()->setText("mhc");
        ASSERT_EQ(model->rowCount(), 1);
        const QModelIndex cell = model->index(0, WorkspaceMatrixModel::kFirstWorkspaceColumn + 6);
        EXPECT_TRUE(model->setData(cell, Qt::Checked, Qt::CheckStateRole));
        const QModelIndex current =
            model->index(0, WorkspaceMatrixModel::kFirstWorkspaceColumn + 15);
        EXPECT_FALSE(model->flags(current) & Qt::ItemIsUserCheckable);
    });
    ASSERT_TRUE(frame->routeCommand(cmd::kWorkspaceMatrix));
    EXPECT_EQ(flag(workspaceKey(7, "Commentaries"), "MHC"), "True");
    EXPECT_TRUE(isChecked("mhc.cmtx"));
}

}  // namespace
}  // namespace modshelf::gui::testing
