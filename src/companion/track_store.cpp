#include "companion/track_store.h"

#include <openssl/evp.h>
#include <sqlite3.h>

#include <algorithm>
#include <bit>
#include <ctime>
#include <filesystem>
#include <limits>
#include <memory>

namespace {

constexpr char kSchema[] =
    "create table if not exists track(id integer primary key, name text not null, "
    "source text not null, digest blob not null unique, imported integer not null, "
    "fixes integer not null, segments integer not null, first_ms integer not null, "
    "last_ms integer not null);"
    "create table if not exists segment(track integer not null references track(id) "
    "on delete cascade, seq integer not null, fixes blob not null, primary key(track, seq));";
constexpr char kFindDigest[] = "select id from track where digest = ?";
constexpr char kInsertTrack[] =
    "insert into track(name, source, digest, imported, fixes, segments, first_ms, last_ms) "
    "values(?, ?, ?, ?, ?, ?, ?, ?)";
constexpr char kInsertSegment[] = "insert into segment(track, seq, fixes) values(?, ?, ?)";
constexpr char kDeleteTrack[] = "delete from track where id = ?";
constexpr char kListTracks[] =
    "select id, name, source, imported, fixes, segments, first_ms, last_ms from track order by id";
constexpr char kAllSegments[] =
    "select track.id, track.name, segment.fixes from track join segment on segment.track = "
    "track.id order by track.id, segment.seq";

constexpr std::size_t kFixBytes = 24;

struct StatementDeleter {
    void operator()(sqlite3_stmt* s) const { sqlite3_finalize(s); }
};
using Statement = std::unique_ptr<sqlite3_stmt, StatementDeleter>;

Statement Prepare(sqlite3* db, const char* sql) {
    sqlite3_stmt* s = nullptr;
    sqlite3_prepare_v2(db, sql, -1, &s, nullptr);
    return Statement(s);
}

void PutLittle(std::uint64_t value, std::uint8_t* out) {
    for (int i = 0; i < 8; ++i) out[i] = static_cast<std::uint8_t>(value >> (8 * i));
}

std::uint64_t GetLittle(const std::uint8_t* in) {
    std::uint64_t value = 0;
    for (int i = 0; i < 8; ++i) value |= static_cast<std::uint64_t>(in[i]) << (8 * i);
    return value;
}

// SHA-256 over the packed segments, each preceded by its size, so that the
// same fixes split differently are a different track.
std::vector<std::uint8_t> Digest(const std::vector<std::vector<std::uint8_t>>& packed) {
    std::unique_ptr<EVP_MD_CTX, decltype(&EVP_MD_CTX_free)> ctx(EVP_MD_CTX_new(), EVP_MD_CTX_free);
    EVP_DigestInit_ex(ctx.get(), EVP_sha256(), nullptr);
    for (const auto& blob : packed) {
        std::uint8_t size[8];
        PutLittle(blob.size(), size);
        EVP_DigestUpdate(ctx.get(), size, sizeof size);
        EVP_DigestUpdate(ctx.get(), blob.data(), blob.size());
    }
    std::vector<std::uint8_t> digest(EVP_MAX_MD_SIZE);
    unsigned int length = 0;
    EVP_DigestFinal_ex(ctx.get(), digest.data(), &length);
    digest.resize(length);
    return digest;
}

void BindText(sqlite3_stmt* s, int at, const std::string& text) {
    sqlite3_bind_text(s, at, text.c_str(), static_cast<int>(text.size()), SQLITE_TRANSIENT);
}

void BindBlob(sqlite3_stmt* s, int at, const std::vector<std::uint8_t>& blob) {
    sqlite3_bind_blob64(s, at, blob.data(), blob.size(), SQLITE_STATIC);
}

std::string ColumnText(sqlite3_stmt* s, int at) {
    const auto* text = sqlite3_column_text(s, at);
    return text ? reinterpret_cast<const char*>(text) : "";
}

bool ColumnSegment(sqlite3_stmt* s, int at, TrackSegment& segment) {
    const auto* data = static_cast<const std::uint8_t*>(sqlite3_column_blob(s, at));
    return UnpackSegment(data, static_cast<std::size_t>(sqlite3_column_bytes(s, at)), segment);
}

}  // namespace

