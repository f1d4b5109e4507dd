#pragma once

class QPrinter;

namespace modshelf::gui {

// The printer that every printout of the program uses: the page set-up
// chosen in "Print Setup" stays with it for the rest of the run. It lives as
// long as the application object.
QPrinter& programPrinter();

}  // namespace modshelf::gui
