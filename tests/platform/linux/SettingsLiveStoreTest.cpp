// The prefix store while a wineserver runs: reads and writes go through the
// server (here a fake one holding its own copy of HKEY_CURRENT_USER).
#include <gtest/gtest.h>

#include <cstdlib>
#include <functional>

#include "core/settings/RegEditFile.h"
#include "core/settings/RegistryAccess.h"
#include "platform/linux/SettingsStoreFactory.h"
#include "platform/linux/WinePrefixSettingsStore.h"
#include "support/TempDir.h"

using namespace modshelf::settings;
using modshelf::platform::LiveRegistry;
using modshelf::platform::WinePrefixSettingsStore;
using modshelf::platform::WineServerProbe;
using modshelf::platform::WineServerStatus;
using modshelf::test::readFile;
using modshelf::test::TempDir;
using modshelf::test::writeFile;

namespace {

const std::string kScrivelSettings = "Software\\VB and VBA Program Settings\\Scrivel\\Settings";
const std::string kBibles = "Software\\VB and VBA Program Settings\\Scrivel\\Resource\\Bibles";

const std::string kUserReg =
    "WINE REGISTRY Version 2\n"
    ";; All keys relative to REGISTRY\\\\User\\\\S-1-5-21-0-0-0-1000\n"
    "\n"
    "#arch=win64\n"
    "\n"
    "[Software\\\\VB and VBA Program Settings\\\\Scrivel\\\\Settings] 1700000000\n"
    "#time=1da1e0a3b6c7d80\n"
    "\"Tab Style\"=\"1\"\n";

class SwitchProbe : public WineServerProbe {
public:
    bool running = false;
    mutable int probes = 0;
    WineServerStatus probe(const std::filesystem::path&) const override {
        ++probes;
        WineServerStatus status;
        status.running = running;
        status.pid = running ? 4242 : 0;
        return status;
    }
};

// A server's registry: what Wine's "reg export" and "reg import" would see.
class FakeServer : public LiveRegistry {
public:
    RegistryTree user;
    int imports = 0;
    int exports = 0;
    std::function<bool(const std::string& line)> skipsLine;  // lines Wine's importer ignores

    bool exportKey(const std::string& key, std::string& text, std::string& error) override {
        ++exports;
        if (key != "HKEY_CURRENT_USER") {
            error = "unexpected key";
            return false;
        }
        std::vector<RegEditChange> all;
        addKey(user.root(), "HKEY_CURRENT_USER", all);
        text = regEditText(all);
        return true;
    }
    bool import(const std::string& text, std::string& error) override {
        ++imports;
        std::string kept;
        std::size_t start = 0;
        while (start < text.size()) {
            std::size_t end = text.find('\n', start);
            if (end == std::string::npos) end = text.size();
            const std::string line = text.substr(start, end + 1 - start);
            if (!skipsLine || !skipsLine(line)) kept += line;
            start = end + 1;
        }
        return applyRegEdit(kept, "HKEY_CURRENT_USER", user, error);
    }

private:
    static void addKey(const KeyNode& node, const std::string& path,
                       std::vector<RegEditChange>& out) {
        out.push_back({RegEditChange::Kind::CreateKey, path, {}, {}});
        for (const auto& value : node.values)
            out.push_back({RegEditChange::Kind::SetValue, path, value.name, value.value});
        for (const auto& child : node.subkeys) addKey(child, path + "\\" + child.name, out);
    }
};

class CountingStore : public WinePrefixSettingsStore {
public:
    using WinePrefixSettingsStore::WinePrefixSettingsStore;
    int fileWrites = 0;

protected:
    bool writeHiveFile(const std::filesystem::path& file, const std::string& text,
                       std::string& error) override {
        ++fileWrites;
        return WinePrefixSettingsStore::writeHiveFile(file, text, error);
    }
};

struct LivePrefix {
    TempDir dir;
    std::shared_ptr<SwitchProbe> probe = std::make_shared<SwitchProbe>();
    std::shared_ptr<FakeServer> server = std::make_shared<FakeServer>();
    std::unique_ptr<CountingStore> store;
    std::vector<std::string> reported;

    LivePrefix() {
        writeFile(dir / "user.reg", kUserReg);
        // The server holds newer values than the file, as it does between saves.
        server->user.findOrCreate(kScrivelSettings)
            .setValue("Tab Style", RegValue::fromString("0"));
        server->user.findOrCreate(kBibles).setValue("KJV", RegValue::fromString("True"));
        WinePrefixSettingsStore::Options options;
        options.serverProbe = probe;
        options.liveRegistry = server;
        options.recheckInterval = std::chrono::milliseconds(0);
        store = std::make_unique<CountingStore>(dir.path(), options);
        store->setSaveFailureListener([this](const std::string& m) { reported.push_back(m); });
    }
    std::string serverValue(const std::string& key, const std::string& name) const {
        const KeyNode* node = server->user.find(key);
        const NamedValue* value = node ? node->findValue(name) : nullptr;
        return value ? value->value.text() : "<none>";
    }
};

}  // namespace

