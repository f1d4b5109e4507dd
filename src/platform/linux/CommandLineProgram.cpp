#include "platform/linux/CommandLineProgram.h"

#include <chrono>
#include <fstream>
#include <iostream>
#include <iterator>
#include <thread>

#include "core/app/AppState.h"
#include "core/app/CliCommands.h"
#include "core/dialogs/AutoAnswerPrompter.h"
#include "core/host/DriveMap.h"
#include "core/host/HostControl.h"
#include "core/host/HostInterface.h"
#include "core/settings/RegistryTypes.h"
#include "platform/linux/LinuxProgramLauncher.h"
#include "platform/linux/SettingsStoreFactory.h"
#include "platform/linux/WinePrefixLocation.h"
#include "platform/linux/X11WindowSystem.h"

namespace modshelf::platform {

namespace {

std::string readWhole(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

// The value of NAME in a NUL-separated environment block.
std::string environmentValue(const std::string& block, const std::string& name) {
    const std::string key = name + "=";
    std::size_t start = 0;
    while (start < block.size()) {
        const std::size_t end = std::min(block.find('\0', start), block.size());
        if (block.compare(start, key.size(), key) == 0)
            return block.substr(start + key.size(), end - start - key.size());
        start = end + 1;
    }
    return {};
}

bool samePath(const std::filesystem::path& a, const std::filesystem::path& b) {
    std::error_code error;
    return std::filesystem::equivalent(a, b, error);
}

}  // namespace

bool hostProcessRunning(const std::filesystem::path& prefix) {
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator("/proc", error)) {
        const std::string pid = entry.path().filename().string();
        if (pid.find_first_not_of("0123456789") != std::string::npos) continue;
        const std::string commandLine = readWhole(entry.path() / "cmdline");
        const std::string program = commandLine.substr(0, commandLine.find('\0'));
        const std::size_t slash = program.find_last_of("\\/");
        const std::string name = slash == std::string::npos ? program : program.substr(slash + 1);
        if (!settings::equalsNoCase(name, host::HostControl::kExecutableName)) continue;
        const std::string environment = readWhole(entry.path() / "environ");
        std::string itsPrefix = environmentValue(environment, "WINEPREFIX");
        if (itsPrefix.empty()) itsPrefix = environmentValue(environment, "HOME") + "/.wine";
        if (samePath(itsPrefix, prefix)) return true;
    }
    return false;
}

int runCommandLine(const app::CommandLine& line) {
    if (std::optional<int> status = app::runWithoutSystem(line, std::cout, std::cerr))
        return *status;
    const std::filesystem::path prefix = winePrefixPath();
    OpenedSettingsStore opened = openSettingsStore();
    if (!opened.inWinePrefix && (line.action != app::CommandLine::Action::Show &&
                                 line.action != app::CommandLine::Action::List)) {
        std::cerr << "modshelf: " << prefix.string()
                  << ": no Wine prefix here (no user.reg); give one with --prefix or "
                     "$WINEPREFIX\n";
        return app::kExitFailure;
    }
    const host::DriveMap drives = host::DriveMap::fromPrefix(prefix);

    app::AppState state;
    X11WindowSystem windows;
    LinuxProgramLauncher launcher(prefix);
    dialogs::AutoAnswerPrompter prompter(nullptr, &std::cerr);  // closing Scrivel asks nothing
    host::HostControl host(windows, launcher, prompter, state);
    auto running = [&] { return host.isHostRunning() || hostProcessRunning(prefix); };

    app::CliEnvironment env{*opened.store, drives, std::cout, std::cerr, running, [&] {
                                if (!windows.connected()) return false;
                                host.closeHostWindows(host::kHostWindowTitle);
                                // Its windows go first; the process ends a moment later.
                                for (int i = 0; i < 100 && running(); ++i)
                                    std::this_thread::sleep_for(std::chrono::milliseconds(100));
                                return !running();
                            }};
    return app::runCliCommand(line, env);
}

}  // namespace modshelf::platform
