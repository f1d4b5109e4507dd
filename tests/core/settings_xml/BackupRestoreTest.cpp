#include <gtest/gtest.h>

#include <optional>
#include <sstream>
#include <string>

#include "core/app/AppState.h"
#include "core/app/InstanceMarker.h"
#include "core/dialogs/MessageBoxParams.h"
#include "core/settings/BackupFiles.h"
#include "core/settings/BackupSettings.h"
#include "core/settings/MemorySettingsStore.h"
#include "core/settings/RegistryXmlExport.h"
#include "core/settings/RegistryXmlImport.h"
#include "core/settings/RestoreSettings.h"
#include "support/ScriptedPrompter.h"
#include "support/TempDir.h"

namespace modshelf::settings {
namespace {

namespace fs = std::filesystem;
using dialogs::id::kNo;
using dialogs::id::kOk;
using dialogs::id::kYes;

constexpr const char* kRoot = "Software\\Quorvel\\Modshelf";

class FixedFiles : public BackupFileChooser {
public:
    std::optional<std::string> chooseBackupFile(const std::string& proposed) override {
        proposedBackup = proposed;
        return backup;
    }
    std::optional<std::string> chooseRestoreFile(const std::string& proposed) override {
        proposedRestore = proposed;
        return restore;
    }
    std::optional<std::string> backup, restore;
    std::string proposedBackup, proposedRestore;
};

class FakeMarker : public app::InstanceMarker {
public:
    Result create() override { return Result::Created; }
    void close() override { open = false; }
    bool isOpen() const override { return open; }
    bool open = true;
};

// Everything a branch holds, key times included: equal texts mean that
// nothing at all was touched.
void dump(const KeyNode& node, const std::string& path, std::ostringstream& out) {
    out << path << " @" << node.modified << "/" << node.fileTime << "\n";
    for (const auto& v : node.values)
        out << "  " << v.name << "=" << v.value.type << ":" << v.value.data << "\n";
    for (const auto& k : node.subkeys) dump(k, path + "\\" + k.name, out);
}
std::string dump(MemorySettingsStore& store) {
    std::ostringstream out;
    dump(store.branch(RegRoot::CurrentUser).root(), "", out);
    return out.str();
}

// A store that takes only so many writes, then refuses the rest.
class RefusingStore : public MemorySettingsStore {
public:
    Status setValue(RegRoot root, const std::string& path, const std::string& name,
                    const RegValue& value) override {
        if (writesLeft >= 0 && writesLeft-- == 0) return kAccessDenied;
        return MemorySettingsStore::setValue(root, path, name, value);
    }
    int writesLeft = -1;
};

class BackupRestore : public ::testing::Test {
protected:
    void SetUp() override {
        fill(store, "V.3.37", "1:2:3:4:5:6:10:20:810:620");
        files.backup = (dir / "Backup.xml").string();
        files.restore = files.backup;
    }

    static void fill(MemorySettingsStore& s, const std::string& version, const std::string& pos) {
        const std::string settings = std::string(kRoot) + "\\Settings";
        s.createKey(RegRoot::CurrentUser, settings);
        s.setValue(RegRoot::CurrentUser, kRoot, "CurrentVersion", RegValue::fromString(version));
        for (const char* name : {"ExportSet", "ImportSet"})
            s.setValue(RegRoot::CurrentUser, settings, name, RegValue::fromDword(1));
        s.setValue(RegRoot::CurrentUser, settings, "Workspaces", RegValue::fromDword(15));
        s.setValue(RegRoot::CurrentUser, settings, "WindowPos", RegValue::fromString(pos));
        for (const char* w : {"WorkspaceA", "WorkspaceC"}) {
            s.createKey(RegRoot::CurrentUser, std::string(kRoot) + "\\" + w);
            s.setValue(RegRoot::CurrentUser, std::string(kRoot) + "\\" + w, "WorkspaceName",
                       RegValue::fromString(w));
        }
        const std::string bibles = std::string(kRoot) + "\\Workspace3\\Bibles";
        s.createKey(RegRoot::CurrentUser, bibles);
        s.setValue(RegRoot::CurrentUser, bibles, "KJV", RegValue::fromString("True"));
        s.createKey(RegRoot::CurrentUser, "Software\\Other");
        s.setValue(RegRoot::CurrentUser, "Software\\Other", "Keep", RegValue::fromString("me"));
    }

