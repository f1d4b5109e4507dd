// Against Wine itself: a real prefix made by wineboot, written by our store,
// read back by Wine's own tools, saved again by Wine and read by us.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <memory>

#include "WineTestPrefix.h"
#include "core/settings/RegistryAccess.h"
#include "core/settings/Utf16.h"
#include "core/settings/WineHive.h"
#include "platform/linux/WinePrefixSettingsStore.h"
#include "platform/linux/WineServerProbe.h"
#include "support/TempDir.h"

using namespace modshelf::settings;
using modshelf::platform::systemWineServerProbe;
using modshelf::platform::WinePrefixSettingsStore;
using modshelf::test::readFile;
using modshelf::test::shellQuoted;
using modshelf::test::TempDir;
using modshelf::test::WineTestPrefix;

namespace {

const std::string kKey = "Software\\Quorvel\\ModshelfWineTest";

class WineRegistry : public ::testing::Test {
protected:
    static void SetUpTestSuite() { prefix_ = WineTestPrefix::boot().release(); }
    static void TearDownTestSuite() {
        if (prefix_) prefix_->run("wineserver -k");
        delete prefix_;
        prefix_ = nullptr;
    }
    void SetUp() override {
        if (!prefix_) GTEST_SKIP() << "Wine is not installed";
        if (!std::filesystem::exists(prefix_->path() / "user.reg"))
            GTEST_SKIP() << "wineboot did not make a prefix here";
    }
    static WineTestPrefix* prefix_;
};

WineTestPrefix* WineRegistry::prefix_ = nullptr;

std::string bytes(std::initializer_list<int> list) {
    std::string out;
    for (int b : list) out.push_back(static_cast<char>(b));
    return out;
}

// The values written, one of every kind.
struct Expected {
    std::string name;
    RegValue value;
};
std::vector<Expected> valuesOfEveryType() {
    std::string longBlob;
    for (int i = 0; i < 100; ++i) longBlob.push_back(static_cast<char>(i * 7));
    return {
        {"", RegValue::fromString("default text")},
        {"Text", RegValue::fromString("C:\\Program Files\\Scrivel\\ \"quoted\"\ttab")},
        {"Unicode", RegValue::fromString("Gr\xc3\xbc\xc3\x9f"
                                         "e \xe2\x82\xac \xf0\x9f\x98\x80 caf\xc3\xa9")},
        {"Expand", RegValue::fromString("%ProgramFiles%\\Scrivel", kRegExpandSz)},
        {"Multi", RegValue::fromBytes(std::string("one\0two\0\0", 9), kRegMultiSz)},
        {"Number", RegValue::fromDword(0x2a)},
        {"Big",
         RegValue::fromBytes(bytes({0xef, 0xcd, 0xab, 0x89, 0x67, 0x45, 0x23, 0x01}), kRegQword)},
        {"Blob", RegValue::fromBytes(bytes({0x00, 0x01, 0xff}))},
        {"LongBlob", RegValue::fromBytes(longBlob)},
        {"Nam\xc3\xa9 \"x\"", RegValue::fromString("True")},
    };
}

}  // namespace

