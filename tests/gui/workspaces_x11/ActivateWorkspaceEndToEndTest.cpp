// A user's whole road on a generated prefix under a real X server: tick
// modules in workspace 03, activate it, let Modshelf close the running
// Scrivel, restart Scrivel, and find exactly the ticked set active in it.

#include <gtest/gtest.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QTest>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <map>
#include <memory>
#include <set>
#include <sstream>
#include <string>

#include "DemoPrefix.h"
#include "core/app/AppState.h"
#include "core/app/CommandIds.h"
#include "core/dialogs/MessageBoxParams.h"
#include "core/host/DriveMap.h"
#include "core/host/HostControl.h"
#include "core/host/HostInterface.h"
#include "core/workspaces/ListRow.h"
#include "gui/CModshelfApp.h"
#include "gui/FrameViews.h"
#include "gui/GuiContext.h"
#include "gui/views/CDriveView.h"
#include "gui/views/CFileView.h"
#include "gui/views/ModuleListModel.h"
#include "gui/workspaces/CheckBoxClick.h"
#include "platform/linux/LinuxProgramLauncher.h"
#include "platform/linux/SettingsStoreFactory.h"
#include "platform/linux/SingleInstance.h"
#include "platform/linux/WinePrefixSettingsStore.h"
#include "platform/linux/WineServerProbe.h"
#include "platform/linux/X11WindowSystem.h"
#include "platform/linux_x11/PrivateDisplay.h"
#include "support/ScriptedPrompter.h"
#include "support/TempDir.h"

namespace modshelf::gui {
namespace {

namespace fs = std::filesystem;
using host::HostControl;

const fs::path kSimulator = MODSHELF_BINARY_DIR "/src/tools/scrivel-sim/scrivel-sim";
const fs::path kWindowsSimulator = MODSHELF_BINARY_DIR "/src/tools/scrivel-win.exe";

// This program's windows, Scrivel's stand-in and the window look-ups all live
// on an X server of this test's own, so that the windows of tests running at
// the same time cannot be mistaken for ours. It must exist before main()
// creates the application object, hence a static. Without a display at all
// the application runs offscreen and the test skips.
struct OwnXServer {
    OwnXServer() {
        if (!std::getenv("DISPLAY")) {
            ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
            return;
        }
        display = std::make_unique<test::PrivateDisplay>();
        if (!display->name().empty()) ::setenv("DISPLAY", display->name().c_str(), 1);
    }
    std::unique_ptr<test::PrivateDisplay> display;
};
const OwnXServer ownXServer;

bool waitFor(const std::function<bool()>& condition, int timeoutMs = 20000) {
    QElapsedTimer timer;
    timer.start();
    while (!condition()) {
        if (timer.elapsed() > timeoutMs) return false;
        QTest::qWait(20);
    }
    return true;
}

std::set<std::string> linesOf(const fs::path& file) {
    std::set<std::string> lines;
    std::istringstream in(test::readFile(file));
    for (std::string line; std::getline(in, line);)
        if (!line.empty()) lines.insert(line);
    return lines;
}

// "Bibles\KJV", the form of the stand-in's report.
std::string reportLine(const workspaces::ListRow& row) {
    return std::string(workspaces::categoryKeyName(workspaces::activationCategory(row.typeName))) +
           "\\" + row.tabName;
}

class ActivateWorkspaceEndToEnd : public ::testing::Test {
protected:
    void SetUp() override {
        if (!std::getenv("DISPLAY") || QGuiApplication::platformName() != "xcb")
            GTEST_SKIP() << "needs an X server (DISPLAY is unset)";
        ASSERT_TRUE(fs::exists(kSimulator)) << kSimulator << " has not been built";

        demo::DemoPrefixOptions options;
        options.simulator = kSimulator;
        demo::writeDemoPrefix(prefix(), options);
        ::setenv("WINEPREFIX", prefix().c_str(), 1);
        ::setenv("SCRIVEL_SIM_REPORT", report().c_str(), 1);
        ::unsetenv("SCRIVEL_SIM_REFUSE_CLOSE");
        fs::create_directories(dir / "run");
        fs::permissions(dir / "run", fs::perms::owner_all, fs::perm_options::replace);
    }

