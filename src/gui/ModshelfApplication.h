#pragma once

namespace modshelf::gui {

// Runs the program: start-up, the main window and the event loop.
int runModshelf(int argc, char** argv);

}  // namespace modshelf::gui
