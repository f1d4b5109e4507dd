#include <gtest/gtest.h>

#include <QFileInfo>
#include <QTest>
#include <chrono>
#include <fstream>
#include <memory>
#include <thread>

#include "core/app/AppState.h"
#include "core/app/CommandIds.h"
#include "core/settings/MemorySettingsStore.h"
#include "core/settings/RegistryAccess.h"
#include "gui/CModshelfDoc.h"
#include "gui/GuiContext.h"
#include "gui/host/SqliteEditorCommands.h"
#include "gui/views/CFileView.h"
#include "support/ScriptedPrompter.h"
#include "support/TempDir.h"

using namespace modshelf;
namespace fs = std::filesystem;
namespace cmd = app::cmd;

namespace {

void writeFile(const fs::path& file, const std::string& text, bool executable) {
    std::ofstream(file, std::ios::binary) << text;
    fs::permissions(
        file, executable ? fs::perms::owner_all : fs::perms::owner_read | fs::perms::owner_write);
}

std::string readAll(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

class SqliteEditorCommandsTest : public ::testing::Test {
protected:
    void SetUp() override {
        context.document = &document;
        window = std::make_unique<QWidget>();
        list = new gui::CFileView(context, window.get());
        document.addView(list);
        commands = gui::attachSqliteEditorCommands(context, *list);
        commands->setProgramChooser([this](QWidget*) { return chosen; });
    }
    void TearDown() override {
        document.removeView(list);
        window.reset();
        EXPECT_TRUE(prompter.allAnswersUsed());
    }
    bool openEnabled() {
        gui::CommandState state;
        EXPECT_TRUE(list->updateCommand(cmd::kOpenSqliteEditor, state));
        return state.enabled;
    }

    test::TempDir temp;
    settings::MemorySettingsStore store;
    test::ScriptedPrompter prompter;
    app::AppState state;
    gui::CModshelfDoc document;
    gui::GuiContext context{store, prompter, state};
    std::unique_ptr<QWidget> window;
    gui::CFileView* list = nullptr;
    gui::SqliteEditorCommands* commands = nullptr;
    std::optional<std::string> chosen;
};

TEST_F(SqliteEditorCommandsTest, OpenIsGreyedUntilAnEditorIsChosen) {
    EXPECT_FALSE(openEnabled());
    gui::CommandState configure;
    ASSERT_TRUE(list->updateCommand(cmd::kConfigureSqliteEditor, configure));
    EXPECT_TRUE(configure.enabled);

    chosen.reset();  // the user cancels
    ASSERT_TRUE(list->handleCommand(cmd::kConfigureSqliteEditor));
    EXPECT_FALSE(openEnabled());

    chosen = (temp / "editor").string();
    ASSERT_TRUE(list->handleCommand(cmd::kConfigureSqliteEditor));
    EXPECT_TRUE(openEnabled());
    EXPECT_EQ(settings::GetRegString(store, settings::RegRoot::CurrentUser,
                                     "Software\\Quorvel\\Modshelf\\Settings", "SQLiteEditor"),
              *chosen);
}

// The editor really runs, and sees the module's path as its one argument.
TEST_F(SqliteEditorCommandsTest, EditorGetsTheSelectedModuleAsOneArgument) {
    const fs::path seen = temp / "seen.txt";
    const fs::path editor = temp / "my editor";
    writeFile(editor,
              "#!/bin/sh\nprintf '%s|' \"$#\" \"$@\" > \"" + seen.string() + ".part\"\nmv \"" +
                  seen.string() + ".part\" \"" + seen.string() + "\"\n",
              true);
    chosen = editor.string();
    list->handleCommand(cmd::kConfigureSqliteEditor);

    state.selectedModulePath = (temp / "King James $(echo x) 'v';.bblx").string();
    ASSERT_TRUE(list->handleCommand(cmd::kOpenSqliteEditor));
    for (int i = 0; i < 200 && !fs::exists(seen); ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(25));
    EXPECT_EQ(readAll(seen), "1|" + state.selectedModulePath + "|");
    EXPECT_TRUE(prompter.shown.empty());
}

TEST_F(SqliteEditorCommandsTest, DeletedEditorGivesTheNotFoundNotice) {
    const fs::path editor = temp / "editor";
    writeFile(editor, "#!/bin/sh\n", true);
    chosen = editor.string();
    list->handleCommand(cmd::kConfigureSqliteEditor);
    fs::remove(editor);
    state.selectedModulePath = (temp / "kjv.bblx").string();
    prompter.answer(dialogs::id::kOk);
    list->handleCommand(cmd::kOpenSqliteEditor);
    ASSERT_EQ(prompter.shown.size(), 1u);
    EXPECT_EQ(prompter.shown[0].text, "SQLite editor not found :\n\n" + editor.string());
    EXPECT_TRUE(openEnabled()) << "the setting stays for the user to change";
}

TEST(SqliteEditorFilesTest, DialogOffersProgramsOfAnyNameAndWindowsPrograms) {
    test::TempDir temp;
    struct Case {
        const char* name;
        bool executable;
        bool offered;
    };
    const Case cases[] = {
        {"sqlitebrowser", true, true}, {"Editor.EXE", false, true}, {"editor.exe", false, true},
        {"notes.txt", false, false},   {"kjv.bblx", false, false},  {"script.sh", true, true},
    };
    for (const Case& c : cases) {
        writeFile(temp / c.name, "x", c.executable);
        EXPECT_EQ(
            gui::isOfferedAsEditor(QFileInfo(QString::fromStdString((temp / c.name).string()))),
            c.offered)
            << c.name;
    }
    fs::create_directories(temp / "folder.exe");
    EXPECT_FALSE(
        gui::isOfferedAsEditor(QFileInfo(QString::fromStdString((temp / "folder.exe").string()))));
}

}  // namespace
