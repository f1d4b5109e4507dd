// Scrivel's stop and start against the stand-in host on a real X server.

#include <gtest/gtest.h>
#include <signal.h>

#include <chrono>
#include <filesystem>
#include <functional>
#include <memory>
#include <set>
#include <sstream>
#include <thread>

#include "PrivateDisplay.h"
#include "WindowPid.h"
#include "core/app/AppState.h"
#include "core/host/HostControl.h"
#include "core/host/HostInterface.h"
#include "core/settings/WineHive.h"
#include "platform/linux/LinuxProgramLauncher.h"
#include "platform/linux/X11WindowSystem.h"
#include "support/ScriptedPrompter.h"
#include "support/TempDir.h"

namespace modshelf {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;
using host::HostControl;
using host::WindowId;

const fs::path kSimulator = MODSHELF_BINARY_DIR "/src/tools/scrivel-sim/scrivel-sim";

bool waitFor(const std::function<bool()>& condition, std::chrono::milliseconds timeout = 15s) {
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    while (!condition()) {
        if (std::chrono::steady_clock::now() > deadline) return false;
        std::this_thread::sleep_for(20ms);
    }
    return true;
}

// Counts the close requests that reach the real window system.
class CountingWindowSystem : public host::WindowSystem {
public:
    explicit CountingWindowSystem(host::WindowSystem& inner) : inner_(inner) {}
    std::vector<WindowId> findTopLevelWindows(const std::string& title) override {
        return inner_.findTopLevelWindows(title);
    }
    bool requestClose(WindowId window) override {
        ++requests;
        return inner_.requestClose(window);
    }
    bool windowExists(WindowId window) override { return inner_.windowExists(window); }
    int requests = 0;

private:
    host::WindowSystem& inner_;
};

using Flags = std::vector<std::tuple<std::string, std::string, std::string>>;  // key, tab, text

class HostProcessTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        if (!std::getenv("DISPLAY")) return;
        display_ = std::make_unique<test::PrivateDisplay>();
        if (!display_->name().empty()) ::setenv("DISPLAY", display_->name().c_str(), 1);
    }
    static void TearDownTestSuite() { display_.reset(); }

    void SetUp() override {
        if (!std::getenv("DISPLAY")) GTEST_SKIP() << "needs an X server (DISPLAY is unset)";
        ASSERT_TRUE(fs::exists(kSimulator)) << kSimulator << " has not been built";
        x11 = std::make_unique<platform::X11WindowSystem>();
        ASSERT_TRUE(x11->connected()) << "cannot open display " << std::getenv("DISPLAY");
        counting = std::make_unique<CountingWindowSystem>(*x11);
        launcher = std::make_unique<platform::LinuxProgramLauncher>(dir / "prefix");
        control = std::make_unique<HostControl>(*counting, *launcher, prompter, state);

        state.resourceFolder = (dir / "Scrivel").string() + "/";
        test::writeFile(dir / "Scrivel" / "Scrivel.exe",
                        "#!/bin/sh\nexec '" + kSimulator.string() + "' \"$@\"\n");
        fs::permissions(dir / "Scrivel" / "Scrivel.exe", fs::perms::owner_exec,
                        fs::perm_options::add);
        ::setenv("SCRIVEL_SIM_REPORT", report().c_str(), 1);
        ::unsetenv("SCRIVEL_SIM_REFUSE_CLOSE");
        writeActivation({{"Bibles", "KJV", "True"},
                         {"Bibles", "WEB", "False"},
                         {"Bibles", "ASV", "TRUE"},
                         {"Commentaries", "MHC", "True"},
                         {"Dictionaries", "Easton", "no"}});
    }

    void TearDown() override {
        if (!control) return;
        ::unsetenv("SCRIVEL_SIM_REFUSE_CLOSE");
        // Whatever a failed test left running goes now, by its own process id.
        for (const std::string& title : {host::kHostWindowTitle, host::kHostMainWindowTitle})
            for (WindowId window : x11->findTopLevelWindows(title))
                if (const long pid = test::windowProcessId(window); pid > 0) ::kill(pid, SIGKILL);
        waitFor([&] { return !control->isHostRunning(); }, 5s);
    }

    fs::path report() const { return dir / "report.txt"; }

    void writeActivation(const Flags& flags) {
        settings::WineHive hive = settings::newWineHive(settings::HiveBranch::CurrentUser, "win64");
        for (const auto& [category, tab, text] : flags)
            hive.tree.findOrCreate(std::string(host::kHostResourceKey) + "\\" + category)
                .setValue(tab, settings::RegValue::fromString(text));
        test::writeFile(dir / "prefix" / "user.reg", settings::serializeWineHive(hive));
    }

    std::set<std::string> reportLines() {
        std::set<std::string> lines;
        std::istringstream in(test::readFile(report()));
        for (std::string line; std::getline(in, line);) lines.insert(line);
        return lines;
    }

    bool hostFullyUp() {
        return !x11->findTopLevelWindows(host::kHostWindowTitle).empty() &&
               !x11->findTopLevelWindows(host::kHostMainWindowTitle).empty();
    }

    void startAndWait() {
        ASSERT_TRUE(control->startHost());
        ASSERT_TRUE(waitFor([&] { return hostFullyUp(); })) << "the stand-in did not show up";
    }

    static inline std::unique_ptr<test::PrivateDisplay> display_;
    test::TempDir dir;
    app::AppState state;
    test::ScriptedPrompter prompter;
    std::unique_ptr<platform::X11WindowSystem> x11;
    std::unique_ptr<CountingWindowSystem> counting;
    std::unique_ptr<platform::LinuxProgramLauncher> launcher;
    std::unique_ptr<HostControl> control;
};

