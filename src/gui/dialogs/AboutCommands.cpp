#include "gui/dialogs/AboutCommands.h"

#include "core/app/AppState.h"
#include "core/app/CommandIds.h"
#include "gui/GuiContext.h"
#include "gui/dialogs/CAboutBox.h"
#include "gui/dialogs/CLicenseBox.h"

namespace modshelf::gui {

bool AboutCommands::handleCommand(int id) {
    switch (id) {
        case app::cmd::kAbout: {
            CAboutBox box(context_.state.programVersion, mainWindow_ ? mainWindow_() : nullptr);
            box.exec();
            return true;
        }
        case app::cmd::kLicense: {
            CLicenseBox box(context_.state.programVersion, mainWindow_ ? mainWindow_() : nullptr);
            box.exec();
            return true;
        }
        default:
            return false;
    }
}

bool AboutCommands::updateCommand(int id, CommandState& state) {
    if (id != app::cmd::kAbout && id != app::cmd::kLicense) return false;
    state.enabled = true;
    return true;
}

}  // namespace modshelf::gui
