#include "companion/region_atlas.h"

#include <sqlite3.h>

#include <cmath>
#include <filesystem>

#include "companion/polygon_blob.h"

namespace {

// The data files this code reads; the converter writes the same number.
constexpr const char* kFormatVersion = "1";

constexpr const char* kReadFormat = "SELECT value FROM meta WHERE key = 'format'";

// Boxes that hold the point, best first: Chinese units before the coarse
// country outlines, then the smaller part (an enclave before the unit around
// it), then a fixed order so that the answer never depends on the query plan.
constexpr const char* kSelectCandidates =
    "SELECT p.rings, r.name0, r.name1, r.name2 FROM part_box b "
    "JOIN part p ON p.id = b.id JOIN region r ON r.id = p.region "
    "WHERE b.min_lon <= ?1 AND b.max_lon >= ?1 AND b.min_lat <= ?2 AND b.max_lat >= ?2 "
    "ORDER BY r.rank, p.area, p.id";

std::string ColumnText(sqlite3_stmt* statement, int column) {
    const unsigned char* text = sqlite3_column_text(statement, column);
    return text == nullptr ? std::string() : std::string(reinterpret_cast<const char*>(text));
}

}  // namespace

RegionAtlas::~RegionAtlas() {
    Close();
}

void RegionAtlas::Close() {
    sqlite3_finalize(candidates_);
    candidates_ = nullptr;
    if (db_ != nullptr) {
        sqlite3_close(db_);
        db_ = nullptr;
    }
}

bool RegionAtlas::Fail(const std::string& why, const std::string& path) {
    error_ = "region data file " + why + ": " + path;
    Close();
    return false;
}

bool RegionAtlas::Open(const std::string& path) {
    Close();
    error_.clear();
    std::error_code ec;
    if (path.empty() || !std::filesystem::is_regular_file(path, ec)) return Fail("missing", path);
    if (sqlite3_open_v2(path.c_str(), &db_, SQLITE_OPEN_READONLY, nullptr) != SQLITE_OK)
        return Fail("cannot be opened", path);
    sqlite3_stmt* format = nullptr;
    const bool formatRead =
        sqlite3_prepare_v2(db_, kReadFormat, -1, &format, nullptr) == SQLITE_OK &&
        sqlite3_step(format) == SQLITE_ROW;
    const std::string version = formatRead ? ColumnText(format, 0) : std::string();
    sqlite3_finalize(format);
    if (!formatRead) return Fail("is damaged or not region data", path);
    if (version != kFormatVersion)
        return Fail("has format " + version + ", not " + kFormatVersion, path);
    if (sqlite3_prepare_v2(db_, kSelectCandidates, -1, &candidates_, nullptr) != SQLITE_OK)
        return Fail("is damaged (" + std::string(sqlite3_errmsg(db_)) + ")", path);
    return true;
}

std::vector<std::string> RegionAtlas::Lookup(double latitude, double longitude) const {
    if (candidates_ == nullptr || !std::isfinite(latitude) || !std::isfinite(longitude) ||
        latitude < -90.0 || latitude > 90.0 || longitude < -180.0 || longitude > 180.0)
        return {};
    const auto x = static_cast<std::int64_t>(std::llround(longitude * kPolygonUnitsPerDegree));
    const auto y = static_cast<std::int64_t>(std::llround(latitude * kPolygonUnitsPerDegree));
    sqlite3_bind_double(candidates_, 1, longitude);
    sqlite3_bind_double(candidates_, 2, latitude);
    std::vector<std::string> names;
    while (sqlite3_step(candidates_) == SQLITE_ROW) {
        const auto* blob = static_cast<const unsigned char*>(sqlite3_column_blob(candidates_, 0));
        const auto size = static_cast<std::size_t>(sqlite3_column_bytes(candidates_, 0));
        // A damaged part is skipped like one that does not hold the point.
        if (TestPointInPolygonBlob(blob, size, x, y) != PolygonTest::Inside) continue;
        for (int column = 1; column <= 3; ++column) {
            std::string name = ColumnText(candidates_, column);
            if (name.empty()) break;
            names.push_back(std::move(name));
        }
        if (!names.empty()) break;
    }
    sqlite3_reset(candidates_);
    return names;
}

std::string FindRegionDataFile(const std::string& executableDir) {
    namespace fs = std::filesystem;
    const fs::path dir(executableDir);
    for (const fs::path& candidate :
         {dir / "zidevu-regions.db", dir / ".." / "share" / "darazoz" / "zidevu-regions.db"}) {
        std::error_code ec;
        if (fs::is_regular_file(candidate, ec)) return candidate.lexically_normal().string();
    }
    return {};
}
