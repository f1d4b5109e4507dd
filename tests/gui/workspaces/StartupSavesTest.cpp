// Start-up with the real frame and views: everything it writes (the keys the
// workspace labels create, the bookkeeping values, the leftovers removed) is
// one operation with one save.

#include "WorkspaceFrameFixture.h"
#include "core/app/InstanceMarker.h"
#include "core/settings/RegistryAccess.h"
#include "gui/CModshelfApp.h"
#include "gui/FrameViews.h"

namespace modshelf::gui::testing {
namespace {

class HeldMarker : public app::InstanceMarker {
public:
    Result create() override {
        open_ = true;
        return Result::Created;
    }
    void close() override { open_ = false; }
    bool isOpen() const override { return open_; }

private:
    bool open_ = false;
};

class StartupSaves : public WorkspaceFrameFixture {
protected:
    StartupSaves() { buildFrameInSetUp = false; }
};

TEST_F(StartupSaves, AFreshStartSavesOnceAndAFailedSaveIsReportedOnce) {
    for (const bool failing : {true, false}) {
        // A leftover to remove, so that each start has something to save:
        // values it writes that are already stored save nothing.
        settings::SetRegString(store, "Software\\Quorvel\\Modshelf\\Modshelf\\Recent File List",
                               "File1", "x");
        store.failSaves(failing, "The disk is full.");
        saveFailures.clear();
        const int before = store.saveCount();
        HeldMarker marker;
        CModshelfApp application(context, marker, "/nonexistent/modshelf-tests/modshelf",
                                 programViews());
        ASSERT_TRUE(application.InitInstance());
        EXPECT_EQ(store.saveCount() - before, failing ? 0 : 1);  // counts the saves that worked
        EXPECT_EQ(saveFailures.size(), failing ? 1u : 0u);
        application.mainFrame()->close();
    }
    store.failSaves(false);
    // What the successful start wrote is there.
    EXPECT_EQ(
        store.openKey(settings::RegRoot::CurrentUser, "Software\\Quorvel\\Modshelf\\Modshelf"),
        settings::kFileNotFound);
    EXPECT_EQ(flag("Software\\Quorvel\\Modshelf\\WorkspaceC", "WorkspaceName"), "WorkspaceC");
    EXPECT_EQ(
        store.openKey(settings::RegRoot::CurrentUser, "Software\\Quorvel\\Modshelf\\Workspace15"),
        settings::kSuccess);
}

}  // namespace
}  // namespace modshelf::gui::testing
