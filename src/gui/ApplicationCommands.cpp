#include "gui/ApplicationCommands.h"

#include <QCoreApplication>

#include "gui/CModshelfApp.h"
#include "gui/dialogs/AboutCommands.h"
#include "gui/printing/PrintSetupCommand.h"
#include "gui/settings/SettingsBackupCommands.h"

namespace modshelf::gui {

void installApplicationCommands(CModshelfApp& app, GuiContext& context) {
    auto mainFrame = [&app] { return app.mainFrame(); };
    app.addCommandSet(std::make_unique<AboutCommands>(context, mainFrame));
    app.addCommandSet(std::make_unique<PrintSetupCommand>());
    app.addCommandSet(std::make_unique<SettingsBackupCommands>(
        context, mainFrame, QCoreApplication::applicationFilePath().toStdString()));
}

}  // namespace modshelf::gui
