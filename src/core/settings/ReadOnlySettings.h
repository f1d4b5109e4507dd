#pragma once

#include "core/settings/SettingsStore.h"

namespace modshelf::settings {

// A view of a store that can only be read: for commands that report and must
// change nothing. Opening a key never creates it (a read of a missing key
// finds nothing, as it would have found the new empty key), and every write
// is refused with kAccessDenied, so nothing is ever saved through it.
class ReadOnlySettings : public SettingsStore {
public:
    explicit ReadOnlySettings(SettingsStore& store) : store_(store) {}

    Status createKey(RegRoot root, const std::string& path) override;
    Status openKey(RegRoot root, const std::string& path) override;
    Status queryValue(RegRoot root, const std::string& path, const std::string& name,
                      RegValue& out) override;
    Status setValue(RegRoot root, const std::string& path, const std::string& name,
                    const RegValue& value) override;
    Status deleteValue(RegRoot root, const std::string& path, const std::string& name) override;
    Status enumKey(RegRoot root, const std::string& path, std::uint32_t index,
                   std::string& name) override;
    Status enumValue(RegRoot root, const std::string& path, std::uint32_t index, std::string& name,
                     RegValue& value) override;
    Status queryInfo(RegRoot root, const std::string& path, RegKeyInfo& info) override;
    Status enumValues(RegRoot root, const std::string& path,
                      std::vector<RegNamedValue>& values) override;
    Status deleteKey(RegRoot root, const std::string& path) override;

protected:
    Status save(std::string& message) override;

private:
    SettingsStore& store_;
};

}  // namespace modshelf::settings
