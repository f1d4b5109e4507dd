#include <gtest/gtest.h>

#include <sstream>

#include "core/settings/MemorySettingsStore.h"
#include "core/settings/RegistryAccess.h"

using namespace modshelf::settings;

namespace {
const RegRoot HKCU = RegRoot::CurrentUser;
}

TEST(RegistryAccess, ReadingAMissingKeyCreatesItAndGivesDefaults) {
    MemorySettingsStore store;
    EXPECT_EQ(GetRegString(store, HKCU, "Software\\Quorvel\\Modshelf\\Settings", "SQLiteEditor"),
              "");
    EXPECT_EQ(store.openKey(HKCU, "software\\QUORVEL\\modshelf\\settings"), kSuccess);
    EXPECT_EQ(GetRegDword(store, HKCU, "Software\\Quorvel\\Modshelf\\Settings", "GridLines", 7),
              7u);
}

TEST(RegistryAccess, StringsKeepTheirNulAndLongOnesReadAsUnset) {
    MemorySettingsStore store;
    ASSERT_EQ(SetRegString(store, "Software\\A", "v", "True"), kSuccess);
    RegValue raw;
    ASSERT_EQ(store.queryValue(HKCU, "Software\\A", "V", raw), kSuccess);
    EXPECT_EQ(raw.type, kRegSz);
    EXPECT_EQ(raw.data.size(), 5u);
    EXPECT_EQ(GetRegString(store, HKCU, "Software\\A", "v"), "True");

    SetRegString(store, "Software\\A", "long", std::string(199, 'x'));
    EXPECT_EQ(GetRegString(store, HKCU, "Software\\A", "long").size(), 199u);
    SetRegString(store, "Software\\A", "long", std::string(200, 'x'));
    EXPECT_EQ(GetRegString(store, HKCU, "Software\\A", "long"), "");
    // A text of more than four bytes is not a number: the default comes back.
    EXPECT_EQ(GetRegDword(store, HKCU, "Software\\A", "v", 42), 42u);
}

TEST(RegistryAccess, DeleteKeyTreeRemovesNestedKeysAndSparesSiblings) {
    MemorySettingsStore store;
    SetRegDword(store, "Software\\Quorvel\\Modshelf\\Modshelf\\a\\b\\c", "x", 1);
    SetRegDword(store, "Software\\Quorvel\\Modshelf\\Modshelf\\d", "y", 2);
    SetRegDword(store, "Software\\Quorvel\\Modshelf\\Settings", "GridLines", 0);
    std::ostringstream diag;
    EXPECT_TRUE(DeleteKeyTree(store, HKCU, "Software\\Quorvel\\Modshelf\\Modshelf\\", diag));
    EXPECT_EQ(store.openKey(HKCU, "Software\\Quorvel\\Modshelf\\Modshelf"), kFileNotFound);
    EXPECT_EQ(GetRegDword(store, HKCU, "Software\\Quorvel\\Modshelf\\Settings", "GridLines", 1),
              0u);
    EXPECT_TRUE(DeleteKeyTree(store, HKCU, "Software\\Quorvel\\Modshelf\\Modshelf", diag));
    EXPECT_EQ(diag.str(), "Key not found.\n");
}

TEST(RegistryAccess, AnOperationSavesOnceAndAFailedSaveLosesTheWholeOperation) {
    MemorySettingsStore store;
    SetRegString(store, "Software\\W", "kept", "True");
    {
        SettingsOperation op(store);
        for (int i = 0; i < 100; ++i)
            SetRegString(store, "Software\\W", "v" + std::to_string(i), "True");
        const int before = store.saveCount();
        EXPECT_EQ(op.commit(), kSuccess);
        EXPECT_EQ(store.saveCount(), before + 1);
    }
    std::string reported;
    store.setSaveFailureListener([&](const std::string& m) { reported = m; });
    store.failSaves(true, "disk full");
    {
        SettingsOperation op(store);
        SetRegString(store, "Software\\W", "lost1", "True");
        SetRegString(store, "Software\\W", "kept", "False");
        EXPECT_NE(op.commit(), kSuccess);
    }
    EXPECT_EQ(reported, "disk full");
    EXPECT_EQ(GetRegString(store, HKCU, "Software\\W", "lost1"), "");
    EXPECT_EQ(GetRegString(store, HKCU, "Software\\W", "kept"), "True");
}

TEST(RegistryAccess, AKeyCreatedByAReadFailsQuietlyButAUsersWriteIsReported) {
    MemorySettingsStore store;
    int reports = 0;
    store.setSaveFailureListener([&](const std::string&) { ++reports; });
    store.failSaves(true);
    EXPECT_EQ(GetRegString(store, HKCU, "Software\\Missing", "v"), "");
    EXPECT_EQ(GetRegDword(store, HKCU, "Software\\Missing", "d", 3), 3u);
    EXPECT_EQ(reports, 0);
    SetRegString(store, "Software\\Missing", "v", "x");
    EXPECT_EQ(reports, 1);
}
