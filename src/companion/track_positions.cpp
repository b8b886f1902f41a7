#include "companion/track_positions.h"

#include <filesystem>

std::vector<PositionRow> MatchRecords(const TrackMatcher& matcher,
                                      const std::vector<MapPhotoRecord>& records,
                                      const TrackMatchSettings& settings) {
    std::vector<PositionRow> rows;
    rows.reserve(records.size());
    for (const MapPhotoRecord& r : records) {
        PositionRow row{r, std::nullopt, {}};
        row.record.latitude = 0;
        row.record.longitude = 0;
        if (r.dwDateTime != 0) row.shotInstant = ShotInstant(r.dwDateTime, settings.clock);
        if (row.shotInstant) {
            row.match = matcher.At(*row.shotInstant * 1000, settings.rules);
            row.record.latitude = row.match.latitude;
            row.record.longitude = row.match.longitude;
        }
        rows.push_back(row);
    }
    return rows;
}

std::vector<MapPhotoRecord> ReplyRecords(const std::vector<PositionRow>& rows,
                                         const std::vector<bool>& accepted) {
    std::vector<MapPhotoRecord> reply;
    reply.reserve(rows.size());
    for (std::size_t i = 0; i < rows.size(); ++i) {
        MapPhotoRecord r = rows[i].record;
        if (!accepted.empty() && (i >= accepted.size() || !accepted[i]))
            r.latitude = r.longitude = 0;
        reply.push_back(r);
    }
    return reply;
}

TrackImport ImportTrackFile(TrackStore& store, const std::string& path) {
    TrackReadResult read = ReadTrackFile(path);
    TrackImport result;
    result.status = read.status;
    result.format = read.format;
    result.detail = read.detail;
    result.droppedSentences = read.droppedSentences;
    if (read.status != TrackReadStatus::Ok) return result;
    if (read.track.name.empty()) read.track.name = std::filesystem::path(path).stem().string();
    result.fixes = read.track.FixCount();
    result.segments = read.track.segments.size();
    std::error_code ec;
    const std::string source = std::filesystem::absolute(path, ec).lexically_normal().string();
    result.outcome = store.Store(read.track, source, result.trackId);
    if (result.outcome == StoreOutcome::Failed) result.detail = store.ErrorText();
    return result;
}
