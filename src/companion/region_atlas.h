#pragma once

#include <string>
#include <vector>

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

    sqlite3* db_ = nullptr;
    // Candidates of one position, best first; reset after every lookup.
    sqlite3_stmt* candidates_ = nullptr;
    std::string error_;
};

// The data file shipped beside the program or under the install prefix: the first existing of
// <executable dir>/zidevu-regions.db and <executable dir>/../share/darazoz/zidevu-regions.db.
std::string FindRegionDataFile(const std::string& executableDir);
