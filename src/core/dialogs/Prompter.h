#pragma once

#include <cstdint>
#include <string>

#include "core/dialogs/MessageBoxParams.h"

namespace modshelf::dialogs {

// How core asks the user a question or tells them something. The gui shows
// real boxes; tests script the answers.
class Prompter {
public:
    virtual ~Prompter() = default;

    // The program's message box: returns the identifier of the button that
    // closed it (with id::kTimeoutFlag when the countdown pressed it).
    virtual int messageBox(const std::string& text, const std::string& caption, std::uint32_t style,
                           const MessageBoxParams& params) = 0;

    // The framework's plain message box, used for a few internal errors.
    virtual void plainMessage(const std::string& text, const std::string& caption) = 0;

    // The simple beep.
    virtual void beep() = 0;
};

}  // namespace modshelf::dialogs
