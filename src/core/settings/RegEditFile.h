#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "core/settings/RegistryTree.h"

namespace modshelf::settings {

// The text form that Windows' and Wine's registry tools import and export
// ("Windows Registry Editor Version 5.00"): how changes reach a registry that
// another process holds, and how its state is read back.
//
// Text here is UTF-8; the file itself is UTF-16LE with a byte-order mark
// (regEditFileBytes / regEditFileText convert), since without one Wine reads
// the file in the ANSI code page.

// One change as the file expresses it. `keyPath` is the full path with its
// root name ("HKEY_CURRENT_USER\Software\...").
struct RegEditChange {
    enum class Kind { CreateKey, SetValue, DeleteValue, DeleteKey };
    Kind kind = Kind::CreateKey;
    std::string keyPath;
    std::string name;
    RegValue value;
    bool operator==(const RegEditChange&) const = default;
};

// The file text that applies the changes in order.
std::string regEditText(const std::vector<RegEditChange>& changes);

// The export text of a whole tree whose root is the key `rootName`
// ("HKEY_CURRENT_USER\Software"): every key, those without values too.
std::string regEditTextOf(const RegistryTree& tree, std::string_view rootName);

// Reads exported text below `rootName` ("HKEY_CURRENT_USER") into `tree`,
// keys relative to that root. Keys outside it are ignored. False, with the
// reason in `error`, when the text is not an export at all.
bool parseRegEdit(std::string_view text, std::string_view rootName, RegistryTree& tree,
                  std::string& error);

// Applies regedit text below `rootName` to `tree` as an importer would:
// keys are created, "[-KEY]" removes a key with its subkeys, "name"=- a value.
bool applyRegEdit(std::string_view text, std::string_view rootName, RegistryTree& tree,
                  std::string& error);

// The changes that regedit text makes, in order: "[KEY]" creates a key,
// "[-KEY]" removes one with its subkeys, value lines set or remove values
// (keyPath keeps the root name). False, with the reason in `error`, when the
// text is not regedit text at all; lines that cannot be read are skipped, as
// an importer skips them.
bool parseRegEditChanges(std::string_view text, std::vector<RegEditChange>& changes,
                         std::string& error);

// UTF-8 text to the file's bytes (UTF-16LE with byte-order mark), and back
// (a file without the mark is taken as UTF-8).
std::string regEditFileBytes(std::string_view text);
std::string regEditFileText(std::string_view bytes);

}  // namespace modshelf::settings
