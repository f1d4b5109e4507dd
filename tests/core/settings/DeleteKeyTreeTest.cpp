// Removing a key tree must tell the truth about what reached the disk, and
// must never be able to take the whole hive with it.

#include <gtest/gtest.h>

#include <sstream>

#include "core/settings/MemorySettingsStore.h"
#include "core/settings/RegistryAccess.h"

using namespace modshelf::settings;

namespace {

constexpr RegRoot HKCU = RegRoot::CurrentUser;

void fillSample(MemorySettingsStore& store) {
    SetRegDword(store, "Software\\Quorvel\\Modshelf\\Modshelf\\a\\b", "x", 1);
    SetRegDword(store, "Software\\Quorvel\\Modshelf\\Settings", "GridLines", 0);
    SetRegString(store, "Software\\VB and VBA Program Settings\\Scrivel\\Settings", "Path", "C:\\");
}

TEST(DeleteKeyTree, AFailedSaveIsAFailureAndTheTreeStays) {
    MemorySettingsStore store;
    fillSample(store);
    std::string reported;
    store.setSaveFailureListener([&](const std::string& m) { reported = m; });
    store.failSaves(true, "disk full");
    std::ostringstream diag;
    EXPECT_FALSE(DeleteKeyTree(store, HKCU, "Software\\Quorvel\\Modshelf\\Modshelf", diag));
    EXPECT_EQ(reported, "disk full");
    EXPECT_EQ(GetRegDword(store, HKCU, "Software\\Quorvel\\Modshelf\\Modshelf\\a\\b", "x", 0), 1u);

    store.failSaves(false);
    EXPECT_TRUE(DeleteKeyTree(store, HKCU, "Software\\Quorvel\\Modshelf\\Modshelf", diag));
    EXPECT_EQ(store.openKey(HKCU, "Software\\Quorvel\\Modshelf\\Modshelf"), kFileNotFound);
}

TEST(DeleteKeyTree, TheRootIsRefusedHoweverItIsWritten) {
    for (const char* root : {"", "\\", "\\\\"}) {
        MemorySettingsStore store;
        fillSample(store);
        const int saves = store.saveCount();
        std::ostringstream diag;
        EXPECT_FALSE(DeleteKeyTree(store, HKCU, root, diag)) << '"' << root << '"';
        EXPECT_EQ(store.saveCount(), saves) << '"' << root << '"';
        EXPECT_EQ(GetRegDword(store, HKCU, "Software\\Quorvel\\Modshelf\\Settings", "GridLines", 9),
                  0u);
        EXPECT_EQ(GetRegString(store, HKCU,
                               "Software\\VB and VBA Program Settings\\Scrivel\\Settings", "Path"),
                  "C:\\");
    }
}

}  // namespace
