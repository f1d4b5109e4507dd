#include "gui/ApplicationCommands.h"

#include "gui/CModshelfApp.h"
#include "gui/dialogs/AboutCommands.h"
#include "gui/printing/PrintSetupCommand.h"

namespace modshelf::gui {

void installApplicationCommands(CModshelfApp& app, GuiContext& context) {
    app.addCommandSet(std::make_unique<AboutCommands>(context, [&app] { return app.mainFrame(); }));
    app.addCommandSet(std::make_unique<PrintSetupCommand>());
}

}  // namespace modshelf::gui
