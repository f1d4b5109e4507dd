#include "gui/dialogs/QtPrompter.h"

#include <QApplication>
#include <QMessageBox>

#include "gui/dialogs/XMessageBox.h"

namespace modshelf::gui {

int QtPrompter::messageBox(const std::string& text, const std::string& caption, std::uint32_t style,
                           const dialogs::MessageBoxParams& params) {
    return XMessageBox::show(owner_, text, caption, style, &params);
}

void QtPrompter::plainMessage(const std::string& text, const std::string& caption) {
    QMessageBox::information(owner_, QString::fromStdString(caption), QString::fromStdString(text));
}

void QtPrompter::beep() {
    QApplication::beep();
}

}  // namespace modshelf::gui
