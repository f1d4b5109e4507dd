#include <gtest/gtest.h>
#include <sys/stat.h>

#include "core/settings/RegistryAccess.h"
#include "platform/linux/SettingsStoreFactory.h"
#include "platform/linux/WinePrefixSettingsStore.h"
#include "support/TempDir.h"

using namespace modshelf::settings;
using modshelf::platform::openSettingsStore;
using modshelf::platform::WinePrefixSettingsStore;
using modshelf::platform::WineServerProbe;
using modshelf::platform::WineServerStatus;
using modshelf::test::readFile;
using modshelf::test::TempDir;
using modshelf::test::writeFile;

namespace {

const RegRoot HKCU = RegRoot::CurrentUser;
const RegRoot HKLM = RegRoot::LocalMachine;

const std::string kUserReg =
    "WINE REGISTRY Version 2\n"
    ";; All keys relative to REGISTRY\\\\User\\\\S-1-5-21-0-0-0-1000\n"
    "\n"
    "#arch=win64\n"
    "\n"
    "[Software\\\\VB and VBA Program Settings\\\\Scrivel\\\\Settings] 1700000000\n"
    "#time=1da1e0a3b6c7d80\n"
    "\"Tab Style\"=\"1\"\n";

const std::string kSystemReg =
    "WINE REGISTRY Version 2\n"
    ";; All keys relative to REGISTRY\\\\Machine\n"
    "\n"
    "#arch=win64\n"
    "\n"
    "[Software\\\\Classes\\\\.bblx] 1700000000\n"
    "#time=1da1e0a3b6c7d80\n"
    "@=\"Scrivel.Bible\"\n"
    "\n"
    "[Software\\\\Microsoft\\\\Windows\\\\CurrentVersion] 1700000000\n"
    "#time=1da1e0a3b6c7d80\n"
    "\"ProgramFilesDir\"=\"C:\\\\Program Files\"\n";

class FakeProbe : public WineServerProbe {
public:
    bool running = false;
    WineServerStatus probe(const std::filesystem::path&) const override {
        WineServerStatus status;
        status.running = running;
        status.pid = running ? 4242 : 0;
        return status;
    }
};

// A store whose disk can be made to fail.
class FlakyDiskStore : public WinePrefixSettingsStore {
public:
    using WinePrefixSettingsStore::WinePrefixSettingsStore;
    bool failWrites = false;
    int writes = 0;

protected:
    bool writeHiveFile(const std::filesystem::path& file, const std::string& text,
                       std::string& error) override {
        if (failWrites) {
            error = "No space left on device.";
            return false;
        }
        ++writes;
        return WinePrefixSettingsStore::writeHiveFile(file, text, error);
    }
};

struct Prefix {
    TempDir dir;
    std::shared_ptr<FakeProbe> probe = std::make_shared<FakeProbe>();
    Prefix() {
        writeFile(dir / "user.reg", kUserReg);
        writeFile(dir / "system.reg", kSystemReg);
    }
    std::string user() const { return readFile(dir / "user.reg"); }
    std::string system() const { return readFile(dir / "system.reg"); }
    WinePrefixSettingsStore::Options options() const {
        WinePrefixSettingsStore::Options o;
        o.serverProbe = probe;
        return o;
    }
};

ino_t inodeOf(const std::filesystem::path& file) {
    struct stat st {};
    stat(file.c_str(), &st);
    return st.st_ino;
}

// Rewrites a hive file the way another program would, keeping its size
// distinct so the change is seen even within one clock tick.
void editBehindTheStoresBack(const std::filesystem::path& file, const std::string& from,
                             const std::string& to) {
    std::string text = readFile(file);
    text.replace(text.find(from), from.size(), to);
    writeFile(file, text);
}

}  // namespace

