#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace modshelf::settings {

// The five predefined roots of the store.
enum class RegRoot { ClassesRoot, CurrentUser, LocalMachine, Users, CurrentConfig };

// Results use the registry's own status numbers, because callers compare them.
using Status = long;
inline constexpr Status kSuccess = 0;
inline constexpr Status kFileNotFound = 2;       // key or value missing
inline constexpr Status kAccessDenied = 5;       // refused, e.g. deleting a key that has subkeys
inline constexpr Status kWriteFault = 29;        // the backing file could not be written
inline constexpr Status kSharingViolation = 32;  // another program holds the backing file
inline constexpr Status kInvalidParameter = 87;
inline constexpr Status kMoreData = 234;     // the caller's buffer is too small
inline constexpr Status kNoMoreItems = 259;  // enumeration past the end

// Value type tags.
inline constexpr std::uint32_t kRegNone = 0;
inline constexpr std::uint32_t kRegSz = 1;
inline constexpr std::uint32_t kRegExpandSz = 2;
inline constexpr std::uint32_t kRegBinary = 3;
inline constexpr std::uint32_t kRegDword = 4;
inline constexpr std::uint32_t kRegDwordBigEndian = 5;
inline constexpr std::uint32_t kRegLink = 6;
inline constexpr std::uint32_t kRegMultiSz = 7;
inline constexpr std::uint32_t kRegResourceList = 8;
inline constexpr std::uint32_t kRegFullResourceDescriptor = 9;
inline constexpr std::uint32_t kRegResourceRequirementsList = 10;
inline constexpr std::uint32_t kRegQword = 11;

// A value is a type tag and raw bytes. Text values hold their terminating NUL,
// exactly as the registry stores them.
struct RegValue {
    std::uint32_t type = kRegNone;
    std::string data;

    static RegValue fromString(const std::string& text, std::uint32_t type = kRegSz);
    static RegValue fromDword(std::uint32_t number);
    static RegValue fromBytes(const std::string& bytes, std::uint32_t type = kRegBinary);

    // The text up to the first NUL (for text types; the raw bytes otherwise).
    std::string text() const;

    bool operator==(const RegValue&) const = default;
};

// A value with its name, as a key lists it.
struct RegNamedValue {
    std::string name;
    RegValue value;
};

struct RegKeyInfo {
    std::uint32_t subKeys = 0;
    std::uint32_t maxSubKeyLength = 0;
    std::uint32_t values = 0;
    std::uint32_t maxValueNameLength = 0;
    std::uint32_t maxValueLength = 0;
};

// Key and value names compare without regard to ASCII letter case.
int compareNoCase(std::string_view a, std::string_view b);
bool equalsNoCase(std::string_view a, std::string_view b);

const char* rootName(RegRoot root);

}  // namespace modshelf::settings
