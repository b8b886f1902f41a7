#pragma once
// Local wall-clock times (the computer's time zone, which also decides
// daylight saving) as seconds since 1970-01-01 00:00 UTC.

#include <cstdint>
#include <optional>

// Fields out of their range roll over as std::mktime does (month 13 is
// January of the next year) unless exact is set, which refuses a time whose
// fields would move (31 April). A time in the gap of a change to daylight
// saving moves on by the hour skipped. Nothing when the time cannot be
// represented; -1 is a time like any other.
std::optional<std::int64_t> LocalWallSeconds(int year, int month, int day, int hour = 0,
                                             int minute = 0, int second = 0, bool exact = false);

// A moment as the computer's clock shows it: month 1..12, day 1..31.
struct LocalWallTime {
    int year = 0;
    int month = 0;
    int day = 0;
    int hour = 0;
    int minute = 0;
    int second = 0;
};

// The local wall time of seconds since 1970 UTC; nothing when the C library
// cannot convert it (a year beyond its range).
std::optional<LocalWallTime> LocalWallTimeOf(std::int64_t seconds);
