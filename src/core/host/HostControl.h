#pragma once

#include <chrono>
#include <functional>
#include <string>

#include "core/host/HostFolderState.h"
#include "core/host/WindowSystem.h"

namespace modshelf::dialogs {
class Prompter;
}

namespace modshelf::host {

class ProgramLauncher;

// Whether Scrivel runs, and stopping and starting it. Scrivel reads its
// activation keys only when it starts, so a changed workspace shows only after
// Scrivel has been closed and started again.
//
// How the gui uses it (GuiContext::host):
//   "Start Scrivel" (40132, tree view)          -> startHost()
//   "Stop Scrivel" (40131, tree view)           -> stopHost()
//   "Stop and Start Scrivel" (40029, list view) -> stopAndStartHost()
//   tree view shown at start-up                 -> askToCloseHostAtStartUp()
//   workspace activation's question             -> askToCloseHostBeforeActivation(),
//       or askToCloseHost(firstLine, kHostWindowTitle) with the activation's own first line.
// Closing waits (bounded) for Scrivel's windows to go, so the calls block the
// caller for a moment; setWaitCursor lets the gui show the wait cursor then.
class HostControl {
public:
    // The executable's name inside the resource folder.
    static const std::string kExecutableName;

    // First lines of the close question, by caller.
    static const std::string kStartUpFirstLine;
    static const std::string kActivationFirstLine;

    static constexpr int kCloseAttemptLimit = 100;

    // The notice when "Stop and Start Scrivel" could not close Scrivel.
    static const std::string kStillRunningCaption;
    static const std::string kStillRunningText;

    // A desktop has no synchronous "close and tell me when you are done", so
    // after each close request the window is watched until it goes. The waits
    // are bounded so that a host that ignores the request (or shows its own
    // question) cannot freeze this program: one attempt waits at most
    // `attemptWait`, and all attempts of one close together at most `totalWait`.
    struct Timing {
        std::chrono::milliseconds pollInterval{20};
        std::chrono::milliseconds attemptWait{2000};
        std::chrono::milliseconds totalWait{10000};
    };
    using Sleep = std::function<void(std::chrono::milliseconds)>;

    // `state` supplies the resource folder at the moment Scrivel is started.
    HostControl(WindowSystem& windows, ProgramLauncher& launcher, dialogs::Prompter& prompter,
                const HostFolderState& state);
    // The same with other timing and a replaceable sleep (for tests).
    HostControl(WindowSystem& windows, ProgramLauncher& launcher, dialogs::Prompter& prompter,
                const HostFolderState& state, Timing timing, Sleep sleep);

    // Called with true before blocking work and false after it.
    void setWaitCursor(std::function<void(bool busy)> waitCursor);

    // True when a top-level window titled exactly kHostWindowTitle exists.
    bool isHostRunning();

    // Asks the window with this exact title to close, again while it stays,
    // at most kCloseAttemptLimit times. Gives the number of requests sent.
    int closeHostWindows(const std::string& title);

    // Starts the resource folder's "Scrivel.exe". A failure is silent to the
    // user; the result only says whether it started.
    bool startHost();

    // If Scrivel runs: beeps, asks whether to close it, and on Yes closes it
    // by `titleToClose`. Returns whether Scrivel was found running (also when
    // the user answered No).
    bool askToCloseHost(const std::string& firstLine, const std::string& titleToClose);

    bool askToCloseHostAtStartUp();         // start-up line, closes by kHostMainWindowTitle
    bool askToCloseHostBeforeActivation();  // activation line, closes by kHostWindowTitle

    void stopHost();  // closes by kHostMainWindowTitle
    // Closes by kHostWindowTitle under the wait cursor, then starts Scrivel, but
    // only once it has gone: when it is still running after the bounded
    // close, says so and starts nothing. Returns whether it was started.
    bool stopAndStartHost();

    // Where startHost looks: the resource folder followed by "Scrivel.exe".
    std::string executablePath() const;

private:
    bool waitUntilGone(WindowId window, std::chrono::milliseconds& budgetLeft);
    void busy(bool on);

    WindowSystem& windows_;
    ProgramLauncher& launcher_;
    dialogs::Prompter& prompter_;
    const HostFolderState& state_;
    Timing timing_;
    Sleep sleep_;
    std::function<void(bool)> waitCursor_;
};

}  // namespace modshelf::host
