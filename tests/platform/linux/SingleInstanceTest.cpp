#include <gtest/gtest.h>

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include <csignal>
#include <cstdlib>

#include "platform/linux/SingleInstance.h"
#include "support/TempDir.h"

namespace modshelf::platform {
namespace {

using Result = app::InstanceMarker::Result;

// A child process that takes the marker in `folder`, reports the outcome on a
// pipe and then waits to be killed. With `spawnAndLeave`, it starts a long
// sleeping program and ends, leaving that program behind.
struct Holder {
    pid_t pid = -1;
    Result result = Result::Unavailable;
    pid_t orphan = -1;
};

Holder startHolder(const std::filesystem::path& folder, bool spawnAndLeave = false) {
    int fds[2];
    if (::pipe(fds) != 0) return {};
    const pid_t pid = ::fork();
    if (pid == 0) {
        ::close(fds[0]);
        SingleInstance marker(folder);
        const int result = static_cast<int>(marker.create());
        pid_t orphan = -1;
        if (spawnAndLeave) {
            orphan = ::fork();
            if (orphan == 0) {
                ::execlp("sleep", "sleep", "30", static_cast<char*>(nullptr));
                ::_exit(127);
            }
        }
        int message[2] = {result, orphan};
        (void)!::write(fds[1], message, sizeof message);
        if (spawnAndLeave) ::_exit(0);
        for (;;) ::pause();
    }
    ::close(fds[1]);
    int message[2] = {static_cast<int>(Result::Unavailable), -1};
    (void)!::read(fds[0], message, sizeof message);
    ::close(fds[0]);
    return {pid, static_cast<Result>(message[0]), message[1]};
}

void stop(pid_t pid, int signal) {
    ::kill(pid, signal);
    int status = 0;
    ::waitpid(pid, &status, 0);
}

TEST(SingleInstance, SecondProcessIsRefusedUntilTheFirstIsKilled) {
    test::TempDir dir;
    Holder first = startHolder(dir.path());
    ASSERT_GT(first.pid, 0);
    ASSERT_EQ(first.result, Result::Created);

    SingleInstance second(dir.path());
    EXPECT_EQ(second.create(), Result::AlreadyExists);
    EXPECT_FALSE(second.isOpen());

    // A killed holder cannot clean up; the marker must go all the same.
    stop(first.pid, SIGKILL);
    EXPECT_EQ(second.create(), Result::Created);
    EXPECT_TRUE(second.isOpen());

    Holder third = startHolder(dir.path());
    EXPECT_EQ(third.result, Result::AlreadyExists);
    stop(third.pid, SIGKILL);
}

TEST(SingleInstance, ClosingReleasesTheMarkerForTheNextCopy) {
    test::TempDir dir;
    SingleInstance first(dir.path());
    ASSERT_EQ(first.create(), Result::Created);
    EXPECT_EQ(first.lockFile(), dir.path() / "ModshelfTestMap.lock");
    first.close();
    first.close();  // harmless twice
    EXPECT_FALSE(first.isOpen());

    Holder next = startHolder(dir.path());
    EXPECT_EQ(next.result, Result::Created);
    stop(next.pid, SIGTERM);
}

TEST(SingleInstance, ProgramsStartedByTheHolderDoNotKeepTheMarker) {
    test::TempDir dir;
    Holder holder = startHolder(dir.path(), true);
    ASSERT_EQ(holder.result, Result::Created);
    int status = 0;
    ::waitpid(holder.pid, &status, 0);
    ASSERT_GT(holder.orphan, 0);

    // Until the started program has replaced itself by exec it still shares
    // the holder's descriptor; after that the marker must be free, long before
    // the program itself ends.
    SingleInstance next(dir.path());
    Result result = next.create();
    for (int i = 0; i < 40 && result != Result::Created; ++i) {
        ::usleep(50'000);
        result = next.create();
    }
    EXPECT_EQ(result, Result::Created);
    ::kill(holder.orphan, SIGKILL);
}

TEST(SingleInstance, WithoutRuntimeDirAPrivateFolderUnderTmpIsUsed) {
    const char* saved = std::getenv("XDG_RUNTIME_DIR");
    const std::string savedValue = saved ? saved : "";
    ::unsetenv("XDG_RUNTIME_DIR");
    const auto folder = SingleInstance::runtimeFolder();
    if (saved) ::setenv("XDG_RUNTIME_DIR", savedValue.c_str(), 1);

    ASSERT_FALSE(folder.empty());
    EXPECT_EQ(folder, std::filesystem::path("/tmp/modshelf-" + std::to_string(::getuid())));
    struct stat info {};
    ASSERT_EQ(::lstat(folder.c_str(), &info), 0);
    EXPECT_TRUE(S_ISDIR(info.st_mode));
    EXPECT_EQ(info.st_mode & 077, 0u);
}

TEST(SingleInstance, UnusableFolderMeansNoMarkerRatherThanARefusal) {
    SingleInstance marker("/nonexistent/modshelf-test-folder");
    EXPECT_EQ(marker.create(), Result::Unavailable);
    EXPECT_FALSE(marker.isOpen());
}

}  // namespace
}  // namespace modshelf::platform
