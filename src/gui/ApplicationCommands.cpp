#include "gui/ApplicationCommands.h"

#include "gui/CModshelfApp.h"

namespace modshelf::gui {

void installApplicationCommands(CModshelfApp& app, GuiContext& context) {
    (void)app;
    (void)context;
}

}  // namespace modshelf::gui
