#include <gtest/gtest.h>

#include <set>
#include <vector>

#include "core/app/AppState.h"
#include "core/app/CommandIds.h"
#include "core/app/ContextMenus.h"

using namespace modshelf::app;

namespace {

// The menu as ids, 0 for a separator.
std::vector<int> ids(const std::vector<MenuItem>& menu) {
    std::vector<int> out;
    for (const MenuItem& item : menu)
        out.push_back(item.kind == MenuItem::Kind::Separator ? 0 : item.id);
    return out;
}

void collectMainMenu(const std::vector<MenuItem>& items, std::set<int>& out) {
    for (const MenuItem& item : items) {
        if (item.kind == MenuItem::Kind::Command) out.insert(item.id);
        if (item.kind == MenuItem::Kind::Submenu) collectMainMenu(item.items, out);
    }
}

}  // namespace

TEST(ContextMenusTest, TreeMenuFollowsTheSelectedNode) {
    using namespace cmd;
    struct Case {
        int nodeKind;
        std::vector<int> items;
    };
    const std::vector<int> folderMenu = {
        kExportTabDelimited, kExportEvenColumns, kCopyListToClipboard, 0, kOpenExplorer, 0,
        kRefreshList};
    const Case cases[] = {
        {node::kAllModules,
         {kActivateAll, 0, kExportTabDelimited, kExportEvenColumns, kCopyListToClipboard, 0,
          kRefreshList}},
        {node::kCurrentSettings,
         {kExportTabDelimited, kExportEvenColumns, kCopyListToClipboard, 0, kRefreshList, 0,
          kActivateAll}},
        {5,
         {activateWorkspace(5), 0, renameWorkspace(5), 0, kExportTabDelimited, kExportEvenColumns,
          kCopyListToClipboard, 0, kRefreshList, 0, kActivateAll}},
        {1, {40101, 0, 40081, 0, 40023, 40024, 40025, 0, 40134, 0, 40124}},
        {15, {40115, 0, 40095, 0, 40023, 40024, 40025, 0, 40134, 0, 40124}},
        {node::kResourceFolder, folderMenu},
        {node::kUserFilesFolder, folderMenu},
        {node::kDriveOrFolder, folderMenu},
        {node::kNone, {}},
        {0, {}},
        {21, {}},
    };
    for (const Case& c : cases) EXPECT_EQ(ids(treeContextMenu(c.nodeKind)), c.items) << c.nodeKind;
}

TEST(ContextMenusTest, TreeNamesActivateAllAfterScrivel) {
    for (const int kind : {node::kAllModules, node::kCurrentSettings, 7}) {
        int seen = 0;
        for (const MenuItem& item : treeContextMenu(kind)) {
            if (item.id != cmd::kActivateAll) {
                EXPECT_TRUE(item.title.empty()) << item.id;
                continue;
            }
            EXPECT_EQ(item.title, "Activate ALL Scrivel Modules");
            ++seen;
        }
        EXPECT_EQ(seen, 1) << kind;
    }
    for (const MenuItem& item : listContextMenu()) EXPECT_TRUE(item.title.empty()) << item.id;
}

TEST(ContextMenusTest, ListMenuIsFixed) {
    using namespace cmd;
    EXPECT_EQ(ids(listContextMenu()),
              (std::vector<int>{kFileProperties, 0, kExportPropertiesToFile,
                                kCopyPropertiesToClipboard, 0, kRefreshList, 0, kExportTabDelimited,
                                kExportEvenColumns, kCopyListToClipboard, 0, kPrint, kPrintPreview,
                                kPrintSetup, 0, kActivateAll}));
}

// Each item must be a command that the main menu offers too, so that it
// travels the same route and is enabled by the same rules.
TEST(ContextMenusTest, EveryItemIsAMainMenuCommand) {
    std::set<int> main;
    collectMainMenu(mainMenu(), main);
    std::vector<std::vector<MenuItem>> menus{listContextMenu()};
    for (int kind = -1; kind <= 20; ++kind) menus.push_back(treeContextMenu(kind));
    for (const auto& menu : menus)
        for (const MenuItem& item : menu) {
            if (item.kind == MenuItem::Kind::Separator) continue;
            EXPECT_EQ(item.kind, MenuItem::Kind::Command);
            EXPECT_TRUE(main.count(item.id)) << item.id;
            EXPECT_NE(findCommand(item.id), nullptr) << item.id;
        }
}
