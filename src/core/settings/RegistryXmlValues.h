#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "core/settings/RegistryTypes.h"

namespace modshelf::settings {

// How a value appears in the backup file, before escaping.
struct RegistryXmlValueText {
    std::string text;
    std::string typeName;    // the "type" attribute
    bool writeType = false;  // false: no "type" attribute (plain text values)
};

// The value's text by its type: text as it is, numbers as "0x0000000f (15)"
// or "0x" and sixteen digits, bytes as lower-case hex pairs separated by one
// space, multi-strings joined by "\r\n".
RegistryXmlValueText formatRegistryXmlValue(const RegValue& value);

// The type named by a "type" attribute (without regard to case); a missing,
// empty or unknown name is plain text.
std::uint32_t registryXmlType(const std::string& typeName);

// The value a backup's texts stand for. Nothing when the text does not fit the
// type: a number without its "0x" and full count of hex digits, or bytes that
// are not hex pairs. An empty text gives 0 for numbers and no bytes for
// binary data.
std::optional<RegValue> parseRegistryXmlValue(const std::string& typeName, const std::string& text);

}  // namespace modshelf::settings
