#include <gtest/gtest.h>

#include "core/settings/MemorySettingsStore.h"
#include "core/settings/RegistryAccess.h"
#include "core/workspaces/WorkspaceChecks.h"

using namespace modshelf;
using namespace modshelf::workspaces;
using settings::RegRoot;

namespace {
std::string flag(settings::SettingsStore& store, const std::string& key, const std::string& name) {
    return settings::GetRegString(store, RegRoot::CurrentUser, key, name);
}
const std::string kW3 = "Software\\Quorvel\\Modshelf\\Workspace3\\";
}  // namespace

TEST(StoreWorkspaceChecks, WritesEveryListedModuleNotOnlyTheChangedOne) {
    settings::MemorySettingsStore store;
    settings::SetRegString(store, kW3 + "Bibles", "Unlisted", "True");
    std::vector<ListRow> rows = {
        {"Bible", "KJV", true},
        {"Bible", "ASV", false},
        {"Commentary", "MHC", true},
        {"Dictionary", "EASTON", false},
        {"Notes", "MyNotes", true},
        {"Bible", "", true},  // no tab name: skipped
        {"", "", false},
        {"BIBLE", "WEB", true},
    };
    StoreChecksResult r = storeWorkspaceChecks(store, 3, rows);
    EXPECT_EQ(r.status, settings::kSuccess);
    EXPECT_EQ(r.rowsWritten, 5);
    EXPECT_EQ(r.activeCount, 3u);
    EXPECT_EQ(flag(store, kW3 + "Bibles", "KJV"), "True");
    EXPECT_EQ(flag(store, kW3 + "Bibles", "ASV"), "False");
    EXPECT_EQ(flag(store, kW3 + "Bibles", "WEB"), "True");
    EXPECT_EQ(flag(store, kW3 + "Commentaries", "MHC"), "True");
    EXPECT_EQ(flag(store, kW3 + "Dictionaries", "EASTON"), "False");
    EXPECT_EQ(flag(store, kW3 + "Bibles", "Unlisted"), "True");
    EXPECT_EQ(store.openKey(RegRoot::CurrentUser, kW3 + "Notes"), settings::kFileNotFound);
}

TEST(StoreWorkspaceChecks, ClearingABoxWritesFalseAndLowersTheCount) {
    settings::MemorySettingsStore store;
    std::vector<ListRow> rows = {{"Bible", "KJV", true}, {"Bible", "ASV", true}};
    EXPECT_EQ(storeWorkspaceChecks(store, 3, rows).activeCount, 2u);
    rows[0].checked = false;
    EXPECT_EQ(storeWorkspaceChecks(store, 3, rows).activeCount, 1u);
    EXPECT_EQ(flag(store, kW3 + "Bibles", "KJV"), "False");
}

TEST(StoreWorkspaceChecks, LongTabNamesAreStoredWholeAndTheWritesAreOneSave) {
    settings::MemorySettingsStore store;
    const std::string longName = "A Very Long Module Tab Name Indeed";
    std::vector<ListRow> rows = {{"Bible", longName, true}, {"Bible", "KJV", true}};
    const int before = store.saveCount();
    storeWorkspaceChecks(store, 15, rows);
    EXPECT_EQ(store.saveCount(), before + 1);
    EXPECT_EQ(flag(store, "Software\\Quorvel\\Modshelf\\Workspace15\\Bibles", longName), "True");
}

TEST(StoreWorkspaceChecks, AFailedSaveWritesNothingAndSaysSo) {
    settings::MemorySettingsStore store;
    settings::SetRegString(store, kW3 + "Bibles", "KJV", "False");
    store.failSaves(true);
    std::vector<ListRow> rows = {{"Bible", "KJV", true}, {"Bible", "ASV", true}};
    EXPECT_NE(storeWorkspaceChecks(store, 3, rows).status, settings::kSuccess);
    store.failSaves(false);
    EXPECT_EQ(flag(store, kW3 + "Bibles", "KJV"), "False");
    EXPECT_EQ(flag(store, kW3 + "Bibles", "ASV"), "");
}
