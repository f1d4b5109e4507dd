#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <QFileInfo>
#include <QProcess>
#include <QProcessEnvironment>
#include <QThread>
#include <filesystem>
#include <map>

#include "platform/linux/SingleInstance.h"
#include "support/TempDir.h"

namespace modshelf::gui::testing {
namespace {

namespace fs = std::filesystem;

// Every file below a folder with its size and modification time.
std::map<std::string, std::pair<std::uintmax_t, fs::file_time_type>> snapshot(
    const fs::path& folder) {
    std::map<std::string, std::pair<std::uintmax_t, fs::file_time_type>> files;
    std::error_code error;
    if (!fs::exists(folder, error)) return files;
    for (const auto& entry : fs::recursive_directory_iterator(folder, error))
        if (entry.is_regular_file())
            files[entry.path().string()] = {entry.file_size(), entry.last_write_time()};
    return files;
}

// Real copies of the program, each on its own offscreen display, sharing one
// runtime folder and one private settings folder.
class TwoCopies : public ::testing::Test {
protected:
    void SetUp() override {
        program = QString::fromUtf8(MODSHELF_BINARY_DIR "/src/modshelf");
        if (!QFileInfo::exists(program)) GTEST_SKIP() << "the program is not built";
        fs::create_directories(dir / "run");
        fs::permissions(dir / "run", fs::perms::owner_all, fs::perm_options::replace);
        fs::create_directories(dir / "home");
        env = QProcessEnvironment::systemEnvironment();
        env.insert("XDG_RUNTIME_DIR", QString::fromStdString((dir / "run").string()));
        env.insert("XDG_DATA_HOME", QString::fromStdString((dir / "data").string()));
        env.insert("WINEPREFIX", QString::fromStdString((dir / "no-prefix").string()));
        env.insert("HOME", QString::fromStdString((dir / "home").string()));
        env.insert("QT_QPA_PLATFORM", "offscreen");
        env.remove("DISPLAY");
    }

    void start(QProcess& process) {
        process.setProcessEnvironment(env);
        process.setWorkingDirectory(QString::fromStdString(dir.path().string()));
        process.start(program, {});
        ASSERT_TRUE(process.waitForStarted(5000));
    }

    // True once some copy holds the marker of this test's runtime folder.
    bool markerHeld(int timeoutMs) {
        QElapsedTimer timer;
        timer.start();
        while (timer.elapsed() < timeoutMs) {
            platform::SingleInstance probe(dir / "run");
            if (probe.create() == app::InstanceMarker::Result::AlreadyExists) return true;
            probe.close();
            QThread::msleep(50);
        }
        return false;
    }

    // The first copy goes on writing its start-up values after it took the
    // marker; wait until its files have stayed the same for a second.
    auto settledSnapshot() {
        auto last = snapshot(dir.path());
        QElapsedTimer quiet;
        quiet.start();
        QElapsedTimer total;
        total.start();
        while (quiet.elapsed() < 1000 && total.elapsed() < 20000) {
            QThread::msleep(100);
            auto now = snapshot(dir.path());
            if (now != last) {
                last = std::move(now);
                quiet.restart();
            }
        }
        return last;
    }

    static void end(QProcess& process) {
        if (process.state() == QProcess::NotRunning) return;
        process.kill();
        process.waitForFinished(5000);
    }

    modshelf::test::TempDir dir;
    QString program;
    QProcessEnvironment env;
};

TEST_F(TwoCopies, SecondCopyShowsTheNoticeForThreeSecondsAndEndsWritingNothing) {
    QProcess first;
    start(first);
    ASSERT_TRUE(markerHeld(20000)) << "the first copy never took the marker";
    const auto before = settledSnapshot();

    QProcess second;
    start(second);
    QElapsedTimer timer;
    timer.start();
    ASSERT_TRUE(second.waitForFinished(20000)) << "the second copy did not end";
    EXPECT_GE(timer.elapsed(), 2500) << "the notice's countdown is three seconds";
    EXPECT_EQ(second.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(second.exitCode(), 1);

    EXPECT_EQ(first.state(), QProcess::Running);
    EXPECT_EQ(snapshot(dir.path()), before);

    // Once the first copy is gone (killed, so it cleaned nothing up), the next one starts.
    end(first);
    QProcess third;
    start(third);
    EXPECT_TRUE(markerHeld(20000));
    EXPECT_EQ(third.state(), QProcess::Running);
    end(third);
}

}  // namespace
}  // namespace modshelf::gui::testing
