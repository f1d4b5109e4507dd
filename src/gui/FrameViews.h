#pragma once

#include "gui/CMainFrame.h"

namespace modshelf::gui {

// The program's two panes: the module list and the workspace tree.
FrameViews programViews();

}  // namespace modshelf::gui
