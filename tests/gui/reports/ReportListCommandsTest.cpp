#include <gtest/gtest.h>
#include <sqlite3.h>

#include <QClipboard>
#include <QGuiApplication>
#include <QItemSelectionModel>
#include <QTableView>
#include <QVBoxLayout>
#include <filesystem>
#include <memory>

#include "core/app/AppState.h"
#include "core/app/CommandIds.h"
#include "core/settings/MemorySettingsStore.h"
#include "gui/GuiContext.h"
#include "gui/reports/ReportListCommands.h"
#include "gui/views/CFileView.h"
#include "gui/views/ModuleListModel.h"
#include "platform/linux/AtomicFile.h"
#include "support/ScriptedPrompter.h"
#include "support/TempDir.h"

namespace modshelf::gui {
namespace {

namespace cmd = app::cmd;
namespace fs = std::filesystem;

void writeModule(const fs::path& file, const std::string& description, const std::string& tabName,
                 const std::string& comments) {
    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open(file.c_str(), &db), SQLITE_OK);
    sqlite3_exec(db, "CREATE TABLE Details(Description TEXT, Abbreviation TEXT, Comments TEXT);",
                 nullptr, nullptr, nullptr);
    sqlite3_stmt* insert = nullptr;
    sqlite3_prepare_v2(db, "INSERT INTO Details VALUES(?, ?, ?);", -1, &insert, nullptr);
    sqlite3_bind_text(insert, 1, description.c_str(), -1, SQLITE_TRANSIENT);
    sqlite3_bind_text(insert, 2, tabName.c_str(), -1, SQLITE_TRANSIENT);
    sqlite3_bind_text(insert, 3, comments.c_str(), -1, SQLITE_TRANSIENT);
    sqlite3_step(insert);
    sqlite3_finalize(insert);
    sqlite3_close(db);
}

class ReportListCommandsTest : public ::testing::Test {
protected:
    void SetUp() override {
        writeModule(temp.path() / "kjv.bblx", "King James & more", "KJV",
                    "{\\rtf1{\\fonttbl{\\f0 Arial;}}Public domain\\par text}");
        writeModule(temp.path() / "topics.topx", "Topics", "", "");
        test::writeFile(temp.path() / "readme.txt", std::string(1234, 'r'));
        state.currentFolder = temp.path().string();
        state.nodeKind = app::node::kDriveOrFolder;

        window = std::make_unique<QWidget>();
        auto* layout = new QVBoxLayout(window.get());
        list = new CFileView(context, window.get());
        layout->addWidget(list);
        commands = attachReportListCommands(context, *list);
        commands->setSaveFileChooser([this](const reports::SaveDialogSpec& dialog) {
            dialogs.push_back(dialog.title + "|" + dialog.initialName);
            return chosenFile;
        });
        window->show();
        list->refill();
    }

    int rowOf(const std::string& name) const {
        for (int row = 0; row < list->model().rowCount(); ++row)
            if (list->model().cellText(row, 0) == name) return row;
        return -1;
    }
    void select(const std::string& name) {
        list->detailsView()->selectRow(rowOf(name));
        ASSERT_EQ(list->selectedRow(), rowOf(name));
    }
    bool run(int command) { return list->handleCommand(command); }

