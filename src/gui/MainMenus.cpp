#include "gui/MainMenus.h"

#include <QMenu>
#include <QMenuBar>

#include "core/app/CommandTable.h"
#include "gui/CommandActions.h"

namespace modshelf::gui {

namespace {

void fillMenu(QMenu& menu, const std::vector<app::MenuItem>& items, const CommandActions& actions,
              const std::function<void(QMenu*)>& beforeShow) {
    QObject::connect(&menu, &QMenu::aboutToShow, &menu, [&menu, beforeShow] { beforeShow(&menu); });
    for (const app::MenuItem& item : items) {
        switch (item.kind) {
            case app::MenuItem::Kind::Separator:
                menu.addSeparator();
                break;
            case app::MenuItem::Kind::Command:
                if (QAction* action = actions.action(item.id)) menu.addAction(action);
                break;
            case app::MenuItem::Kind::Submenu: {
                QMenu* sub = menu.addMenu(QString::fromStdString(item.title));
                fillMenu(*sub, item.items, actions, beforeShow);
                break;
            }
        }
    }
}

}  // namespace

void buildMainMenus(QMenuBar& menuBar, const CommandActions& actions,
                    const std::function<void(QMenu*)>& beforeShow) {
    for (const app::MenuItem& popup : app::mainMenu()) {
        QMenu* menu = menuBar.addMenu(QString::fromStdString(popup.title));
        fillMenu(*menu, popup.items, actions, beforeShow);
    }
}

}  // namespace modshelf::gui
