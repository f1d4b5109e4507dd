#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <random>

#include "platform/linux/AtomicFile.h"
#include "support/TempDir.h"

using modshelf::platform::readWholeFile;
using modshelf::platform::writeFileAtomically;
using modshelf::test::readFile;
using modshelf::test::TempDir;
using modshelf::test::writeFile;

TEST(SettingsAtomicFile, AKillAtAnyMomentLeavesTheOldFileOrTheNewOne) {
    TempDir dir;
    const auto target = dir / "user.reg";
    const std::string first(300 * 1024, 'a');
    const std::string second(200 * 1024, 'b');
    writeFile(target, first);

    std::mt19937 random(12345);
    int sawSecond = 0;
    for (int round = 0; round < 25; ++round) {
        const pid_t child = fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            std::string error;
            for (int i = 0;; ++i) writeFileAtomically(target, i % 2 ? first : second, error);
        }
        usleep(std::uniform_int_distribution<useconds_t>(0, 30000)(random));
        kill(child, SIGKILL);
        waitpid(child, nullptr, 0);
        const std::string now = readFile(target);
        ASSERT_TRUE(now == first || now == second) << "torn file of " << now.size() << " bytes";
        sawSecond += now == second;
    }
    EXPECT_GT(sawSecond, 0);  // the writer did replace the file
}

TEST(SettingsAtomicFile, KeepsPermissionsAndLinksAndReportsFailures) {
    TempDir dir;
    const auto real = dir / "real.reg";
    writeFile(real, "old");
    chmod(real.c_str(), 0600);
    const auto link = dir / "user.reg";
    std::filesystem::create_symlink(real, link);

    std::string error;
    ASSERT_TRUE(writeFileAtomically(link, "new", error)) << error;
    EXPECT_TRUE(std::filesystem::is_symlink(link));
    EXPECT_EQ(readFile(real), "new");
    struct stat st {};
    stat(real.c_str(), &st);
    EXPECT_EQ(st.st_mode & 07777, 0600u);
    // Only the file and the link remain: no temporary file is left behind.
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()),
                            std::filesystem::directory_iterator()),
              2);

    EXPECT_FALSE(writeFileAtomically(dir / "missing" / "user.reg", "x", error));
    EXPECT_NE(error.find((dir / "missing").string()), std::string::npos) << error;

    std::string bytes;
    EXPECT_TRUE(readWholeFile(link, bytes, error));
    EXPECT_EQ(bytes, "new");
    EXPECT_FALSE(readWholeFile(dir / "nothing", bytes, error));
    EXPECT_NE(error.find("nothing"), std::string::npos);
}
