#include "core/app/WorkspaceLabels.h"

#include <gtest/gtest.h>

#include "core/settings/MemorySettingsStore.h"
#include "core/settings/RegistryAccess.h"
#include "core/workspaces/WorkspaceStore.h"

namespace modshelf::app {
namespace {

using settings::RegRoot;

TEST(WorkspaceLabelsTest, LabelsComeFromTrimmedTitlesOrTheDefaults) {
    settings::MemorySettingsStore store;
    settings::SetRegString(store, "Software\\Quorvel\\Modshelf\\Workspace1", "WorkspaceTitle",
                           "  Greek Studies \t");
    settings::SetRegString(store, "Software\\Quorvel\\Modshelf\\Workspace2", "WorkspaceTitle",
                           "    ");
    settings::SetRegString(store, "Software\\Quorvel\\Modshelf\\Workspace3", "WorkspaceTitle",
                           std::string(200, 'x'));  // too long to read
    settings::SetRegString(store, "Software\\Quorvel\\Modshelf\\Workspace4", "WorkspaceTitle",
                           std::string(199, 'y'));
    settings::SetRegString(store, "Software\\Quorvel\\Modshelf\\WorkspaceC", "WorkspaceTitle",
                           "Scrivel Now");

    AppState state;
    buildWorkspaceLabels(state, store);
    EXPECT_EQ(state.workspaceDisplayName[0], "<01> Greek Studies");
    EXPECT_EQ(state.workspaceDisplayName[1], "<02> Workspace 02");
    EXPECT_EQ(state.workspaceDisplayName[2], "<03> Workspace 03");
    EXPECT_EQ(state.workspaceDisplayName[3], "<04> " + std::string(199, 'y'));
    EXPECT_EQ(state.workspaceDisplayName[14], "<15> Workspace 15");
    EXPECT_EQ(state.workspaceDisplayName[kSlotAll], "<A>  ALL Scrivel Modules");
    EXPECT_EQ(state.workspaceDisplayName[kSlotCurrent], "<C>  Scrivel Now");

    // Every workspace key exists afterwards; the stored titles are unchanged.
    for (int slot = 0; slot < kWorkspaceSlots; ++slot)
        EXPECT_EQ(store.openKey(RegRoot::CurrentUser, workspaces::workspaceKeyPath(slot)),
                  settings::kSuccess);
    EXPECT_EQ(settings::GetRegString(store, RegRoot::CurrentUser,
                                     "Software\\Quorvel\\Modshelf\\Workspace1", "WorkspaceTitle"),
              "  Greek Studies \t");
}

TEST(WorkspaceLabelsTest, EveryWorkspaceListsTheResourceFolder) {
    AppState state;
    state.resourceFolder = "/prefix/drive_c/Scrivel/";
    setWorkspaceFolders(state);
    for (const std::string& folder : state.workspaceFolder)
        EXPECT_EQ(folder, "/prefix/drive_c/Scrivel/");
}

}  // namespace
}  // namespace modshelf::app