    void TearDown() override {
        if (host) {
            host->closeHostWindows(host::kHostWindowTitle);
            waitFor([&] { return !host->isHostRunning(); }, 5000);
        }
        application.reset();
    }

    virtual fs::path prefix() const { return dir / "prefix"; }
    fs::path report() const { return dir / "report.txt"; }

    bool hostFullyUp() {
        return !windows->findTopLevelWindows(host::kHostWindowTitle).empty() &&
               !windows->findTopLevelWindows(host::kHostMainWindowTitle).empty();
    }

    // The program as runModshelf puts it together, without its event loop.
    void startModshelf() {
        opened = platform::openSettingsStore();
        ASSERT_TRUE(opened.inWinePrefix) << "the settings are not the prefix's";
        opened.store->setSaveFailureListener(
            [](const std::string& message) { ADD_FAILURE() << "save failed: " << message; });
        drives = std::make_unique<host::DriveMap>(host::DriveMap::fromPrefix(prefix()));
        launcher = std::make_unique<platform::LinuxProgramLauncher>(prefix());
        host = std::make_unique<HostControl>(*windows, *launcher, prompter, state);
        context = std::make_unique<GuiContext>(
            GuiContext{*opened.store, prompter, state, host.get(), nullptr, nullptr, drives.get()});
        marker = std::make_unique<platform::SingleInstance>(dir / "run");
        application = std::make_unique<CModshelfApp>(
            *context, *marker, MODSHELF_BINARY_DIR "/src/modshelf", programViews());
        ASSERT_TRUE(application->InitInstance());
        list = dynamic_cast<CFileView*>(application->mainFrame()->listView());
        tree = dynamic_cast<CDriveView*>(application->mainFrame()->treeView());
        ASSERT_TRUE(list && tree);
    }

