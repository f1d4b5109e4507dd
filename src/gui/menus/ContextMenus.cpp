#include "gui/menus/ContextMenus.h"

#include <QAbstractScrollArea>
#include <QAction>
#include <QContextMenuEvent>
#include <QListView>
#include <QMenu>
#include <QTableView>
#include <algorithm>

#include "core/app/AppState.h"
#include "core/app/ContextMenus.h"
#include "gui/CMainFrame.h"
#include "gui/GuiContext.h"
#include "gui/views/CFileView.h"

namespace modshelf::gui {

namespace {

ContextMenuShower& shower() {
    static ContextMenuShower instance = [](QMenu& menu, const QPoint& globalPos) {
        menu.exec(globalPos);
    };
    return instance;
}

// The widget that receives a pane's mouse events.
QWidget* clickArea(QWidget* pane) {
    if (auto* area = qobject_cast<QAbstractScrollArea*>(pane)) return area->viewport();
    return nullptr;
}

}  // namespace

void setContextMenuShower(ContextMenuShower newShower) {
    shower() = std::move(newShower);
}

void fillContextMenu(QMenu& menu, CMainFrame& frame, const std::vector<app::MenuItem>& items) {
    for (const app::MenuItem& item : items) {
        if (item.kind == app::MenuItem::Kind::Separator) {
            menu.addSeparator();
            continue;
        }
        if (item.kind != app::MenuItem::Kind::Command) continue;
        QAction* action = frame.action(item.id);
        if (!action) continue;
        if (item.title.empty()) {
            menu.addAction(action);
            continue;
        }
        // Another text for the same command: the update handlers and the
        // routing see the command's id, as for the main menu's item.
        QAction* own = menu.addAction(QString::fromStdString(item.title));
        own->setData(item.id);
        own->setStatusTip(action->statusTip());
        const int id = item.id;
        QObject::connect(own, &QAction::triggered, &frame,
                         [&frame, id] { frame.routeCommand(id); });
    }
    frame.updateMenu(&menu);
}

ContextMenuOpener::ContextMenuOpener(std::vector<QWidget*> areas, MenuItems items)
    : QObject(areas.front()), areas_(std::move(areas)), items_(std::move(items)) {
    // The pane itself hears requests from the keyboard and from its other
    // parts (headings, scroll bars); only the rows' area opens a menu.
    for (QWidget* area : areas_) {
        area->installEventFilter(this);
        if (QWidget* viewport = clickArea(area)) {
            viewport->installEventFilter(this);
            viewports_.push_back(viewport);
        }
    }
}

void ContextMenuOpener::openAt(const QPoint& globalPos) {
    auto* frame = qobject_cast<CMainFrame*>(areas_.front()->window());
    if (!frame) return;
    // The click may have changed the selection (and with it the list and the
    // title): show that before the menu opens.
    frame->repaint();
    const std::vector<app::MenuItem> items = items_();
    if (items.empty()) return;
    QMenu menu(frame);
    fillContextMenu(menu, *frame, items);
    shower()(menu, globalPos);
}

bool ContextMenuOpener::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::ContextMenu) return QObject::eventFilter(watched, event);
    auto* request = static_cast<QContextMenuEvent*>(event);
    const bool onRows =
        std::find(viewports_.begin(), viewports_.end(), watched) != viewports_.end();
    if (onRows && request->reason() != QContextMenuEvent::Keyboard) openAt(request->globalPos());
    return true;
}

ContextMenuOpener* attachTreeContextMenu(GuiContext& context, QWidget& tree) {
    app::AppState* state = &context.state;
    return new ContextMenuOpener({&tree},
                                 [state] { return app::treeContextMenu(state->nodeKind); });
}

ContextMenuOpener* attachListContextMenu(CFileView& list) {
    return new ContextMenuOpener({&list, list.detailsView(), list.iconView()},
                                 [] { return app::listContextMenu(); });
}

}  // namespace modshelf::gui