TEST_F(HostProcessTest, StartedHostIsFoundByItsExactTitlesAndShowsItsActiveModules) {
    EXPECT_FALSE(control->isHostRunning());
    startAndWait();

    EXPECT_TRUE(control->isHostRunning());
    EXPECT_EQ(x11->findTopLevelWindows(host::kHostWindowTitle).size(), 1u);
    EXPECT_EQ(x11->findTopLevelWindows(host::kHostMainWindowTitle).size(), 1u);
    for (const char* near : {"scrivel", "Scrivel ", "Scrivel - ", "Scrivel -"})
        EXPECT_TRUE(x11->findTopLevelWindows(near).empty()) << '"' << near << '"';

    const std::set<std::string> expected = {"Bibles\\KJV", "Bibles\\ASV", "Commentaries\\MHC"};
    EXPECT_EQ(reportLines(), expected);
}

TEST_F(HostProcessTest, StartUpQuestionAnsweredYesClosesTheHost) {
    startAndWait();
    prompter.answer(dialogs::id::kYes);

    EXPECT_TRUE(control->askToCloseHostAtStartUp());

    EXPECT_EQ(prompter.beeps, 1);
    ASSERT_EQ(prompter.shown.size(), 1u);
    EXPECT_EQ(prompter.shown[0].caption, " Scrivel Detected - Close Scrivel ?");
    EXPECT_EQ(counting->requests, 1);
    // The close waits for the window it asked to go; the rest of the program
    // follows as it ends.
    EXPECT_TRUE(x11->findTopLevelWindows(host::kHostMainWindowTitle).empty());
    EXPECT_TRUE(waitFor([&] { return !control->isHostRunning(); }, 5s));
}

TEST_F(HostProcessTest, StartUpQuestionAnsweredNoLeavesTheHostRunning) {
    startAndWait();
    prompter.answer(dialogs::id::kNo);
    EXPECT_TRUE(control->askToCloseHostAtStartUp());
    EXPECT_EQ(counting->requests, 0);
    std::this_thread::sleep_for(200ms);
    EXPECT_TRUE(hostFullyUp());
}

TEST_F(HostProcessTest, NoQuestionWithoutAHost) {
    EXPECT_FALSE(control->askToCloseHostAtStartUp());
    EXPECT_FALSE(control->askToCloseHostBeforeActivation());
    EXPECT_TRUE(prompter.shown.empty());
}

