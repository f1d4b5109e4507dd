#include <gtest/gtest.h>

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include "core/settings/MemorySettingsStore.h"
#include "core/settings/RegistryAccess.h"
#include "gui/workspaces/RenameWorkspaceDialog.h"

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
    gui::RenameWorkspaceDialog dialog(store, 7, "<07> Workspace 07");
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
    settings::SetRegString(store, "Software\\Quorvel\\Modshelf\\Workspace7", "WorkspaceTitle",
                           "Old");
    gui::RenameWorkspaceDialog dialog(store, 7, "<07> Old");
    dialog.show();
    QTest::keyClicks(dialog.nameEdit(), "New");
    QTest::mouseClick(dialog.findChild<QPushButton*>("cancel"), Qt::LeftButton);
    EXPECT_EQ(dialog.result(), QDialog::Rejected);

    gui::RenameWorkspaceDialog again(store, 7, "<07> Old");
    again.show();
    QTest::keyClick(again.nameEdit(), Qt::Key_Escape);
    EXPECT_EQ(again.result(), QDialog::Rejected);
    EXPECT_EQ(storedTitle(store, 7), "Old");
}