    test::TempDir temp;
    test::TempDir out;
    settings::MemorySettingsStore store;
    test::ScriptedPrompter prompter;
    app::AppState state;
    GuiContext context{store, prompter, state};
    std::unique_ptr<QWidget> window;
    CFileView* list = nullptr;
    ReportListCommands* commands = nullptr;
    std::vector<std::string> dialogs;
    std::optional<std::string> chosenFile;
};

TEST_F(ReportListCommandsTest, EveryCommandIsEnabledAndAnswered) {
    for (int id : {cmd::kFileProperties, cmd::kExportTabDelimited, cmd::kExportEvenColumns,
                   cmd::kCopyListToClipboard, cmd::kExportPropertiesToFile,
                   cmd::kCopyPropertiesToClipboard}) {
        CommandState commandState;
        commandState.enabled = false;
        EXPECT_TRUE(list->updateCommand(id, commandState)) << id;
        EXPECT_TRUE(commandState.enabled) << id;
    }
}

TEST_F(ReportListCommandsTest, DisplayFilePropertiesShowsTheSelectedModule) {
    select("topics.topx");
    prompter.answer(dialogs::id::kOk);
    ASSERT_TRUE(run(cmd::kFileProperties));
    ASSERT_EQ(prompter.shown.size(), 1u);
    const auto& shown = prompter.shown[0];
    EXPECT_EQ(shown.caption, " Module Information for topics.topx");
    EXPECT_NE(shown.text.find("is as follows :\n\nThe module is likely a Topical Book module\n\n"),
              std::string::npos);
    const std::string path = state.currentFolder + "topics.topx";
    EXPECT_EQ(state.selectedModulePath, path);
    EXPECT_EQ(window->windowTitle().toStdString(), state.titlePrefix + path);

    select("kjv.bblx");
    prompter.answer(dialogs::id::kOk);
    run(cmd::kFileProperties);
    EXPECT_NE(prompter.shown[1].text.find("King James && more"), std::string::npos);
    EXPECT_TRUE(prompter.shown[1].text.ends_with("Public domain\r\ntext  "));
}

TEST_F(ReportListCommandsTest, PropertyExportsWithNothingSelectedOnlyTellTheUser) {
    list->detailsView()->clearSelection();
    for (int id : {cmd::kExportPropertiesToFile, cmd::kCopyPropertiesToClipboard}) {
        prompter.answer(dialogs::id::kOk);
        run(id);
    }
    ASSERT_EQ(prompter.shown.size(), 2u);
    EXPECT_EQ(prompter.shown[0].caption, " No File Selected");
    EXPECT_TRUE(dialogs.empty());
}

TEST_F(ReportListCommandsTest, PropertiesGoToAFileAndTheClipboardUnchanged) {
    select("kjv.bblx");
    chosenFile = (out.path() / "props.txt").string();
    run(cmd::kExportPropertiesToFile);
    ASSERT_EQ(dialogs.size(), 1u);
    EXPECT_EQ(dialogs[0], " Save File Information to a Text File|FileProperties.txt");
    const std::string saved = test::readFile(out.path() / "props.txt");
    EXPECT_TRUE(saved.starts_with("Module Information for ")) << saved;
    EXPECT_NE(saved.find("King James & more\r\n\r\n"), std::string::npos);
    EXPECT_TRUE(saved.ends_with("Public domain\r\ntext\r\n\r\n"));

    run(cmd::kCopyPropertiesToClipboard);
    EXPECT_EQ(QGuiApplication::clipboard()->text().toStdString(), saved);
    EXPECT_TRUE(prompter.shown.empty());
}

TEST_F(ReportListCommandsTest, ListExportsFollowTheListOrder) {
    list->headingClicked(0);  // after a fill: file names Z to A
    chosenFile = (out.path() / "tab.txt").string();
    run(cmd::kExportTabDelimited);
    const std::string tab = test::readFile(out.path() / "tab.txt");
    const std::string expectedTab = reports::BuildTabDelimitedText(commands->exportRows(), false);
    EXPECT_EQ(tab, expectedTab);
    EXPECT_LT(tab.find("topics.topx\t"), tab.find("readme.txt\t \t \t1234\t"));
    EXPECT_LT(tab.find("readme.txt"), tab.find("kjv.bblx\tBible\tKJV\t")) << tab;

    chosenFile = (out.path() / "even.txt").string();
    run(cmd::kExportEvenColumns);
    const std::string even = test::readFile(out.path() / "even.txt");
    EXPECT_EQ(even, reports::BuildEvenColumnsText(commands->exportRows(), false));
    EXPECT_EQ(even.size(), 4u * 130u);

    run(cmd::kCopyListToClipboard);
    EXPECT_EQ(QGuiApplication::clipboard()->text().toStdString(), even);
    EXPECT_EQ(dialogs.size(), 2u);
    EXPECT_TRUE(prompter.shown.empty());
}

TEST_F(ReportListCommandsTest, AWorkspaceAddsTheSelectionColumn) {
    state.nodeKind = 3;
    list->refill();
    chosenFile = (out.path() / "tab.txt").string();
    run(cmd::kExportTabDelimited);
    EXPECT_TRUE(test::readFile(out.path() / "tab.txt").starts_with("SEL\tFILE NAME\t"));
}

TEST_F(ReportListCommandsTest, OutsideDetailsViewTheUserIsAskedFirst) {
    list->setViewMode(CFileView::ViewMode::List);
    chosenFile = (out.path() / "tab.txt").string();
    for (int id : {cmd::kExportTabDelimited, cmd::kExportEvenColumns, cmd::kCopyListToClipboard}) {
        prompter.answer(dialogs::id::kCancel);
        run(id);
    }
    EXPECT_EQ(prompter.shown.size(), 3u);
    EXPECT_TRUE(dialogs.empty());
    EXPECT_FALSE(fs::exists(out.path() / "tab.txt"));

    prompter.answer(dialogs::id::kOk);
    run(cmd::kExportTabDelimited);
    EXPECT_TRUE(fs::exists(out.path() / "tab.txt"));
}

TEST_F(ReportListCommandsTest, CancellingTheDialogWritesNothing) {
    chosenFile.reset();
    run(cmd::kExportEvenColumns);
    EXPECT_EQ(dialogs.size(), 1u);
    EXPECT_TRUE(fs::is_empty(out.path()));
}

TEST_F(ReportListCommandsTest, AFailedWriteKeepsTheOldFileAndSaysWhy) {
    const fs::path target = out.path() / "tab.txt";
    test::writeFile(target, "old contents");
    commands->setFileWriter([](const fs::path&, std::string_view, std::string& error) {
        error = "No space left on device.";
        return false;
    });
    chosenFile = target.string();
    run(cmd::kExportTabDelimited);
    EXPECT_EQ(test::readFile(target), "old contents");
    ASSERT_EQ(prompter.plainMessages.size(), 1u);
    EXPECT_NE(prompter.plainMessages[0].find(target.string()), std::string::npos);

    // The real writer: a folder that is a file cannot take the new one.
    commands->setFileWriter(platform::writeFileAtomically);
    test::writeFile(out.path() / "file", "x");
    chosenFile = (out.path() / "file" / "tab.txt").string();
    run(cmd::kExportTabDelimited);
    ASSERT_EQ(prompter.plainMessages.size(), 2u);
    EXPECT_NE(prompter.plainMessages[1].find("Not a directory"), std::string::npos)
        << prompter.plainMessages[1];
}

}  // namespace
}  // namespace modshelf::gui
