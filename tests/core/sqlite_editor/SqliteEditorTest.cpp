#include <gtest/gtest.h>

#include <set>

#include "core/dialogs/MessageBoxParams.h"
#include "core/host/DriveMap.h"
#include "core/host/ProgramLauncher.h"
#include "core/host/SqliteEditor.h"
#include "core/settings/MemorySettingsStore.h"
#include "core/settings/RegistryAccess.h"
#include "support/ScriptedPrompter.h"

using namespace modshelf;
using host::SqliteEditor;

namespace {

class RecordingLauncher : public host::ProgramLauncher {
public:
    bool startDetached(const std::string& program,
                       const std::vector<std::string>& arguments) override {
        started.push_back({program, arguments});
        return succeeds;
    }
    struct Start {
        std::string program;
        std::vector<std::string> arguments;
    };
    std::vector<Start> started;
    bool succeeds = true;
};

class SqliteEditorTest : public ::testing::Test {
protected:
    SqliteEditor editor() {
        SqliteEditor::System system;
        system.launcher = &launcher;
        system.fileExists = [this](const std::string& path) { return files.count(path) > 0; };
        system.isWindowsProgram = [](const std::string& path) {
            return path.size() > 4 && path.substr(path.size() - 4) == ".exe";
        };
        system.drives = &drives;
        return SqliteEditor(store, prompter, system);
    }
    void configure(const std::string& path) {
        files.insert(path);
        editor().configure(path);
    }

    settings::MemorySettingsStore store;
    test::ScriptedPrompter prompter;
    RecordingLauncher launcher;
    std::set<std::string> files;
    host::DriveMap drives;
};

}  // namespace

TEST_F(SqliteEditorTest, ConfiguredOnlyWithAPathThatIsNotBlank) {
    EXPECT_FALSE(editor().configured());
    editor().configure("  \t ");
    EXPECT_FALSE(editor().configured());
    editor().configure("/usr/bin/sqlitebrowser");
    EXPECT_TRUE(editor().configured());
    EXPECT_EQ(settings::GetRegString(store, settings::RegRoot::CurrentUser,
                                     "Software\\Quorvel\\Modshelf\\Settings", "SQLiteEditor"),
              "/usr/bin/sqlitebrowser");
}

TEST_F(SqliteEditorTest, MissingEditorIsReportedWithItsPathAndKept) {
    for (const std::string& stored : {std::string(), std::string("/opt/gone/editor")}) {
        prompter.shown.clear();
        if (!stored.empty()) editor().configure(stored);
        prompter.answer(dialogs::id::kOk);
        EXPECT_FALSE(editor().open("/data/kjv.bblx"));
        ASSERT_EQ(prompter.shown.size(), 1u);
        EXPECT_EQ(prompter.shown[0].text, "SQLite editor not found :\n\n" + stored);
        EXPECT_EQ(prompter.shown[0].caption, " SQLite Editor Not Found");
        EXPECT_EQ(prompter.shown[0].params.timeoutSeconds, 5);
        EXPECT_EQ(prompter.shown[0].params.options & 1u, 1u);
        EXPECT_TRUE(launcher.started.empty());
        EXPECT_EQ(editor().editorPath(), stored);
    }
}

TEST_F(SqliteEditorTest, ModulePathReachesTheEditorAsOneArgument) {
    configure("/usr/bin/sqlitebrowser");
    struct Case {
        std::string selected;
        std::string argument;
    };
    const Case cases[] = {
        {"/home/me/.wine/drive_c/Scrivel/King James.bblx",
         "/home/me/.wine/drive_c/Scrivel/King James.bblx"},
        {"  /data/a;b$(x)&'q'.bblx \n", "/data/a;b$(x)&'q'.bblx"},
        {"/data/say \"\"hi\"\".bblx", "/data/say \"hi\".bblx"},
        {"/a.bblx", "/a.bblx"},  // seven characters: the shortest that names a module
    };
    for (const Case& c : cases) {
        launcher.started.clear();
        ASSERT_TRUE(editor().open(c.selected)) << c.selected;
        ASSERT_EQ(launcher.started.size(), 1u);
        EXPECT_EQ(launcher.started[0].program, "/usr/bin/sqlitebrowser");
        EXPECT_EQ(launcher.started[0].arguments, std::vector<std::string>{c.argument});
    }
    EXPECT_TRUE(prompter.shown.empty());
}

TEST_F(SqliteEditorTest, NoSelectionAsksFirst) {
    configure("/usr/bin/sqlitebrowser");
    struct Case {
        std::string selected;
        int answer;
        bool starts;
    };
    const Case cases[] = {
        {"", dialogs::id::kOk, true},
        {"  \"\"  ", dialogs::id::kCancel, false},
        {"/a.bbl", static_cast<int>(dialogs::id::kOk | dialogs::id::kTimeoutFlag), true},
    };
    for (const Case& c : cases) {
        launcher.started.clear();
        prompter.shown.clear();
        prompter.answer(c.answer);
        EXPECT_EQ(editor().open(c.selected), c.starts);
        ASSERT_EQ(prompter.shown.size(), 1u);
        EXPECT_EQ(prompter.shown[0].caption, " No Module Selected");
        EXPECT_EQ(prompter.shown[0].style & dialogs::mb::kTypeMask, dialogs::mb::kOkCancel);
        EXPECT_EQ(prompter.shown[0].params.timeoutSeconds, 7);
        ASSERT_EQ(launcher.started.size(), c.starts ? 1u : 0u);
        if (c.starts) {
            EXPECT_TRUE(launcher.started[0].arguments.empty());
        }
    }
}

TEST_F(SqliteEditorTest, WindowsEditorGetsTheModulesWindowsPath) {
    drives.addDrive('C', "/home/me/.wine/drive_c");
    configure("/home/me/.wine/drive_c/Tools/SQLite Editor.exe");
    ASSERT_TRUE(editor().open("/home/me/.wine/drive_c/Scrivel/kjv.bblx"));
    ASSERT_EQ(launcher.started.size(), 1u);
    EXPECT_EQ(launcher.started[0].arguments, std::vector<std::string>{"C:\\Scrivel\\kjv.bblx"});
}

TEST_F(SqliteEditorTest, EditorThatDoesNotStartIsReported) {
    configure("/usr/bin/sqlitebrowser");
    launcher.succeeds = false;
    prompter.answer(dialogs::id::kOk);
    EXPECT_FALSE(editor().open("/data/kjv.bblx"));
    ASSERT_EQ(prompter.shown.size(), 1u);
    EXPECT_EQ(prompter.shown[0].text,
              "The SQLite editor could not be started :\n\n/usr/bin/sqlitebrowser");
}