TEST_F(HostProcessTest, StopClosesAHostThatAgreesWithOneRequest) {
    startAndWait();
    const std::vector<WindowId> main = x11->findTopLevelWindows(host::kHostMainWindowTitle);
    control->stopHost();
    EXPECT_EQ(counting->requests, 1);
    EXPECT_FALSE(x11->windowExists(main.front()));
    EXPECT_TRUE(waitFor([&] { return !control->isHostRunning(); }, 5s));
}

TEST_F(HostProcessTest, AHostThatRefusesIsAskedAgainUntilItCloses) {
    ::setenv("SCRIVEL_SIM_REFUSE_CLOSE", "2", 1);
    startAndWait();
    HostControl patient(*counting, *launcher, prompter, state,
                        HostControl::Timing{10ms, 300ms, 10000ms},
                        [](std::chrono::milliseconds d) { std::this_thread::sleep_for(d); });
    EXPECT_EQ(patient.closeHostWindows(host::kHostMainWindowTitle), 3);
    EXPECT_TRUE(x11->findTopLevelWindows(host::kHostMainWindowTitle).empty());
    EXPECT_TRUE(waitFor([&] { return !control->isHostRunning(); }, 5s));
}

TEST_F(HostProcessTest, StopAndStartRestartsTheHostWhichReadsTheKeysAgain) {
    startAndWait();
    const WindowId oldMain = x11->findTopLevelWindows(host::kHostMainWindowTitle).front();
    const long oldPid = test::windowProcessId(oldMain);
    ASSERT_GT(oldPid, 0);
    ASSERT_EQ(reportLines().count("Bibles\\KJV"), 1u);

    // What an activation writes while Scrivel runs shows only after a restart.
    writeActivation({{"Bibles", "KJV", "False"},
                     {"Bibles", "WEB", "True"},
                     {"Dictionaries", "Easton", "True"}});
    fs::remove(report());

    control->stopAndStartHost();
    EXPECT_EQ(counting->requests, 1);
    EXPECT_FALSE(x11->windowExists(oldMain));
    ASSERT_TRUE(waitFor([&] { return hostFullyUp() && fs::exists(report()); }));

    const std::set<std::string> expected = {"Bibles\\WEB", "Dictionaries\\Easton"};
    EXPECT_EQ(reportLines(), expected);
    // A new process: the server may hand the new window the old one's id.
    const long newPid =
        test::windowProcessId(x11->findTopLevelWindows(host::kHostMainWindowTitle).front());
    EXPECT_GT(newPid, 0);
    EXPECT_NE(newPid, oldPid);
}

TEST_F(HostProcessTest, StopAndStartWithoutAHostStartsOne) {
    control->stopAndStartHost();
    EXPECT_EQ(counting->requests, 0);
    ASSERT_TRUE(waitFor([&] { return hostFullyUp(); }));
    EXPECT_EQ(x11->findTopLevelWindows(host::kHostWindowTitle).size(), 1u);
}

TEST_F(HostProcessTest, VanishedWindowsAreHandledQuietly) {
    startAndWait();
    const WindowId main = x11->findTopLevelWindows(host::kHostMainWindowTitle).front();
    control->stopHost();
    ASSERT_TRUE(waitFor([&] { return !control->isHostRunning(); }, 5s));
    // The window is destroyed now: asking about it or closing it is an
    // ordinary "no", not an X error that ends the program.
    EXPECT_TRUE(waitFor([&] { return !x11->windowExists(main); }));
    EXPECT_TRUE(waitFor([&] { return !x11->requestClose(main); }));
    EXPECT_FALSE(x11->windowExists(0x7fffffff));
}

TEST(X11WindowSystemTest, WithoutADisplayNothingIsFound) {
    platform::X11WindowSystem none(":9999");
    EXPECT_FALSE(none.connected());
    EXPECT_TRUE(none.findTopLevelWindows("Scrivel").empty());
    EXPECT_FALSE(none.requestClose(1));
    EXPECT_FALSE(none.windowExists(1));
}

}  // namespace
}  // namespace modshelf
