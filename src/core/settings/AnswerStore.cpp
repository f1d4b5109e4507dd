#include "core/settings/AnswerStore.h"

#include <cstring>

#include "core/dialogs/MessageBoxModel.h"
#include "core/settings/RegistryKey.h"
#include "core/settings/SettingsStore.h"

namespace modshelf::settings {

using dialogs::kCheckBoxBits;
using dialogs::MessageBoxParams;

std::string AnswerStore::keyPath(const std::string& companyName, const std::string& programName) {
    std::string path = "Software\\";
    if (!companyName.empty()) path += companyName + "\\";
    return path + programName + "\\Prompts";
}

std::string AnswerStore::valueName(const std::string& sourceName, std::uint32_t sourceLine) {
    return sourceName + std::to_string(sourceLine);
}

std::optional<int> AnswerStore::recall(std::uint32_t style, const MessageBoxParams& params) const {
    if ((style & kCheckBoxBits) == 0 || params.sourceName.empty()) return std::nullopt;
    const std::string path = keyPath(params.companyName, programName_);
    if (store_.openKey(RegRoot::CurrentUser, path) != kSuccess) return std::nullopt;
    RegValue value;
    if (store_.queryValue(RegRoot::CurrentUser, path,
                          valueName(params.sourceName, params.sourceLine), value) != kSuccess) {
        return std::nullopt;
    }
    if (value.data.size() != 4) return std::nullopt;
    std::uint32_t stored = 0;
    std::memcpy(&stored, value.data.data(), 4);
    if ((stored & kCheckBoxBits) == 0) return std::nullopt;
    return static_cast<int>(stored);
}

bool AnswerStore::remember(const MessageBoxParams& params, int result) {
    const auto bits = static_cast<std::uint32_t>(result);
    if ((bits & kCheckBoxBits) == 0 || params.sourceName.empty()) return false;
    RegistryKey key(store_);
    if (key.Create(RegRoot::CurrentUser, keyPath(params.companyName, programName_)) != kSuccess) {
        return false;
    }
    return key.SetDword(valueName(params.sourceName, params.sourceLine), bits) == kSuccess;
}

}  // namespace modshelf::settings
