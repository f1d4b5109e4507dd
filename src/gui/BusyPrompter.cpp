#include "gui/BusyPrompter.h"

#include <QApplication>

namespace modshelf::gui {

BusyPrompter::BusyPrompter(dialogs::Prompter& inner, bool busyNow) : inner_(inner) {
    if (busyNow) begin();
}

BusyPrompter::~BusyPrompter() {
    end();
}

void BusyPrompter::begin() {
    if (busy_) return;
    QApplication::setOverrideCursor(Qt::WaitCursor);
    busy_ = true;
}

void BusyPrompter::end() {
    if (!busy_) return;
    QApplication::restoreOverrideCursor();
    busy_ = false;
}

int BusyPrompter::messageBox(const std::string& text, const std::string& caption,
                             std::uint32_t style, const dialogs::MessageBoxParams& params) {
    end();
    return inner_.messageBox(text, caption, style, params);
}

void BusyPrompter::plainMessage(const std::string& text, const std::string& caption) {
    end();
    inner_.plainMessage(text, caption);
}

}  // namespace modshelf::gui