    BackupOutcome backup() {
        prompter.answer(kYes);
        prompter.answer(kOk);
        BackupEnvironment env{store, prompter, files, "/opt/modshelf/modshelf", nullptr, {}, {}};
        return BackupSettings(env);
    }

    RestoreOutcome restore() {
        RestoreEnvironment env{store,
                               prompter,
                               files,
                               state.settingsRestored,
                               [this] { marker.close(); },
                               "/opt/modshelf/modshelf",
                               {},
                               {},
                               {},
                               {}};
        env.startNewCopy = [this] {
            ++starts;
            EXPECT_FALSE(marker.open) << "the marker goes before the new copy starts";
            EXPECT_TRUE(state.settingsRestored) << "the placement must not be saved at close";
            return true;
        };
        env.closeMainWindow = [this] { ++closes; };
        return RestoreSettings(env);
    }

    std::string lastCaption() const {
        return prompter.shown.empty() ? "" : prompter.shown.back().caption;
    }

    test::TempDir dir;
    MemorySettingsStore store;
    test::ScriptedPrompter prompter;
    FixedFiles files;
    app::AppState state;
    FakeMarker marker;
    int starts = 0, closes = 0;
};

TEST_F(BackupRestore, BackupThenRestoreBringsBackEverySettingAndRestarts) {
    ASSERT_EQ(backup(), BackupOutcome::Written);
    EXPECT_EQ(files.proposedBackup, "/opt/modshelf/Modshelf");
    EXPECT_EQ(lastCaption(), " Export File Created");
    EXPECT_EQ(prompter.shown.back().params.timeoutSeconds, 5);
    EXPECT_FALSE(fs::exists(*files.backup + ".partial"));
    const std::string saved = dump(store);

    // The user goes on: a new placement, a new workspace, another version.
    fill(store, "V.9", "9:9:9:9:9:9:9:9:9:9");
    store.createKey(RegRoot::CurrentUser, std::string(kRoot) + "\\Workspace9");

    prompter.answer(kYes);
    prompter.answer(kOk);
    ASSERT_EQ(restore(), RestoreOutcome::Restored);
    EXPECT_EQ(files.proposedRestore, "/opt/modshelf/Modshelf.xml");
    EXPECT_EQ(lastCaption(), " Import completed OK");
    EXPECT_EQ(starts, 1);
    EXPECT_EQ(closes, 1);

    RegValue pos;
    ASSERT_EQ(
        store.queryValue(RegRoot::CurrentUser, std::string(kRoot) + "\\Settings", "WindowPos", pos),
        kSuccess);
    EXPECT_EQ(pos.text(), "1:2:3:4:5:6:10:20:810:620");
    EXPECT_EQ(store.openKey(RegRoot::CurrentUser, std::string(kRoot) + "\\Workspace9"),
              kFileNotFound);
    RegValue other;
    EXPECT_EQ(store.queryValue(RegRoot::CurrentUser, "Software\\Other", "Keep", other), kSuccess)
        << "settings outside Modshelf's own stay";
    EXPECT_EQ(prompter.plainMessages.size(), 0u);
}

TEST_F(BackupRestore, NoAnswerOrCancelledDialogDoesNothing) {
    prompter.answer(kNo);
    BackupEnvironment env{store, prompter, files, "/p/m", nullptr, {}, {}};
    EXPECT_EQ(BackupSettings(env), BackupOutcome::NotAsked);
    files.backup.reset();
    prompter.answer(kYes);
    EXPECT_EQ(BackupSettings(env), BackupOutcome::NotAsked);
    EXPECT_TRUE(fs::is_empty(dir.path()));
    EXPECT_TRUE(prompter.allAnswersUsed());
}

class CancelNow : public ExportCancelCheck {
public:
    bool cancelRequested() override { return true; }
};

TEST_F(BackupRestore, CancelledOrFailedBackupKeepsTheEarlierFile) {
    test::writeFile(*files.backup, "earlier backup");
    CancelNow cancel;
    prompter.answer(kYes);
    prompter.answer(kOk);
    BackupEnvironment env{store, prompter, files, "/p/m", &cancel, {}, {}};
    EXPECT_EQ(BackupSettings(env), BackupOutcome::Cancelled);
    EXPECT_EQ(lastCaption(), " Export Cancelled");
    EXPECT_EQ(test::readFile(*files.backup), "earlier backup");

    files.backup = (dir / "no-such-folder" / "b.xml").string();
    EXPECT_EQ(backup(), BackupOutcome::Failed);
    EXPECT_EQ(lastCaption(), " Export Failed");
    EXPECT_EQ(test::readFile(dir / "Backup.xml"), "earlier backup");
}

struct RefusedFile {
    const char* name;
    std::string fileName;
    std::string content;  // empty: no file at all
    std::string caption;
};

class RestoreRefuses : public BackupRestore, public ::testing::WithParamInterface<RefusedFile> {};

TEST_P(RestoreRefuses, AndTheStoreStaysByteForByte) {
    const RefusedFile& c = GetParam();
    files.restore = (dir / c.fileName).string();
    if (!c.content.empty()) test::writeFile(*files.restore, c.content);
    const std::string before = dump(store);
    const int saves = store.saveCount();

    prompter.answer(kYes);
    prompter.answer(kOk);
    if (c.caption == " Import Process Failed") prompter.answer(kOk);
    EXPECT_NE(restore(), RestoreOutcome::Restored);
    EXPECT_EQ(lastCaption(), c.caption);
    EXPECT_EQ(dump(store), before);
    EXPECT_EQ(store.saveCount(), saves);
    EXPECT_EQ(starts + closes, 0);
    EXPECT_TRUE(marker.open);
    EXPECT_FALSE(state.settingsRestored);
}

const std::string kMarkers =
    "<!-- currentversion exportset importset workspaces workspacename workspacea workspacec -->\n";
const std::string kGood =
    "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n <registry>\r\n  <k "
    "name=\"HKEY_CURRENT_USER\">\r\n"
    "   <k name=\"Software\">\r\n    <k name=\"Quorvel\">\r\n     <k name=\"Modshelf\">\r\n"
    "      <v name=\"CurrentVersion\" value=\"V.3.37\"/>\r\n";
const std::string kGoodEnd = "     </k>\r\n    </k>\r\n   </k>\r\n  </k>\r\n </registry>\r\n";

INSTANTIATE_TEST_SUITE_P(
    Files, RestoreRefuses,
    ::testing::Values(
        RefusedFile{"WrongExtension", "backup.xml.txt", kGood + kMarkers + kGoodEnd,
                    " Wrong Extension on Import File"},
        RefusedFile{"Missing", "gone.xml", "", " Import File Not Found"},
        RefusedFile{"AnotherProgramsBackup", "other.XML",
                    kGood +
                        "<!-- currentversion exportset importset workspaces workspacename "
                        "workspacea -->\n" +
                        kGoodEnd,
                    " Import File Damaged ?"},
        RefusedFile{"ParseErrorHalfWay", "half.xml", kGood + kMarkers + "<v <\n" + kGoodEnd,
                    " Import Process Failed"},
        RefusedFile{"ForeignKey", "run.xml",
                    kGood + kMarkers +
                        "     </k>\r\n    </k>\r\n"
                        "<k name=\"Microsoft\"><k name=\"Windows\"><k name=\"Run\">"
                        "<v name=\"x\" value=\"evil\"/></k></k></k>\r\n   </k>\r\n"
                        "  </k>\r\n </registry>\r\n",
                    " Import File Refused"},
        RefusedFile{"CutShort", "cut.xml", kGood + kMarkers + "     </k>\r\n",
                    " Import File Damaged ?"},
        RefusedFile{
            "BadNumber", "num.xml",
            kGood + kMarkers + "<v name=\"n\" value=\"0x1\" type=\"REG_DWORD\"/>\n" + kGoodEnd,
            " Import File Damaged ?"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(BackupRestore, ParseErrorIsShownInThePlainBox) {
    files.restore = (dir / "half.xml").string();
    test::writeFile(*files.restore, kGood + kMarkers + "<v <\n" + kGoodEnd);
    prompter.answer(kYes);
    prompter.answer(kOk);
    restore();
    ASSERT_EQ(prompter.plainMessages.size(), 1u);
    EXPECT_EQ(prompter.plainMessages[0], "Modshelf: Parse error in line 9 : (Bad '<' symbol)");
}

TEST_F(BackupRestore, UnwritableStoreKeepsEverySettingAsItWas) {
    ASSERT_EQ(backup(), BackupOutcome::Written);
    store.setValue(RegRoot::CurrentUser, std::string(kRoot) + "\\Settings", "WindowPos",
                   RegValue::fromString("7:7:7:7:7:7:7:7:7:7"));
    store.failSaves(true, "The disk is full.");
    const std::string before = dump(store);
    prompter.answer(kYes);
    prompter.answer(kOk);
    EXPECT_EQ(restore(), RestoreOutcome::Failed);
    EXPECT_EQ(lastCaption(), " Import Process Failed");
    EXPECT_NE(prompter.shown.back().text.find("The disk is full."), std::string::npos);
    EXPECT_EQ(dump(store), before);
    EXPECT_EQ(starts, 0);
}

TEST(RestoreStore, AStoreThatRefusesAWriteHalfWayGetsItsSettingsBack) {
    RefusingStore store;
    store.createKey(RegRoot::CurrentUser, kRoot);
    for (int i = 0; i < 5; ++i)
        store.setValue(RegRoot::CurrentUser, kRoot, "Old" + std::to_string(i),
                       RegValue::fromDword(i));
    std::vector<ImportedKey> keys{{kRoot, {}}};
    for (int i = 0; i < 5; ++i)
        keys[0].values.push_back({"New" + std::to_string(i), RegValue::fromDword(i)});
    store.writesLeft = 3;
    std::string error;
    EXPECT_FALSE(
        ApplyRegistryImport(store, "HKEY_CURRENT_USER\\Software\\Quorvel\\Modshelf", keys, error));
    EXPECT_FALSE(error.empty());
    store.writesLeft = -1;
    const auto after = CaptureSubtree(store, RegRoot::CurrentUser, kRoot);
    ASSERT_EQ(after.size(), 1u);
    ASSERT_EQ(after[0].values.size(), 5u);
    EXPECT_EQ(after[0].values[0].name, "Old0");
}

struct ProposedCase {
    std::string programPath;
    std::string expected;
};

TEST(BackupFiles, ProposedFileSitsBesideTheProgramWithOneSeparator) {
    for (const auto& c : std::vector<ProposedCase>{
             {"C:\\Program Files\\Modshelf\\Modshelf.exe",
              "C:\\Program Files\\Modshelf\\Modshelf.xml"},
             {"C:\\Modshelf.exe", "C:\\Modshelf.xml"},
             {"/usr/lib/modshelf/modshelf", "/usr/lib/modshelf/Modshelf.xml"},
             {"/modshelf", "/Modshelf.xml"},
             {"C:\\\\Tools\\\\Modshelf.exe", "C:\\Tools\\Modshelf.xml"},
             {"\\\\server\\share\\Modshelf.exe", "\\\\server\\share\\Modshelf.xml"}})
        EXPECT_EQ(proposedBackupFile(programFolder(c.programPath), "Modshelf.xml"), c.expected)
            << c.programPath;
    EXPECT_EQ(proposedBackupFile("C:\\", "Modshelf.xml"), "C:\\Modshelf.xml");
    EXPECT_TRUE(hasXmlExtension("BACKUP.XML"));
    EXPECT_FALSE(hasXmlExtension("backup.xml.txt"));
    EXPECT_FALSE(hasXmlExtension("xml"));
}

}  // namespace
}  // namespace modshelf::settings
