#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "core/dialogs/MessageBoxParams.h"

namespace modshelf::settings {

class SettingsStore;

// Remembers the answers of boxes whose "Don't ask me again" (or sibling) box
// was ticked, below HKEY_CURRENT_USER\Software\[company\]program\Prompts, one
// 32-bit value per asking place (source name followed by its line number).
class AnswerStore {
public:
    explicit AnswerStore(SettingsStore& store, std::string programName = "Modshelf")
        : store_(store), programName_(std::move(programName)) {}

    static std::string keyPath(const std::string& companyName, const std::string& programName);
    static std::string valueName(const std::string& sourceName, std::uint32_t sourceLine);

    // The remembered answer for this call, if the style asks for a check box,
    // the caller names its place, and the stored answer carries a check-box bit.
    // Reading never creates keys.
    std::optional<int> recall(std::uint32_t style, const dialogs::MessageBoxParams& params) const;

    // Stores `result` when it carries a check-box bit and the caller names its
    // place. Returns true when the answer was written.
    bool remember(const dialogs::MessageBoxParams& params, int result);

private:
    SettingsStore& store_;
    std::string programName_;
};

}  // namespace modshelf::settings
