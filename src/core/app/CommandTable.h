#pragma once

#include <string>
#include <vector>

namespace modshelf::app {

// One command of the menus and the toolbar. The gui builds its actions,
// menus, toolbar and keyboard shortcuts from this one table.
struct CommandInfo {
    int id = 0;
    std::string text;      // menu text without the shortcut; "&" marks the mnemonic
    std::string shortcut;  // "F1", "Ctrl+F1", ...; empty when there is none
    std::string prompt;    // the status-bar prompt, then "\n" and the tooltip where there is one
    std::string icon;      // image name below the icon resources; empty when there is none
    bool checkable = false;

    // The prompt up to the "\n": what the status bar shows while the item is hovered.
    std::string statusPrompt() const;
    // The text after the "\n"; empty when the prompt has none.
    std::string toolTip() const;
    // The menu text as the menu shows it: text, then a tab and the shortcut.
    std::string menuText() const;
    // The text without its mnemonic mark, as buttons and lists show it.
    std::string plainText() const;
};

const std::vector<CommandInfo>& commandTable();
// The command with this id, or nullptr.
const CommandInfo* findCommand(int id);

// One entry of a menu: a command, a separator, or a submenu with its items.
struct MenuItem {
    enum class Kind { Command, Separator, Submenu };
    Kind kind = Kind::Command;
    int id = 0;         // for commands
    std::string title;  // for submenus
    std::vector<MenuItem> items;
};

// The main menu: one submenu per popup of the menu bar, in order.
const std::vector<MenuItem>& mainMenu();

// The toolbar buttons in order; 0 is a separator.
const std::vector<int>& toolbarButtons();

}  // namespace modshelf::app
