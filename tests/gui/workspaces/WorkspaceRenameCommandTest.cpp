// "Rename Workspace 01" ... "15" from the menus, with the real dialog.

#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include "WorkspaceFrameFixture.h"
#include "core/app/CommandIds.h"
#include "core/dialogs/MessageBoxParams.h"
#include "gui/views/CDriveView.h"
#include "gui/workspaces/RenameWorkspaceDialog.h"

namespace modshelf::gui::testing {
namespace {

namespace cmd = app::cmd;

class RenameCommand : public WorkspaceFrameFixture {
protected:
    // Types `name` into the rename dialog once it is up, then presses OK or
    // Cancel. `seen` receives the name the dialog opened with.
    void answerDialog(const QString& name, bool ok) {
        QTimer::singleShot(0, [this, name, ok] {
            auto* dialog = qobject_cast<RenameWorkspaceDialog*>(QApplication::activeModalWidget());
            if (!dialog) {
                ADD_FAILURE() << "the rename dialog is not shown";
                return;
            }
            openedWith = dialog->nameEdit()->text();
            openedTitle = dialog->windowTitle();
            dialog->nameEdit()->clear();
            QTest::keyClicks(dialog->nameEdit(), name);
            QTest::mouseClick(dialog->findChild<QPushButton*>(ok ? "ok" : "cancel"),
                              Qt::LeftButton);
        });
    }
    std::string label(int slot) { return tree->workspaceItem(slot)->text(0).toStdString(); }
    std::string storedTitle(int number) {
        return flag("Software\\Quorvel\\Modshelf\\Workspace" + std::to_string(number),
                    "WorkspaceTitle");
    }

    QString openedWith;
    QString openedTitle;
};

TEST_F(RenameCommand, OnlyTheSelectedWorkspacesRenameIsEnabled) {
    selectWorkspace(0);
    for (int n = 1; n <= 15; ++n)
        EXPECT_EQ(frame->routeUpdate(cmd::renameWorkspace(n)).enabled, n == 1) << n;
    selectWorkspace(app::kSlotAll);
    for (int n = 1; n <= 15; ++n) EXPECT_FALSE(frame->routeUpdate(cmd::renameWorkspace(n)).enabled);
}

TEST_F(RenameCommand, Workspace07TakesTheTrimmedNameAndConfirms) {
    selectWorkspace(6);
    ASSERT_EQ(label(6), "<07> Workspace 07");
    prompter.answer(dialogs::id::kOk);
    answerDialog("   Gospels and Acts  ", true);
    frame->setActiveView(frame->listView());  // the tree handles it whichever pane is active
    EXPECT_TRUE(frame->routeCommand(cmd::renameWorkspace(7)));

    EXPECT_EQ(openedWith, "Workspace 07");
    EXPECT_EQ(openedTitle, " Rename Workspace 07");
    EXPECT_EQ(label(6), "<07> Gospels and Acts");
    EXPECT_EQ(storedTitle(7), "Gospels and Acts");
    EXPECT_EQ(tree->clickedLabel(), "<07> Gospels and Acts");
    EXPECT_EQ(frame->windowTitle().toStdString(), state.titlePrefix + "<07> Gospels and Acts");
    ASSERT_EQ(prompter.shown.size(), 1u);
    const auto& notice = prompter.shown[0];
    EXPECT_EQ(notice.text, "Workspace 07 has been renamed.");
    EXPECT_EQ(notice.caption, " Workspace Renamed");
    EXPECT_EQ(notice.style, dialogs::mb::kOk);
    EXPECT_EQ(notice.params.timeoutSeconds, 3);
    EXPECT_EQ(notice.params.options & dialogs::kOptionRightJustifyButtons, 1u);
    EXPECT_EQ(notice.params.textColour, 0x00FF0000);
    EXPECT_EQ(notice.params.iconId, 100u);
    // The list still shows the workspace.
    EXPECT_EQ(state.nodeKind, 7);

    // A second rename starts from the new name; emptying it stores the empty
    // title and leaves the tree and the title as they are, without a notice.
    answerDialog("   ", true);
    frame->routeCommand(cmd::renameWorkspace(7));
    EXPECT_EQ(openedWith, "Gospels and Acts");
    EXPECT_EQ(storedTitle(7), "");
    EXPECT_EQ(label(6), "<07> Gospels and Acts");
    EXPECT_EQ(tree->clickedLabel(), "<07> Gospels and Acts");
    EXPECT_EQ(prompter.shown.size(), 1u);
}

TEST_F(RenameCommand, CancelChangesNothing) {
    settings::SetRegString(store, "Software\\Quorvel\\Modshelf\\Workspace7", "WorkspaceTitle",
                           "Old");
    selectWorkspace(6);
    answerDialog("New", false);
    frame->routeCommand(cmd::renameWorkspace(7));
    EXPECT_EQ(label(6), "<07> Workspace 07");
    EXPECT_EQ(storedTitle(7), "Old");
    EXPECT_TRUE(prompter.shown.empty());
}

// A rename whose save fails says so, in place of the confirmation, and the
// tree keeps the name that the next start will show.
TEST_F(RenameCommand, AFailedSaveIsReportedAndTheOldLabelStays) {
    selectWorkspace(6);
    ASSERT_EQ(label(6), "<07> Workspace 07");
    store.failSaves(true, "The disk is full.");
    prompter.answer(dialogs::id::kOk);
    bool stillOpen = false;
    QTimer::singleShot(0, [&] {
        auto* dialog = qobject_cast<RenameWorkspaceDialog*>(QApplication::activeModalWidget());
        ASSERT_TRUE(dialog);
        dialog->nameEdit()->setText("New");
        QTest::mouseClick(dialog->findChild<QPushButton*>("ok"), Qt::LeftButton);
        stillOpen = dialog->isVisible() && dialog->nameEdit()->text() == "New";
        QTest::mouseClick(dialog->findChild<QPushButton*>("cancel"), Qt::LeftButton);
    });
    frame->routeCommand(cmd::renameWorkspace(7));

    EXPECT_TRUE(stillOpen);
    ASSERT_EQ(prompter.shown.size(), 1u);
    EXPECT_EQ(prompter.shown[0].caption, " Workspace Not Renamed");
    EXPECT_EQ(prompter.shown[0].text,
              "Workspace 07 has not been renamed: its new name could not be saved.\n\n"
              "The disk is full.");
    EXPECT_TRUE(saveFailures.empty()) << "reported twice";
    EXPECT_EQ(label(6), "<07> Workspace 07");
    EXPECT_EQ(frame->windowTitle().toStdString(), state.titlePrefix + "<07> Workspace 07");
    store.failSaves(false);
    EXPECT_EQ(storedTitle(7), "<none>");
}

}  // namespace
}  // namespace modshelf::gui::testing
