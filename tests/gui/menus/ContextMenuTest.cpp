#include <gtest/gtest.h>
#include <sqlite3.h>

#include <QAction>
#include <QApplication>
#include <QContextMenuEvent>
#include <QListView>
#include <QMenu>
#include <QTableView>
#include <QTest>
#include <memory>

#include "core/app/AppState.h"
#include "core/app/CommandIds.h"
#include "core/dialogs/MessageBoxParams.h"
#include "core/host/DriveMap.h"
#include "core/settings/MemorySettingsStore.h"
#include "core/settings/RegistryAccess.h"
#include "gui/CMainFrame.h"
#include "gui/CModshelfDoc.h"
#include "gui/FrameViews.h"
#include "gui/GuiContext.h"
#include "gui/menus/ContextMenus.h"
#include "gui/views/CDriveView.h"
#include "gui/views/CFileView.h"
#include "gui/views/ModuleListModel.h"
#include "support/ScriptedPrompter.h"
#include "support/TempDir.h"

using namespace modshelf;
namespace fs = std::filesystem;

namespace {

void writeModule(const fs::path& file, const std::string& tabName) {
    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open(file.string().c_str(), &db), SQLITE_OK);
    const std::string sql =
        "CREATE TABLE Details(Description TEXT, Abbreviation TEXT, Comments TEXT);"
        "INSERT INTO Details VALUES('About " +
        tabName + "', '" + tabName + "', '');";
    sqlite3_exec(db, sql.c_str(), nullptr, nullptr, nullptr);
    sqlite3_close(db);
}

// One item of a menu as the user sees it.
struct Shown {
    std::string text;  // empty for a separator
    bool enabled = false;
    int id = 0;
};

// The program's main window with its real panes; the menus that would open
// are recorded instead of shown.
class ContextMenuTest : public ::testing::Test {
protected:
    void SetUp() override {
        const fs::path resources = temp.path() / "drive_c" / "Scrivel";
        fs::create_directories(resources);
        writeModule(resources / "kjv.bblx", "KJV");
        writeModule(resources / "mhc.cmtx", "MHC");
        const fs::path documents = temp.path() / "drive_c" / "users" / "demo" / "Documents";
        fs::create_directories(documents / "Scrivel");
        drives.addDrive('C', temp.path() / "drive_c");
        settings::SetRegString(store, "Software\\VB and VBA Program Settings\\Scrivel\\Settings",
                               "Resources Path", resources.string());
        settings::SetRegString(
            store, "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders",
            "Personal", documents.string());

        gui::setContextMenuShower([this](QMenu& menu, const QPoint&) {
            ++menusShown;
            shown.clear();
            for (QAction* action : menu.actions())
                shown.push_back(
                    {action->isSeparator() ? std::string() : plainText(action),
                     action->isEnabled(), action->data().toInt()});
            if (QAction* chosen = find(menu, choose)) chosen->trigger();
        });
        frame = std::make_unique<gui::CMainFrame>(context, gui::programViews(), nullptr,
                                                  "/nonexistent/modshelf-tests/modshelf");
        list = dynamic_cast<gui::CFileView*>(frame->listView());
        tree = dynamic_cast<gui::CDriveView*>(frame->treeView());
        ASSERT_TRUE(list && tree);
        frame->resize(1000, 900);
        frame->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(frame.get()));
    }
    void TearDown() override {
        frame.reset();
        gui::setContextMenuShower([](QMenu& menu, const QPoint& at) { menu.exec(at); });
        EXPECT_TRUE(prompter.allAnswersUsed());
    }

    // An item's text without its mnemonic marker.
    static std::string plainText(const QAction* action) {
        std::string text = action->text().toStdString();
        std::erase(text, '&');
        return text;
    }

    static QAction* find(QMenu& menu, const std::string& text) {
        for (QAction* action : menu.actions())
            if (!text.empty() && plainText(action) == text) return action;
        return nullptr;
    }

    // A right click as the system delivers it: the press, then the request
    // for a menu at the same place.
    void rightClick(QWidget* viewport, const QPoint& pos) {
        QTest::mousePress(viewport, Qt::RightButton, {}, pos);
        QContextMenuEvent request(QContextMenuEvent::Mouse, pos, viewport->mapToGlobal(pos));
        QApplication::sendEvent(viewport, &request);
        QTest::mouseRelease(viewport, Qt::RightButton, {}, pos);
    }
    void rightClickNode(QTreeWidgetItem* item) {
        ASSERT_NE(item, nullptr);
        rightClick(tree->viewport(), tree->visualItemRect(item).center());
    }

    std::vector<std::string> texts() const {
        std::vector<std::string> out;
        for (const Shown& item : shown) out.push_back(item.text);
        return out;
    }

    test::TempDir temp;
    settings::MemorySettingsStore store;
    test::ScriptedPrompter prompter;
    app::AppState state;
    host::DriveMap drives;
    gui::CModshelfDoc document;
    gui::GuiContext context{store, prompter, state, nullptr, &document, nullptr, &drives};
    std::unique_ptr<gui::CMainFrame> frame;
    gui::CFileView* list = nullptr;
    gui::CDriveView* tree = nullptr;
    int menusShown = 0;
    std::vector<Shown> shown;
    std::string choose;  // the item to pick from the next menu
};

