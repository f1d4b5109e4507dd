#include <gtest/gtest.h>

#include "core/settings/MemorySettingsStore.h"
#include "core/settings/RegistryAccess.h"
#include "core/workspaces/WorkspaceRename.h"

using namespace modshelf;
using namespace modshelf::workspaces;

TEST(WorkspaceRename, DialogOpensWithTheNameWithoutItsPrefix) {
    EXPECT_EQ(renameInitialName("  <07> Gospels  "), "Gospels");
    EXPECT_EQ(renameInitialName("<07> "), "");
    EXPECT_EQ(renameWindowTitle(7), " Rename Workspace 07");
    EXPECT_EQ(renameLabelText(12), "&Name for Workspace 12");
}

TEST(WorkspaceRename, OkStoresTheTrimmedNameUnderTheKeyWithoutLeadingZero) {
    settings::MemorySettingsStore store;
    RenameResult r = applyRename(store, 7, "  Prophets and Psalms \t");
    EXPECT_EQ(r.status, settings::kSuccess);
    EXPECT_EQ(r.newLabel, "<07> Prophets and Psalms");
    EXPECT_TRUE(renameChangesLabel(r.newLabel));
    EXPECT_EQ(settings::GetRegString(store, settings::RegRoot::CurrentUser,
                                     "Software\\Quorvel\\Modshelf\\Workspace7", "WorkspaceTitle"),
              "Prophets and Psalms");
    EXPECT_EQ(
        store.openKey(settings::RegRoot::CurrentUser, "Software\\Quorvel\\Modshelf\\Workspace07"),
        settings::kFileNotFound);
    EXPECT_EQ(renamedNoticeText(7), "Workspace 07 has been renamed.");
}

TEST(WorkspaceRename, AnEmptiedNameIsStoredEmptyAndLeavesTheLabel) {
    settings::MemorySettingsStore store;
    applyRename(store, 7, "Old");
    RenameResult r = applyRename(store, 7, "   ");
    EXPECT_EQ(r.newLabel, "<07> ");
    EXPECT_FALSE(renameChangesLabel(r.newLabel));
    EXPECT_EQ(settings::GetRegString(store, settings::RegRoot::CurrentUser,
                                     "Software\\Quorvel\\Modshelf\\Workspace7", "WorkspaceTitle"),
              "");
}
