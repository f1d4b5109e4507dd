#include "gui/ApplicationCommands.h"

#include "gui/CModshelfApp.h"
#include "gui/dialogs/AboutCommands.h"

namespace modshelf::gui {

void installApplicationCommands(CModshelfApp& app, GuiContext& context) {
    (void)app;
    (void)context;
    app.addCommandSet(std::make_unique<AboutCommands>(context, [&app] { return app.mainFrame(); }));
}

}  // namespace modshelf::gui
