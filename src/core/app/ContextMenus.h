#pragma once

#include <vector>

#include "core/app/CommandTable.h"

namespace modshelf::app {

// The short-cut menus of the two panes. Every item is a command of the main
// menu; a command item whose title is not empty shows that text in place of
// the main menu's (the tree names command 40124 "Activate ALL Scrivel
// Modules").

// The tree's menu for the selected node; empty when no node is selected.
std::vector<MenuItem> treeContextMenu(int nodeKind);

// The list's menu, the same whatever the tree shows.
const std::vector<MenuItem>& listContextMenu();

}  // namespace modshelf::app
