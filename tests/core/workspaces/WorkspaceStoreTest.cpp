#include "core/workspaces/WorkspaceStore.h"

#include <gtest/gtest.h>

#include "core/settings/MemorySettingsStore.h"
#include "core/settings/RegistryAccess.h"

namespace modshelf::workspaces {
namespace {

using modules::ActivationCategory;
using settings::RegRoot;

TEST(WorkspaceStoreTest, KeysPrefixesAndDefaultNames) {
    EXPECT_EQ(workspaceKeyPath(0), "Software\\Quorvel\\Modshelf\\Workspace1");
    EXPECT_EQ(workspaceKeyPath(14), "Software\\Quorvel\\Modshelf\\Workspace15");
    EXPECT_EQ(workspaceKeyPath(tree::kSlotAll), "Software\\Quorvel\\Modshelf\\WorkspaceA");
    EXPECT_EQ(workspaceKeyPath(tree::kSlotCurrent), "Software\\Quorvel\\Modshelf\\WorkspaceC");
    EXPECT_EQ(workspaceKeyPath(17), "");
    EXPECT_EQ(workspacePrefix(0), "<01> ");
    EXPECT_EQ(workspacePrefix(14), "<15> ");
    EXPECT_EQ(workspacePrefix(tree::kSlotAll), "<A>  ");
    EXPECT_EQ(workspacePrefix(tree::kSlotCurrent), "<C>  ");
    EXPECT_EQ(defaultDisplayName(8), "Workspace 09");
    EXPECT_EQ(defaultDisplayName(tree::kSlotAll), "ALL Scrivel Modules");

    EXPECT_EQ(slotOfLabel("<03> Greek"), 2);
    EXPECT_EQ(slotOfLabel("<a>  ALL Scrivel Modules"), tree::kSlotAll);
    EXPECT_EQ(slotOfLabel("<C>  x"), tree::kSlotCurrent);
    EXPECT_EQ(slotOfLabel("<16> x"), -1);
    EXPECT_EQ(slotOfLabel("C:\\"), -1);
}

TEST(WorkspaceStoreTest, ModuleDataLivesInTheWorkspaceOrInScrivelsKeys) {
    EXPECT_EQ(moduleDataKeyPath(0, ActivationCategory::Bibles),
              "Software\\Quorvel\\Modshelf\\Workspace1\\Bibles");
    EXPECT_EQ(moduleDataKeyPath(14, ActivationCategory::Dictionaries),
              "Software\\Quorvel\\Modshelf\\Workspace15\\Dictionaries");
    EXPECT_EQ(moduleDataKeyPath(tree::kSlotCurrent, ActivationCategory::Commentaries),
              "Software\\VB and VBA Program Settings\\Scrivel\\Resource\\Commentaries");
    EXPECT_EQ(moduleDataKeyPath(tree::kSlotAll, ActivationCategory::Bibles), "");
    EXPECT_EQ(moduleDataKeyPath(0, ActivationCategory::None), "");
}

TEST(WorkspaceStoreTest, OnlyTrueInAnyCaseIsActive) {
    EXPECT_TRUE(isActiveText("True"));
    EXPECT_TRUE(isActiveText("TRUE"));
    EXPECT_TRUE(isActiveText("tRuE"));
    for (const char* text : {"", "1", "yes", "False", "true ", " true", "truth"})
        EXPECT_FALSE(isActiveText(text)) << '"' << text << '"';

    settings::MemorySettingsStore store;
    settings::SetRegString(store, "Software\\Quorvel\\Modshelf\\Workspace2\\Bibles", "KJV", "TRUE");
    settings::SetRegString(store, "Software\\Quorvel\\Modshelf\\Workspace2\\Bibles", "ASV", "1");
    EXPECT_TRUE(readActiveFlag(store, 1, ActivationCategory::Bibles, "KJV"));
    EXPECT_TRUE(readActiveFlag(store, 1, ActivationCategory::Bibles, "kjv"));  // names ignore case
    EXPECT_FALSE(readActiveFlag(store, 1, ActivationCategory::Bibles, "ASV"));
    EXPECT_FALSE(readActiveFlag(store, 1, ActivationCategory::Bibles, "WEB"));
    EXPECT_FALSE(readActiveFlag(store, 0, ActivationCategory::Bibles, "KJV"));
    EXPECT_FALSE(readActiveFlag(store, tree::kSlotAll, ActivationCategory::Bibles, "KJV"));

    // A read creates the missing key but never a value.
    EXPECT_FALSE(readActiveFlag(store, 4, ActivationCategory::Commentaries, "MHC"));
    settings::RegKeyInfo info;
    ASSERT_EQ(store.queryInfo(RegRoot::CurrentUser,
                              "Software\\Quorvel\\Modshelf\\Workspace5\\Commentaries", info),
              settings::kSuccess);
    EXPECT_EQ(info.values, 0u);
}

}  // namespace
}  // namespace modshelf::workspaces
