#pragma once

#include "gui/CommandTarget.h"

class QWidget;

namespace modshelf::gui {

// One of the document's two views: the workspace tree and the module list.
class ModshelfView : public CommandTarget {
public:
    // The document's update-all-views call: a view announced a change (for
    // example the tree selected a folder); every other view brings itself up
    // to date from the program-wide state.
    virtual void onUpdate(ModshelfView* sender) = 0;
    virtual QWidget* widget() = 0;
};

}  // namespace modshelf::gui
