#include "support/ScriptedPrompter.h"

#include <gtest/gtest.h>

namespace modshelf::test {

int ScriptedPrompter::messageBox(const std::string& text, const std::string& caption,
                                 std::uint32_t style, const dialogs::MessageBoxParams& params) {
    shown.push_back({text, caption, style, params});
    if (answers_.empty()) {
        ADD_FAILURE() << "Unexpected message box \"" << caption << "\": " << text;
        return dialogs::id::kCancel;
    }
    int result = answers_.front();
    answers_.pop_front();
    return result;
}

void ScriptedPrompter::plainMessage(const std::string& text, const std::string& caption) {
    plainMessages.push_back(caption + ": " + text);
}

}  // namespace modshelf::test