TEST_F(WineRegistry, WineReadsEveryTypeWeWriteAndWeReadWhatWineSaves) {
    ASSERT_FALSE(systemWineServerProbe()->probe(prefix_->path()).running);

    // Wine's own files survive our parser byte for byte.
    for (const char* name : {"user.reg", "system.reg", "userdef.reg"}) {
        const std::string text = readFile(prefix_->path() / name);
        WineHive hive;
        std::string error;
        ASSERT_TRUE(parseWineHive(text, hive, error)) << name << ": " << error;
        EXPECT_TRUE(serializeWineHive(hive) == text) << name << " changed in a round trip";
    }

    {
        WinePrefixSettingsStore::Options options;
        options.serverProbe = systemWineServerProbe();
        WinePrefixSettingsStore store(prefix_->path(), options);
        SettingsOperation operation(store);
        ASSERT_EQ(store.createKey(RegRoot::CurrentUser, kKey), kSuccess);
        for (const auto& [name, value] : valuesOfEveryType())
            ASSERT_EQ(store.setValue(RegRoot::CurrentUser, kKey, name, value), kSuccess);
        ASSERT_EQ(store.createKey(RegRoot::CurrentUser, kKey + "\\Sub [1]\\K\xc3\xa9y"), kSuccess);
        ASSERT_EQ(operation.commit(), kSuccess) << store.lastError();
    }

    // reg query prints in the console's code page: compare the ASCII values there.
    const std::string query = prefix_->output("wine reg query 'HKCU\\" + kKey + "' /s");
    EXPECT_NE(query.find("(Default)    REG_SZ    default text"), std::string::npos) << query;
    EXPECT_NE(query.find("Text    REG_SZ    C:\\Program Files\\Scrivel\\ \"quoted\"\ttab"),
              std::string::npos)
        << query;
    EXPECT_NE(query.find("Expand    REG_EXPAND_SZ    %ProgramFiles%\\Scrivel"), std::string::npos);
    EXPECT_NE(query.find("Multi    REG_MULTI_SZ    one\\0two"), std::string::npos);
    EXPECT_NE(query.find("Number    REG_DWORD    0x2a"), std::string::npos);
    EXPECT_NE(query.find("Blob    REG_BINARY    0001FF"), std::string::npos);
    EXPECT_NE(query.find("LongBlob    REG_BINARY    00070E151C"), std::string::npos);
    EXPECT_NE(query.find("HKEY_CURRENT_USER\\" + kKey + "\\Sub [1]\\K"), std::string::npos);

    // reg export writes UTF-16: the exact check for text beyond ASCII.
    const auto exported = prefix_->path() / "export.reg";
    ASSERT_EQ(prefix_->run("wine reg export 'HKCU\\" + kKey + "' " +
                           shellQuoted(exported.string()) + " /y"),
              0);
    std::string exportText = utf16ToUtf8(bytesToUtf16(readFile(exported)));
    EXPECT_NE(exportText.find("\"Unicode\"=\"Gr\xc3\xbc\xc3\x9f"
                              "e \xe2\x82\xac \xf0\x9f\x98\x80 caf\xc3\xa9\""),
              std::string::npos)
        << exportText;
    EXPECT_NE(exportText.find("\"Nam\xc3\xa9 \\\"x\\\"\"=\"True\""), std::string::npos);
    EXPECT_NE(exportText.find("\"Big\"=hex(b):ef,cd,ab,89,67,45,23,01"), std::string::npos);
    EXPECT_NE(exportText.find("\\Sub [1]\\K\xc3\xa9y]"), std::string::npos);

    // Wine changes the branch and saves it when its server ends.
    ASSERT_EQ(prefix_->run("wine reg add 'HKCU\\" + kKey + "' /v FromWine /t REG_SZ /d hello /f"),
              0);
    prefix_->waitForServerToEnd();
    ASSERT_EQ(readFile(prefix_->path() / "user.reg").find("FromWine") == std::string::npos, false)
        << "Wine did not save user.reg";

    WinePrefixSettingsStore reread(prefix_->path(), {});
    EXPECT_EQ(reread.loadProblems(), "");
    for (const auto& [name, value] : valuesOfEveryType()) {
        RegValue stored;
        ASSERT_EQ(reread.queryValue(RegRoot::CurrentUser, kKey, name, stored), kSuccess) << name;
        EXPECT_EQ(stored, value) << name;
    }
    EXPECT_EQ(GetRegString(reread, RegRoot::CurrentUser, kKey, "FromWine"), "hello");
    EXPECT_EQ(reread.openKey(RegRoot::CurrentUser, kKey + "\\sub [1]\\K\xc3\xa9Y"), kSuccess);
}

TEST_F(WineRegistry, NothingIsWrittenWhileTheServerRuns) {
    auto probe = systemWineServerProbe();
    ASSERT_FALSE(probe->probe(prefix_->path()).running);
    WinePrefixSettingsStore::Options options;
    options.serverProbe = probe;
    WinePrefixSettingsStore store(prefix_->path(), options);

    ASSERT_EQ(prefix_->run("wineserver -p 5"), 0);
    const auto server = probe->probe(prefix_->path());
    EXPECT_TRUE(server.running);
    ASSERT_GT(server.pid, 0);
    EXPECT_NE(readFile("/proc/" + std::to_string(server.pid) + "/comm").find("wineserver"),
              std::string::npos);

    const std::string before = readFile(prefix_->path() / "user.reg");
    EXPECT_EQ(SetRegString(store, kKey, "WhileRunning", "lost?"), kSuccess);  // the key opened
    EXPECT_NE(store.lastError().find("Wine is running for the prefix"), std::string::npos)
        << store.lastError();
    EXPECT_EQ(readFile(prefix_->path() / "user.reg"), before);
    RegValue value;
    EXPECT_EQ(store.queryValue(RegRoot::CurrentUser, kKey, "WhileRunning", value), kFileNotFound);

    prefix_->run("wineserver -k");
    prefix_->waitForServerToEnd();
    EXPECT_FALSE(probe->probe(prefix_->path()).running);
    EXPECT_EQ(SetRegString(store, kKey, "AfterServer", "kept"), kSuccess);
    EXPECT_EQ(store.lastError(), "");
    EXPECT_NE(readFile(prefix_->path() / "user.reg").find("\"AfterServer\"=\"kept\""),
              std::string::npos);
}
