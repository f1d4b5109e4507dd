// Against Wine itself while its server runs: one prefix made by wineboot for
// every case here, since each start of Wine costs seconds.
#include <gtest/gtest.h>
#include <signal.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <memory>
#include <thread>

#include "WineTestPrefix.h"
#include "core/settings/RegEditFile.h"
#include "core/settings/RegistryAccess.h"
#include "platform/linux/WinePrefixSettingsStore.h"
#include "platform/linux/WineRegistryHelper.h"
#include "platform/linux/WineRegistryTool.h"
#include "platform/linux/WineServerProbe.h"
#include "support/TempDir.h"

using namespace modshelf::settings;
using namespace std::chrono_literals;
using modshelf::platform::LiveRegistry;
using modshelf::platform::SystemWineServerProbe;
using modshelf::platform::systemWineServerProbe;
using modshelf::platform::WinePrefixSettingsStore;
using modshelf::platform::WineRegistryHelper;
using modshelf::platform::WineRegistryTool;
using modshelf::test::readFile;
using modshelf::test::shellQuoted;
using modshelf::test::TempDir;
using modshelf::test::WineTestPrefix;

namespace {

const std::string kKey = "Software\\Quorvel\\ModshelfLiveTest";

const std::filesystem::path kHelperExe = MODSHELF_BINARY_DIR "/src/modshelf-reg.exe";

bool haveHelper() {
    return std::filesystem::exists(kHelperExe);
}

class CountingTool : public LiveRegistry {
public:
    explicit CountingTool(std::shared_ptr<LiveRegistry> tool) : tool_(std::move(tool)) {}
    int imports = 0;
    bool exportKey(const std::string& key, std::string& text, std::string& error) override {
        return tool_->exportKey(key, text, error);
    }
    bool import(const std::string& text, std::string& error) override {
        ++imports;
        return tool_->import(text, error);
    }
    void useServerFolder(const std::filesystem::path& dir) override { tool_->useServerFolder(dir); }

private:
    std::shared_ptr<LiveRegistry> tool_;
};

// A save whose disk is slow: a Wine program starts while the file is replaced.
class SlowSaveStore : public WinePrefixSettingsStore {
public:
    // waitForServer: hold the save until the started server is there (the
    // unguarded case, where nothing stops it), so that a slow start on a busy
    // machine cannot hide the loss; otherwise give it a fixed while.
    SlowSaveStore(const WineTestPrefix& prefix, Options options, bool waitForServer)
        : WinePrefixSettingsStore(prefix.path(), std::move(options)),
          prefix_(prefix),
          waitForServer_(waitForServer) {}

protected:
    bool writeHiveFile(const std::filesystem::path& file, const std::string& text,
                       std::string& error) override {
        std::system(
            (prefix_.environment() + "wine reg query 'HKCU\\Software' >/dev/null 2>&1 &").c_str());
        if (waitForServer_) {
            for (int i = 0;
                 i < 300 && !SystemWineServerProbe::probeProcesses(prefix_.path()).running; ++i)
                std::this_thread::sleep_for(100ms);
            std::this_thread::sleep_for(1000ms);  // it reads the files right after it starts
        } else {
            std::this_thread::sleep_for(2500ms);
        }
        return WinePrefixSettingsStore::writeHiveFile(file, text, error);
    }

private:
    const WineTestPrefix& prefix_;
    bool waitForServer_;
};

}  // namespace

class LiveWine : public ::testing::Test {
protected:
    static void SetUpTestSuite() { prefix_ = WineTestPrefix::boot().release(); }
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
    static WineTestPrefix* prefix_;
};

WineTestPrefix* LiveWine::prefix_ = nullptr;

