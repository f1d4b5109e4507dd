#pragma once

#include <ctime>

namespace modshelf::test {

// A broken-down local time, as the formatting code receives one.
inline std::tm localTime(int year, int month, int day, int hour, int minute) {
    std::tm t{};
    t.tm_year = year - 1900;
    t.tm_mon = month - 1;
    t.tm_mday = day;
    t.tm_hour = hour;
    t.tm_min = minute;
    return t;
}

}  // namespace modshelf::test
