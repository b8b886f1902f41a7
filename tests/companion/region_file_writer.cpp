#include "region_file_writer.h"

#include <sqlite3.h>

#include <algorithm>

namespace {

constexpr const char* kSchema =
    "CREATE TABLE meta(key TEXT PRIMARY KEY, value TEXT NOT NULL);"
    "CREATE TABLE region(id INTEGER PRIMARY KEY, rank INTEGER NOT NULL, code TEXT NOT NULL,"
    " name0 TEXT NOT NULL, name1 TEXT, name2 TEXT);"
    "CREATE TABLE part(id INTEGER PRIMARY KEY, region INTEGER NOT NULL, area REAL NOT NULL,"
    " rings BLOB NOT NULL);"
    "CREATE VIRTUAL TABLE part_box USING rtree(id, min_lon, max_lon, min_lat, max_lat);"
    "INSERT INTO meta VALUES ('format', '1');";

}  // namespace

void PutVarint(BlobBytes& out, std::uint64_t v) {
    while (v >= 0x80) {
        out.push_back(static_cast<unsigned char>((v & 0x7F) | 0x80));
        v >>= 7;
    }
    out.push_back(static_cast<unsigned char>(v));
}

void PutSigned(BlobBytes& out, std::int64_t v) {
    PutVarint(out, (static_cast<std::uint64_t>(v) << 1) ^ static_cast<std::uint64_t>(v >> 63));
}

BlobBytes PackPolygon(const std::vector<StoredRing>& rings) {
    BlobBytes out;
    PutVarint(out, rings.size());
    for (const StoredRing& ring : rings) {
        PutVarint(out, ring.size());
        std::int64_t px = 0, py = 0;
        for (auto [x, y] : ring) {
            PutSigned(out, x - px);
            PutSigned(out, y - py);
            px = x;
            py = y;
        }
    }
    return out;
}

bool WriteRegionFile(const std::string& path, const std::vector<RegionFixture>& regions) {
    sqlite3* db = nullptr;
    bool ok = sqlite3_open(path.c_str(), &db) == SQLITE_OK &&
              sqlite3_exec(db, kSchema, nullptr, nullptr, nullptr) == SQLITE_OK;
    sqlite3_stmt* region = nullptr;
    sqlite3_stmt* part = nullptr;
    sqlite3_stmt* box = nullptr;
    ok = ok &&
         sqlite3_prepare_v2(db, "INSERT INTO region VALUES (?,?,'0',?,?,?)", -1, &region,
                            nullptr) == SQLITE_OK &&
         sqlite3_prepare_v2(db, "INSERT INTO part VALUES (?,?,?,?)", -1, &part, nullptr) ==
             SQLITE_OK &&
         sqlite3_prepare_v2(db, "INSERT INTO part_box VALUES (?,?,?,?,?)", -1, &box, nullptr) ==
             SQLITE_OK;
    int partId = 0;
    for (std::size_t r = 0; ok && r < regions.size(); ++r) {
        const RegionFixture& fixture = regions[r];
        sqlite3_bind_int(region, 1, static_cast<int>(r + 1));
        sqlite3_bind_int(region, 2, fixture.rank);
        for (int n = 0; n < 3; ++n) {
            if (n < static_cast<int>(fixture.names.size()))
                sqlite3_bind_text(region, 3 + n, fixture.names[n].c_str(), -1, SQLITE_TRANSIENT);
            else
                sqlite3_bind_null(region, 3 + n);
        }
        ok = sqlite3_step(region) == SQLITE_DONE;
        sqlite3_reset(region);
        std::vector<std::pair<BlobBytes, StoredRing>> blobs;
        for (const auto& rings : fixture.parts) blobs.emplace_back(PackPolygon(rings), rings[0]);
        for (const BlobBytes& raw : fixture.rawParts) blobs.emplace_back(raw, StoredRing{{0, 0}});
        for (const auto& [blob, outline] : blobs) {
            ++partId;
            sqlite3_bind_int(part, 1, partId);
            sqlite3_bind_int(part, 2, static_cast<int>(r + 1));
            sqlite3_bind_double(part, 3, 1.0);
            sqlite3_bind_blob(part, 4, blob.data(), static_cast<int>(blob.size()),
                              SQLITE_TRANSIENT);
            ok = ok && sqlite3_step(part) == SQLITE_DONE;
            sqlite3_reset(part);
            auto [minX, maxX] =
                std::minmax_element(outline.begin(), outline.end(),
                                    [](const auto& a, const auto& b) { return a.first < b.first; });
            auto [minY, maxY] = std::minmax_element(
                outline.begin(), outline.end(),
                [](const auto& a, const auto& b) { return a.second < b.second; });
            sqlite3_bind_int(box, 1, partId);
            sqlite3_bind_double(box, 2, minX->first / 1e5);
            sqlite3_bind_double(box, 3, maxX->first / 1e5);
            sqlite3_bind_double(box, 4, minY->second / 1e5);
            sqlite3_bind_double(box, 5, maxY->second / 1e5);
            ok = ok && sqlite3_step(box) == SQLITE_DONE;
            sqlite3_reset(box);
        }
    }
    sqlite3_finalize(region);
    sqlite3_finalize(part);
    sqlite3_finalize(box);
    sqlite3_close(db);
    return ok;
}
