#include "platform/local_time.h"

#include <ctime>

std::optional<std::int64_t> LocalWallSeconds(int year, int month, int day, int hour, int minute,
                                             int second, bool exact) {
    std::tm wall{};
    wall.tm_year = year - 1900;
    wall.tm_mon = month - 1;
    wall.tm_mday = day;
    wall.tm_hour = hour;
    wall.tm_min = minute;
    wall.tm_sec = second;
    wall.tm_isdst = -1;  // let the time zone rules decide daylight saving
    // -1 is also the answer for 1969-12-31 23:59:59 UTC, so failure shows in
    // the weekday instead, which mktime sets only when it succeeds.
    wall.tm_wday = -1;
    const std::time_t seconds = std::mktime(&wall);
    if (wall.tm_wday == -1) return std::nullopt;
    if (exact && (wall.tm_year != year - 1900 || wall.tm_mon != month - 1 || wall.tm_mday != day))
        return std::nullopt;
    return static_cast<std::int64_t>(seconds);
}

std::optional<LocalWallTime> LocalWallTimeOf(std::int64_t seconds) {
    const std::time_t time = static_cast<std::time_t>(seconds);
    if (static_cast<std::int64_t>(time) != seconds) return std::nullopt;
    std::tm local{};
#ifdef _WIN32
    if (localtime_s(&local, &time) != 0) return std::nullopt;
#else
    if (localtime_r(&time, &local) == nullptr) return std::nullopt;
#endif
    return LocalWallTime{local.tm_year + 1900, local.tm_mon + 1, local.tm_mday,
                         local.tm_hour,        local.tm_min,     local.tm_sec};
}
