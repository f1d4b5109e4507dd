#include "gui/CModshelfDoc.h"

#include <algorithm>

#include "gui/ModshelfView.h"

namespace modshelf::gui {

void CModshelfDoc::addView(ModshelfView* view) {
    if (view && std::find(views_.begin(), views_.end(), view) == views_.end())
        views_.push_back(view);
}

void CModshelfDoc::removeView(ModshelfView* view) {
    std::erase(views_, view);
}

bool CModshelfDoc::routeCommandToAllViews(ModshelfView* activeView, int id) {
    // A handler may add or remove views; walk a copy.
    const auto views = views_;
    for (ModshelfView* view : views)
        if (view != activeView && view->handleCommand(id)) return true;
    return false;
}

bool CModshelfDoc::routeUpdateToAllViews(ModshelfView* activeView, int id, CommandState& state) {
    for (ModshelfView* view : views_)
        if (view != activeView && view->updateCommand(id, state)) return true;
    return false;
}

void CModshelfDoc::updateAllViews(ModshelfView* sender) {
    const auto views = views_;
    for (ModshelfView* view : views)
        if (view != sender) view->onUpdate(sender);
}

bool CModshelfDoc::handleCommand(int) {
    return false;
}
bool CModshelfDoc::updateCommand(int, CommandState&) {
    return false;
}

}  // namespace modshelf::gui