// Wine's own "reg" program and our helper must behave alike.
TEST_F(LiveWine, WhileTheServerRunsChangesGoThroughItAndItsStateIsRead) {
    for (const bool helper : {false, true}) {
        if (helper && !haveHelper()) continue;
        SCOPED_TRACE(helper ? "helper" : "reg tool");
        const std::string key = kKey + (helper ? "\\Helper" : "\\Tool");
        ASSERT_EQ(prefix_->run("wineserver -p 60"), 0);
        ASSERT_TRUE(prefix_->waitForServer(true));
        std::shared_ptr<LiveRegistry> live;
        if (helper)
            live = std::make_shared<WineRegistryHelper>(prefix_->path(), kHelperExe);
        else
            live = std::make_shared<WineRegistryTool>(prefix_->path());
        auto tool = std::make_shared<CountingTool>(live);
        WinePrefixSettingsStore store(prefix_->path(), liveOptions(tool));
        std::vector<std::string> reported;
        store.setSaveFailureListener([&](const std::string& m) { reported.push_back(m); });

        {
            SettingsOperation operation(store);
            SetRegString(store, key, "Text", "C:\\Program Files\\Scrivel\\ \"quoted\"\ttab");
            SetRegString(store, key, "Unicode", "Gen\xc3\xa8se \xe2\x80\x94 \xf0\x9f\x93\x96");
            SetRegDword(store, key + "\\Settings", "GridLines", 1);
            SetRegString(store, key + "\\Bibles", "KJV", "True");
            ASSERT_EQ(operation.commit(), kSuccess) << store.lastError();
        }
        EXPECT_EQ(tool->imports, 1);
        const std::string query = prefix_->output("wine reg query 'HKCU\\" + key + "' /s");
        EXPECT_NE(query.find("GridLines    REG_DWORD    0x1"), std::string::npos) << query;
        EXPECT_NE(query.find("KJV    REG_SZ    True"), std::string::npos) << query;

        // What is stored already is not written again.
        SetRegString(store, key + "\\Bibles", "KJV", "True");
        SetRegDword(store, key + "\\Settings", "GridLines", 1);
        EXPECT_EQ(tool->imports, 1);

        // A change made by a Wine program is seen at once, long before Wine saves it.
        ASSERT_EQ(prefix_->run("wine reg add 'HKCU\\" + key + "\\Bibles' /v ASV /d False /f"), 0);
        std::this_thread::sleep_for(1100ms);
        EXPECT_EQ(GetRegString(store, RegRoot::CurrentUser, key + "\\Bibles", "ASV"), "False");
        EXPECT_TRUE(reported.empty()) << reported.front();

        // Wine keeps what we gave it: its own save at exit has it.
        prefix_->stopServer();
        const std::string saved = readFile(prefix_->path() / "user.reg");
        EXPECT_NE(saved.find("\"KJV\"=\"True\""), std::string::npos);
        EXPECT_NE(saved.find("\"ASV\"=\"False\""), std::string::npos);
        WinePrefixSettingsStore reread(prefix_->path(), liveOptions(tool));
        EXPECT_EQ(GetRegString(reread, RegRoot::CurrentUser, key, "Unicode"),
                  "Gen\xc3\xa8se \xe2\x80\x94 \xf0\x9f\x93\x96");
    }
}

TEST_F(LiveWine, AServerStartedWithAnotherTmpdirIsFound) {
    prefix_->stopServer();
    TempDir otherTmp;
    const std::string tmpdir = "TMPDIR=" + shellQuoted(otherTmp.path().string()) + " ";
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

    // So a save goes through that server rather than into a file it would
    // overwrite, by Wine's "reg" and by our helper alike.
    for (const bool helper : {false, true}) {
        if (helper && !haveHelper()) continue;
        std::shared_ptr<LiveRegistry> live;
        if (helper)
            live = std::make_shared<WineRegistryHelper>(prefix_->path(), kHelperExe);
        else
            live = std::make_shared<WineRegistryTool>(prefix_->path());
        const std::string name = helper ? "OtherTmpHelper" : "OtherTmp";
        WinePrefixSettingsStore store(prefix_->path(), liveOptions(live));
        EXPECT_EQ(SetRegString(store, kKey, name, "seen"), kSuccess) << store.lastError();
        EXPECT_NE(
            prefix_->output(tmpdir + "wine reg query 'HKCU\\" + kKey + "' /v " + name).find("seen"),
            std::string::npos)
            << name;
    }
    prefix_->run(tmpdir + "wineserver -k");
    prefix_->run(tmpdir + "wineserver -w");
}

