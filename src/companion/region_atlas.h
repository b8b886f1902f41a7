#pragma once

#include <cstdint>
#include <string>
#include <unordered_map>
#include <vector>

#include "companion/banded_polygon.h"

struct sqlite3;
struct sqlite3_stmt;

// The offline region names: which boundary polygon holds a WGS-84 position.
// Opened read-only; Lookup is const and safe to call from one thread at a time per atlas.
class RegionAtlas {
  public:
    RegionAtlas() = default;
    ~RegionAtlas();
    RegionAtlas(const RegionAtlas&) = delete;
    RegionAtlas& operator=(const RegionAtlas&) = delete;

    // Opens the data file read-only. False when it is missing or damaged; ErrorText() says
    // which, in one line.
    bool Open(const std::string& path);
    bool IsOpen() const { return db_ != nullptr; }
    const std::string& ErrorText() const { return error_; }

    // The names from the largest level down (UTF-8, official Simplified Chinese, e.g.
    // {"广东省","深圳市","福田区"}; a foreign country gives one name). Empty when no polygon holds
    // the point (open sea), the position is not a valid latitude/longitude (NaN, out of range),
    // or the atlas is not open.
    std::vector<std::string> Lookup(double latitude, double longitude) const;

  private:
    void Close();
    bool Fail(const std::string& why, const std::string& path);
    bool PartContains(std::int64_t partId, std::int64_t x, std::int64_t y) const;
    std::vector<std::string> NamesOf(std::int64_t regionId) const;

    sqlite3* db_ = nullptr;
    // Candidate parts of one position, best first; a part's rings; a
    // region's names. Each is reset after use.
    sqlite3_stmt* candidates_ = nullptr;
    sqlite3_stmt* rings_ = nullptr;
    sqlite3_stmt* names_ = nullptr;
    // Large parts decoded on first use, so that a country's outline is not
    // read vertex by vertex on every lookup; keyed by part id.
    mutable std::unordered_map<std::int64_t, BandedPolygon> banded_;
    mutable std::size_t bandedEdges_ = 0;
    std::string error_;
};

// The data file shipped beside the program or under the install prefix: the first existing of
// <executable dir>/zidevu-regions.db and <executable dir>/../share/darazoz/zidevu-regions.db.
std::string FindRegionDataFile(const std::string& executableDir);
