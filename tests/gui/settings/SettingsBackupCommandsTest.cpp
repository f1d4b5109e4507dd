#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <memory>
#include <optional>

#include "core/app/AppState.h"
#include "core/app/CommandIds.h"
#include "core/app/FrameSettings.h"
#include "core/app/InstanceMarker.h"
#include "core/dialogs/MessageBoxParams.h"
#include "gui/CMainFrame.h"
#include "gui/CModshelfDoc.h"
#include "gui/GuiContext.h"
#include "gui/WindowPlacement.h"
#include "gui/frame/FakeViews.h"
#include "gui/settings/EscapeKeyCancel.h"
#include "gui/settings/SettingsBackupCommands.h"
#include "platform/linux/SettingsStoreFactory.h"
#include "support/ScriptedPrompter.h"
#include "support/TempDir.h"

namespace modshelf::gui::testing {
namespace {

namespace fs = std::filesystem;
using dialogs::id::kOk;
using dialogs::id::kYes;

class FixedFiles : public settings::BackupFileChooser {
public:
    std::optional<std::string> chooseBackupFile(const std::string&) override { return file; }
    std::optional<std::string> chooseRestoreFile(const std::string&) override { return file; }
    std::optional<std::string> file;
};

class FakeMarker : public app::InstanceMarker {
public:
    Result create() override { return Result::Created; }
    void close() override { open = false; }
    bool isOpen() const override { return open; }
    bool open = true;
};

FrameViews fakeViews() {
    FrameViews views;
    views.createList = [](GuiContext&, QWidget* parent) { return new FakeView("list", parent); };
    views.createTree = [](GuiContext&, QWidget* parent) { return new FakeView("tree", parent); };
    return views;
}

// One run of the program over settings kept in files, as a restarted copy
// would find them, with the backup commands at the application level.
struct ProgramRun {
    explicit ProgramRun(const fs::path& folder)
        : opened(platform::openSettingsStore(folder / "no-prefix", folder / "data", nullptr)),
          context{*opened.store, prompter, state, nullptr, &document, &marker},
          commands(
              context, [this] { return frame.get(); }, "/nonexistent/modshelf") {
        commands.setFileChooser(&files);
        commands.setPauses(false);
        frame = std::make_unique<CMainFrame>(context, fakeViews(), &commands);
        frame->show();
    }
    platform::OpenedSettingsStore opened;
    test::ScriptedPrompter prompter;
    app::AppState state;
    CModshelfDoc document;
    FakeMarker marker;
    GuiContext context;
    FixedFiles files;
    SettingsBackupCommands commands;
    std::unique_ptr<CMainFrame> frame;
};

app::WindowPos placement(int left, int top, int right, int bottom) {
    app::WindowPos pos;
    pos.showCmd = app::kShowNormal;
    pos.left = left, pos.top = top, pos.right = right, pos.bottom = bottom;
    return pos;
}

void expectRectangle(const app::WindowPos& actual, const app::WindowPos& expected) {
    EXPECT_EQ(actual.left, expected.left);
    EXPECT_EQ(actual.top, expected.top);
    EXPECT_EQ(actual.right, expected.right);
    EXPECT_EQ(actual.bottom, expected.bottom);
}

TEST(SettingsBackupCommands, RestoreRestartsIntoTheRestoredPlacement) {
    test::TempDir dir;
    // Both fit the test screen (800 x 600), so that neither is moved onto it.
    const app::WindowPos backedUp = placement(120, 90, 620, 490);
    const app::WindowPos later = placement(200, 120, 700, 520);
    {
        auto first = platform::openSettingsStore(dir / "no-prefix", dir / "data", nullptr);
        app::writeWindowPos(*first.store, backedUp);
    }
    const std::string backup = (dir / "Modshelf.xml").string();
    {
        ProgramRun run(dir.path());
        run.files.file = backup;
        CommandState state = run.frame->routeUpdate(app::cmd::kBackupSettings);
        EXPECT_TRUE(state.enabled);
        run.prompter.answer(kYes);
        run.prompter.answer(kOk);
        run.frame->routeCommand(app::cmd::kBackupSettings);
        ASSERT_TRUE(fs::exists(backup));
        EXPECT_EQ(run.prompter.shown.back().caption, " Export File Created");
        // The user moves the window and closes: the later placement is stored.
        applyPlacement(*run.frame, later);
        run.frame->close();
    }

    ProgramRun run(dir.path());
    expectRectangle(capturePlacement(*run.frame), later);
    run.files.file = backup;
    int starts = 0;
    run.commands.setRestarter([&] {
        ++starts;
        EXPECT_FALSE(run.marker.open) << "the new copy must be able to take the marker";
        EXPECT_TRUE(run.state.settingsRestored);
        return true;
    });
    run.prompter.answer(kYes);
    run.prompter.answer(kOk);
    run.frame->routeCommand(app::cmd::kRestoreSettings);
    EXPECT_EQ(run.prompter.shown.back().caption, " Import completed OK");
    EXPECT_EQ(starts, 1);
    EXPECT_FALSE(run.frame->isVisible()) << "this copy closes its window";

    // The restarted copy opens where the backup says.
    ProgramRun restarted(dir.path());
    expectRectangle(capturePlacement(*restarted.frame), backedUp);
}

TEST(SettingsBackupCommands, EscapeDuringTheExportCancelsItAndLeavesNoFile) {
    test::TempDir dir;
    ProgramRun run(dir.path());
    run.files.file = (dir / "Modshelf.xml").string();
    // Escape is already waiting when the export begins.
    QCoreApplication::postEvent(run.frame.get(),
                                new QKeyEvent(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier));
    run.prompter.answer(kYes);
    run.prompter.answer(kOk);
    run.frame->routeCommand(app::cmd::kBackupSettings);
    EXPECT_EQ(run.prompter.shown.back().caption, " Export Cancelled");
    EXPECT_FALSE(fs::exists(*run.files.file));
}

TEST(EscapeKeyCancel, SeesEscapeOnlyWhileWatchingAndHoldsBackOtherInput) {
    EscapeKeyCancel escape;
    QLineEdit edit;
    edit.show();
    edit.setFocus();
    QCoreApplication::postEvent(&edit,
                                new QKeyEvent(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier));
    EXPECT_FALSE(escape.cancelRequested());
    QCoreApplication::processEvents();

    escape.setWatching(true);
    QCoreApplication::postEvent(&edit,
                                new QKeyEvent(QEvent::KeyPress, Qt::Key_A, Qt::NoModifier, "a"));
    EXPECT_FALSE(escape.cancelRequested());
    EXPECT_EQ(edit.text(), QString()) << "typing is held back during the export";
    QCoreApplication::postEvent(&edit,
                                new QKeyEvent(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier));
    EXPECT_TRUE(escape.cancelRequested());

    escape.setWatching(false);
    EXPECT_FALSE(escape.cancelRequested());
    QCoreApplication::postEvent(&edit,
                                new QKeyEvent(QEvent::KeyPress, Qt::Key_B, Qt::NoModifier, "b"));
    QCoreApplication::processEvents();
    EXPECT_EQ(edit.text(), QStringLiteral("b"));
}

}  // namespace
}  // namespace modshelf::gui::testing
