#pragma once

#include <cstdint>
#include <ostream>
#include <string>

#include "core/settings/RegistryKey.h"

namespace modshelf::settings {

// Each call opens its own key, reads or writes one value and closes it.
// A read that finds no key creates it, empty, and gives the empty text or the
// caller's default.
std::string GetRegString(SettingsStore& store, RegRoot root, const std::string& keyPath,
                         const std::string& valueName);
std::uint32_t GetRegDword(SettingsStore& store, RegRoot root, const std::string& keyPath,
                          const std::string& valueName, std::uint32_t defaultValue);

// Writes go below HKEY_CURRENT_USER. The result is the status of opening the
// key; a failed save is reported through the store's save-failure listener.
Status SetRegString(SettingsStore& store, const std::string& keyPath, const std::string& valueName,
                    const std::string& text);
Status SetRegDword(SettingsStore& store, const std::string& keyPath, const std::string& valueName,
                   std::uint32_t number);

// Removes a key with all its subkeys. True when the key is gone (deleted, or
// never there) and that has been saved; inside an enclosing operation the
// save comes at that operation's end, which reports it. An empty path (the
// root) is refused. Its two diagnostics go to `diagnostics` (standard output
// by default).
bool DeleteKeyTree(SettingsStore& store, RegRoot root, const std::string& keyPath);
bool DeleteKeyTree(SettingsStore& store, RegRoot root, const std::string& keyPath,
                   std::ostream& diagnostics);

}  // namespace modshelf::settings
