#pragma once

#include <ostream>

#include "core/dialogs/Prompter.h"

namespace modshelf::dialogs {

// Answers without a user at the screen, as the command line and benchmarks
// run: Yes to every question, OK to every notice. Notices are written to
// `notices` and plain (error) messages to `errors` when given.
class AutoAnswerPrompter : public Prompter {
public:
    explicit AutoAnswerPrompter(std::ostream* notices = nullptr, std::ostream* errors = nullptr)
        : notices_(notices), errors_(errors) {}

    int messageBox(const std::string& text, const std::string& caption, std::uint32_t style,
                   const MessageBoxParams& params) override;
    void plainMessage(const std::string& text, const std::string& caption) override;
    void beep() override {}

private:
    std::ostream* notices_;
    std::ostream* errors_;
};

}  // namespace modshelf::dialogs
