#pragma once
// From a photo's catalogued shot time to the instant it was taken.
//
// The catalogue stores the camera's wall clock read in the computer's time
// zone (dwDateTime). The camera's clock may be off by a fixed amount and may
// be set to another time zone than the computer's: the true instant is the
// camera's wall clock, less its error, read in the camera's zone.
//
// Wall clocks here are "wall seconds": the fields of a wall-clock time
// counted as if they were UTC, so that they can be compared and subtracted
// whatever the zone.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

struct CameraClock {
    std::int64_t offsetSeconds = 0;  // camera minus true time: positive when the camera is fast
    std::string timeZone;            // IANA name ("Europe/Berlin"); empty: the computer's
};

// The camera's wall clock of a catalogued shot time; nothing when the
// computer's zone cannot represent it.
std::optional<std::int64_t> CatalogueWallSeconds(std::int32_t dwDateTime);

// Seconds since 1970 UTC when the photo was taken; nothing for an unknown
// time zone or a time no zone can represent. A wall clock that a change to
// daylight saving skips is read as the instant of the change; one that
// occurs twice as its earlier instant, except that with no correction in the
// computer's zone the catalogue's own instant is kept.
std::optional<std::int64_t> ShotInstant(std::int32_t dwDateTime, const CameraClock& clock);

// The offset that makes the shot trueWallSeconds (the wall clock in the
// camera's zone that the photo should have: a photographed GPS screen or
// clock) from a photo's catalogued shot time.
std::optional<std::int64_t> OffsetFromTrueTime(std::int32_t dwDateTime,
                                               std::int64_t trueWallSeconds);

bool IsKnownTimeZone(const std::string& name);
// Every zone name of the system's time zone database, sorted.
std::vector<std::string> TimeZoneNames();