TEST_F(ContextMenuTest, WorkspaceNodeOffersItsOwnCommandsFirst) {
    rightClickNode(tree->workspaceItem(4));
    EXPECT_EQ(state.nodeKind, 5) << "the click selects the node";
    ASSERT_EQ(menusShown, 1);
    ASSERT_GE(shown.size(), 3u);
    EXPECT_EQ(shown[0].text, "Activate Workspace 05");
    EXPECT_TRUE(shown[0].enabled);
    EXPECT_EQ(shown[1].text, "");
    EXPECT_EQ(shown[2].text, "Rename Workspace 05");
    EXPECT_TRUE(shown[2].enabled);
    EXPECT_EQ(shown.back().text, "Activate ALL Scrivel Modules");
    EXPECT_EQ(shown.back().id, app::cmd::kActivateAll);
    EXPECT_TRUE(shown.back().enabled);
    // The main menu's own item keeps its text.
    EXPECT_EQ(plainText(frame->action(app::cmd::kActivateAll)), "Activate ALL Modules");
}

TEST_F(ContextMenuTest, FolderNodesEndWithExplorerAndRefresh) {
    rightClickNode(tree->findTopLevel("C:\\"));
    EXPECT_EQ(state.nodeKind, app::node::kDriveOrFolder);
    ASSERT_EQ(menusShown, 1);
    EXPECT_EQ(texts(), (std::vector<std::string>{"Export List to Tab-Delimited Text File",
                                                 "Export List to Text File with Even Columns",
                                                 "Export (Copy) List to Clipboard", "",
                                                 "Open Explorer Here", "", "Refresh Files List"}));
    EXPECT_TRUE(shown[4].enabled);
    EXPECT_TRUE(shown[6].enabled);
}

TEST_F(ContextMenuTest, EmptyTreeSpaceKeepsTheSelectionAndItsMenu) {
    rightClickNode(tree->workspaceItem(app::kSlotAll));
    ASSERT_EQ(state.nodeKind, app::node::kAllModules);
    const auto before = texts();
    rightClick(tree->viewport(), QPoint(10, tree->viewport()->height() - 3));
    EXPECT_EQ(state.nodeKind, app::node::kAllModules);
    ASSERT_EQ(menusShown, 2);
    EXPECT_EQ(texts(), before);
    EXPECT_EQ(texts().front(), "Activate ALL Scrivel Modules");
}

TEST_F(ContextMenuTest, ListMenuIsTheSameWhateverTheTreeShows) {
    rightClickNode(tree->workspaceItem(2));
    QWidget* rows = list->detailsView()->viewport();
    rightClick(rows, QPoint(20, 5));
    ASSERT_EQ(menusShown, 2);
    const std::vector<std::string> expected{"Display File Properties",
                                            "",
                                            "Export File Properties to Text File",
                                            "Export (Copy) File Properties to Clipboard",
                                            "",
                                            "Refresh Files List",
                                            "",
                                            "Export List to Tab-Delimited Text File",
                                            "Export List to Text File with Even Columns",
                                            "Export (Copy) List to Clipboard",
                                            "",
                                            "Print Module List",
                                            "Print Preview",
                                            "Print Setup",
                                            "",
                                            "Activate ALL Modules"};
    EXPECT_EQ(texts(), expected);
    rightClickNode(tree->findTopLevel("C:\\"));
    rightClick(rows, QPoint(20, 5));
    EXPECT_EQ(texts(), expected);
    // The items are enabled by the same handlers as in the main menu.
    for (const Shown& item : shown)
        if (item.text == "Print Module List" || item.text == "Refresh Files List") {
            EXPECT_TRUE(item.enabled) << item.text;
        }
}

TEST_F(ContextMenuTest, KeyboardRequestOpensNothing) {
    for (QWidget* target : std::vector<QWidget*>{tree, tree->viewport(), list->detailsView(),
                                                 list->detailsView()->viewport()}) {
        QContextMenuEvent request(QContextMenuEvent::Keyboard, QPoint(5, 5),
                                  target->mapToGlobal(QPoint(5, 5)));
        QApplication::sendEvent(target, &request);
    }
    EXPECT_EQ(menusShown, 0);
}

TEST_F(ContextMenuTest, ChosenItemRunsTheCommand) {
    const fs::path resources = temp.path() / "drive_c" / "Scrivel";
    ASSERT_EQ(list->model().rowCount(), 2);
    writeModule(resources / "web.bblx", "WEB");
    choose = "Refresh Files List";
    rightClick(list->detailsView()->viewport(), QPoint(20, 5));
    EXPECT_EQ(list->model().rowCount(), 3);

    // A command picked from the menu takes the main menu's route.
    list->setViewMode(gui::CFileView::ViewMode::List);
    choose = "Print Module List";
    prompter.answer(1);
    rightClick(list->iconView()->viewport(), QPoint(20, 5));
    ASSERT_EQ(prompter.shown.size(), 1u);
    EXPECT_EQ(prompter.shown[0].caption, " Print in Details View Mode");
}

TEST_F(ContextMenuTest, TreesOwnTextSendsTheSameCommand) {
    // Activating all modules from <C> first asks for confirmation; declined,
    // it says that nothing changed.
    choose = "Activate ALL Scrivel Modules";
    prompter.answer(dialogs::id::kNo);
    prompter.answer(dialogs::id::kOk);
    rightClickNode(tree->workspaceItem(app::kSlotCurrent));
    ASSERT_EQ(menusShown, 1);
    ASSERT_EQ(prompter.shown.size(), 2u);
    EXPECT_EQ(prompter.shown[1].caption, " No Activation Change");
}

}  // namespace
