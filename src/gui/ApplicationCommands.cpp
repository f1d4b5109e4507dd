#include "gui/ApplicationCommands.h"

#include "gui/CModshelfApp.h"
#include "gui/printing/PrintSetupCommand.h"

namespace modshelf::gui {

void installApplicationCommands(CModshelfApp& app, GuiContext& context) {
    (void)context;
    app.addCommandSet(std::make_unique<PrintSetupCommand>());
}

}  // namespace modshelf::gui