std::vector<std::uint8_t> PackSegment(const TrackSegment& segment) {
    std::vector<std::uint8_t> blob(segment.size() * kFixBytes);
    std::uint8_t* out = blob.data();
    for (const TrackFix& f : segment) {
        PutLittle(static_cast<std::uint64_t>(f.timeMs), out);
        PutLittle(std::bit_cast<std::uint64_t>(f.latitude), out + 8);
        PutLittle(std::bit_cast<std::uint64_t>(f.longitude), out + 16);
        out += kFixBytes;
    }
    return blob;
}

bool UnpackSegment(const std::uint8_t* data, std::size_t size, TrackSegment& segment) {
    segment.clear();
    if (size % kFixBytes != 0 || (size > 0 && !data)) return false;
    segment.reserve(size / kFixBytes);
    for (std::size_t at = 0; at < size; at += kFixBytes) {
        const TrackFix f{static_cast<std::int64_t>(GetLittle(data + at)),
                         std::bit_cast<double>(GetLittle(data + at + 8)),
                         std::bit_cast<double>(GetLittle(data + at + 16))};
        if (!(f.latitude >= -90 && f.latitude <= 90 && f.longitude >= -180 && f.longitude <= 180))
            return false;
        segment.push_back(f);
    }
    return true;
}

TrackStore::~TrackStore() {
    sqlite3_close(db_);
}

bool TrackStore::Fail(const std::string& what) {
    error_ = what + ": " + (db_ ? sqlite3_errmsg(db_) : "out of memory");
    return false;
}

bool TrackStore::Exec(const char* sql) {
    return sqlite3_exec(db_, sql, nullptr, nullptr, nullptr) == SQLITE_OK;
}

bool TrackStore::Open(const std::string& path) {
    sqlite3_close(db_);
    db_ = nullptr;
    error_.clear();
    std::error_code ec;
    const auto folder = std::filesystem::path(path).parent_path();
    if (!folder.empty()) std::filesystem::create_directories(folder, ec);
    if (sqlite3_open_v2(path.c_str(), &db_, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr) !=
        SQLITE_OK)
        return Fail("cannot open " + path);
    sqlite3_busy_timeout(db_, 5000);
    if (!Exec("pragma foreign_keys = on") || !Exec(kSchema)) {
        Fail("not a track store: " + path);
        sqlite3_close(db_);
        db_ = nullptr;
        return false;
    }
    return true;
}

