#include "core/host/HostControl.h"
#include "core/host/HostInterface.h"

#include <gtest/gtest.h>

#include "FakeDesktop.h"
#include "core/app/AppState.h"
#include "support/ScriptedPrompter.h"

namespace modshelf::host {
namespace {

using namespace std::chrono_literals;
using dialogs::id::kNo;
using dialogs::id::kYes;
using test::FakeLauncher;
using test::FakeWindowSystem;
using test::ScriptedPrompter;

const std::string kQuestionTail =
    "Since changes made to Scrivel by Modshelf take place only after Scrivel\n"
    "is started, Scrivel must be closed and then restarted to see those changes.\n\n"
    "Would you like Modshelf to close Scrivel now ?";

class HostControlTest : public ::testing::Test {
protected:
    HostControlTest() {
        state.resourceFolder = "/prefix/drive_c/Program Files (x86)/Scrivel/";
        windows.events = &events;
        launcher.events = &events;
    }

    // A control whose sleeps only add up the time they would have taken.
    HostControl makeControl(HostControl::Timing timing = {}) {
        HostControl control(windows, launcher, prompter, state, timing,
                            [this](std::chrono::milliseconds d) {
                                slept += d;
                                ++sleeps;
                            });
        control.setWaitCursor([this](bool on) {
            waitDepth += on ? 1 : -1;
            events.push_back(on ? "wait on" : "wait off");
        });
        return control;
    }

    // Scrivel as the stand-in shows it: both windows belong to one process.
    void runHost(int requestsUntilClose = 1, int checksUntilGone = 0) {
        shortWindow = windows.add(host::kHostWindowTitle, 1, requestsUntilClose, checksUntilGone);
        mainWindow =
            windows.add(host::kHostMainWindowTitle, 1, requestsUntilClose, checksUntilGone);
    }

