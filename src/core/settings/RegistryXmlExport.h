#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "core/settings/SettingsStore.h"

namespace modshelf::settings {

class XmlWriter;

// Asked every fifty keys of an export whether the user wants it stopped (the
// program answers with the Escape key).
class ExportCancelCheck {
public:
    virtual ~ExportCancelCheck() = default;
    virtual bool cancelRequested() = 0;
};

// One value of a key as the backup lists it.
struct KeyValueEntry {
    std::string name;  // "(Default)" for the key's unnamed value
    std::string text;  // formatted by type; "(value not set)" for an unset default
    std::string typeName;
    bool writeType = false;
    bool set = true;  // false only for the placeholder of an unset default value
};

// The values of one key, sorted by name without regard to case, with the
// "(Default)" entry first; when the key has no default value a placeholder
// entry stands there. False when the key cannot be read.
bool ListKeyValues(SettingsStore& store, RegRoot root, const std::string& path,
                   std::vector<KeyValueEntry>& out);

// The state of one export.
struct RegistryXmlExport {
    SettingsStore& store;
    XmlWriter& writer;
    ExportCancelCheck* cancel = nullptr;
    std::uint64_t keysVisited = 0;
    bool cancelled = false;
};

// Writes a key with its values and, recursively, its subkeys. ownName empty:
// only the contents, without an element for the key itself. False when a key
// cannot be read or the user cancelled.
bool ExportKeyContents(RegistryXmlExport& context, RegRoot root, const std::string& path,
                       const std::string& ownName);

// Writes the key named by a full path ("HKEY_CURRENT_USER\Software\...") with
// one "k" element per path component around its contents. False when the root
// name is unknown, the key does not exist, a key cannot be read, or the user
// cancelled (what was written until then stays written).
bool ExportRegistryTree(RegistryXmlExport& context, const std::string& fullKeyPath);

// The root that a name such as "HKEY_CURRENT_USER" stands for (without regard
// to case).
std::optional<RegRoot> registryRootNamed(const std::string& name);

}  // namespace modshelf::settings
