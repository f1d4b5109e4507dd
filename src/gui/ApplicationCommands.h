#pragma once

namespace modshelf::gui {

class CModshelfApp;
struct GuiContext;

// Gives the application object its command sets, before the main window is
// created. Each feature that answers commands at the application level adds
// its set here.
void installApplicationCommands(CModshelfApp& app, GuiContext& context);

}  // namespace modshelf::gui