TEST(SettingsPrefixStore, WritesOnlyTheChangedFileAndKeepsItsHeader) {
    Prefix prefix;
    const ino_t systemInode = inodeOf(prefix.dir / "system.reg");
    {
        WinePrefixSettingsStore store(prefix.dir.path(), prefix.options());
        EXPECT_EQ(store.loadProblems(), "");
        EXPECT_EQ(GetRegString(store, HKLM, "SOFTWARE\\Microsoft\\Windows\\CurrentVersion",
                               "ProgramFilesDir"),
                  "C:\\Program Files");
        ASSERT_EQ(SetRegString(store, "Software\\Quorvel\\Modshelf", "CurrentVersion", "V.3.37"),
                  kSuccess);
        EXPECT_EQ(SetRegDword(store, "Software\\Quorvel\\Modshelf\\Settings", "GridLines", 1),
                  kSuccess);
    }
    EXPECT_EQ(prefix.system(), kSystemReg);
    EXPECT_EQ(inodeOf(prefix.dir / "system.reg"), systemInode);
    const std::string user = prefix.user();
    EXPECT_EQ(user.rfind(kUserReg.substr(0, kUserReg.find("[Software")), 0), 0u) << user;
    EXPECT_NE(user.find("\n[Software\\\\Quorvel\\\\Modshelf] "), std::string::npos) << user;
    EXPECT_NE(user.find("\"GridLines\"=dword:00000001\n"), std::string::npos) << user;
    // Untouched keys keep their timestamps.
    EXPECT_NE(user.find("Settings] 1700000000\n#time=1da1e0a3b6c7d80\n\"Tab Style\"=\"1\"\n"),
              std::string::npos);

    WinePrefixSettingsStore reopened(prefix.dir.path(), prefix.options());
    EXPECT_EQ(GetRegString(reopened, HKCU, "Software\\Quorvel\\Modshelf", "CurrentVersion"),
              "V.3.37");
    EXPECT_EQ(GetRegDword(reopened, HKCU, "Software\\Quorvel\\Modshelf\\Settings", "GridLines", 7),
              1u);
}

TEST(SettingsPrefixStore, ClassesRootIsTheMachinesSoftwareClasses) {
    Prefix prefix;
    WinePrefixSettingsStore store(prefix.dir.path(), prefix.options());
    RegValue value;
    ASSERT_EQ(store.queryValue(RegRoot::ClassesRoot, ".bblx", "", value), kSuccess);
    EXPECT_EQ(value.text(), "Scrivel.Bible");
    std::string name;
    EXPECT_EQ(store.enumKey(RegRoot::ClassesRoot, "", 0, name), kSuccess);
    EXPECT_EQ(name, ".bblx");
    // HKEY_USERS reaches the current user's branch under its Wine SID.
    ASSERT_EQ(store.queryValue(RegRoot::Users,
                               "S-1-5-21-0-0-0-1000\\Software\\VB and VBA Program "
                               "Settings\\Scrivel\\Settings",
                               "Tab Style", value),
              kSuccess);
    EXPECT_EQ(value.text(), "1");
    // The rest of HKEY_USERS has no file: a change there is refused, not lost quietly.
    EXPECT_EQ(store.createKey(RegRoot::Users, ".Default\\Software"), kAccessDenied);
    EXPECT_NE(store.lastError().find("HKEY_USERS"), std::string::npos);
    EXPECT_EQ(store.openKey(RegRoot::Users, ".Default\\Software"), kFileNotFound);
}

