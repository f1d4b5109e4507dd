#include <gtest/gtest.h>

#include "core/settings/MemorySettingsStore.h"
#include "core/settings/RegistryAccess.h"
#include "core/text/AsciiText.h"
#include "core/workspaces/WorkspaceRename.h"
#include "core/workspaces/WorkspaceStore.h"

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

// What the dialog accepts is what the next start reads back, byte for byte;
// anything longer is refused before it is written.
TEST(WorkspaceRename, AcceptedNamesAreReadBackAtTheNextStartAndLongerOnesRefused) {
    std::string cyrillic99;
    for (int i = 0; i < 99; ++i) cyrillic99 += "\xD0\x96";  // Ж, two bytes
    const struct {
        std::string typed;
        bool accepted;
    } cases[] = {
        {std::string(199, 'a'), true},
        {"  " + std::string(199, 'a') + "  ", true},  // the blanks are trimmed away
        {std::string(200, 'a'), false},
        {cyrillic99, true},                // 198 bytes
        {cyrillic99 + "\xD0\x96", false},  // 100 letters, 200 bytes
        {cyrillic99 + "\xD0\x96\xD0\x96", false},
    };
    for (const auto& c : cases) {
        settings::MemorySettingsStore store;
        applyRename(store, 3, "Before");
        const RenameResult r = applyRename(store, 3, c.typed);
        EXPECT_EQ(r.status == settings::kSuccess, c.accepted) << c.typed.size();
        EXPECT_EQ(renameNameTooLong(c.typed), !c.accepted) << c.typed.size();
        const std::string expected = c.accepted ? text::trimmed(c.typed) : "Before";
        EXPECT_EQ(buildDisplayName(store, "<03> ", "Software\\Quorvel\\Modshelf\\Workspace3",
                                   "Workspace 03"),
                  "<03> " + expected)
            << c.typed.size();
        if (!c.accepted) {
            EXPECT_NE(r.error.find(std::to_string(text::trimmed(c.typed).size()) + " bytes"),
                      std::string::npos);
        }
    }
}

TEST(WorkspaceRename, AFailedSaveIsReportedOnceByTheRenameAndKeepsTheOldTitle) {
    settings::MemorySettingsStore store;
    applyRename(store, 7, "Old");
    int listenerCalls = 0;
    store.setSaveFailureListener([&](const std::string&) { ++listenerCalls; });
    store.failSaves(true, "The disk is full.");
    const RenameResult r = applyRename(store, 7, "New");
    EXPECT_NE(r.status, settings::kSuccess);
    EXPECT_EQ(r.error, "The disk is full.");
    EXPECT_EQ(listenerCalls, 0);
    EXPECT_EQ(renameFailedText(7, r.error),
              "Workspace 07 has not been renamed: its new name could not be saved.\n\n"
              "The disk is full.");
    store.failSaves(false);
    EXPECT_EQ(settings::GetRegString(store, settings::RegRoot::CurrentUser,
                                     "Software\\Quorvel\\Modshelf\\Workspace7", "WorkspaceTitle"),
              "Old");
}
