#include <gtest/gtest.h>

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include "core/dialogs/MessageBoxParams.h"
#include "core/settings/MemorySettingsStore.h"
#include "core/settings/RegistryAccess.h"
#include "gui/workspaces/RenameWorkspaceDialog.h"
#include "support/ScriptedPrompter.h"

using namespace modshelf;

namespace {
std::string storedTitle(settings::SettingsStore& store, int n) {
    return settings::GetRegString(store, settings::RegRoot::CurrentUser,
                                  "Software\\Quorvel\\Modshelf\\Workspace" + std::to_string(n),
                                  "WorkspaceTitle");
}
}  // namespace

TEST(RenameWorkspaceDialog, OpensWithTheCurrentNameAndStoresTheTypedOneTrimmed) {
    settings::MemorySettingsStore store;
    modshelf::test::ScriptedPrompter prompter;
    gui::RenameWorkspaceDialog dialog(store, prompter, 7, "<07> Workspace 07");
    EXPECT_EQ(dialog.windowTitle(), " Rename Workspace 07");
    EXPECT_EQ(dialog.nameLabel()->text(), "&Name for Workspace 07");
    EXPECT_EQ(dialog.nameEdit()->text(), "Workspace 07");

    dialog.show();
    dialog.nameEdit()->clear();
    QTest::keyClicks(dialog.nameEdit(), "  Gospels  ");
    QTest::mouseClick(dialog.findChild<QPushButton*>("ok"), Qt::LeftButton);
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(dialog.newLabel(), "<07> Gospels");
    EXPECT_EQ(storedTitle(store, 7), "Gospels");
}

TEST(RenameWorkspaceDialog, CancelAndEscapeWriteNothing) {
    settings::MemorySettingsStore store;
    modshelf::test::ScriptedPrompter prompter;
    settings::SetRegString(store, "Software\\Quorvel\\Modshelf\\Workspace7", "WorkspaceTitle",
                           "Old");
    gui::RenameWorkspaceDialog dialog(store, prompter, 7, "<07> Old");
    dialog.show();
    QTest::keyClicks(dialog.nameEdit(), "New");
    QTest::mouseClick(dialog.findChild<QPushButton*>("cancel"), Qt::LeftButton);
    EXPECT_EQ(dialog.result(), QDialog::Rejected);

    gui::RenameWorkspaceDialog again(store, prompter, 7, "<07> Old");
    again.show();
    QTest::keyClick(again.nameEdit(), Qt::Key_Escape);
    EXPECT_EQ(again.result(), QDialog::Rejected);
    EXPECT_EQ(storedTitle(store, 7), "Old");
}

// A name the next start could not read back is refused with the reason; the
// dialog stays open with the typed name, and a shorter name is then taken.
TEST(RenameWorkspaceDialog, ANameTooLongToReadBackIsExplainedAndKeptForEditing) {
    settings::MemorySettingsStore store;
    modshelf::test::ScriptedPrompter prompter;
    prompter.answer(dialogs::id::kOk);
    gui::RenameWorkspaceDialog dialog(store, prompter, 4, "<04> Workspace 04");
    dialog.show();
    QString cyrillic;
    for (int i = 0; i < 100; ++i) cyrillic += QChar(0x0416);  // 200 bytes
    dialog.nameEdit()->setText(cyrillic);
    QTest::mouseClick(dialog.findChild<QPushButton*>("ok"), Qt::LeftButton);
    ASSERT_EQ(prompter.shown.size(), 1u);
    EXPECT_EQ(prompter.shown[0].caption, " Workspace Name Too Long");
    EXPECT_NE(prompter.shown[0].text.find("200 bytes"), std::string::npos);
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_EQ(dialog.nameEdit()->text(), cyrillic);
    EXPECT_EQ(storedTitle(store, 4), "");

    QTest::keyClick(dialog.nameEdit(), Qt::Key_End);
    QTest::keyClick(dialog.nameEdit(), Qt::Key_Backspace);
    QTest::mouseClick(dialog.findChild<QPushButton*>("ok"), Qt::LeftButton);
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(storedTitle(store, 4), cyrillic.chopped(1).toStdString());
}
