#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>

#include "platform/linux/WineServerProbe.h"
#include "support/TempDir.h"

using modshelf::platform::SystemWineServerProbe;
using modshelf::test::TempDir;
using modshelf::test::writeFile;

namespace {

// Holds a write lock on byte 0 of a file in a child process, as a running
// wineserver does, until destroyed.
class LockHolder {
public:
    explicit LockHolder(const std::filesystem::path& lockFile) {
        int ready[2];
        if (pipe(ready) != 0) return;
        pid_ = fork();
        if (pid_ == 0) {
            const int fd = open(lockFile.c_str(), O_RDWR | O_CREAT, 0600);
            struct flock lock {};
            lock.l_type = F_WRLCK;
            lock.l_whence = SEEK_SET;
            lock.l_len = 1;
            const char ok = fcntl(fd, F_SETLK, &lock) == 0 ? '1' : '0';
            (void)!write(ready[1], &ok, 1);
            for (;;) pause();
        }
        char ok = 0;
        (void)!read(ready[0], &ok, 1);
        locked_ = ok == '1';
        close(ready[0]);
        close(ready[1]);
    }
    ~LockHolder() {
        if (pid_ > 0) {
            kill(pid_, SIGKILL);
            waitpid(pid_, nullptr, 0);
        }
    }
    pid_t pid() const { return pid_; }
    bool locked() const { return locked_; }

private:
    pid_t pid_ = -1;
    bool locked_ = false;
};

std::string serverDirName(const std::filesystem::path& prefix) {
    struct stat st {};
    stat(prefix.c_str(), &st);
    char name[64];
    std::snprintf(name, sizeof name, "server-%llx-%llx", (unsigned long long)st.st_dev,
                  (unsigned long long)st.st_ino);
    return name;
}

}  // namespace

TEST(WineServerProbe, SeesTheLockOfDebiansServerFolderAndNothingElse) {
    TempDir prefix;
    TempDir base;  // stands for /tmp/wine-XXXXXX
    const char* oldTmp = std::getenv("TMPDIR");
    const std::string savedTmp = oldTmp ? oldTmp : "";
    setenv("TMPDIR", base.path().parent_path().c_str(), 1);
    writeFile(prefix / "wineserver", base.path().filename().string() + "\n");

    const auto serverDir = base / serverDirName(prefix.path());
    std::filesystem::create_directories(serverDir);
    writeFile(serverDir / "lock", "");
    SystemWineServerProbe probe;
    // The folder and its lock file stay after a server ends: no proof of one.
    EXPECT_FALSE(probe.probe(prefix.path()).running);
    {
        LockHolder server(serverDir / "lock");
        ASSERT_TRUE(server.locked());
        const auto status = probe.probe(prefix.path());
        EXPECT_TRUE(status.running);
        EXPECT_EQ(status.pid, server.pid());
        EXPECT_EQ(status.serverDir, serverDir);

        // Another prefix is not affected by this server.
        TempDir otherPrefix;
        EXPECT_FALSE(probe.probe(otherPrefix.path()).running);
    }
    EXPECT_FALSE(probe.probe(prefix.path()).running);
    EXPECT_TRUE(std::filesystem::exists(serverDir / "lock"));

    if (oldTmp)
        setenv("TMPDIR", savedTmp.c_str(), 1);
    else
        unsetenv("TMPDIR");
}

TEST(WineServerProbe, LooksInWinesOwnFolderToo) {
    TempDir prefix;
    const auto dirs = SystemWineServerProbe::serverDirs(prefix.path());
    ASSERT_FALSE(dirs.empty());
    EXPECT_EQ(dirs.back(), std::filesystem::path("/tmp") / (".wine-" + std::to_string(getuid())) /
                               serverDirName(prefix.path()));
    EXPECT_TRUE(SystemWineServerProbe::serverDirs(prefix / "does-not-exist").empty());
}
