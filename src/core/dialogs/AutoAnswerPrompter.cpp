#include "core/dialogs/AutoAnswerPrompter.h"

namespace modshelf::dialogs {

int AutoAnswerPrompter::messageBox(const std::string& text, const std::string&, std::uint32_t style,
                                   const MessageBoxParams&) {
    const std::uint32_t buttons = style & mb::kTypeMask;
    if (buttons == mb::kYesNo || buttons == mb::kYesNoCancel) return id::kYes;
    if (notices_) *notices_ << text << '\n';
    return id::kOk;
}

void AutoAnswerPrompter::plainMessage(const std::string& text, const std::string&) {
    if (errors_) *errors_ << text << '\n';
}

}  // namespace modshelf::dialogs
