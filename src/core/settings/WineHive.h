#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "core/settings/RegistryTree.h"

namespace modshelf::settings {

// Which branch a hive file holds; decides the header of a new file.
enum class HiveBranch { CurrentUser, LocalMachine };

// One Wine registry file (user.reg, system.reg) in memory.
//
// Text in the tree is UTF-8 (values of REG_SZ, REG_EXPAND_SZ and REG_MULTI_SZ
// included); the file's strings are UTF-16 on Wine's side, and the conversion
// happens here. What the parser does not understand is kept and written back
// unchanged: header lines, unknown options and comments inside a key (in the
// key's extraLines), and whatever follows a key header that cannot be read
// (in orphanLines, which Wine ignores just as it ignores them in place).
struct WineHive {
    std::vector<std::string> header;  // the lines before the first key, verbatim
    RegistryTree tree;
    std::vector<std::string> orphanLines;

    // The value of the "#arch=" line ("win32", "win64"), empty when absent.
    std::string arch() const;
};

inline constexpr std::string_view kWineHiveSignature = "WINE REGISTRY Version 2";

// A hive with the header Wine gives that branch; arch as for WineHive::arch,
// no "#arch=" line when empty.
WineHive newWineHive(HiveBranch branch, const std::string& arch);

// False, with the reason in `error`, when the text is not a Wine registry
// file (Wine itself refuses such a file). Lines that cannot be read do not
// make the parse fail; they are kept as described above.
bool parseWineHive(std::string_view text, WineHive& hive, std::string& error);

// The file text, in the form Wine itself writes.
std::string serializeWineHive(const WineHive& hive);
// The same from the parts, for a store that keeps its tree elsewhere.
std::string serializeWineHive(const std::vector<std::string>& header, const RegistryTree& tree,
                              const std::vector<std::string>& orphanLines);

// Escapes text as Wine writes it in a hive file: `quote` holds the characters
// that need a backslash besides the backslash itself ("\"" for names and
// strings, "[]" for key names). Exposed for tests of the exact form.
std::string escapeHiveText(std::u16string_view text, std::string_view quote);

}  // namespace modshelf::settings
