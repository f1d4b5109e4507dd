// Against Wine itself while its server runs: one prefix made by wineboot for
// every case here, since each start of Wine costs seconds.
#include <gtest/gtest.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <memory>
#include <thread>

#include "core/settings/RegistryAccess.h"
#include "platform/linux/WinePrefixSettingsStore.h"
#include "platform/linux/WineRegistryTool.h"
#include "platform/linux/WineServerProbe.h"
#include "support/TempDir.h"

using namespace modshelf::settings;
using namespace std::chrono_literals;
using modshelf::platform::LiveRegistry;
using modshelf::platform::SystemWineServerProbe;
using modshelf::platform::systemWineServerProbe;
using modshelf::platform::WinePrefixSettingsStore;
using modshelf::platform::WineRegistryTool;
using modshelf::test::readFile;
using modshelf::test::TempDir;

namespace {

const std::string kKey = "Software\\Quorvel\\ModshelfLiveTest";

std::string quotedArg(const std::string& text) {
    std::string out = "'";
    for (char c : text) out += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return out + "'";
}

class LivePrefix {
public:
    std::string environment() const {
        return "WINEPREFIX=" + quotedArg(dir_.path().string()) +
               " WINEDEBUG=-all WINEDLLOVERRIDES='mscoree,mshtml,winemenubuilder.exe=d' ";
    }
    int run(const std::string& command) const {
        return std::system((environment() + command + " >/dev/null 2>&1").c_str());
    }
    std::string output(const std::string& command) const {
        std::string text;
        std::unique_ptr<FILE, int (*)(FILE*)> pipe(
            popen((environment() + command + " 2>/dev/null").c_str(), "r"), pclose);
        char buffer[4096];
        while (pipe && std::fread(buffer, 1, 1, pipe.get()) == 1) text.push_back(buffer[0]);
        return text;
    }
    void stopServer() const {
        run("wineserver -k");
        run("wineserver -w");
    }
    bool waitFor(bool running, std::chrono::milliseconds limit = 10s) const {
        const auto end = std::chrono::steady_clock::now() + limit;
        while (std::chrono::steady_clock::now() < end) {
            if (systemWineServerProbe()->probe(path()).running == running) return true;
            std::this_thread::sleep_for(50ms);
        }
        return false;
    }
    const std::filesystem::path& path() const { return dir_.path(); }

private:
    TempDir dir_;
};

class CountingTool : public LiveRegistry {
public:
    explicit CountingTool(const std::filesystem::path& prefix) : tool_(prefix) {}
    int imports = 0;
    bool exportKey(const std::string& key, std::string& text, std::string& error) override {
        return tool_.exportKey(key, text, error);
    }
    bool import(const std::string& text, std::string& error) override {
        ++imports;
        return tool_.import(text, error);
    }
    void useServerFolder(const std::filesystem::path& dir) override { tool_.useServerFolder(dir); }

private:
    WineRegistryTool tool_;
};

// A save whose disk is slow: a Wine program starts while the file is replaced.
class SlowSaveStore : public WinePrefixSettingsStore {
public:
    // waitForServer: hold the save until the started server is there (the
    // unguarded case, where nothing stops it), so that a slow start on a busy
    // machine cannot hide the loss; otherwise give it a fixed while.
    SlowSaveStore(const LivePrefix& prefix, Options options, bool waitForServer)
        : WinePrefixSettingsStore(prefix.path(), std::move(options)),
          prefix_(prefix),
          waitForServer_(waitForServer) {}

protected:
    bool writeHiveFile(const std::filesystem::path& file, const std::string& text,
                       std::string& error) override {
        std::system(
            (prefix_.environment() + "wine reg query 'HKCU\\Software' >/dev/null 2>&1 &").c_str());
        if (waitForServer_) {
            for (int i = 0; i < 300 && !SystemWineServerProbe::probeProcesses(prefix_.path()).running;
                 ++i)
                std::this_thread::sleep_for(100ms);
            std::this_thread::sleep_for(1000ms);  // it reads the files right after it starts
        } else {
            std::this_thread::sleep_for(2500ms);
        }
        return WinePrefixSettingsStore::writeHiveFile(file, text, error);
    }

private:
    const LivePrefix& prefix_;
    bool waitForServer_;
};

bool haveWine() {
    return std::system("command -v wine >/dev/null && command -v wineserver >/dev/null") == 0;
}

}  // namespace

class LiveWine : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        if (!haveWine()) return;
        prefix_ = new LivePrefix;
        prefix_->run("wineboot -i");
        prefix_->run("wineserver -w");
    }
    static void TearDownTestSuite() {
        if (prefix_) prefix_->stopServer();
        delete prefix_;
        prefix_ = nullptr;
    }
    void SetUp() override {
        if (!prefix_) GTEST_SKIP() << "Wine is not installed";
        if (!std::filesystem::exists(prefix_->path() / "user.reg"))
            GTEST_SKIP() << "wineboot did not make a prefix here";
    }
    WinePrefixSettingsStore::Options liveOptions(std::shared_ptr<LiveRegistry> tool) const {
        WinePrefixSettingsStore::Options options;
        options.serverProbe = systemWineServerProbe();
        options.liveRegistry = std::move(tool);
        return options;
    }
    static LivePrefix* prefix_;
};

LivePrefix* LiveWine::prefix_ = nullptr;

