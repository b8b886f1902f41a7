#pragma once
// The companion's recorded tracks, kept in an SQLite file of its own (not
// the album's catalogue): one row per track with its source and a digest of
// its fixes, one row per segment with the fixes packed in a blob. The same
// track (the same fixes, from whatever file) is stored once.
//
// One thread at a time per store. Several processes may open the same file
// (the running companion and `zidevu --import-track`): writes wait for one
// another for a few seconds.

#include <cstdint>
#include <string>
#include <vector>

#include "companion/track.h"

struct sqlite3;

struct StoredTrack {
    std::int64_t id = 0;
    std::string name;
    std::string source;           // the file it was imported from
    std::int64_t importedAt = 0;  // seconds since 1970 UTC
    std::int64_t fixes = 0;
    std::int64_t segments = 0;
    std::int64_t firstMs = 0;  // its earliest and latest fix
    std::int64_t lastMs = 0;
};

// One segment as the map draws it: latitude/longitude pairs in time order.
struct TrackPolyline {
    std::int64_t trackId = 0;
    std::vector<std::pair<double, double>> points;
};

enum class StoreOutcome { Stored, AlreadyStored, Failed };

class TrackStore {
  public:
    TrackStore() = default;
    ~TrackStore();
    TrackStore(const TrackStore&) = delete;
    TrackStore& operator=(const TrackStore&) = delete;

    // Opens or creates the file (and its folder). False with ErrorText when
    // it cannot, or when it is not a track store.
    bool Open(const std::string& path);
    const std::string& ErrorText() const { return error_; }

    // Stored or AlreadyStored give the track's id in id.
    StoreOutcome Store(const Track& track, const std::string& source, std::int64_t& id);
    bool Remove(std::int64_t id);
    // Oldest import first.
    std::vector<StoredTrack> List();
    // Every stored track with its segments; a damaged segment blob is left out.
    std::vector<Track> LoadAll();
    // Every segment of every track for drawing, by track id.
    std::vector<TrackPolyline> Polylines();

  private:
    bool Exec(const char* sql);
    bool Fail(const std::string& what);

    sqlite3* db_ = nullptr;
    std::string error_;
};

// The fixes of a segment as stored: 24 bytes each (time in ms as a signed
// 64-bit integer, latitude and longitude as doubles), little-endian.
std::vector<std::uint8_t> PackSegment(const TrackSegment& segment);
// Nothing when the blob's size is not a whole number of fixes.
bool UnpackSegment(const std::uint8_t* data, std::size_t size, TrackSegment& segment);
