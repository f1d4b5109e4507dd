#pragma once

#include <functional>
#include <memory>

#include "gui/CommandTarget.h"

class QPrinter;
class QWidget;

namespace modshelf::gui {

// "Print Setup": the system's page set-up dialog for the program's printer.
// What the user chooses there is used by every later print and preview.
class PrintSetupCommand : public CommandTarget {
public:
    // Shows the dialog for the printer; true when the user accepted it.
    using DialogRunner = std::function<bool(QPrinter& printer, QWidget* parent)>;

    PrintSetupCommand();
    explicit PrintSetupCommand(DialogRunner runner) : runDialog_(std::move(runner)) {}

    bool handleCommand(int id) override;
    bool updateCommand(int id, CommandState& state) override;

private:
    DialogRunner runDialog_;
};

}  // namespace modshelf::gui
