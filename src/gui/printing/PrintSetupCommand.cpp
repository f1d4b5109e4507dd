#include "gui/printing/PrintSetupCommand.h"

#include <QApplication>
#include <QPageSetupDialog>
#include <QPrinter>

#include "core/app/CommandIds.h"
#include "gui/printing/ProgramPrinter.h"

namespace modshelf::gui {

PrintSetupCommand::PrintSetupCommand()
    : runDialog_([](QPrinter& printer, QWidget* parent) {
          QPageSetupDialog dialog(&printer, parent);
          return dialog.exec() == QDialog::Accepted;
      }) {}

bool PrintSetupCommand::handleCommand(int id) {
    if (id != app::cmd::kPrintSetup) return false;
    // The dialog writes the choice into the printer itself when accepted.
    runDialog_(programPrinter(), QApplication::activeWindow());
    return true;
}

bool PrintSetupCommand::updateCommand(int id, CommandState& state) {
    if (id != app::cmd::kPrintSetup) return false;
    state.enabled = true;
    return true;
}

}  // namespace modshelf::gui
