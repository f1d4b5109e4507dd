#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "platform/linux_x11/PrivateDisplay.h"
#include "support/TempDir.h"

namespace modshelf::tools::testing {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

const std::string kAppId = "org.modshelf.Modshelf";

struct CommandResult {
    int exitCode = -1;
    std::string output;  // standard output and error together
};

std::string quoted(const std::string& text) {
    std::string result = "'";
    for (char c : text) result += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return result + "'";
}

CommandResult run(const std::string& command) {
    CommandResult result;
    FILE* pipe = ::popen((command + " 2>&1").c_str(), "r");
    if (!pipe) return result;
    char buffer[4096];
    while (const size_t n = std::fread(buffer, 1, sizeof buffer, pipe))
        result.output.append(buffer, n);
    const int status = ::pclose(pipe);
    result.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return result;
}

std::string readText(const fs::path& file) {
    std::ifstream in(file);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

// The value of a key of the desktop entry's main group.
std::string desktopValue(const std::string& entry, const std::string& key) {
    std::istringstream lines(entry);
    for (std::string line; std::getline(lines, line);)
        if (line.rfind(key + "=", 0) == 0) return line.substr(key.size() + 1);
    return {};
}

// One installation into a temporary prefix, shared by the tests below.
class Installed : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        prefix_ = new modshelf::test::TempDir;
        install_ = new CommandResult(run("cmake --install " + quoted(MODSHELF_BINARY_DIR) +
                                         " --prefix " + quoted(prefix_->path().string())));
    }
    static void TearDownTestSuite() {
        delete install_;
        delete prefix_;
    }
    void SetUp() override { ASSERT_EQ(install_->exitCode, 0) << install_->output; }

    static fs::path prefix() { return prefix_->path(); }
    static fs::path share() { return prefix() / "share"; }

    static modshelf::test::TempDir* prefix_;
    static CommandResult* install_;
};

modshelf::test::TempDir* Installed::prefix_ = nullptr;
CommandResult* Installed::install_ = nullptr;

TEST_F(Installed, EveryPieceLandsWhereTheDesktopLooks) {
    EXPECT_TRUE(fs::is_regular_file(prefix() / "bin" / "modshelf"));
    const fs::path sourceHelp = fs::path(MODSHELF_SOURCE_DIR) / "resources" / "help";
    int pages = 0;
    for (const auto& page : fs::directory_iterator(sourceHelp)) {
        ++pages;
        EXPECT_EQ(readText(share() / "modshelf" / "help" / page.path().filename()),
                  readText(page.path()))
            << page.path().filename();
    }
    EXPECT_GE(pages, 3);
    EXPECT_TRUE(fs::is_regular_file(share() / "man" / "man1" / "modshelf.1"));

    // The menu entry starts the installed program and names an installed icon.
    const std::string entry = readText(share() / "applications" / (kAppId + ".desktop"));
    ASSERT_FALSE(entry.empty());
    EXPECT_TRUE(fs::is_regular_file(prefix() / "bin" / desktopValue(entry, "Exec")));
    EXPECT_TRUE(fs::is_regular_file(share() / "icons" / "hicolor" / "scalable" / "apps" /
                                    (desktopValue(entry, "Icon") + ".svg")));

    // The metainfo launches that entry.
    const std::string metainfo = readText(share() / "metainfo" / (kAppId + ".metainfo.xml"));
    EXPECT_NE(metainfo.find("<launchable type=\"desktop-id\">" + kAppId + ".desktop</launchable>"),
              std::string::npos);
    EXPECT_NE(metainfo.find("<id>" + kAppId + "</id>"), std::string::npos);
}

TEST_F(Installed, DesktopEntryMetainfoAndManualPageValidate) {
    const auto desktop = run("desktop-file-validate " +
                             quoted((share() / "applications" / (kAppId + ".desktop")).string()));
    EXPECT_EQ(desktop.exitCode, 0) << desktop.output;
    EXPECT_EQ(desktop.output, "");

    const auto metainfo = run("appstreamcli validate --no-net " +
                              quoted((share() / "metainfo" / (kAppId + ".metainfo.xml")).string()));
    EXPECT_EQ(metainfo.exitCode, 0) << metainfo.output;

    // groff warns on every mistake of the page's markup.
    const auto manual =
        run("groff -man -ww -z " + quoted((share() / "man" / "man1" / "modshelf.1").string()));
    EXPECT_EQ(manual.exitCode, 0) << manual.output;
    EXPECT_EQ(manual.output, "");
}

