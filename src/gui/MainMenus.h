#pragma once

#include <functional>

class QMenu;
class QMenuBar;

namespace modshelf::gui {

class CommandActions;

// Fills the menu bar from the command table's main menu. beforeShow runs for
// each menu (and submenu) as it opens, so that its items can be brought up to
// date first.
void buildMainMenus(QMenuBar& menuBar, const CommandActions& actions,
                    const std::function<void(QMenu*)>& beforeShow);

}  // namespace modshelf::gui
