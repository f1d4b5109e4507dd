#include <gtest/gtest.h>

#include <sstream>

#include "core/app/AppState.h"
#include "core/app/InstanceMarker.h"
#include "core/app/Startup.h"
#include "core/dialogs/MessageBoxParams.h"
#include "core/settings/MemorySettingsStore.h"
#include "core/settings/RegistryAccess.h"
#include "support/ScriptedPrompter.h"
#include "support/TempDir.h"

namespace modshelf::app {
namespace {

using settings::RegRoot;

class FakeMarker : public InstanceMarker {
public:
    explicit FakeMarker(Result result) : result_(result) {}
    Result create() override {
        ++creates;
        open_ = result_ != Result::Unavailable;
        return result_;
    }
    void close() override { open_ = false; }
    bool isOpen() const override { return open_; }
    int creates = 0;

private:
    Result result_;
    bool open_ = false;
};

class Startup : public ::testing::Test {
protected:
    void SetUp() override {
        // Leftovers of an earlier run, and the siblings that must survive them.
        settings::SetRegString(store, "Software\\Quorvel\\Modshelf\\Modshelf\\Recent File List",
                               "File1", "x");
        settings::SetRegDword(store, "Software\\Quorvel\\Modshelf\\Modshelf\\Settings",
                              "PreviewPages", 1);
        settings::SetRegString(store, "Software\\Quorvel\\Modshelf\\Workspace1", "WorkspaceTitle",
                               "Gospels");
        settings::SetRegDword(store, "Software\\Quorvel\\Modshelf\\Settings", "GridLines", 0);
        test::writeFile(dir / "rtfconv.tmp", "{\\rtf1 leftover}");
        test::writeFile(dir / "keep.txt", "mine");
    }

    StartupEnvironment env(InstanceMarker& marker) {
        return {store, prompter, marker, "/opt/Quorvel/Modshelf", dir.path(), &diagnostics};
    }

    bool profileKeyExists() {
        return store.openKey(RegRoot::CurrentUser, kProfileKey) == settings::kSuccess;
    }

    settings::MemorySettingsStore store;
    test::ScriptedPrompter prompter;
    test::TempDir dir;
    std::ostringstream diagnostics;
    AppState state;
};

TEST_F(Startup, FirstCopyCreatesTheWindowThenClearsTheLeftoversOnly) {
    FakeMarker marker(InstanceMarker::Result::Created);
    bool windowExisted = false;
    bool leftoversPresentWhileCreating = false;
    ASSERT_TRUE(initInstance(state, env(marker), [&] {
        windowExisted = true;
        leftoversPresentWhileCreating =
            profileKeyExists() && std::filesystem::exists(dir / "rtfconv.tmp");
        return true;
    }));
    EXPECT_TRUE(windowExisted);
    EXPECT_TRUE(leftoversPresentWhileCreating);
    EXPECT_TRUE(marker.isOpen());
    EXPECT_TRUE(prompter.shown.empty());
    EXPECT_EQ(prompter.beeps, 0);

    EXPECT_FALSE(profileKeyExists());
    EXPECT_FALSE(std::filesystem::exists(dir / "rtfconv.tmp"));
    EXPECT_TRUE(std::filesystem::exists(dir / "keep.txt"));
    EXPECT_EQ(settings::GetRegString(store, RegRoot::CurrentUser,
                                     "Software\\Quorvel\\Modshelf\\Workspace1", "WorkspaceTitle"),
              "Gospels");
    EXPECT_EQ(settings::GetRegDword(store, RegRoot::CurrentUser,
                                    "Software\\Quorvel\\Modshelf\\Settings", "GridLines", 7),
              0u);
    EXPECT_EQ(state.helpFilePath, "/opt/Quorvel/modshelf.chm");
}

TEST_F(Startup, SecondCopyBeepsShowsTheNoticeAndEndsWritingNothing) {
    FakeMarker marker(InstanceMarker::Result::AlreadyExists);
    prompter.answer(dialogs::id::kOk | static_cast<int>(dialogs::id::kTimeoutFlag));
    const int savesBefore = store.saveCount();
    bool windowCreated = false;
    EXPECT_FALSE(initInstance(state, env(marker), [&] {
        windowCreated = true;
        return true;
    }));
    EXPECT_FALSE(windowCreated);
    EXPECT_FALSE(marker.isOpen());
    EXPECT_EQ(prompter.beeps, 1);
    ASSERT_EQ(prompter.shown.size(), 1u);
    const auto& box = prompter.shown[0];
    EXPECT_EQ(box.text, "Another copy of Modshelf is already running.");
    EXPECT_EQ(box.caption, " Modshelf Already Running");
    EXPECT_EQ(box.style, dialogs::mb::kOk);
    EXPECT_EQ(box.params.timeoutSeconds, 3);
    EXPECT_TRUE(box.params.options & dialogs::kOptionRightJustifyButtons);
    EXPECT_EQ(box.params.textColour, 0x00FF0000);
    EXPECT_EQ(box.params.iconId, 100u);

    // Nothing written, nothing cleared.
    EXPECT_EQ(store.saveCount(), savesBefore);
    EXPECT_TRUE(profileKeyExists());
    EXPECT_TRUE(std::filesystem::exists(dir / "rtfconv.tmp"));
}

TEST_F(Startup, UnavailableMarkerLetsTheProgramRunSilently) {
    FakeMarker marker(InstanceMarker::Result::Unavailable);
    EXPECT_TRUE(initInstance(state, env(marker), [] { return true; }));
    EXPECT_TRUE(prompter.shown.empty());
    EXPECT_EQ(prompter.beeps, 0);
}

TEST_F(Startup, FailedWindowCreationEndsWithoutClearingLeftovers) {
    FakeMarker marker(InstanceMarker::Result::Created);
    EXPECT_FALSE(initInstance(state, env(marker), [] { return false; }));
    EXPECT_TRUE(profileKeyExists());
    EXPECT_TRUE(std::filesystem::exists(dir / "rtfconv.tmp"));
}

TEST_F(Startup, RtfWorkFileRemovalSparesAFolderOfThatName) {
    std::filesystem::remove(dir / "rtfconv.tmp");
    std::filesystem::create_directory(dir / "rtfconv.tmp");
    deleteRtfWorkFile(dir.path());
    EXPECT_TRUE(std::filesystem::is_directory(dir / "rtfconv.tmp"));
    // A missing file is no error either.
    test::TempDir empty;
    deleteRtfWorkFile(empty.path());
}

}  // namespace
}  // namespace modshelf::app
