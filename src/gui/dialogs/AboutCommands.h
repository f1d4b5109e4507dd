#pragma once

#include <functional>

#include "gui/CommandTarget.h"

class QWidget;

namespace modshelf::gui {

struct GuiContext;

// "About Modshelf" and "The Modshelf License": each opens its box modally
// over the main window.
class AboutCommands : public CommandTarget {
public:
    // mainWindow: the window the boxes open over, asked when a box opens,
    // since the application gives out its commands before it has a window.
    AboutCommands(GuiContext& context, std::function<QWidget*()> mainWindow)
        : context_(context), mainWindow_(std::move(mainWindow)) {}

    bool handleCommand(int id) override;
    bool updateCommand(int id, CommandState& state) override;

private:
    GuiContext& context_;
    std::function<QWidget*()> mainWindow_;
};

}  // namespace modshelf::gui