StoreOutcome TrackStore::Store(const Track& track, const std::string& source, std::int64_t& id) {
    if (!db_ || track.FixCount() == 0) return StoreOutcome::Failed;
    std::vector<std::vector<std::uint8_t>> packed;
    std::int64_t first = std::numeric_limits<std::int64_t>::max();
    std::int64_t last = std::numeric_limits<std::int64_t>::min();
    for (const TrackSegment& s : track.segments) {
        if (s.empty()) continue;
        packed.push_back(PackSegment(s));
        first = std::min(first, s.front().timeMs);
        last = std::max(last, s.back().timeMs);
    }
    const std::vector<std::uint8_t> digest = Digest(packed);
    if (!Exec("begin immediate")) {
        Fail("cannot write");
        return StoreOutcome::Failed;
    }
    const auto failed = [&] {
        Fail("cannot store the track");
        Exec("rollback");
        return StoreOutcome::Failed;
    };
    {
        Statement find = Prepare(db_, kFindDigest);
        if (!find) return failed();
        BindBlob(find.get(), 1, digest);
        if (sqlite3_step(find.get()) == SQLITE_ROW) {
            id = sqlite3_column_int64(find.get(), 0);
            Exec("rollback");
            return StoreOutcome::AlreadyStored;
        }
    }
    Statement insert = Prepare(db_, kInsertTrack);
    if (!insert) return failed();
    BindText(insert.get(), 1, track.name);
    BindText(insert.get(), 2, source);
    BindBlob(insert.get(), 3, digest);
    sqlite3_bind_int64(insert.get(), 4, static_cast<std::int64_t>(std::time(nullptr)));
    sqlite3_bind_int64(insert.get(), 5, static_cast<std::int64_t>(track.FixCount()));
    sqlite3_bind_int64(insert.get(), 6, static_cast<std::int64_t>(track.segments.size()));
    sqlite3_bind_int64(insert.get(), 7, first);
    sqlite3_bind_int64(insert.get(), 8, last);
    if (sqlite3_step(insert.get()) != SQLITE_DONE) return failed();
    const std::int64_t trackId = sqlite3_last_insert_rowid(db_);
    Statement segment = Prepare(db_, kInsertSegment);
    if (!segment) return failed();
    for (std::size_t i = 0; i < packed.size(); ++i) {
        sqlite3_reset(segment.get());
        sqlite3_bind_int64(segment.get(), 1, trackId);
        sqlite3_bind_int64(segment.get(), 2, static_cast<std::int64_t>(i));
        BindBlob(segment.get(), 3, packed[i]);
        if (sqlite3_step(segment.get()) != SQLITE_DONE) return failed();
    }
    if (!Exec("commit")) return failed();
    id = trackId;
    return StoreOutcome::Stored;
}

bool TrackStore::Remove(std::int64_t id) {
    Statement remove = Prepare(db_, kDeleteTrack);
    if (!remove) return Fail("cannot remove");
    sqlite3_bind_int64(remove.get(), 1, id);
    if (sqlite3_step(remove.get()) != SQLITE_DONE) return Fail("cannot remove");
    return sqlite3_changes(db_) > 0;
}

std::vector<StoredTrack> TrackStore::List() {
    std::vector<StoredTrack> tracks;
    Statement list = Prepare(db_, kListTracks);
    while (list && sqlite3_step(list.get()) == SQLITE_ROW) {
        sqlite3_stmt* s = list.get();
        tracks.push_back({sqlite3_column_int64(s, 0), ColumnText(s, 1), ColumnText(s, 2),
                          sqlite3_column_int64(s, 3), sqlite3_column_int64(s, 4),
                          sqlite3_column_int64(s, 5), sqlite3_column_int64(s, 6),
                          sqlite3_column_int64(s, 7)});
    }
    return tracks;
}

std::vector<Track> TrackStore::LoadAll() {
    std::vector<Track> tracks;
    std::int64_t current = 0;
    Statement all = Prepare(db_, kAllSegments);
    while (all && sqlite3_step(all.get()) == SQLITE_ROW) {
        const std::int64_t id = sqlite3_column_int64(all.get(), 0);
        if (tracks.empty() || id != current) {
            tracks.push_back({ColumnText(all.get(), 1), {}});
            current = id;
        }
        TrackSegment segment;
        if (ColumnSegment(all.get(), 2, segment) && !segment.empty())
            tracks.back().segments.push_back(std::move(segment));
    }
    return tracks;
}

std::vector<TrackPolyline> TrackStore::Polylines() {
    std::vector<TrackPolyline> lines;
    Statement all = Prepare(db_, kAllSegments);
    while (all && sqlite3_step(all.get()) == SQLITE_ROW) {
        TrackSegment segment;
        if (!ColumnSegment(all.get(), 2, segment) || segment.empty()) continue;
        TrackPolyline line{sqlite3_column_int64(all.get(), 0), {}};
        line.points.reserve(segment.size());
        for (const TrackFix& f : segment) line.points.emplace_back(f.latitude, f.longitude);
        lines.push_back(std::move(line));
    }
    return lines;
}
