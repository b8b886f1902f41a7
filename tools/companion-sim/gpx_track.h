#pragma once
// A recorded track from a GPX file: its <trkpt lat=".." lon=".."> points with
// their <time> (UTC, ISO 8601), sorted by time. Positions between two points
// are interpolated linearly; outside the track there is no position.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

struct TrackPoint {
    std::int64_t time = 0;  // seconds since 1970, UTC
    double latitude = 0;
    double longitude = 0;
};

class GpxTrack {
  public:
    // Nothing when the file cannot be read; points without a readable time
    // are skipped.
    static std::optional<GpxTrack> Load(const std::string& path);
    static GpxTrack Parse(const std::string& text);

    // Nothing before the first or after the last point, or for an empty track.
    std::optional<TrackPoint> PositionAt(std::int64_t time) const;
    const std::vector<TrackPoint>& Points() const { return points_; }

  private:
    std::vector<TrackPoint> points_;
};

// "YYYY-MM-DDThh:mm:ss[.fff][Z|+hh:mm|-hh:mm]" as seconds since 1970 UTC.
std::optional<std::int64_t> ParseIsoTime(const std::string& text);