    test::TempDir dir;
    std::unique_ptr<platform::X11WindowSystem> windows =
        std::make_unique<platform::X11WindowSystem>();
    platform::OpenedSettingsStore opened;
    // Every box is answered in advance; one that is not fails the test
    // instead of waiting for a user.
    test::ScriptedPrompter prompter;
    app::AppState state;
    std::unique_ptr<host::DriveMap> drives;
    std::unique_ptr<platform::LinuxProgramLauncher> launcher;
    std::unique_ptr<HostControl> host;
    std::unique_ptr<GuiContext> context;
    std::unique_ptr<platform::SingleInstance> marker;
    std::unique_ptr<CModshelfApp> application;
    CFileView* list = nullptr;
    CDriveView* tree = nullptr;
};

TEST_F(ActivateWorkspaceEndToEnd, TheTickedSetIsWhatTheRestartedScrivelShows) {
    ASSERT_TRUE(windows->connected());

    // Scrivel runs before Modshelf starts; the start-up question is answered No.
    platform::LinuxProgramLauncher simLauncher(prefix());
    ASSERT_TRUE(simLauncher.startDetached(kSimulator.string(), {}));
    ASSERT_TRUE(waitFor([&] { return hostFullyUp() && fs::exists(report()); }))
        << "the stand-in did not show up";
    const std::set<std::string> before = linesOf(report());
    fs::remove(report());

    prompter.answer(dialogs::id::kNo);
    startModshelf();
    ASSERT_TRUE(waitFor([&] { return !prompter.shown.empty(); })) << "no start-up question";
    EXPECT_EQ(prompter.shown[0].caption, " Scrivel Detected - Close Scrivel ?");
    EXPECT_TRUE(hostFullyUp());

    // Workspace 03 of the demo is empty: tick the last Bible, Commentary and
    // Dictionary listed (Scrivel shows only the first ones so far).
    tree->setCurrentItem(tree->workspaceItem(2));
    ASSERT_EQ(state.nodeKind, 3);
    std::map<std::string, int> lastRowOf;
    std::set<std::string> listed;
    const auto rows = list->listRows();
    for (std::size_t i = 0; i < rows.size(); ++i) {
        if (!workspaces::isActivationRow(rows[i])) continue;
        EXPECT_FALSE(rows[i].checked) << rows[i].tabName;
        listed.insert(reportLine(rows[i]));
        lastRowOf[std::string(workspaces::categoryKeyName(
            workspaces::activationCategory(rows[i].typeName)))] = static_cast<int>(i);
    }
    ASSERT_EQ(lastRowOf.size(), 3u);
    std::set<std::string> ticked;
    for (const auto& [category, row] : lastRowOf) {
        testing::clickCheckBox(*list, row);
        ticked.insert(reportLine(list->listRows()[row]));
    }
    std::set<std::string> checkedNow;
    for (const auto& row : list->listRows())
        if (workspaces::isActivationRow(row) && row.checked) checkedNow.insert(reportLine(row));
    ASSERT_EQ(checkedNow, ticked);
    // The test means something only if the activation changes what Scrivel shows.
    std::set<std::string> listedBefore;
    for (const std::string& line : before)
        if (listed.count(line)) listedBefore.insert(line);
    ASSERT_FALSE(listedBefore.empty());
    ASSERT_NE(listedBefore, ticked);

    // Activate: Yes to the question, Yes to closing Scrivel, OK to the notice.
    prompter.shown.clear();
    prompter.answer(dialogs::id::kYes);
    prompter.answer(dialogs::id::kYes);
    prompter.answer(dialogs::id::kOk);
    CMainFrame* frame = application->mainFrame();
    ASSERT_TRUE(frame->routeUpdate(app::cmd::activateWorkspace(3)).enabled);
    ASSERT_TRUE(frame->routeCommand(app::cmd::activateWorkspace(3)));
    const auto& answered = prompter.shown;
    ASSERT_EQ(answered.size(), 3u);
    EXPECT_EQ(answered[0].caption, " Activate Workspace 03 ?");
    EXPECT_EQ(answered[1].caption, " Scrivel Detected - Close Scrivel ?");
    EXPECT_EQ(answered[2].caption, " Workspace Activated");
    EXPECT_TRUE(waitFor([&] { return !host->isHostRunning(); }, 5000)) << "Scrivel was not closed";

    // Stop and Start Scrivel: the new copy reads the activation keys.
    ASSERT_TRUE(frame->routeCommand(app::cmd::kStopAndStartHost));
    ASSERT_TRUE(waitFor([&] { return fs::exists(report()); })) << "Scrivel did not start again";
    std::set<std::string> activeListed;
    for (const std::string& line : linesOf(report()))
        if (listed.count(line)) activeListed.insert(line);
    EXPECT_EQ(activeListed, ticked);
    EXPECT_TRUE(waitFor([&] { return hostFullyUp(); }));
}

std::string shellQuoted(const std::string& text) {
    std::string out = "'";
    for (char c : text) out += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return out + "'";
}

// The same road with the Windows stand-in running under Wine in a prefix made
// by wineboot, so that a wineserver holds the registry all along. One prefix
// serves every step, since each start of Wine costs seconds.
class ActivateUnderWine : public ActivateWorkspaceEndToEnd {
protected:
    void SetUp() override {
        if (!std::getenv("DISPLAY") || QGuiApplication::platformName() != "xcb")
            GTEST_SKIP() << "needs an X server (DISPLAY is unset)";
        if (!fs::exists(kWindowsSimulator)) GTEST_SKIP() << "mingw-w64 did not build the stand-in";
        if (std::system("command -v wine >/dev/null && command -v wineboot >/dev/null") != 0)
            GTEST_SKIP() << "Wine is not installed";

        ::setenv("WINEPREFIX", prefix().c_str(), 1);
        ::setenv("WINEDEBUG", "-all", 1);
        ::setenv("WINEDLLOVERRIDES", "mscoree,mshtml,winemenubuilder.exe=d", 1);
        ASSERT_EQ(wine("wineboot -i && wineserver -w"), 0);
        ASSERT_TRUE(fs::exists(prefix() / "user.reg"));

        // The demo's modules and Scrivel's settings, added to Wine's own prefix.
        demo::DemoPrefixOptions options;
        options.simulator = kWindowsSimulator;
        const fs::path made = dir / "demo";
        demo::writeDemoPrefix(made, options);
        fs::copy(made / "drive_c", prefix() / "drive_c",
                 fs::copy_options::recursive | fs::copy_options::overwrite_existing);
        {
            platform::WinePrefixSettingsStore demoStore(made, {});
            platform::WinePrefixSettingsStore::Options prefixOptions;
            prefixOptions.serverProbe = platform::systemWineServerProbe();
            platform::WinePrefixSettingsStore store(prefix(), prefixOptions);
            settings::SettingsOperation operation(store);
            copyKeys(demoStore.branch(settings::RegRoot::CurrentUser).root(), "", store);
            ASSERT_EQ(operation.commit(), settings::kSuccess) << store.lastError();
        }
        ::setenv("SCRIVEL_SIM_REPORT", report().c_str(), 1);
        ::unsetenv("SCRIVEL_SIM_REFUSE_CLOSE");
        fs::create_directories(dir / "run");
        fs::permissions(dir / "run", fs::perms::owner_all, fs::perm_options::replace);
    }
    void TearDown() override {
        ActivateWorkspaceEndToEnd::TearDown();
        if (!std::getenv("WINEPREFIX")) return;
        wine("wineserver -k");
        wine("wineserver -w");
    }

