#include "platform/linux/WineRegistryTool.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <thread>
#include <vector>

#include "core/settings/RegEditFile.h"
#include "platform/linux/AtomicFile.h"
#include "platform/linux/ExecList.h"

extern char** environ;

namespace modshelf::platform {

namespace {

// A private folder for the exchange files, removed with its content.
class ExchangeFolder {
public:
    ExchangeFolder() {
        const char* base = std::getenv("TMPDIR");
        std::string pattern =
            std::string(base && *base == '/' ? base : "/tmp") + "/modshelf-reg-XXXXXX";
        if (::mkdtemp(pattern.data())) path_ = pattern;
    }
    ~ExchangeFolder() {
        std::error_code ec;
        if (!path_.empty()) std::filesystem::remove_all(path_, ec);
    }
    ExchangeFolder(const ExchangeFolder&) = delete;
    ExchangeFolder& operator=(const ExchangeFolder&) = delete;

    bool ok() const { return !path_.empty(); }
    std::filesystem::path file(const char* name) const { return path_ / name; }

private:
    std::filesystem::path path_;
};

// Wine reaches the whole Linux file system through drive Z:.
std::string windowsPath(const std::filesystem::path& file) {
    std::string path = "Z:" + file.string();
    for (char& c : path)
        if (c == '/') c = '\\';
    return path;
}

// Debian's Wine keeps its server folder at $TMPDIR/wine-XXXXXX/server-<dev>-<ino>.
std::string tmpdirOf(const std::filesystem::path& serverDir) {
    const std::filesystem::path base = serverDir.parent_path();
    if (base.filename().string().rfind("wine-", 0) != 0) return {};
    return base.parent_path().string();
}

}  // namespace

std::vector<std::string> wineEnvironment(const std::filesystem::path& prefix,
                                         const std::filesystem::path& serverDir) {
    const std::string tmpdir = tmpdirOf(serverDir);
    std::vector<std::string> result;
    for (char** entry = environ; entry && *entry; ++entry) {
        if (!tmpdir.empty() && std::strncmp(*entry, "TMPDIR=", 7) == 0) continue;
        if (std::strncmp(*entry, "WINEPREFIX=", 11) == 0 ||
            std::strncmp(*entry, "WINEDEBUG=", 10) == 0 ||
            std::strncmp(*entry, "WINEDLLOVERRIDES=", 17) == 0)
            continue;
        result.emplace_back(*entry);
    }
    if (!tmpdir.empty()) result.push_back("TMPDIR=" + tmpdir);
    result.push_back("WINEPREFIX=" + prefix.string());
    result.push_back("WINEDEBUG=-all");
    // Should Wine have to update the prefix, it must neither offer downloads
    // nor add entries to the user's menus.
    result.push_back("WINEDLLOVERRIDES=mscoree,mshtml,winemenubuilder.exe=d");
    return result;
}

WineRegistryTool::WineRegistryTool(std::filesystem::path prefix, std::chrono::milliseconds timeout)
    : prefix_(std::move(prefix)), timeout_(timeout) {}

bool WineRegistryTool::runReg(const std::vector<std::string>& arguments, std::string& error) {
    std::vector<std::string> argv{"wine", "reg"};
    argv.insert(argv.end(), arguments.begin(), arguments.end());
    std::vector<std::string> envp = wineEnvironment(prefix_, serverDir_);
    const std::vector<char*> argvPointers = execList(argv);
    const std::vector<char*> envPointers = execList(envp);

    const pid_t child = ::fork();
    if (child < 0) {
        error = std::string("Wine could not be started: ") + std::strerror(errno) + ".";
        return false;
    }
    if (child == 0) {
        ::setpgid(0, 0);
        const int devNull = ::open("/dev/null", O_RDWR);
        if (devNull >= 0) {
            ::dup2(devNull, STDIN_FILENO);
            ::dup2(devNull, STDOUT_FILENO);
            ::dup2(devNull, STDERR_FILENO);
        }
        // The server that Wine may start must not keep any file of ours open.
        ::close_range(3, ~0U, CLOSE_RANGE_CLOEXEC);
        ::execvpe("wine", argvPointers.data(), envPointers.data());
        ::_exit(127);
    }
    // Wine's first program in a prefix starts services that keep its output
    // open, so we wait for the process itself.
    const auto deadline = std::chrono::steady_clock::now() + timeout_;
    int status = 0;
    for (;;) {
        const pid_t done = ::waitpid(child, &status, WNOHANG);
        if (done == child) break;
        if (done < 0 && errno != EINTR) {
            error = "Wine's registry program could not be watched.";
            return false;
        }
        if (std::chrono::steady_clock::now() > deadline) {
            ::kill(child, SIGKILL);
            ::waitpid(child, &status, 0);
            error = "Wine's registry program did not finish in time.";
            return false;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    if (WIFEXITED(status) && WEXITSTATUS(status) == 0) return true;
    if (WIFEXITED(status) && WEXITSTATUS(status) == 127)
        error = "Wine (the program \"wine\") was not found.";
    else
        error = "Wine's registry program failed.";
    return false;
}

bool WineRegistryTool::exportKey(const std::string& key, std::string& text, std::string& error) {
    ExchangeFolder folder;
    if (!folder.ok()) {
        error = "No temporary folder could be made to read Wine's registry.";
        return false;
    }
    const std::filesystem::path file = folder.file("export.reg");
    if (!runReg({"export", key, windowsPath(file), "/y"}, error)) return false;
    std::string bytes;
    if (!readWholeFile(file, bytes, error)) return false;
    text = settings::regEditFileText(bytes);
    return true;
}

bool WineRegistryTool::import(const std::string& text, std::string& error) {
    ExchangeFolder folder;
    if (!folder.ok()) {
        error = "No temporary folder could be made to hand the change to Wine.";
        return false;
    }
    const std::filesystem::path file = folder.file("import.reg");
    if (!writeFileAtomically(file, settings::regEditFileBytes(text), error)) return false;
    return runReg({"import", windowsPath(file)}, error);
}

std::shared_ptr<LiveRegistry> wineRegistryTool(const std::filesystem::path& prefix) {
    return std::make_shared<WineRegistryTool>(prefix);
}

}  // namespace modshelf::platform
