#pragma once

#include <string>
#include <vector>

#include "core/settings/RegistryTree.h"
#include "core/settings/SettingsStore.h"

namespace modshelf::settings {

class XmlReader;

// One key of a backup: its path below the root and its values in file order.
struct ImportedKey {
    std::string path;
    std::vector<NamedValue> values;  // an empty name is the key's default value
};

// Everything a backup holds for one subtree, read and checked before anything
// is written.
struct RegistryXmlImport {
    enum class Problem {
        None,
        ParseError,  // the reader's message
        ForeignKey,  // a key outside the subtree that may be restored
        BadValue,    // a value whose text does not fit its type
        Incomplete,  // the file ends before its elements are closed
        NoSettings,  // the file holds no key of the subtree at all
    };

    std::vector<ImportedKey> keys;  // the subtree's own key first when present
    Problem problem = Problem::None;
    std::string detail;  // the parse error, the foreign key or the value's name
    int line = 0;        // where the problem was found

    bool ok() const { return problem == Problem::None; }
};

// Reads a whole backup through the reader and keeps only what lies in the
// subtree `allowedKey` (a full path such as
// "HKEY_CURRENT_USER\Software\Quorvel\Modshelf"). The keys leading down to it
// may appear in the file without values; any other key, or a value in one of
// those leading keys, makes the whole file refused. Paths in the result are
// below the subtree's root ("Software\Quorvel\Modshelf\Settings").
RegistryXmlImport ReadRegistryXml(XmlReader& reader, const std::string& allowedKey);

// Replaces the subtree with the backup's keys in one operation of the store:
// all of it or, when the store refuses a write or the save, none of it. False
// with `error` set when the settings were left as they were.
bool ApplyRegistryImport(SettingsStore& store, const std::string& allowedKey,
                         const std::vector<ImportedKey>& keys, std::string& error);

// Reads the backup file whole and, when it passes every check, puts its keys
// in place of the subtree. False when the file was refused (`read` tells why)
// or the store did not take it (`error` tells why); the settings are then as
// they were.
bool ImportRegistryXml(SettingsStore& store, const std::string& filePath,
                       const std::string& allowedKey, RegistryXmlImport& read, std::string& error);

// The keys and values of a subtree, parents before their subkeys.
std::vector<ImportedKey> CaptureSubtree(SettingsStore& store, RegRoot root,
                                        const std::string& path);

}  // namespace modshelf::settings
