#pragma once
// The time texts of track files, as milliseconds since 1970 UTC.

#include <cstdint>
#include <optional>
#include <string_view>

// An XML Schema dateTime as GPX and KML write it: "2026-10-25T13:05:07Z",
// with optional fractional seconds and a "+08:00" style offset. A time
// without zone is taken as UTC (GPX defines its times as UTC). Nothing for
// anything else, including impossible dates and times.
std::optional<std::int64_t> ParseTrackTime(std::string_view text);

// Milliseconds since 1970 of a UTC calendar day at 00:00; the fields must
// already be valid.
std::int64_t UtcDayStartMs(int year, int month, int day);