TEST(SettingsPrefixStore, ReadsAFileAgainWhenSomeoneElseChangedIt) {
    Prefix prefix;
    WinePrefixSettingsStore store(prefix.dir.path(), prefix.options());
    const std::string key = "Software\\VB and VBA Program Settings\\Scrivel\\Settings";
    EXPECT_EQ(GetRegString(store, HKCU, key, "Tab Style"), "1");

    editBehindTheStoresBack(prefix.dir / "user.reg", "\"Tab Style\"=\"1\"",
                            "\"Tab Style\"=\"0\"\n\"Path\"=\"C:\\\\S\"");
    EXPECT_EQ(GetRegString(store, HKCU, key, "Tab Style"), "0");

    // Inside an operation the pending changes are made again on the fresh
    // copy, so neither side's edits are lost.
    {
        SettingsOperation operation(store);
        SetRegString(store, "Software\\Quorvel\\Modshelf", "Before", "1");
        editBehindTheStoresBack(prefix.dir / "user.reg", "\"Path\"=\"C:\\\\S\"",
                                "\"Path\"=\"D:\\\\Scrivel\"");
        SetRegString(store, "Software\\Quorvel\\Modshelf", "After", "2");
        EXPECT_EQ(operation.commit(), kSuccess);
    }
    const std::string user = prefix.user();
    EXPECT_NE(user.find("\"Path\"=\"D:\\\\Scrivel\""), std::string::npos) << user;
    EXPECT_NE(user.find("\"Before\"=\"1\""), std::string::npos) << user;
    EXPECT_NE(user.find("\"After\"=\"2\""), std::string::npos) << user;
}

TEST(SettingsPrefixStore, AFailedSaveReturnsToWhatTheFileHolds) {
    Prefix prefix;
    FlakyDiskStore store(prefix.dir.path(), prefix.options());
    std::string reported;
    store.setSaveFailureListener([&](const std::string& message) { reported = message; });
    ASSERT_EQ(SetRegString(store, "Software\\Q", "kept", "yes"), kSuccess);
    const std::string durable = prefix.user();

    store.failWrites = true;
    {
        SettingsOperation operation(store);
        SetRegString(store, "Software\\Q", "kept", "changed");
        SetRegString(store, "Software\\Q", "new", "value");
        EXPECT_EQ(operation.commit(), kWriteFault);
    }
    EXPECT_NE(reported.find("No space left on device."), std::string::npos) << reported;
    EXPECT_NE(reported.find((prefix.dir / "user.reg").string()), std::string::npos);
    EXPECT_EQ(store.lastError(), reported);
    EXPECT_EQ(prefix.user(), durable);
    EXPECT_EQ(GetRegString(store, HKCU, "Software\\Q", "kept"), "yes");
    RegValue value;
    EXPECT_EQ(store.queryValue(HKCU, "Software\\Q", "new", value), kFileNotFound);

    store.failWrites = false;
    EXPECT_EQ(SetRegString(store, "Software\\Q", "new", "value"), kSuccess);
    EXPECT_EQ(store.lastError(), "");
    EXPECT_NE(prefix.user().find("\"new\"=\"value\""), std::string::npos);
}

TEST(SettingsPrefixStore, RefusesToWriteWhileWineRunsForThePrefix) {
    Prefix prefix;
    FlakyDiskStore store(prefix.dir.path(), prefix.options());
    std::string reported;
    store.setSaveFailureListener([&](const std::string& message) { reported = message; });
    prefix.probe->running = true;

    // Reading needs no server check.
    EXPECT_EQ(GetRegString(store, HKCU, "Software\\VB and VBA Program Settings\\Scrivel\\Settings",
                           "Tab Style"),
              "1");
    {
        SettingsOperation operation(store);
        SetRegString(store, "Software\\VB and VBA Program Settings\\Scrivel\\Settings", "Tab Style",
                     "0");
        EXPECT_EQ(operation.commit(), kSharingViolation);
    }
    EXPECT_NE(reported.find("Wine is running for the prefix"), std::string::npos) << reported;
    EXPECT_NE(reported.find("could not be saved"), std::string::npos) << reported;
    EXPECT_EQ(store.writes, 0);
    EXPECT_EQ(prefix.user(), kUserReg);
    EXPECT_EQ(GetRegString(store, HKCU, "Software\\VB and VBA Program Settings\\Scrivel\\Settings",
                           "Tab Style"),
              "1");

    prefix.probe->running = false;
    EXPECT_EQ(SetRegDword(store, "Software\\Q", "n", 3), kSuccess);
    EXPECT_EQ(store.writes, 1);
}

