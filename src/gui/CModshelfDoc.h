#pragma once

#include <vector>

#include "gui/CommandTarget.h"

namespace modshelf::gui {

class ModshelfView;

// The document of the one-document, two-view model. It keeps no data; it
// knows its views, so that a command that neither the frame nor the active
// view handles is offered to the other view, and so that one view can tell
// the others that something changed.
class CModshelfDoc : public CommandTarget {
public:
    // Views in creation order: the list, then the tree.
    void addView(ModshelfView* view);
    void removeView(ModshelfView* view);
    const std::vector<ModshelfView*>& views() const { return views_; }

    // Offers the command to every view except `activeView`, in the document's
    // view order; true at the first view that handles it.
    bool routeCommandToAllViews(ModshelfView* activeView, int id);
    // The same for update handlers.
    bool routeUpdateToAllViews(ModshelfView* activeView, int id, CommandState& state);

    // Tells every view but the sender to bring itself up to date.
    void updateAllViews(ModshelfView* sender);

    // The document itself handles no command.
    bool handleCommand(int id) override;
    bool updateCommand(int id, CommandState& state) override;

private:
    std::vector<ModshelfView*> views_;
};

}  // namespace modshelf::gui