TEST_F(LiveWine, WhileTheServerRunsChangesGoThroughItAndItsStateIsRead) {
    ASSERT_EQ(prefix_->run("wineserver -p 60"), 0);
    ASSERT_TRUE(prefix_->waitFor(true));
    auto tool = std::make_shared<CountingTool>(prefix_->path());
    WinePrefixSettingsStore store(prefix_->path(), liveOptions(tool));
    std::vector<std::string> reported;
    store.setSaveFailureListener([&](const std::string& m) { reported.push_back(m); });

    {
        SettingsOperation operation(store);
        SetRegString(store, kKey, "Text", "C:\\Program Files\\Scrivel\\ \"quoted\"\ttab");
        SetRegString(store, kKey, "Unicode", "Gen\xc3\xa8se \xe2\x80\x94 \xf0\x9f\x93\x96");
        SetRegDword(store, kKey + "\\Settings", "GridLines", 1);
        SetRegString(store, kKey + "\\Bibles", "KJV", "True");
        ASSERT_EQ(operation.commit(), kSuccess) << store.lastError();
    }
    EXPECT_EQ(tool->imports, 1);
    const std::string query = prefix_->output("wine reg query 'HKCU\\" + kKey + "' /s");
    EXPECT_NE(query.find("GridLines    REG_DWORD    0x1"), std::string::npos) << query;
    EXPECT_NE(query.find("KJV    REG_SZ    True"), std::string::npos) << query;

    // What is stored already is not written again.
    SetRegString(store, kKey + "\\Bibles", "KJV", "True");
    SetRegDword(store, kKey + "\\Settings", "GridLines", 1);
    EXPECT_EQ(tool->imports, 1);

    // A change made by a Wine program is seen at once, long before Wine saves it.
    ASSERT_EQ(prefix_->run("wine reg add 'HKCU\\" + kKey + "\\Bibles' /v ASV /d False /f"), 0);
    std::this_thread::sleep_for(1100ms);
    EXPECT_EQ(GetRegString(store, RegRoot::CurrentUser, kKey + "\\Bibles", "ASV"), "False");
    EXPECT_TRUE(reported.empty()) << reported.front();

    // Wine keeps what we gave it: its own save at exit has it.
    prefix_->stopServer();
    const std::string saved = readFile(prefix_->path() / "user.reg");
    EXPECT_NE(saved.find("\"KJV\"=\"True\""), std::string::npos);
    EXPECT_NE(saved.find("\"ASV\"=\"False\""), std::string::npos);
    WinePrefixSettingsStore reread(prefix_->path(), liveOptions(tool));
    EXPECT_EQ(GetRegString(reread, RegRoot::CurrentUser, kKey, "Unicode"),
              "Gen\xc3\xa8se \xe2\x80\x94 \xf0\x9f\x93\x96");
}

TEST_F(LiveWine, AServerStartedWithAnotherTmpdirIsFound) {
    prefix_->stopServer();
    TempDir otherTmp;
    const std::string tmpdir = "TMPDIR=" + quotedArg(otherTmp.path().string()) + " ";
    ASSERT_EQ(prefix_->run(tmpdir + "wineserver -p 30"), 0);
    bool found = false;
    for (int i = 0; i < 100 && !found; ++i) {
        found = SystemWineServerProbe::probeProcesses(prefix_->path()).running;
        if (!found) std::this_thread::sleep_for(50ms);
    }
    // Its lock lies where the lock files alone do not lead.
    EXPECT_FALSE(SystemWineServerProbe::probeLocks(prefix_->path()).running);
    EXPECT_TRUE(found);
    // The starting process hands over to the daemon; the probe finds that one too.
    bool probed = false;
    for (int i = 0; i < 100 && !probed; ++i) {
        probed = systemWineServerProbe()->probe(prefix_->path()).running;
        if (!probed) std::this_thread::sleep_for(50ms);
    }
    EXPECT_TRUE(probed);

    // So a save goes through that server rather than into a file it would overwrite.
    WinePrefixSettingsStore store(prefix_->path(),
                                  liveOptions(std::make_shared<WineRegistryTool>(prefix_->path())));
    EXPECT_EQ(SetRegString(store, kKey, "OtherTmp", "seen"), kSuccess) << store.lastError();
    EXPECT_NE(
        prefix_->output(tmpdir + "wine reg query 'HKCU\\" + kKey + "' /v OtherTmp").find("seen"),
        std::string::npos);
    prefix_->run(tmpdir + "wineserver -k");
    prefix_->run(tmpdir + "wineserver -w");
}

// A server that starts between our look and the rename loads the old file;
// when it saves later (something else changed), our value would be gone.
TEST_F(LiveWine, AServerStartingDuringAnOfflineSaveDoesNotLoseTheChange) {
    for (const bool guarded : {false, true}) {
        prefix_->stopServer();
        ASSERT_TRUE(prefix_->waitFor(false));
        const std::string value = guarded ? "guarded" : "unguarded";
        {
            WinePrefixSettingsStore::Options options =
                liveOptions(std::make_shared<WineRegistryTool>(prefix_->path()));
            options.guardServerStart = guarded;
            SlowSaveStore store(*prefix_, options, !guarded);
            EXPECT_EQ(SetRegString(store, kKey, "Gap", value), kSuccess) << store.lastError();
        }
        prefix_->run("wine reg add 'HKCU\\Software\\Quorvel\\Elsewhere' /v x /d " + value + " /f");
        prefix_->stopServer();
        const std::string saved = readFile(prefix_->path() / "user.reg");
        ASSERT_NE(saved.find("\"x\"=\"" + value + "\""), std::string::npos);
        if (guarded)
            EXPECT_NE(saved.find("\"Gap\"=\"guarded\""), std::string::npos);
        else  // the loss that the guard prevents
            EXPECT_EQ(saved.find("\"Gap\"=\"unguarded\""), std::string::npos);
    }
}
