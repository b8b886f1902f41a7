#pragma once
// Reads a recorded track from a GPX 1.0/1.1 file (tracks with their
// segments, routes, waypoints with times), a KML file (gx:Track, timed
// placemarks with a point) or an NMEA 0183 log (RMC, GGA), streamed: the
// file is never held in memory whole. The format is told by the content,
// not by the file's name.
//
// Any thread; no shared state.

#include <cstdint>
#include <string>

#include "companion/track.h"

enum class TrackReadStatus {
    Ok,
    Unreadable,  // cannot be opened or read
    NotATrack,   // not GPX, KML or NMEA, or holds no positions
    Truncated,   // cut short
    Damaged,     // malformed, or a position or time that cannot be
    NoTimes,     // positions, but none with a time
};

enum class TrackFormat { Unknown, Gpx, Kml, Nmea };

struct TrackReadResult {
    TrackReadStatus status = TrackReadStatus::NotATrack;
    TrackFormat format = TrackFormat::Unknown;
    Track track;               // empty unless Ok
    std::string detail;        // what was wrong, in English, with the line where known
    int droppedSentences = 0;  // NMEA sentences with a wrong checksum or cut short
};

TrackReadResult ReadTrackFile(const std::string& path);
// The same from bytes in memory (the fuzz target, tests).
TrackReadResult ReadTrackBytes(const std::string& bytes);

// "GPX", "KML", "NMEA" or "unknown".
const char* TrackFormatName(TrackFormat format);
