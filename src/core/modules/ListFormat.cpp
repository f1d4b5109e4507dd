#include "core/modules/ListFormat.h"

#include <cstdio>

namespace modshelf::modules {

std::string FormatThousands(std::uint64_t number) {
    const std::string digits = std::to_string(number);
    std::string result;
    result.reserve(digits.size() + digits.size() / 3);
    for (std::size_t i = 0; i < digits.size(); ++i) {
        if (i > 0 && (digits.size() - i) % 3 == 0) result.push_back(',');
        result.push_back(digits[i]);
    }
    return result;
}

std::uint64_t fileTimeFromUnix(std::int64_t seconds, std::int64_t nanoseconds) {
    const std::int64_t ticks = seconds * 10000000 + nanoseconds / 100;
    if (ticks < -static_cast<std::int64_t>(kFileTimeUnixEpoch)) return 0;
    return kFileTimeUnixEpoch + static_cast<std::uint64_t>(ticks);
}

std::int64_t unixSecondsFromFileTime(std::uint64_t fileTime) {
    return (static_cast<std::int64_t>(fileTime) - static_cast<std::int64_t>(kFileTimeUnixEpoch)) /
           10000000;
}

std::string lastModifiedText(const std::tm& local) {
    int hour = local.tm_hour % 12;
    if (hour == 0) hour = 12;
    char text[32];
    std::snprintf(text, sizeof text, "%02d/%02d/%02d  %02d:%02d %cM", local.tm_mon + 1,
                  local.tm_mday, (local.tm_year + 1900) % 100, hour, local.tm_min,
                  local.tm_hour >= 12 ? 'P' : 'A');
    return text;
}

std::string lastModifiedText(std::uint64_t fileTime) {
    if (fileTime == 0) return {};
    const std::time_t seconds = static_cast<std::time_t>(unixSecondsFromFileTime(fileTime));
    std::tm local{};
    if (!localtime_r(&seconds, &local)) return {};
    return lastModifiedText(local);
}

}  // namespace modshelf::modules
