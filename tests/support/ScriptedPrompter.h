#pragma once

#include <deque>
#include <string>
#include <vector>

#include "core/dialogs/Prompter.h"

namespace modshelf::test {

// A Prompter whose answers are given in advance. Every box shown is recorded;
// a box for which no answer was queued fails the test that showed it.
class ScriptedPrompter : public dialogs::Prompter {
public:
    struct Shown {
        std::string text;
        std::string caption;
        std::uint32_t style = 0;
        dialogs::MessageBoxParams params;
    };

    void answer(int result) { answers_.push_back(result); }

    int messageBox(const std::string& text, const std::string& caption, std::uint32_t style,
                   const dialogs::MessageBoxParams& params) override;
    void plainMessage(const std::string& text, const std::string& caption) override;
    void beep() override { ++beeps; }

    std::vector<Shown> shown;
    std::vector<std::string> plainMessages;
    int beeps = 0;
    bool allAnswersUsed() const { return answers_.empty(); }

private:
    std::deque<int> answers_;
};

}  // namespace modshelf::test
