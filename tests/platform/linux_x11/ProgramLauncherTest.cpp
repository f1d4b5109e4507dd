// Starting programs detached; needs no X server.

#include <gtest/gtest.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <thread>

#include "platform/linux/LinuxProgramLauncher.h"
#include "support/TempDir.h"

namespace modshelf {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;
using platform::LinuxProgramLauncher;

void writeExecutable(const fs::path& file, const std::string& text) {
    test::writeFile(file, text);
    fs::permissions(file, fs::perms::owner_all);
}

// Waits for a file that a detached program writes when it is done.
std::string awaitFile(const fs::path& file) {
    for (int i = 0; i < 500 && !fs::exists(file); ++i) std::this_thread::sleep_for(10ms);
    std::this_thread::sleep_for(20ms);
    return test::readFile(file);
}

class ProgramLauncherTest : public ::testing::Test {
protected:
    void SetUp() override {
        const char* path = std::getenv("PATH");
        savedPath = path ? path : "";
    }
    void TearDown() override { ::setenv("PATH", savedPath.c_str(), 1); }

    // A script that records its arguments, prefix, standard input and session.
    fs::path recorder(const std::string& name, const fs::path& out) {
        const fs::path script = dir / name;
        writeExecutable(script,
                        "#!/bin/sh\n"
                        "{ for a in \"$@\"; do echo \"arg=$a\"; done\n"
                        "  echo \"prefix=$WINEPREFIX\"\n"
                        "  echo \"stdin=$(readlink /proc/self/fd/0)\"\n"
                        "  echo \"session=$(cut -d' ' -f6 /proc/$$/stat)\"\n"
                        "} > '" +
                            out.string() + ".tmp' && mv '" + out.string() + ".tmp' '" +
                            out.string() + "'\n");
        return script;
    }

    test::TempDir dir;
    std::string savedPath;
};

TEST_F(ProgramLauncherTest, RunsANativeProgramDetachedInThePrefix) {
    const fs::path out = dir / "native.txt";
    LinuxProgramLauncher launcher(dir / "prefix");
    ASSERT_TRUE(launcher.startDetached(recorder("Scrivel.exe", out).string(), {"a b", "c"}));

    const std::string text = awaitFile(out);
    EXPECT_NE(text.find("arg=a b\narg=c\n"), std::string::npos) << text;
    EXPECT_NE(text.find("prefix=" + (dir / "prefix").string() + "\n"), std::string::npos) << text;
    EXPECT_NE(text.find("stdin=/dev/null\n"), std::string::npos) << text;
    // A session of its own: it does not go when our terminal does.
    EXPECT_EQ(text.find("session=" + std::to_string(::getsid(0)) + "\n"), std::string::npos)
        << text;
}

TEST_F(ProgramLauncherTest, RunsAWindowsExecutableThroughWineFromPath) {
    const fs::path bin = dir / "bin";
    fs::create_directories(bin);
    const fs::path out = dir / "wine.txt";
    fs::rename(recorder("wine", out), bin / "wine");
    ::setenv("PATH", (bin.string() + ":" + savedPath).c_str(), 1);
    const fs::path exe = dir / "Scrivel.exe";
    test::writeFile(exe, std::string("MZ\x90\0\3\0\0\0", 8));  // not executable itself

    EXPECT_TRUE(LinuxProgramLauncher::isWindowsExecutable(exe));
    LinuxProgramLauncher launcher(dir / "prefix");
    ASSERT_TRUE(launcher.startDetached(exe.string(), {}));

    const std::string text = awaitFile(out);
    EXPECT_NE(text.find("arg=" + exe.string() + "\nprefix=" + (dir / "prefix").string()),
              std::string::npos)
        << text;
}

TEST_F(ProgramLauncherTest, FailuresAreReportedNotHidden) {
    LinuxProgramLauncher launcher(dir / "prefix");
    EXPECT_FALSE(launcher.startDetached((dir / "missing.exe").string(), {}));
    EXPECT_FALSE(launcher.startDetached(dir.path().string(), {}));  // a folder

    test::writeFile(dir / "plain.txt", "not a program\n");
    EXPECT_FALSE(launcher.startDetached((dir / "plain.txt").string(), {}));

    // Executable, but exec itself fails: the interpreter does not exist.
    writeExecutable(dir / "broken", "#!/nonexistent/interpreter\n");
    EXPECT_FALSE(launcher.startDetached((dir / "broken").string(), {}));

    // A Windows executable with no wine anywhere on PATH.
    fs::create_directories(dir / "empty");
    ::setenv("PATH", (dir / "empty").c_str(), 1);
    test::writeFile(dir / "Scrivel.exe", "MZ");
    EXPECT_FALSE(launcher.startDetached((dir / "Scrivel.exe").string(), {}));
}

TEST_F(ProgramLauncherTest, OnlyAnMzHeaderMakesAWindowsExecutable) {
    test::writeFile(dir / "a", "MZ");
    test::writeFile(dir / "b", "#!/bin/sh\n");
    test::writeFile(dir / "c", "M");
    EXPECT_TRUE(LinuxProgramLauncher::isWindowsExecutable(dir / "a"));
    EXPECT_FALSE(LinuxProgramLauncher::isWindowsExecutable(dir / "b"));
    EXPECT_FALSE(LinuxProgramLauncher::isWindowsExecutable(dir / "c"));
    EXPECT_FALSE(LinuxProgramLauncher::isWindowsExecutable(dir / "none"));
}

}  // namespace
}  // namespace modshelf