// The installed program, started on a demo prefix in an X server of its own,
// shows its help window when F1 is pressed: it found the installed pages.
class InstalledProgram : public Installed {
protected:
    void TearDown() override {
        if (pid_ > 0) {
            ::kill(pid_, SIGKILL);
            ::waitpid(pid_, nullptr, 0);
        }
    }

    void start(const fs::path& home) {
        fs::create_directories(home / "run");
        fs::permissions(home / "run", fs::perms::owner_all, fs::perm_options::replace);
        const std::vector<std::string> env = {"DISPLAY=" + display_.name(),
                                              "QT_QPA_PLATFORM=xcb",
                                              "HOME=" + home.string(),
                                              "XDG_RUNTIME_DIR=" + (home / "run").string(),
                                              "XDG_DATA_HOME=" + (home / "data").string(),
                                              "XDG_CONFIG_HOME=" + (home / "config").string(),
                                              "WINEPREFIX=" + (home / "prefix").string(),
                                              "PATH=/usr/bin:/bin"};
        const std::string program = (prefix() / "bin" / "modshelf").string();
        pid_ = ::fork();
        if (pid_ == 0) {
            std::vector<char*> envp;
            for (const auto& e : env) envp.push_back(const_cast<char*>(e.c_str()));
            envp.push_back(nullptr);
            ::chdir(home.c_str());
            char* argv[] = {const_cast<char*>(program.c_str()), nullptr};
            ::execve(program.c_str(), argv, envp.data());
            ::_exit(127);
        }
    }

    // The first visible window whose title matches, or empty after the timeout.
    std::string waitForWindow(const std::string& title, std::chrono::milliseconds timeout) {
        const auto end = std::chrono::steady_clock::now() + timeout;
        for (;;) {
            const auto found = run("DISPLAY=" + display_.name() +
                                   " xdotool search --onlyvisible --name " + quoted(title));
            if (found.exitCode == 0 && !found.output.empty())
                return found.output.substr(0, found.output.find('\n'));
            if (std::chrono::steady_clock::now() >= end) return {};
            std::this_thread::sleep_for(100ms);
        }
    }

    modshelf::test::PrivateDisplay display_;
    pid_t pid_ = -1;
};

TEST_F(InstalledProgram, F1ShowsTheInstalledHelpPages) {
    ASSERT_FALSE(display_.name().empty()) << "Xvfb did not start";
    modshelf::test::TempDir home;
    const auto demo = run(quoted(MODSHELF_BINARY_DIR "/src/tools/modshelf-demo-prefix") +
                          " --modules 5 " + quoted((home / "prefix").string()));
    ASSERT_EQ(demo.exitCode, 0) << demo.output;

    start(home.path());
    const std::string frame = waitForWindow("Modshelf for Scrivel", 30s);
    ASSERT_FALSE(frame.empty()) << "the installed program showed no main window";

    // The window belongs to the menu entry (StartupWMClass) and shows our icon.
    const std::string xprop = "DISPLAY=" + display_.name() + " xprop -id " + frame + " ";
    EXPECT_NE(run(xprop + "WM_CLASS").output.find("\"modshelf\""), std::string::npos);
    EXPECT_EQ(run(xprop + "_NET_WM_ICON").output.find("not found"), std::string::npos);

    const std::string xdotool = "DISPLAY=" + display_.name() + " xdotool ";
    std::string help;
    // The first key may arrive before the window has taken the focus; press again then.
    for (int attempt = 0; attempt < 5 && help.empty(); ++attempt) {
        ASSERT_EQ(run(xdotool + "windowfocus --sync " + frame).exitCode, 0);
        ASSERT_EQ(run(xdotool + "key F1").exitCode, 0);
        help = waitForWindow("^Modshelf Help$", 3s);
    }
    EXPECT_TRUE(waitForWindow("Help File Missing", 0ms).empty()) << "the help was not found";
    EXPECT_FALSE(help.empty()) << "F1 showed no help window";
    int status = 0;
    EXPECT_EQ(::waitpid(pid_, &status, WNOHANG), 0) << "the program ended";
}

}  // namespace
}  // namespace modshelf::tools::testing