TEST(SettingsLiveStore, WhileWineRunsReadsAndWritesGoThroughTheServerAndAreReadBack) {
    LivePrefix prefix;
    prefix.probe->running = true;

    EXPECT_EQ(GetRegString(*prefix.store, RegRoot::CurrentUser, kScrivelSettings, "Tab Style"),
              "0");
    EXPECT_EQ(GetRegString(*prefix.store, RegRoot::CurrentUser, kBibles, "KJV"), "True");

    const int exportsBefore = prefix.server->exports;
    {
        SettingsOperation operation(*prefix.store);
        for (const char* name : {"ASV", "WEB", "KJV"})
            SetRegString(*prefix.store, kBibles, name, "False");
        EXPECT_EQ(operation.commit(), kSuccess);
    }
    EXPECT_EQ(prefix.server->imports, 1);
    EXPECT_GE(prefix.server->exports, exportsBefore + 1);  // the read-back
    EXPECT_EQ(prefix.serverValue(kBibles, "ASV"), "False");
    EXPECT_EQ(prefix.serverValue(kBibles, "KJV"), "False");
    EXPECT_EQ(prefix.store->fileWrites, 0);
    EXPECT_EQ(readFile(prefix.dir / "user.reg"), kUserReg);
    EXPECT_TRUE(prefix.reported.empty());

    // Someone else (Scrivel) changes a value in the server: the next read sees it.
    prefix.server->user.findOrCreate(kBibles).setValue("WEB", RegValue::fromString("True"));
    EXPECT_EQ(GetRegString(*prefix.store, RegRoot::CurrentUser, kBibles, "WEB"), "True");
}

TEST(SettingsLiveStore, WritingWhatIsStoredSavesNothingWithOrWithoutWine) {
    for (const bool running : {true, false}) {
        LivePrefix prefix;
        prefix.probe->running = running;
        const std::string stored = running ? "0" : "1";
        EXPECT_EQ(SetRegString(*prefix.store, kScrivelSettings, "Tab Style", stored), kSuccess);
        {
            SettingsOperation operation(*prefix.store);
            SetRegString(*prefix.store, kScrivelSettings, "Tab Style", stored);
            EXPECT_EQ(operation.commit(), kSuccess);
        }
        EXPECT_EQ(prefix.server->imports, 0) << running;
        EXPECT_EQ(prefix.store->fileWrites, 0) << running;
        EXPECT_TRUE(prefix.reported.empty()) << running;
    }
}

TEST(SettingsLiveStore, AChangeWineDidNotTakeIsReportedByNameAndNotKept) {
    LivePrefix prefix;
    prefix.probe->running = true;
    prefix.server->skipsLine = [](const std::string& line) {
        return line.find("\"NIV\"") != std::string::npos;
    };
    {
        SettingsOperation operation(*prefix.store);
        SetRegString(*prefix.store, kBibles, "ASV", "True");
        SetRegString(*prefix.store, kBibles, "NIV", "True");
        EXPECT_EQ(operation.commit(), kWriteFault);
    }
    ASSERT_EQ(prefix.reported.size(), 1u);
    EXPECT_NE(prefix.reported[0].find("\"NIV\""), std::string::npos) << prefix.reported[0];
    EXPECT_EQ(prefix.reported[0].find("\"ASV\""), std::string::npos) << prefix.reported[0];
    // The store shows what Wine holds, not what it failed to take.
    EXPECT_EQ(GetRegString(*prefix.store, RegRoot::CurrentUser, kBibles, "NIV"), "");
    EXPECT_EQ(GetRegString(*prefix.store, RegRoot::CurrentUser, kBibles, "ASV"), "True");
}

TEST(SettingsLiveStore, WhenTheServerEndsTheFilesAreUsedAgain) {
    LivePrefix prefix;
    prefix.probe->running = true;
    EXPECT_EQ(GetRegString(*prefix.store, RegRoot::CurrentUser, kScrivelSettings, "Tab Style"),
              "0");

    // At its exit the server saves what it held.
    prefix.probe->running = false;
    std::string saved = kUserReg;
    saved.replace(saved.find("\"1\""), 3, "\"2\"");
    writeFile(prefix.dir / "user.reg", saved);
    EXPECT_EQ(GetRegString(*prefix.store, RegRoot::CurrentUser, kScrivelSettings, "Tab Style"),
              "2");

    EXPECT_EQ(SetRegString(*prefix.store, kScrivelSettings, "Tab Style", "1"), kSuccess);
    EXPECT_EQ(prefix.store->fileWrites, 1);
    EXPECT_EQ(prefix.server->imports, 0);
    EXPECT_NE(readFile(prefix.dir / "user.reg").find("\"Tab Style\"=\"1\""), std::string::npos);
}

TEST(SettingsStoreFactory, ARelativePrefixIsRefusedAsWineRefusesIt) {
    TempDir data;
    TempDir work;
    const std::filesystem::path savedCwd = std::filesystem::current_path();
    std::filesystem::current_path(work.path());
    std::filesystem::create_directories(work / "pfx");
    writeFile(work / "pfx" / "user.reg", kUserReg);
    ::setenv("WINEPREFIX", "pfx", 1);
    ::setenv("XDG_DATA_HOME", data.path().c_str(), 1);

    auto opened = modshelf::platform::openSettingsStore();
    std::filesystem::current_path(savedCwd);
    ::unsetenv("WINEPREFIX");
    ::unsetenv("XDG_DATA_HOME");

    EXPECT_FALSE(opened.inWinePrefix);
    EXPECT_NE(opened.noticeText.find("\"pfx\", which is not an absolute path"), std::string::npos)
        << opened.noticeText;
    EXPECT_EQ(readFile(work / "pfx" / "user.reg"), kUserReg);
}
