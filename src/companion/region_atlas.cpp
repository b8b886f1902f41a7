#include "companion/region_atlas.h"

#include <sqlite3.h>

#include <cmath>
#include <filesystem>

#include "companion/polygon_blob.h"

namespace {

// The data files this code reads; the converter writes the same number.
constexpr const char* kFormatVersion = "1";

constexpr const char* kReadFormat = "SELECT value FROM meta WHERE key = 'format'";

// Boxes that hold the point, best first: Chinese units before the country
// outlines, then the smaller part (an enclave before the unit around it),
// then a fixed order so that the answer never depends on the query plan.
// Only ids are sorted; a part's rings are read when it is tested.
constexpr const char* kSelectCandidates =
    "SELECT p.id, p.region FROM part_box b JOIN part p ON p.id = b.id "
    "JOIN region r ON r.id = p.region "
    "WHERE b.min_lon <= ?1 AND b.max_lon >= ?1 AND b.min_lat <= ?2 AND b.max_lat >= ?2 "
    "ORDER BY r.rank, p.area, p.id";
constexpr const char* kSelectRings = "SELECT rings FROM part WHERE id = ?1";
constexpr const char* kSelectNames = "SELECT name0, name1, name2 FROM region WHERE id = ?1";

// Parts whose blob is larger than this are decoded into bands once; smaller
// ones are read straight from the blob, which is as fast for them.
constexpr std::size_t kBandedBlobBytes = 8192;
// The decoded parts are dropped when they grow past this many edges (64 MB,
// more with the bands' copies of long edges), which bounds the memory of a
// companion that runs for days.
constexpr std::size_t kBandedEdgeLimit = 4000000;

std::string ColumnText(sqlite3_stmt* statement, int column) {
    const unsigned char* text = sqlite3_column_text(statement, column);
    return text == nullptr ? std::string() : std::string(reinterpret_cast<const char*>(text));
}

}  // namespace

RegionAtlas::~RegionAtlas() {
    Close();
}

void RegionAtlas::Close() {
    banded_.clear();
    bandedEdges_ = 0;
    for (sqlite3_stmt** statement : {&candidates_, &rings_, &names_}) {
        sqlite3_finalize(*statement);
        *statement = nullptr;
    }
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
    if (sqlite3_prepare_v2(db_, kSelectCandidates, -1, &candidates_, nullptr) != SQLITE_OK ||
        sqlite3_prepare_v2(db_, kSelectRings, -1, &rings_, nullptr) != SQLITE_OK ||
        sqlite3_prepare_v2(db_, kSelectNames, -1, &names_, nullptr) != SQLITE_OK)
        return Fail("is damaged (" + std::string(sqlite3_errmsg(db_)) + ")", path);
    return true;
}

bool RegionAtlas::PartContains(std::int64_t partId, std::int64_t x, std::int64_t y) const {
    const auto cached = banded_.find(partId);
    if (cached != banded_.end()) return cached->second.Contains(x, y);
    sqlite3_bind_int64(rings_, 1, partId);
    bool inside = false;
    if (sqlite3_step(rings_) == SQLITE_ROW) {
        const auto* blob = static_cast<const unsigned char*>(sqlite3_column_blob(rings_, 0));
        const auto size = static_cast<std::size_t>(sqlite3_column_bytes(rings_, 0));
        if (size <= kBandedBlobBytes) {
            // A damaged part holds nothing.
            inside = TestPointInPolygonBlob(blob, size, x, y) == PolygonTest::Inside;
        } else {
            if (bandedEdges_ > kBandedEdgeLimit) {
                banded_.clear();
                bandedEdges_ = 0;
            }
            BandedPolygon& polygon = banded_[partId];
            polygon.Build(blob, size);  // a damaged part stays empty
            bandedEdges_ += polygon.EdgeCount();
            inside = polygon.Contains(x, y);
        }
    }
    sqlite3_reset(rings_);
    return inside;
}

std::vector<std::string> RegionAtlas::NamesOf(std::int64_t regionId) const {
    std::vector<std::string> names;
    sqlite3_bind_int64(names_, 1, regionId);
    if (sqlite3_step(names_) == SQLITE_ROW) {
        for (int column = 0; column < 3; ++column) {
            std::string name = ColumnText(names_, column);
            if (name.empty()) break;
            names.push_back(std::move(name));
        }
    }
    sqlite3_reset(names_);
    return names;
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
    while (names.empty() && sqlite3_step(candidates_) == SQLITE_ROW) {
        if (PartContains(sqlite3_column_int64(candidates_, 0), x, y))
            names = NamesOf(sqlite3_column_int64(candidates_, 1));
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
