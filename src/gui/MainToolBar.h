#pragma once

class QMainWindow;
class QToolBar;

namespace modshelf::gui {

class CommandActions;

// The toolbar with the command table's buttons in order, docked at the top
// and movable to any side.
QToolBar* createMainToolBar(QMainWindow& window, const CommandActions& actions);

}  // namespace modshelf::gui