    fs::path prefix() const override { return dir / "wine-prefix"; }

    int wine(const std::string& command) const {
        return std::system(
            ("WINEPREFIX=" + shellQuoted(prefix().string()) + " " + command + " >/dev/null 2>&1")
                .c_str());
    }
    std::string query(const std::string& key) const {
        std::string text;
        FILE* pipe = popen(("WINEPREFIX=" + shellQuoted(prefix().string()) + " wine reg query " +
                            shellQuoted(key) + " 2>/dev/null")
                               .c_str(),
                           "r");
        if (!pipe) return text;
        char buffer[4096];
        while (std::size_t got = std::fread(buffer, 1, sizeof buffer, pipe))
            text.append(buffer, got);
        pclose(pipe);
        return text;
    }
    static void copyKeys(const settings::KeyNode& node, const std::string& path,
                         settings::SettingsStore& store) {
        if (!path.empty()) store.createKey(settings::RegRoot::CurrentUser, path);
        for (const auto& value : node.values)
            store.setValue(settings::RegRoot::CurrentUser, path, value.name, value.value);
        for (const auto& child : node.subkeys)
            copyKeys(child, path.empty() ? child.name : path + "\\" + child.name, store);
    }
    bool serverRunning() const {
        return platform::systemWineServerProbe()->probe(prefix()).running;
    }
    // The report of a Scrivel started after this call.
    std::set<std::string> nextReport() {
        EXPECT_TRUE(waitFor([&] { return fs::exists(report()) && hostFullyUp(); }, 90000))
            << "Scrivel did not start";
        return linesOf(report());
    }
};

TEST_F(ActivateUnderWine, TickingAndActivatingWhileScrivelRunsNeedNoSaveRefused) {
    ASSERT_TRUE(windows->connected());
    platform::LinuxProgramLauncher simLauncher(prefix());
    const fs::path scrivelExe = demo::DemoPrefixLayout::of(dir / "demo", "demo").resourceFolder;
    ASSERT_TRUE(simLauncher.startDetached(
        (prefix() / fs::relative(scrivelExe, dir / "demo") / "Scrivel.exe").string(), {}));
    const std::set<std::string> before = nextReport();
    ASSERT_TRUE(serverRunning());
    fs::remove(report());

    // Start-up: No to closing Scrivel, and no other box (a refused save would
    // show one, and the scripted prompter fails a box it has no answer for).
    prompter.answer(dialogs::id::kNo);
    startModshelf();
    ASSERT_TRUE(waitFor([&] { return !prompter.shown.empty(); }));
    EXPECT_EQ(prompter.shown.size(), 1u);
    EXPECT_NE(query("HKCU\\Software\\Quorvel\\Modshelf").find("V.3.37"), std::string::npos);

    // Tick the last Bible, Commentary and Dictionary of workspace 03 while Scrivel runs.
    tree->setCurrentItem(tree->workspaceItem(2));
    std::map<std::string, int> lastRowOf;
    std::set<std::string> listed;
    const auto rows = list->listRows();
    for (std::size_t i = 0; i < rows.size(); ++i) {
        if (!workspaces::isActivationRow(rows[i])) continue;
        listed.insert(reportLine(rows[i]));
        lastRowOf[std::string(workspaces::categoryKeyName(
            workspaces::activationCategory(rows[i].typeName)))] = static_cast<int>(i);
    }
    ASSERT_EQ(lastRowOf.size(), 3u);
    std::set<std::string> ticked;
    for (const auto& [category, row] : lastRowOf) {
        testing::clickCheckBox(*list, row);
        ticked.insert(reportLine(list->listRows()[row]));
    }
    const std::string bibleTab = list->listRows()[lastRowOf["Bibles"]].tabName;
    EXPECT_NE(query("HKCU\\Software\\Quorvel\\Modshelf\\Workspace3\\Bibles").find(bibleTab),
              std::string::npos);
    std::set<std::string> listedBefore;
    for (const std::string& line : before)
        if (listed.count(line)) listedBefore.insert(line);
    ASSERT_NE(listedBefore, ticked);

    // Activate, Yes to closing Scrivel: its server lingers, the write still lands.
    CMainFrame* frame = application->mainFrame();
    prompter.shown.clear();
    for (int answer : {dialogs::id::kYes, dialogs::id::kYes, dialogs::id::kOk})
        prompter.answer(answer);
    ASSERT_TRUE(frame->routeCommand(app::cmd::activateWorkspace(3)));
    ASSERT_EQ(prompter.shown.size(), 3u);
    EXPECT_EQ(prompter.shown[2].caption, " Workspace Activated");
    EXPECT_FALSE(host->isHostRunning());
    ASSERT_TRUE(frame->routeCommand(app::cmd::kStartHost));
    std::set<std::string> activeListed;
    for (const std::string& line : nextReport())
        if (listed.count(line)) activeListed.insert(line);
    EXPECT_EQ(activeListed, ticked);

    // Untick the Bible and activate again, No to closing Scrivel: the change
    // is written and shows at Scrivel's next start.
    fs::remove(report());
    testing::clickCheckBox(*list, lastRowOf["Bibles"]);
    ticked.erase(reportLine(list->listRows()[lastRowOf["Bibles"]]));
    prompter.shown.clear();
    for (int answer : {dialogs::id::kYes, dialogs::id::kNo, dialogs::id::kOk})
        prompter.answer(answer);
    ASSERT_TRUE(frame->routeCommand(app::cmd::activateWorkspace(3)));
    ASSERT_EQ(prompter.shown.size(), 3u);
    EXPECT_TRUE(host->isHostRunning());
    ASSERT_TRUE(frame->routeCommand(app::cmd::kStopAndStartHost));
    activeListed.clear();
    for (const std::string& line : nextReport())
        if (listed.count(line)) activeListed.insert(line);
    EXPECT_EQ(activeListed, ticked);
}

}  // namespace
}  // namespace modshelf::gui