    app::AppState state;
    FakeWindowSystem windows;
    FakeLauncher launcher;
    ScriptedPrompter prompter;
    std::vector<std::string> events;
    std::chrono::milliseconds slept{0};
    int sleeps = 0;
    int waitDepth = 0;
    WindowId shortWindow = 0;
    WindowId mainWindow = 0;
};

TEST_F(HostControlTest, TitlesAreScrivelAndItsTaglinedMainWindow) {
    EXPECT_EQ(host::kHostWindowTitle, "Scrivel");
    EXPECT_EQ(host::kHostMainWindowTitle.rfind("Scrivel - ", 0), 0u);
    EXPECT_GT(host::kHostMainWindowTitle.size(), std::string("Scrivel - ").size());
    EXPECT_LE(host::kHostMainWindowTitle.size(), 55u);
}

TEST_F(HostControlTest, OnlyAWindowTitledExactlyScrivelMeansItRuns) {
    HostControl control = makeControl();
    windows.add("scrivel", 1);
    windows.add("Scrivel ", 1);
    windows.add(host::kHostMainWindowTitle, 1);  // the main window alone is not the sign
    EXPECT_FALSE(control.isHostRunning());
    windows.add("Scrivel", 2);
    EXPECT_TRUE(control.isHostRunning());
}

TEST_F(HostControlTest, NoHostMeansNoQuestionNoBeepAndFalse) {
    HostControl control = makeControl();
    windows.add(host::kHostMainWindowTitle, 1);
    EXPECT_FALSE(control.askToCloseHostAtStartUp());
    EXPECT_FALSE(control.askToCloseHostBeforeActivation());
    EXPECT_TRUE(prompter.shown.empty());
    EXPECT_EQ(prompter.beeps, 0);
    EXPECT_TRUE(windows.requests.empty());
}

TEST_F(HostControlTest, StartUpQuestionAnsweredNoLeavesTheHostRunning) {
    HostControl control = makeControl();
    runHost();
    prompter.answer(kNo);

    EXPECT_TRUE(control.askToCloseHostAtStartUp());

    EXPECT_EQ(prompter.beeps, 1);
    ASSERT_EQ(prompter.shown.size(), 1u);
    const ScriptedPrompter::Shown& box = prompter.shown[0];
    EXPECT_EQ(box.text, "Modshelf is starting up.  However, Scrivel appears to be running.\n\n" +
                            kQuestionTail);
    EXPECT_EQ(box.caption, " Scrivel Detected - Close Scrivel ?");
    EXPECT_EQ(box.style, dialogs::mb::kYesNo);
    EXPECT_EQ(box.params.options & dialogs::kOptionRightJustifyButtons,
              dialogs::kOptionRightJustifyButtons);
    EXPECT_EQ(box.params.textColour, 0x00FF0000);
    EXPECT_EQ(box.params.backgroundColour, 0x00FFFFFF);
    EXPECT_EQ(box.params.iconId, 100u);
    EXPECT_EQ(box.params.timeoutSeconds, 0);

    EXPECT_TRUE(windows.requests.empty());
    EXPECT_TRUE(control.isHostRunning());
}

TEST_F(HostControlTest, StartUpYesClosesByTheMainWindowsTitle) {
    HostControl control = makeControl();
    runHost();
    prompter.answer(kYes);

    EXPECT_TRUE(control.askToCloseHostAtStartUp());

    ASSERT_EQ(windows.requests.size(), 1u);
    EXPECT_EQ(windows.requests[0], mainWindow);
    EXPECT_FALSE(control.isHostRunning());
    EXPECT_TRUE(launcher.starts.empty());
}

TEST_F(HostControlTest, ActivationYesClosesByTheShortTitle) {
    HostControl control = makeControl();
    runHost();
    prompter.answer(kYes);

    EXPECT_TRUE(control.askToCloseHostBeforeActivation());

    ASSERT_EQ(prompter.shown.size(), 1u);
    EXPECT_EQ(prompter.shown[0].text,
              "A workspace is about to be activated, but Scrivel appears to be running.\n\n" +
                  kQuestionTail);
    ASSERT_EQ(windows.requests.size(), 1u);
    EXPECT_EQ(windows.requests[0], shortWindow);
    EXPECT_FALSE(control.isHostRunning());
}

TEST_F(HostControlTest, StopSendsExactlyOneRequestToAHostThatClosesAtOnce) {
    HostControl control = makeControl();
    runHost();
    control.stopHost();
    EXPECT_EQ(windows.requests, std::vector<WindowId>{mainWindow});
    EXPECT_TRUE(windows.isGone(shortWindow));
    EXPECT_EQ(waitDepth, 0);
}

TEST_F(HostControlTest, NextRequestWaitsUntilTheWindowHasGone) {
    HostControl control = makeControl();
    runHost(/*requestsUntilClose=*/1, /*checksUntilGone=*/7);
    EXPECT_EQ(control.closeHostWindows(host::kHostMainWindowTitle), 1);
    EXPECT_EQ(sleeps, 7);
    EXPECT_EQ(slept, 7 * HostControl::Timing{}.pollInterval);
}

TEST_F(HostControlTest, AHostThatRefusesTwiceIsAskedAThirdTime) {
    HostControl control = makeControl();
    runHost(/*requestsUntilClose=*/3);
    EXPECT_EQ(control.closeHostWindows(host::kHostWindowTitle), 3);
    EXPECT_EQ(windows.requestsTo(shortWindow), 3);
    EXPECT_FALSE(control.isHostRunning());
    // Each refused request was given its full wait before the next one.
    EXPECT_EQ(slept, 2 * HostControl::Timing{}.attemptWait);
}

TEST_F(HostControlTest, GivesUpAfterOneHundredRequests) {
    HostControl::Timing quick;
    quick.pollInterval = 1ms;
    quick.attemptWait = 1ms;
    quick.totalWait = 1h;
    HostControl control = makeControl(quick);
    runHost(/*requestsUntilClose=*/-1);

    EXPECT_EQ(control.closeHostWindows(host::kHostWindowTitle), 100);
    EXPECT_EQ(windows.requestsTo(shortWindow), 100);
    EXPECT_TRUE(control.isHostRunning());
    EXPECT_EQ(waitDepth, 0);
}

TEST_F(HostControlTest, AllWaitsOfOneCloseStayWithinTheTotalBound) {
    HostControl::Timing timing;
    timing.pollInterval = 300ms;
    timing.attemptWait = 2000ms;
    timing.totalWait = 5000ms;
    HostControl control = makeControl(timing);
    runHost(/*requestsUntilClose=*/-1);

    EXPECT_EQ(control.closeHostWindows(host::kHostWindowTitle), 3);
    EXPECT_EQ(slept, 5000ms);
}

TEST_F(HostControlTest, ClosesEveryWindowWithTheTitleOneAfterAnother) {
    HostControl control = makeControl();
    const WindowId first = windows.add("Scrivel", 1);
    const WindowId second = windows.add("Scrivel", 2);
    const WindowId other = windows.add("Scrivel - Notes", 3);
    EXPECT_EQ(control.closeHostWindows("Scrivel"), 2);
    EXPECT_TRUE(windows.isGone(first));
    EXPECT_TRUE(windows.isGone(second));
    EXPECT_FALSE(windows.isGone(other));
}

TEST_F(HostControlTest, StartRunsScrivelExeFromTheResourceFolderWithoutArguments) {
    HostControl control = makeControl();
    EXPECT_TRUE(control.startHost());
    ASSERT_EQ(launcher.starts.size(), 1u);
    EXPECT_EQ(launcher.starts[0].program,
              "/prefix/drive_c/Program Files (x86)/Scrivel/Scrivel.exe");
    EXPECT_TRUE(launcher.starts[0].arguments.empty());
}

TEST_F(HostControlTest, AFailedStartIsSilent) {
    HostControl control = makeControl();
    launcher.succeed = false;
    EXPECT_FALSE(control.startHost());
    control.stopAndStartHost();
    EXPECT_TRUE(prompter.shown.empty());
    EXPECT_TRUE(prompter.plainMessages.empty());
}

TEST_F(HostControlTest, WithoutAResourceFolderNothingIsStarted) {
    HostControl control = makeControl();
    for (const std::string folder : {" ", "", "Scrivel/"}) {
        state.resourceFolder = folder;
        EXPECT_FALSE(control.startHost()) << '"' << folder << '"';
    }
    EXPECT_TRUE(launcher.starts.empty());
}

TEST_F(HostControlTest, StopAndStartWithNoHostStartsOnce) {
    HostControl control = makeControl();
    control.stopAndStartHost();
    EXPECT_TRUE(windows.requests.empty());
    ASSERT_EQ(launcher.starts.size(), 1u);
    EXPECT_EQ(waitDepth, 0);
}

TEST_F(HostControlTest, StopAndStartClosesByTheShortTitleThenStartsUnderTheWaitCursor) {
    HostControl control = makeControl();
    runHost(/*requestsUntilClose=*/1, /*checksUntilGone=*/2);
    control.stopAndStartHost();

    const std::vector<std::string> expected = {
        "wait on",
        "wait on",
        "close Scrivel",
        "wait off",
        "start /prefix/drive_c/Program Files (x86)/Scrivel/Scrivel.exe",
        "wait off"};
    EXPECT_EQ(events, expected);
    EXPECT_EQ(windows.requests, std::vector<WindowId>{shortWindow});
}

}  // namespace
}  // namespace modshelf::host

namespace modshelf::host {
namespace {

TEST_F(HostControlTest, StopAndStartNeverStartsASecondCopyOfAHostThatStays) {
    HostControl::Timing quick;
    quick.pollInterval = 1ms;
    quick.attemptWait = 1ms;
    quick.totalWait = 10ms;
    HostControl control = makeControl(quick);
    runHost(/*requestsUntilClose=*/-1);
    prompter.answer(dialogs::id::kOk);

    EXPECT_FALSE(control.stopAndStartHost());
    EXPECT_TRUE(launcher.starts.empty());
    EXPECT_TRUE(control.isHostRunning());
    ASSERT_EQ(prompter.shown.size(), 1u);
    EXPECT_EQ(prompter.shown[0].caption, HostControl::kStillRunningCaption);
    EXPECT_EQ(waitDepth, 0);
}

}  // namespace
}  // namespace modshelf::host
