#include "gui/MainToolBar.h"

#include <QMainWindow>
#include <QToolBar>

#include "core/app/CommandTable.h"
#include "gui/CommandActions.h"

namespace modshelf::gui {

QToolBar* createMainToolBar(QMainWindow& window, const CommandActions& actions) {
    auto* toolBar = new QToolBar(QStringLiteral("Toolbar"), &window);
    toolBar->setObjectName(QStringLiteral("mainToolBar"));
    toolBar->setAllowedAreas(Qt::AllToolBarAreas);
    toolBar->setIconSize(QSize(16, 16));
    toolBar->setToolButtonStyle(Qt::ToolButtonIconOnly);
    for (int id : app::toolbarButtons()) {
        if (id == 0) {
            toolBar->addSeparator();
        } else if (QAction* action = actions.action(id)) {
            toolBar->addAction(action);
        }
    }
    window.addToolBar(Qt::TopToolBarArea, toolBar);
    return toolBar;
}

}  // namespace modshelf::gui
