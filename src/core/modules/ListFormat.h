#pragma once

#include <cstdint>
#include <ctime>
#include <string>

namespace modshelf::modules {

// Decimal digits with "," before every group of three from the right:
// 1234567 gives "1,234,567", 123 gives "123".
std::string FormatThousands(std::uint64_t number);

// File times: UTC in 100 ns units since 1 January 1601.
inline constexpr std::uint64_t kFileTimeUnixEpoch = 116444736000000000ULL;
std::uint64_t fileTimeFromUnix(std::int64_t seconds, std::int64_t nanoseconds);
std::int64_t unixSecondsFromFileTime(std::uint64_t fileTime);

// The "Last Modified" cell: local time as "MM/DD/YY  hh:mm AM" on a 12-hour
// clock ("03/07/15  09:05 PM"). Empty for a zero file time.
std::string lastModifiedText(std::uint64_t fileTime);
// The same from broken-down local time (for tests and other zones).
std::string lastModifiedText(const std::tm& localTime);

}  // namespace modshelf::modules
