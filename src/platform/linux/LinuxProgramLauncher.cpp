#include "platform/linux/LinuxProgramLauncher.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>

#include "platform/linux/ExecList.h"

extern char** environ;

namespace modshelf::platform {

namespace fs = std::filesystem;

namespace {

bool isExecutableFile(const fs::path& file) {
    std::error_code error;
    return fs::is_regular_file(file, error) && ::access(file.c_str(), X_OK) == 0;
}

// The environment for the started program: ours, with WINEPREFIX replaced.
std::vector<std::string> childEnvironment(const fs::path& winePrefix) {
    std::vector<std::string> result;
    for (char** entry = environ; entry && *entry; ++entry) {
        if (!winePrefix.empty() && std::strncmp(*entry, "WINEPREFIX=", 11) == 0) continue;
        result.emplace_back(*entry);
    }
    if (!winePrefix.empty()) result.push_back("WINEPREFIX=" + winePrefix.string());
    return result;
}

// Runs in the forked child, so only async-signal-safe calls from here on.
[[noreturn]] void execInChild(const char* executable, char* const* argv, char* const* envp,
                              int errorPipe) {
    sigset_t none;
    sigemptyset(&none);
    sigprocmask(SIG_SETMASK, &none, nullptr);
    struct sigaction defaults {};
    defaults.sa_handler = SIG_DFL;
    for (int signal : {SIGPIPE, SIGCHLD, SIGINT, SIGTERM, SIGHUP, SIGQUIT})
        sigaction(signal, &defaults, nullptr);

    const int devNull = ::open("/dev/null", O_RDWR);
    if (devNull >= 0) {
        ::dup2(devNull, STDIN_FILENO);
        ::dup2(devNull, STDOUT_FILENO);
        ::dup2(devNull, STDERR_FILENO);
        if (devNull > STDERR_FILENO) ::close(devNull);
    }
    // Nothing of ours (display connections, databases, sockets) is handed on.
    ::close_range(3, ~0U, CLOSE_RANGE_CLOEXEC);

    ::execve(executable, argv, envp);
    const int error = errno;
    [[maybe_unused]] ssize_t written = ::write(errorPipe, &error, sizeof error);
    ::_exit(127);
}

}  // namespace

LinuxProgramLauncher::LinuxProgramLauncher(fs::path winePrefix)
    : winePrefix_(std::move(winePrefix)) {}

bool LinuxProgramLauncher::isWindowsExecutable(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    char magic[2] = {};
    return in.read(magic, 2) && magic[0] == 'M' && magic[1] == 'Z';
}

fs::path LinuxProgramLauncher::findOnPath(const std::string& name) {
    const char* path = std::getenv("PATH");
    std::istringstream folders(path && *path ? path : "/usr/local/bin:/usr/bin:/bin");
    std::string folder;
    while (std::getline(folders, folder, ':')) {
        if (folder.empty()) continue;
        const fs::path candidate = fs::path(folder) / name;
        if (isExecutableFile(candidate)) return candidate;
    }
    return {};
}

bool LinuxProgramLauncher::startDetached(const std::string& program,
                                         const std::vector<std::string>& arguments) {
    std::error_code error;
    if (program.empty() || !fs::is_regular_file(program, error)) return false;

    std::vector<std::string> argv;
    std::string executable;
    if (isWindowsExecutable(program)) {
        const fs::path wine = findOnPath("wine");
        if (wine.empty()) return false;
        executable = wine.string();
        argv = {executable, program};
    } else {
        if (!isExecutableFile(program)) return false;
        executable = program;
        argv = {program};
    }
    argv.insert(argv.end(), arguments.begin(), arguments.end());
    std::vector<std::string> environment = childEnvironment(winePrefix_);
    std::vector<char*> argvPointers = execList(argv);
    std::vector<char*> envPointers = execList(environment);

    // The grandchild reports a failed exec through this pipe; a successful
    // exec closes it, so the parent reads end-of-file.
    int errorPipe[2];
    if (::pipe2(errorPipe, O_CLOEXEC) != 0) return false;

    const pid_t child = ::fork();
    if (child < 0) {
        ::close(errorPipe[0]);
        ::close(errorPipe[1]);
        return false;
    }
    if (child == 0) {
        ::close(errorPipe[0]);
        ::setsid();
        const pid_t grandchild = ::fork();
        if (grandchild != 0) {
            if (grandchild < 0) {
                const int forkError = errno;
                [[maybe_unused]] ssize_t written =
                    ::write(errorPipe[1], &forkError, sizeof forkError);
            }
            ::_exit(0);
        }
        execInChild(executable.c_str(), argvPointers.data(), envPointers.data(), errorPipe[1]);
    }

    ::close(errorPipe[1]);
    int status = 0;
    while (::waitpid(child, &status, 0) < 0 && errno == EINTR) {
    }
    int childError = 0;
    ssize_t got;
    do {
        got = ::read(errorPipe[0], &childError, sizeof childError);
    } while (got < 0 && errno == EINTR);
    ::close(errorPipe[0]);
    return got == 0;
}

}  // namespace modshelf::platform
