#pragma once
// A recorded track: its segments of timed fixes. Times are milliseconds
// since 1970-01-01 00:00 UTC; positions are WGS-84 decimal degrees.

#include <cstdint>
#include <string>
#include <vector>

struct TrackFix {
    std::int64_t timeMs = 0;
    double latitude = 0;
    double longitude = 0;
};

// One stretch of continuous recording; positions are never interpolated
// from one segment into another.
using TrackSegment = std::vector<TrackFix>;

struct Track {
    std::string name;  // from the file (its first name element), else empty
    std::vector<TrackSegment> segments;

    std::size_t FixCount() const;
};

// Sorts each segment by time, keeps one fix per instant (NMEA gives the same
// instant in RMC and GGA) and drops empty segments.
void NormaliseTrack(Track& track);
