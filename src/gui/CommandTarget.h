#pragma once

namespace modshelf::gui {

// What an update handler decides about a menu item or toolbar button.
struct CommandState {
    bool enabled = true;
    bool checked = false;
};

// Anything that takes part in command routing: the views, the document, the
// frame and the application. A command travels active view, document, frame,
// application, then the other view; the first target that handles it ends it.
class CommandTarget {
public:
    virtual ~CommandTarget() = default;
    // True when this target handled the command.
    virtual bool handleCommand(int id) = 0;
    // True when this target has an update handler for the command; it then
    // fills in state. A target that handles a command must answer here too:
    // a command that no target answers for is shown disabled, so that a
    // feature that is not there cannot look as if it worked.
    virtual bool updateCommand(int id, CommandState& state) = 0;
};

}  // namespace modshelf::gui
