#pragma once

#include <sys/types.h>

#include <chrono>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/linux/ChildProcessPipe.h"
#include "platform/linux/RegistryHelperProtocol.h"
#include "platform/linux/WineRegistryTool.h"

namespace modshelf::platform {

// The running server's registry through our own helper, modshelf-reg.exe: one
// Wine process, started when first needed and used for every read and write,
// so a call costs milliseconds instead of a Wine start each.
//
// The helper ends by itself after `idleExit` without a request, so that it
// never keeps the user's wineserver running, and at once when this object is
// destroyed. A helper that has ended or died is started again and the request
// sent once more (changes are idempotent). A helper that does not answer in
// time is killed and the call fails with a message that says so.
class WineRegistryHelper : public LiveRegistry {
public:
    struct Options {
        std::chrono::milliseconds idleExit{5000};
        std::chrono::milliseconds startTimeout{30000};  // Wine may have to start its server
        std::chrono::milliseconds replyTimeout{30000};
        // Reads go through the server's own save of a branch (one step) rather
        // than value by value, where the server allows it.
        bool serverSave = true;
        // Does the work when the helper cannot run under this Wine at all (a
        // Wine without 64-bit support, say); without one such calls fail.
        std::shared_ptr<LiveRegistry> fallback;
        // What runs the helper; tests put a stand-in in its place.
        std::vector<std::string> launcher{"wine"};
    };

    WineRegistryHelper(std::filesystem::path prefix, std::filesystem::path helperExe);
    WineRegistryHelper(std::filesystem::path prefix, std::filesystem::path helperExe,
                       Options options);
    ~WineRegistryHelper() override;

    bool exportKey(const std::string& key, std::string& text, std::string& error) override;
    // Every change is made that the registry takes; those it refuses are in
    // lastRefusals(), and the caller's read-back names them.
    bool import(const std::string& text, std::string& error) override;
    void useServerFolder(const std::filesystem::path& serverDir) override;

    // The helper's process while one runs, else 0.
    pid_t helperProcess();
    // Changes of the last import that the registry refused, with the reason.
    const std::vector<std::string>& lastRefusals() const { return refusals_; }

private:
    bool exportThroughHelper(const std::string& key, std::string& text, std::string& error);
    bool request(std::string_view verb, const std::string& payload, std::string& reply,
                 std::string& error);
    enum class Attempt { Answered, Failed, Ended };
    enum class Start { Ready, Failed, Unusable };
    bool useFallback() const { return unusable_ && options_.fallback; }
    Attempt attempt(std::string_view verb, const std::string& payload, std::string& reply,
                    std::string& error);
    Start ensureStarted(std::string& error);

    std::filesystem::path prefix_;
    std::filesystem::path exe_;
    std::filesystem::path serverDir_;
    Options options_;
    ChildProcessPipe helper_;
    std::vector<std::string> helperEnvironment_;  // what the running helper was started with
    std::vector<std::string> refusals_;
    bool unusable_ = false;  // the helper ended before it greeted: it cannot run here
    bool refused_ = false;   // the last request was answered with a refusal
    bool saveWorks_;         // the server writes a branch for us in one step
};

// modshelf-reg.exe beside the program (a build folder) or, for an installed
// program, in libexec/modshelf beside its bin folder. Nothing when neither
// holds it (it is built only where mingw-w64 is installed).
std::optional<std::filesystem::path> findRegistryHelper(const std::filesystem::path& programDir);

// The helper when `helperExe` is there (with Wine's own "reg" program for
// when it cannot run), else "reg".
std::shared_ptr<LiveRegistry> liveRegistryFor(
    const std::filesystem::path& prefix, const std::optional<std::filesystem::path>& helperExe);

// The same for this program, looking beside the running executable.
std::shared_ptr<LiveRegistry> liveRegistryFor(const std::filesystem::path& prefix);

}  // namespace modshelf::platform
