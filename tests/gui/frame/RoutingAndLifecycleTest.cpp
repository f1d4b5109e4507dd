#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QFileInfo>
#include <QUrl>

#include "FrameFixture.h"
#include "core/app/CommandIds.h"
#include "core/app/FrameSettings.h"
#include "core/app/InstanceMarker.h"
#include "core/settings/RegistryAccess.h"
#include "gui/HelpCommands.h"
#include "support/TempDir.h"

namespace modshelf::gui::testing {
namespace {

namespace cmd = app::cmd;
using settings::RegRoot;

// An application target that records what reaches it.
class RecordingApp : public CommandTarget {
public:
    bool handleCommand(int id) override {
        reached.push_back(id);
        return id == kAppCommand;
    }
    bool updateCommand(int id, CommandState& state) override {
        if (id != kAppCommand) return false;
        state.enabled = true;
        return true;
    }
    static constexpr int kAppCommand = 57606;
    std::vector<int> reached;
};

using Routing = FrameFixture;

TEST_F(Routing, TreeCommandWorksWhileTheListHasTheFocus) {
    RecordingApp application;
    auto frame = makeFrame(true, &application);
    tree->handles(cmd::kOpenExplorer, false);
    frame->setActiveView(list);
    EXPECT_TRUE(frame->routeCommand(cmd::kOpenExplorer));
    EXPECT_EQ(tree->handled, std::vector<int>{cmd::kOpenExplorer});
    EXPECT_TRUE(list->handled.empty());
    // The application was asked before the other view.
    EXPECT_EQ(application.reached, std::vector<int>{cmd::kOpenExplorer});
    // The update comes from the tree too, disabled as it says.
    bool answered = false;
    EXPECT_FALSE(frame->routeUpdate(cmd::kOpenExplorer, &answered).enabled);
    EXPECT_TRUE(answered);
}

TEST_F(Routing, ActiveViewComesFirstThenFrameThenApplication) {
    RecordingApp application;
    auto frame = makeFrame(true, &application);
    list->handles(cmd::kRefreshList);
    tree->handles(cmd::kRefreshList);
    frame->setActiveView(tree);
    frame->routeCommand(cmd::kRefreshList);
    EXPECT_EQ(tree->handled.size(), 1u);
    EXPECT_TRUE(list->handled.empty());

    // A frame command never reaches the application or the views.
    tree->handles(cmd::kSingleTabRow);
    frame->setActiveView(list);
    frame->routeCommand(cmd::kSingleTabRow);
    EXPECT_EQ(
        settings::GetRegString(store, RegRoot::CurrentUser, app::kHostSettingsKey, "Tab Style"),
        "1");
    EXPECT_EQ(tree->handled.size(), 1u);

    EXPECT_TRUE(frame->routeCommand(RecordingApp::kAppCommand));
    EXPECT_TRUE(frame->routeUpdate(RecordingApp::kAppCommand).enabled);
}

TEST_F(Routing, FocusMakesAPaneTheActiveView) {
    auto frame = makeFrame();
    frame->show();
    QApplication::setActiveWindow(frame.get());
    EXPECT_EQ(frame->activeView(), tree);
    list->setFocus();
    QApplication::processEvents();
    if (QApplication::focusWidget() != list) GTEST_SKIP() << "the platform gives no focus";
    EXPECT_EQ(frame->activeView(), list);
}

TEST_F(Routing, DocumentTellsEveryViewButTheSender) {
    auto frame = makeFrame();
    document.updateAllViews(tree);
    EXPECT_EQ(list->updatesFrom, std::vector<ModshelfView*>{tree});
    EXPECT_TRUE(tree->updatesFrom.empty());
    EXPECT_FALSE(document.routeCommandToAllViews(tree, cmd::kRefreshList));
    tree->handles(cmd::kRefreshList);
    EXPECT_FALSE(document.routeCommandToAllViews(tree, cmd::kRefreshList));
    EXPECT_TRUE(document.routeCommandToAllViews(list, cmd::kRefreshList));
}

class FakeMarker : public app::InstanceMarker {
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

// Runs the test in a folder of its own, so that the close's removal of the
// RTF work file is observable.
class InFolder {
public:
    explicit InFolder(const std::filesystem::path& folder)
        : saved_(std::filesystem::current_path()) {
        std::filesystem::current_path(folder);
    }
    ~InFolder() { std::filesystem::current_path(saved_); }

private:
    std::filesystem::path saved_;
};

using Lifecycle = FrameFixture;

TEST_F(Lifecycle, CloseKeepsTheMarkerSavesPlacementAndDeletesTheWorkFile) {
    modshelf::test::TempDir dir;
    InFolder inFolder(dir.path());
    modshelf::test::writeFile(dir / "rtfconv.tmp", "x");
    FakeMarker marker;
    marker.create();
    context.instanceMarker = &marker;

    auto frame = makeFrame();
    frame->setGeometry(100, 120, 640, 480);
    frame->show();
    EXPECT_TRUE(frame->close());
    // Held until the program ends: a notice of this close may still be shown.
    EXPECT_TRUE(marker.isOpen());
    EXPECT_FALSE(std::filesystem::exists(dir / "rtfconv.tmp"));
    const auto stored = app::readWindowPos(store);
    ASSERT_TRUE(stored);
    EXPECT_EQ(stored->flags, 0);
    EXPECT_EQ(stored->showCmd, app::kShowNormal);
    frame.reset();

    auto next = makeFrame();
    next->show();
    EXPECT_EQ(next->geometry(), QRect(100, 120, 640, 480));
}

TEST_F(Lifecycle, MaximizedCloseStoresTheNormalRectangleWithTheRestoreFlag) {
    auto frame = makeFrame();
    frame->setGeometry(60, 70, 500, 400);
    frame->show();
    frame->showMaximized();
    QApplication::processEvents();
    ASSERT_TRUE(frame->isMaximized());
    frame->close();
    const auto stored = app::readWindowPos(store);
    ASSERT_TRUE(stored);
    EXPECT_EQ(stored->flags & app::kRestoreToMaximized, app::kRestoreToMaximized);
    EXPECT_EQ(stored->showCmd, app::kShowMaximized);
    EXPECT_EQ(QRect(stored->left, stored->top, stored->right - stored->left,
                    stored->bottom - stored->top),
              QRect(60, 70, 500, 400));
    frame.reset();

    // Opens with the stored normal rectangle, in the show state it was started with.
    auto next = makeFrame();
    next->show();
    EXPECT_FALSE(next->isMaximized());
    EXPECT_EQ(next->geometry(), QRect(60, 70, 500, 400));
    next->close();
    EXPECT_EQ(app::readWindowPos(store)->flags & app::kRestoreToMaximized, 0);
}

TEST_F(Lifecycle, RestoreUnderWayKeepsTheImportedPlacement) {
    settings::SetRegString(store, app::kSettingsKey, "WindowPos", "0:1:-1:-1:-1:-1:10:60:410:360");
    auto frame = makeFrame();
    frame->show();
    EXPECT_EQ(frame->geometry(), QRect(10, 60, 400, 300));
    frame->setGeometry(30, 30, 300, 300);
    state.settingsRestored = true;
    frame->close();
    EXPECT_EQ(settings::GetRegString(store, RegRoot::CurrentUser, app::kSettingsKey, "WindowPos"),
              "0:1:-1:-1:-1:-1:10:60:410:360");
}

TEST_F(Lifecycle, UnusablePlacementKeepsTheDefault) {
    settings::SetRegString(store, app::kSettingsKey, "WindowPos",
                           "0:1:-1:-1:-1:-1:90000:90000:90400:90300");
    auto frame = makeFrame();
    frame->show();
    EXPECT_NE(frame->geometry().topLeft(), QPoint(90000, 90000));
}

TEST_F(Lifecycle, FirstStartOpensLargeEnoughForTheColumnsAndOnScreen) {
    auto frame = makeFrame();
    frame->show();
    const QRect available = QGuiApplication::primaryScreen()->availableGeometry();
    EXPECT_GE(frame->width(), std::min(900, available.width() * 9 / 10));
    EXPECT_GE(frame->height(), std::min(600, available.height() * 9 / 10));
    EXPECT_TRUE(available.contains(frame->geometry()));
}

using Help = FrameFixture;

TEST_F(Help, MissingPagesShowTheNoticeAndPresentOnesOpen) {
    modshelf::test::TempDir dir;
    std::vector<QUrl> opened;
    HelpCommands help(context, (dir / "modshelf").string(), [&](const QUrl& url) {
        opened.push_back(url);
        return true;
    });
    prompter.answer(1);
    ASSERT_TRUE(help.handleCommand(cmd::kHelpContents));
    ASSERT_EQ(prompter.shown.size(), 1u);
    EXPECT_EQ(prompter.shown[0].text,
              "Help file not found :\n\n" + (dir / "help" / "index.html").string());
    EXPECT_EQ(prompter.shown[0].caption, " Help File Missing");
    EXPECT_EQ(prompter.shown[0].params.timeoutSeconds, 5);
    EXPECT_TRUE(opened.empty());

    std::filesystem::create_directories(dir / "help");
    modshelf::test::writeFile(dir / "help" / "index.html", "<html></html>");
    modshelf::test::writeFile(dir / "help" / "topics.html", "<html></html>");
    modshelf::test::writeFile(dir / "Modshelf.htm", "<html></html>");
    help.handleCommand(cmd::kHelpIndex);
    help.handleCommand(cmd::kOfflineHelp);
    ASSERT_EQ(opened.size(), 2u);
    EXPECT_EQ(opened[0],
              QUrl::fromLocalFile(QString::fromStdString((dir / "help" / "topics.html").string())));
    EXPECT_EQ(opened[1],
              QUrl::fromLocalFile(QString::fromStdString((dir / "Modshelf.htm").string())));
    EXPECT_EQ(prompter.shown.size(), 1u);
}

TEST_F(Help, ShippedPagesAreFoundFromTheBuildFolder) {
    const std::string program = std::string(MODSHELF_BINARY_DIR) + "/src/modshelf";
    std::vector<QUrl> opened;
    HelpCommands help(context, program, [&](const QUrl& url) {
        opened.push_back(url);
        return true;
    });
    for (int id : {cmd::kHelpContents, cmd::kHelpIndex, cmd::kOfflineHelp}) help.handleCommand(id);
    EXPECT_TRUE(prompter.shown.empty());
    ASSERT_EQ(opened.size(), 3u);
    for (const QUrl& url : opened)
        EXPECT_TRUE(QFileInfo::exists(url.toLocalFile())) << url.toString().toStdString();
}

}  // namespace
}  // namespace modshelf::gui::testing
