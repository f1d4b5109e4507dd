// A failed save is told once the operation that saved has ended, never from
// inside the store's call, and nothing waiting is dropped at exit.

#include <gtest/gtest.h>

#include <QCoreApplication>

#include "core/settings/MemorySettingsStore.h"
#include "core/settings/RegistryAccess.h"
#include "gui/SaveFailureNotices.h"
#include "support/ScriptedPrompter.h"

namespace modshelf::gui {
namespace {

class SaveFailures : public ::testing::Test {
protected:
    void failingWrite(const std::string& value) {
        settings::SetRegString(store, "Software\\Quorvel\\Modshelf\\Settings", "SQLiteEditor",
                               value);
    }

    settings::MemorySettingsStore store;
    modshelf::test::ScriptedPrompter prompter;
};

TEST_F(SaveFailures, TheNoticeWaitsForTheEventLoopAndRepeatsAreShownOnce) {
    SaveFailureNotices notices(store, prompter);
    store.failSaves(true, "The disk is full.");
    failingWrite("a");
    failingWrite("b");
    // Still inside the operation that saved: no box yet.
    EXPECT_TRUE(prompter.shown.empty());
    EXPECT_EQ(notices.pending(), std::vector<std::string>{"The disk is full."});

    prompter.answer(dialogs::id::kOk);
    QCoreApplication::processEvents();
    ASSERT_EQ(prompter.shown.size(), 1u);
    EXPECT_EQ(prompter.shown[0].text, "Modshelf could not save a setting.\n\nThe disk is full.");
    EXPECT_EQ(prompter.shown[0].caption, " Settings Not Saved");
    EXPECT_TRUE(notices.pending().empty());

    // A later failure gets a notice of its own.
    store.failSaves(true, "Another program holds the file.");
    failingWrite("c");
    prompter.answer(dialogs::id::kOk);
    QCoreApplication::processEvents();
    ASSERT_EQ(prompter.shown.size(), 2u);
    EXPECT_EQ(prompter.shown[1].text,
              "Modshelf could not save a setting.\n\nAnother program holds the file.");
}

// After the event loop has ended no timer fires: the program shows what waits.
TEST_F(SaveFailures, WhatWaitsAtExitIsShownOnRequest) {
    SaveFailureNotices notices(store, prompter);
    store.failSaves(true, "The disk is full.");
    failingWrite("x");
    prompter.answer(dialogs::id::kOk);
    notices.showPending();
    EXPECT_EQ(prompter.shown.size(), 1u);
    QCoreApplication::processEvents();
    EXPECT_EQ(prompter.shown.size(), 1u) << "shown twice";
}

}  // namespace
}  // namespace modshelf::gui
