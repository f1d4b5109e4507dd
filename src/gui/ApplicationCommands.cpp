#include "gui/ApplicationCommands.h"

#include <QCoreApplication>

#include "gui/CModshelfApp.h"
#include "gui/settings/SettingsBackupCommands.h"

namespace modshelf::gui {

void installApplicationCommands(CModshelfApp& app, GuiContext& context) {
    (void)app;
    (void)context;
    app.addCommandSet(std::make_unique<SettingsBackupCommands>(
        context, [&app] { return app.mainFrame(); },
        QCoreApplication::applicationFilePath().toStdString()));
}

}  // namespace modshelf::gui