TEST(SettingsPrefixStore, NeverCreatesOrOverwritesFilesWineNeeds) {
    // A prefix without system.reg: machine settings cannot be saved, and no
    // file appears.
    TempDir dir;
    writeFile(dir / "user.reg", kUserReg);
    WinePrefixSettingsStore store(dir.path(), {});
    EXPECT_EQ(SetRegDword(store, "Software\\Q", "n", 1), kSuccess);
    EXPECT_EQ(store.lastError(), "");
    EXPECT_EQ(store.createKey(HKLM, "Software\\Quorvel"), kFileNotFound);
    EXPECT_NE(store.lastError().find("does not exist"), std::string::npos);
    EXPECT_FALSE(std::filesystem::exists(dir / "system.reg"));

    // A user.reg that is not a registry file is left as it is.
    TempDir other;
    writeFile(other / "user.reg", "garbage\n");
    writeFile(other / "system.reg", kSystemReg);
    WinePrefixSettingsStore refusing(other.path(), {});
    EXPECT_NE(refusing.loadProblems().find("not a Wine registry file"), std::string::npos);
    SetRegString(refusing, "Software\\Q", "v", "x");
    EXPECT_NE(refusing.lastError(), "");
    EXPECT_EQ(readFile(other / "user.reg"), "garbage\n");
}

TEST(SettingsStoreFactory, UsesThePrefixWhenItHasAUserHive) {
    Prefix prefix;
    TempDir data;
    auto opened = openSettingsStore(prefix.dir.path(), data / "modshelf", prefix.probe);
    ASSERT_TRUE(opened.store);
    EXPECT_TRUE(opened.inWinePrefix);
    EXPECT_EQ(opened.path, prefix.dir.path());
    EXPECT_EQ(opened.noticeText, "");
    EXPECT_FALSE(std::filesystem::exists(data / "modshelf"));
    EXPECT_EQ(GetRegString(*opened.store, HKCU,
                           "Software\\VB and VBA Program Settings\\Scrivel\\Settings", "Tab Style"),
              "1");
}

TEST(SettingsStoreFactory, WithoutAPrefixKeepsSettingsPrivatelyAndSaysSoOnce) {
    TempDir home;
    const auto prefix = home / ".wine";
    const auto folder = home / "data" / "modshelf";
    {
        auto opened = openSettingsStore(prefix, folder, nullptr);
        ASSERT_TRUE(opened.store);
        EXPECT_FALSE(opened.inWinePrefix);
        EXPECT_EQ(opened.path, folder);
        EXPECT_NE(opened.noticeText.find(folder.string()), std::string::npos);
        EXPECT_NE(opened.noticeText.find(prefix.string()), std::string::npos);
        EXPECT_EQ(
            SetRegString(*opened.store, "Software\\Quorvel\\Modshelf", "CurrentVersion", "V.3.37"),
            kSuccess);
        EXPECT_EQ(opened.store->lastError(), "");
    }
    EXPECT_FALSE(std::filesystem::exists(prefix));
    EXPECT_EQ(readFile(folder / "user.reg").rfind("WINE REGISTRY Version 2\n", 0), 0u);

    auto again = openSettingsStore(prefix, folder, nullptr);
    EXPECT_EQ(again.noticeText, "");
    EXPECT_EQ(GetRegString(*again.store, HKCU, "Software\\Quorvel\\Modshelf", "CurrentVersion"),
              "V.3.37");

    // An empty prefix folder (no user.reg) is no prefix either, and stays empty.
    std::filesystem::create_directories(prefix);
    auto third = openSettingsStore(prefix, folder, nullptr);
    EXPECT_FALSE(third.inWinePrefix);
    EXPECT_TRUE(std::filesystem::is_empty(prefix));
}
