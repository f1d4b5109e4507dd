#include "core/host/HostControl.h"

#include <algorithm>
#include <filesystem>
#include <thread>

#include "core/dialogs/MessageBoxParams.h"
#include "core/dialogs/Prompter.h"
#include "core/host/HostInterface.h"
#include "core/host/ProgramLauncher.h"
#include "core/host/WindowSystem.h"

namespace modshelf::host {

const std::string HostControl::kExecutableName{kHostExecutable};

const std::string HostControl::kStillRunningCaption = " Scrivel Is Still Running";
const std::string HostControl::kStillRunningText =
    "Scrivel did not close, so Modshelf has not started it again.\n\n"
    "Scrivel may be waiting for an answer in one of its own windows. Close Scrivel, "
    "then choose \"Start Scrivel\".";

const std::string HostControl::kStartUpFirstLine =
    "Modshelf is starting up.  However, Scrivel appears to be running.\n\n";
const std::string HostControl::kActivationFirstLine =
    "A workspace is about to be activated, but Scrivel appears to be running.\n\n";

namespace {

const char* const kQuestionCaption = " Scrivel Detected - Close Scrivel ?";

std::string closeQuestion(const std::string& firstLine) {
    return firstLine +
           "Since changes made to Scrivel by Modshelf take place only after Scrivel\n"
           "is started, Scrivel must be closed and then restarted to see those changes.\n\n"
           "Would you like Modshelf to close Scrivel now ?";
}

// Keeps the wait cursor up for the lifetime of the object.
class BusyScope {
public:
    explicit BusyScope(const std::function<void(bool)>& hook) : hook_(hook) {
        if (hook_) hook_(true);
    }
    ~BusyScope() {
        if (hook_) hook_(false);
    }
    BusyScope(const BusyScope&) = delete;
    BusyScope& operator=(const BusyScope&) = delete;

private:
    const std::function<void(bool)>& hook_;
};

}  // namespace

HostControl::HostControl(WindowSystem& windows, ProgramLauncher& launcher,
                         dialogs::Prompter& prompter, const HostFolderState& state)
    : HostControl(windows, launcher, prompter, state, Timing{},
                  [](std::chrono::milliseconds d) { std::this_thread::sleep_for(d); }) {}

HostControl::HostControl(WindowSystem& windows, ProgramLauncher& launcher,
                         dialogs::Prompter& prompter, const HostFolderState& state, Timing timing,
                         Sleep sleep)
    : windows_(windows),
      launcher_(launcher),
      prompter_(prompter),
      state_(state),
      timing_(timing),
      sleep_(std::move(sleep)) {}

void HostControl::setWaitCursor(std::function<void(bool busy)> waitCursor) {
    waitCursor_ = std::move(waitCursor);
}

bool HostControl::isHostRunning() {
    return !windows_.findTopLevelWindows(kHostWindowTitle).empty();
}

int HostControl::closeHostWindows(const std::string& title) {
    int sent = 0;
    std::chrono::milliseconds budgetLeft = timing_.totalWait;
    for (;;) {
        const std::vector<WindowId> found = windows_.findTopLevelWindows(title);
        if (found.empty() || sent >= kCloseAttemptLimit) break;

        BusyScope busy(waitCursor_);
        const WindowId window = found.front();
        const bool delivered = windows_.requestClose(window);
        ++sent;
        // A request that could not be delivered usually means the window went
        // between the lookup and the request; the next lookup tells.
        if (delivered && !waitUntilGone(window, budgetLeft) && budgetLeft.count() <= 0) break;
    }
    return sent;
}

bool HostControl::waitUntilGone(WindowId window, std::chrono::milliseconds& budgetLeft) {
    std::chrono::milliseconds waited{0};
    while (windows_.windowExists(window)) {
        const std::chrono::milliseconds attemptLeft = timing_.attemptWait - waited;
        if (attemptLeft.count() <= 0 || budgetLeft.count() <= 0) return false;
        const std::chrono::milliseconds step =
            std::min({timing_.pollInterval, attemptLeft, budgetLeft});
        sleep_(step);
        waited += step;
        budgetLeft -= step;
    }
    return true;
}

std::string HostControl::executablePath() const {
    return state_.resourceFolder + kExecutableName;
}

bool HostControl::startHost() {
    const std::string path = executablePath();
    // Without a found resource folder the path would be relative and could
    // start whatever "Scrivel.exe" the current folder happens to hold.
    if (!std::filesystem::path(path).is_absolute()) return false;
    return launcher_.startDetached(path, {});
}

bool HostControl::askToCloseHost(const std::string& firstLine, const std::string& titleToClose) {
    if (!isHostRunning()) return false;
    prompter_.beep();
    const int answer =
        prompter_.messageBox(closeQuestion(firstLine), kQuestionCaption, dialogs::mb::kYesNo,
                             dialogs::standardParams(/*rightAlignButtons=*/true));
    if ((answer & ~static_cast<int>(dialogs::id::kTimeoutFlag)) == dialogs::id::kYes)
        closeHostWindows(titleToClose);
    return true;
}

bool HostControl::askToCloseHostAtStartUp() {
    return askToCloseHost(kStartUpFirstLine, kHostMainWindowTitle);
}

bool HostControl::askToCloseHostBeforeActivation() {
    return askToCloseHost(kActivationFirstLine, kHostWindowTitle);
}

void HostControl::stopHost() {
    closeHostWindows(kHostMainWindowTitle);
}

bool HostControl::stopAndStartHost() {
    {
        BusyScope busy(waitCursor_);
        closeHostWindows(kHostWindowTitle);
        // Scrivel keeps one copy per user: starting while the old one stays
        // (it may be asking its own question) would only open a second one.
        if (!isHostRunning()) return startHost();
    }
    prompter_.messageBox(kStillRunningText, kStillRunningCaption,
                         dialogs::mb::kOk | dialogs::mb::kIconExclamation,
                         dialogs::standardParams(/*rightAlignButtons=*/true));
    return false;
}

}  // namespace modshelf::host
