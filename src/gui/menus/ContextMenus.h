#pragma once

#include <QObject>
#include <QPoint>
#include <functional>
#include <vector>

#include "core/app/CommandTable.h"

class QMenu;
class QWidget;

namespace modshelf::gui {

struct GuiContext;
class CFileView;
class CMainFrame;

// How a short-cut menu is shown: at a screen position, until the user picks
// an item or dismisses it. Tests replace it to look at the menu.
using ContextMenuShower = std::function<void(QMenu& menu, const QPoint& globalPos)>;
void setContextMenuShower(ContextMenuShower shower);

// Fills `menu` with the main window's actions for `items` (so that each item
// is the very command of the main menu) and brings their enabled state up to
// date. Items with their own title get an action of that text that sends the
// same command.
void fillContextMenu(QMenu& menu, CMainFrame& frame, const std::vector<app::MenuItem>& items);

// Opens the short-cut menus of a pane on a right click. A request from the
// keyboard carries no position and opens nothing. It lives as long as the
// pane (its parent).
class ContextMenuOpener : public QObject {
    Q_OBJECT
public:
    using MenuItems = std::function<std::vector<app::MenuItem>()>;
    // The panes whose viewports take the right clicks; the first is the parent.
    ContextMenuOpener(std::vector<QWidget*> areas, MenuItems items);

    // Shows the menu at a screen position, as for a right click there.
    void openAt(const QPoint& globalPos);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    std::vector<QWidget*> areas_;
    std::vector<QObject*> viewports_;
    MenuItems items_;
};

// The tree's menu depends on the node selected at the click; the list's is
// fixed.
ContextMenuOpener* attachTreeContextMenu(GuiContext& context, QWidget& tree);
ContextMenuOpener* attachListContextMenu(CFileView& list);

}  // namespace modshelf::gui
