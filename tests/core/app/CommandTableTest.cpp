#include <gtest/gtest.h>

#include <cctype>
#include <functional>
#include <map>
#include <set>

#include "core/app/CommandIds.h"
#include "core/app/CommandTable.h"

namespace modshelf::app {
namespace {

std::string withoutMnemonic(std::string text) {
    std::erase(text, '&');
    return text;
}

std::vector<std::string> flatten(const std::vector<MenuItem>& items) {
    std::vector<std::string> out;
    for (const auto& item : items) {
        if (item.kind == MenuItem::Kind::Separator) {
            out.push_back("-");
        } else if (item.kind == MenuItem::Kind::Submenu) {
            out.push_back(">" + withoutMnemonic(item.title));
        } else {
            const CommandInfo* info = findCommand(item.id);
            out.push_back(info ? withoutMnemonic(info->menuText()) + "=" + std::to_string(item.id)
                               : "?" + std::to_string(item.id));
        }
    }
    return out;
}

TEST(CommandTable, IdsAreUniqueAndEveryMenuAndToolbarCommandIsInTheTable) {
    std::set<int> ids;
    for (const auto& info : commandTable()) {
        EXPECT_TRUE(ids.insert(info.id).second) << info.id;
    }

    std::function<void(const std::vector<MenuItem>&)> check =
        [&](const std::vector<MenuItem>& items) {
            for (const auto& item : items) {
                if (item.kind == MenuItem::Kind::Command) {
                    EXPECT_TRUE(ids.count(item.id)) << item.id;
                }
                if (item.kind == MenuItem::Kind::Submenu) check(item.items);
            }
        };
    check(mainMenu());
    for (int id : toolbarButtons()) {
        if (id != 0) {
            EXPECT_TRUE(ids.count(id)) << id;
        }
    }
}

TEST(CommandTable, MenuBarPopupsInOrder) {
    std::vector<std::string> titles;
    for (const auto& popup : mainMenu()) titles.push_back(popup.title);
    EXPECT_EQ(titles, (std::vector<std::string>{"&File", "&Workspace", "&View", "&Modules",
                                                "&Export", "&Help"}));
}

TEST(CommandTable, FileAndHelpMenusHoldTheirItemsInOrder) {
    EXPECT_EQ(flatten(mainMenu()[0].items),
              (std::vector<std::string>{"Display File Properties=211", "-", "Start Scrivel=40132",
                                        "Stop Scrivel=40131", "Stop and Start Scrivel=40029", "-",
                                        "Open SQLite Editor=40151", "Configure SQLite Editor=40152",
                                        "-", "Print Module List=57607", "Print Preview=57609",
                                        "Print Setup=57606", "-", "Open Explorer Here=40142", "-",
                                        "Activate ALL Modules=40124", "-", "Exit Modshelf=57665"}));
    EXPECT_EQ(flatten(mainMenu()[5].items),
              (std::vector<std::string>{
                  "Help Contents\tF1=40145", "Help Index\tAlt+F1=40146", "-",
                  "Online HTML Help\tCtrl+F1=40147", "Offline HTML Help\tShift+F1=40150", "-",
                  "Check for New Version=40149", "-", "Activate ALL Modules=40124", "-",
                  "About Modshelf=107", "The Modshelf License=40013"}));
}

TEST(CommandTable, WorkspaceMenuHasActivateAndRenameSubmenus) {
    const auto& workspace = mainMenu()[1].items;
    ASSERT_EQ(
        flatten(workspace),
        (std::vector<std::string>{">Activate . . .", "-", ">Rename . . .", "-",
                                  "Compare with Current Settings=40161", "Compare Workspaces=40162",
                                  "Undo Last Activation=40163", "Workspace Matrix=40164", "-",
                                  "Find in List\tCtrl+F=40160", "Refresh Files List\tF5=40134"}));
    const auto activate = flatten(workspace[0].items);
    ASSERT_EQ(activate.size(), 17u);
    EXPECT_EQ(activate.front(), "Activate Workspace 01=40101");
    EXPECT_EQ(activate[14], "Activate Workspace 15=40115");
    EXPECT_EQ(activate[15], "-");
    EXPECT_EQ(activate[16], "Activate ALL Modules=40124");
    const auto rename = flatten(workspace[2].items);
    ASSERT_EQ(rename.size(), 15u);
    EXPECT_EQ(rename.front(), "Rename Workspace 01=40081");
    EXPECT_EQ(rename.back(), "Rename Workspace 15=40095");
}

TEST(CommandTable, ModulesMenuPutsMultiRowsBeforeSingleRow) {
    const auto modules = flatten(mainMenu()[3].items);
    ASSERT_EQ(modules.size(), 25u);
    EXPECT_EQ(modules[0], "Bibles=40041");
    EXPECT_EQ(modules[4], "Gospel Harmonies=40046");
    EXPECT_EQ(modules[5], "Graphics Modules=40045");
    EXPECT_EQ(modules[16], "Verse Lists=40057");
    EXPECT_EQ(modules[21], "Multi Scrivel Tab Rows=40122");
    EXPECT_EQ(modules[22], "Single Scrivel Tab Row=40121");
}

TEST(CommandTable, ToolbarButtonsInOrderWithSeparators) {
    const std::vector<int> expected = {
        40132, 40131, 40029, 0,     112,   113,   110,   111,   0,     40134, 0,     40056,
        40041, 40053, 40042, 40044, 40043, 40046, 40047, 40048, 40057, 40045, 40049, 40050,
        40051, 40052, 40054, 40055, 0,     40076, 40077, 0,     211,   0};
    EXPECT_EQ(toolbarButtons(), expected);
    // Every button has an image and a tooltip.
    for (int id : toolbarButtons()) {
        if (id == 0) continue;
        const CommandInfo* info = findCommand(id);
        ASSERT_NE(info, nullptr);
        EXPECT_FALSE(info->icon.empty()) << id;
        EXPECT_FALSE(info->toolTip().empty()) << id;
    }
}

TEST(CommandTable, PromptSplitsIntoStatusTextAndTooltip) {
    const CommandInfo* stay = findCommand(cmd::kStayOnTop);
    ASSERT_NE(stay, nullptr);
    EXPECT_EQ(stay->statusPrompt(), " Keep Modshelf on top of (or in front of) other windows");
    EXPECT_EQ(stay->toolTip(), " Stay on Top ");
    const CommandInfo* exitCommand = findCommand(cmd::kExit);
    ASSERT_NE(exitCommand, nullptr);
    EXPECT_EQ(exitCommand->statusPrompt(), " Terminate Modshelf ");
    EXPECT_EQ(exitCommand->toolTip(), "");
    EXPECT_EQ(findCommand(cmd::renameWorkspace(7))->statusPrompt(),
              " If Workspace \"<07>\" has already been selected, change the name for Workspace "
              "\"<07>\" to another "
              "name ");
    EXPECT_EQ(findCommand(cmd::activateWorkspace(12))->statusPrompt(),
              " If Workspace \"<12>\" has already been selected, activate Workspace \"<12>\" the "
              "next time Scrivel "
              "starts ");
    EXPECT_EQ(findCommand(12345), nullptr);
}

TEST(CommandTable, AcceleratorsAreTheFiveOfTheFrameAndFind) {
    std::map<std::string, int> shortcuts;
    for (const auto& info : commandTable())
        if (!info.shortcut.empty()) shortcuts[info.shortcut] = info.id;
    EXPECT_EQ(shortcuts, (std::map<std::string, int>{{"F1", 40145},
                                                     {"Ctrl+F1", 40147},
                                                     {"Alt+F1", 40146},
                                                     {"Shift+F1", 40150},
                                                     {"F5", 40134},
                                                     {"Ctrl+F", 40160}}));
}

// Alt+W, then a letter: every item of a menu answers to its own key. The
// numbered workspaces past 10 have none (there are not enough digits).
TEST(CommandTable, EveryMenuItemHasItsOwnMnemonicWithinItsMenu) {
    const auto mnemonicOf = [](const std::string& text) -> char {
        const auto amp = text.find('&');
        if (amp == std::string::npos || amp + 1 >= text.size()) return 0;
        EXPECT_EQ(text.find('&', amp + 1), std::string::npos) << text;
        return static_cast<char>(std::tolower(static_cast<unsigned char>(text[amp + 1])));
    };
    std::function<void(const std::string&, const std::vector<MenuItem>&)> check =
        [&](const std::string& menu, const std::vector<MenuItem>& items) {
            std::map<char, std::string> taken;
            for (const auto& item : items) {
                if (item.kind == MenuItem::Kind::Separator) continue;
                const std::string text =
                    item.kind == MenuItem::Kind::Submenu ? item.title : findCommand(item.id)->text;
                const char key = mnemonicOf(text);
                const bool numberedPast10 =
                    (item.id > cmd::activateWorkspace(10) &&
                     item.id <= cmd::activateWorkspace(15)) ||
                    (item.id > cmd::renameWorkspace(10) && item.id <= cmd::renameWorkspace(15));
                if (!numberedPast10) {
                    EXPECT_NE(key, 0) << menu << ": " << text;
                }
                if (key != 0) {
                    const auto [it, fresh] = taken.emplace(key, text);
                    EXPECT_TRUE(fresh) << menu << ": " << text << " and " << it->second;
                }
                if (item.kind == MenuItem::Kind::Submenu) check(item.title, item.items);
            }
        };
    check("menu bar", mainMenu());
    EXPECT_EQ(findCommand(cmd::activateWorkspace(7))->plainText(), "Activate Workspace 07");
    EXPECT_EQ(findCommand(cmd::kStopAndStartHost)->plainText(), "Stop and Start Scrivel");
}

}  // namespace
}  // namespace modshelf::app