// A server that starts between our look and the rename loads the old file;
// when it saves later (something else changed), our value would be gone.
TEST_F(LiveWine, AServerStartingDuringAnOfflineSaveDoesNotLoseTheChange) {
    for (const bool guarded : {false, true}) {
        prefix_->stopServer();
        ASSERT_TRUE(prefix_->waitForServer(false));
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

namespace {

bool processGone(pid_t pid) {
    return pid <= 0 || (::kill(pid, 0) != 0 && errno == ESRCH);
}

template <typename Condition>
bool within(std::chrono::milliseconds limit, Condition condition) {
    const auto end = std::chrono::steady_clock::now() + limit;
    while (std::chrono::steady_clock::now() < end) {
        if (condition()) return true;
        std::this_thread::sleep_for(50ms);
    }
    return condition();
}

}  // namespace

// What the helper writes, Wine's own "reg" reads back byte for byte, and the
// helper reads it back so too, through the server's save and value by value.
TEST_F(LiveWine, TheHelperCarriesEveryTypeExactlyAndRemovesWhatItIsTold) {
    if (!haveHelper()) GTEST_SKIP() << "modshelf-reg.exe was not built (no mingw-w64)";
    ASSERT_EQ(prefix_->run("wineserver -p 60"), 0);
    ASSERT_TRUE(prefix_->waitForServer(true));
    using Kind = RegEditChange::Kind;
    const std::vector<std::pair<std::string, RegValue>> values = {
        {"plain", RegValue::fromString("True")},
        {"N\xc3\xa4me \"quoted\" \\ \xe2\x80\x94",
         RegValue::fromString("C:\\Program Files\\\"x\"")},
        {"utf8", RegValue::fromString("Gen\xc3\xa8se \xe2\x80\x94 \xf0\x9f\x93\x96")},
        {"lines", RegValue::fromString("two\nlines\r\tand tab")},
        {"", RegValue::fromString("default \xc3\xa9")},
        {"empty", RegValue::fromString("")},
        {"dword", RegValue::fromDword(0xdeadbeef)},
        {"binary", RegValue::fromBytes(std::string("\x00\x01\xff", 3))},
        {"long binary", RegValue::fromBytes(std::string(300, '\x5a'))},
        {"multi", RegValue::fromBytes(std::string("a\0\xc3\xa9\0\0", 6), kRegMultiSz)},
        {"expand", RegValue::fromString("%USERPROFILE%\\x", kRegExpandSz)},
        {"qword",
         RegValue::fromBytes(std::string("\x01\x02\x03\x04\x05\x06\x07\x08", 8), kRegQword)},
    };
    for (const bool serverSave : {true, false}) {
        SCOPED_TRACE(serverSave ? "read through the server's save" : "read value by value");
        WineRegistryHelper::Options options;
        options.serverSave = serverSave;
        WineRegistryHelper helper(prefix_->path(), kHelperExe, options);
        const std::string base =
            "HKEY_CURRENT_USER\\" + kKey + (serverSave ? "\\TypesSaved" : "\\TypesEnumerated");
        std::vector<RegEditChange> changes = {
            {Kind::CreateKey, base + "\\Gone\\Deeper\\Deepest", {}, {}},
            {Kind::SetValue, base + "\\Gone\\Deeper", "x", RegValue::fromString("1")},
            {Kind::SetValue, base, "doomed", RegValue::fromDword(1)},
        };
        for (const auto& [name, value] : values)
            changes.push_back({Kind::SetValue, base, name, value});
        std::string error;
        ASSERT_TRUE(helper.import(regEditText(changes), error)) << error;
        EXPECT_TRUE(helper.lastRefusals().empty()) << helper.lastRefusals().front();
        ASSERT_TRUE(helper.import(regEditText({{Kind::DeleteValue, base, "doomed", {}},
                                               {Kind::DeleteKey, base + "\\Gone", {}, {}},
                                               {Kind::DeleteValue, base + "\\Never", "x", {}}}),
                                  error))
            << error;
        EXPECT_TRUE(helper.lastRefusals().empty()) << helper.lastRefusals().front();

        WineRegistryTool tool(prefix_->path());
        for (LiveRegistry* reader :
             {static_cast<LiveRegistry*>(&helper), static_cast<LiveRegistry*>(&tool)}) {
            SCOPED_TRACE(reader == &tool ? "read by reg" : "read by the helper");
            std::string text;
            RegistryTree tree;
            ASSERT_TRUE(reader->exportKey(base, text, error)) << error;
            ASSERT_TRUE(parseRegEdit(text, base, tree, error)) << error;
            EXPECT_EQ(tree.root().values.size(), values.size());
            for (const auto& [name, value] : values) {
                const NamedValue* got = tree.root().findValue(name);
                ASSERT_NE(got, nullptr) << name;
                EXPECT_EQ(got->value, value) << name;
            }
            EXPECT_EQ(tree.find("Gone"), nullptr);
        }

        // A change that another Wine program makes is read at once, also
        // where an unchanged branch is answered from memory.
        ASSERT_EQ(prefix_->run("wine reg add '" + base + "' /v Later /d yes /f"), 0);
        std::string text;
        ASSERT_TRUE(helper.exportKey(base, text, error)) << error;
        EXPECT_NE(text.find("\"Later\"=\"yes\""), std::string::npos) << text;
    }
    prefix_->stopServer();
}

// The helper must never keep the user's wineserver alive: it ends when idle
// and at once with its owner. Killed in between, it is replaced silently.
TEST_F(LiveWine, TheHelperLetsTheServerEndAndSurvivesBeingKilled) {
    if (!haveHelper()) GTEST_SKIP() << "modshelf-reg.exe was not built (no mingw-w64)";
    prefix_->stopServer();
    ASSERT_TRUE(prefix_->waitForServer(false));
    WineRegistryHelper::Options options;
    options.idleExit = 1500ms;
    auto helper = std::make_shared<WineRegistryHelper>(prefix_->path(), kHelperExe, options);
    std::string text, error;
    ASSERT_TRUE(helper->exportKey("HKEY_CURRENT_USER\\Software", text, error)) << error;
    const pid_t first = helper->helperProcess();
    ASSERT_GT(first, 0);
    ASSERT_TRUE(prefix_->waitForServer(true));

    // Killed: the store's next save goes through a new helper, without an error.
    ::kill(first, SIGKILL);
    {
        WinePrefixSettingsStore store(prefix_->path(), liveOptions(helper));
        EXPECT_EQ(SetRegString(store, kKey, "AfterKill", "saved"), kSuccess) << store.lastError();
        EXPECT_NE(helper->helperProcess(), first);
        EXPECT_GT(helper->helperProcess(), 0);
    }
    EXPECT_NE(prefix_->output("wine reg query 'HKCU\\" + kKey + "' /v AfterKill").find("saved"),
              std::string::npos);

    // Idle, it ends by itself, and then the server ends too.
    EXPECT_TRUE(within(10s, [&] { return helper->helperProcess() == 0; }));
    EXPECT_TRUE(prefix_->waitForServer(false, 20s));

    // Its owner gone, it ends at once, and the server after it.
    ASSERT_TRUE(helper->exportKey("HKEY_CURRENT_USER\\Software", text, error)) << error;
    const pid_t last = helper->helperProcess();
    ASSERT_GT(last, 0);
    helper.reset();
    EXPECT_TRUE(processGone(last));
    EXPECT_TRUE(prefix_->waitForServer(false, 20s));
}
