#pragma once
// The answer to the program's request for positions from the tracks
// (20005): each record's shot time corrected by the camera clock, matched
// against the stored tracks.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "companion/camera_clock.h"
#include "companion/track_matcher.h"
#include "companion/track_reader.h"
#include "companion/track_store.h"
#include "maplink/map_records.h"

struct TrackMatchSettings {
    CameraClock clock;
    MatchRules rules;
};

struct PositionRow {
    MapPhotoRecord record;                    // as requested, with the matched position
    std::optional<std::int64_t> shotInstant;  // seconds UTC; nothing without a shot time
    TrackMatch match;
};

std::vector<PositionRow> MatchRecords(const TrackMatcher& matcher,
                                      const std::vector<MapPhotoRecord>& records,
                                      const TrackMatchSettings& settings);

// Every record of the request, holding its position where the row is
// accepted (accepted[i]; all when accepted is empty) and 0,0 elsewhere.
std::vector<MapPhotoRecord> ReplyRecords(const std::vector<PositionRow>& rows,
                                         const std::vector<bool>& accepted = {});

struct TrackImport {
    TrackReadStatus status = TrackReadStatus::NotATrack;
    TrackFormat format = TrackFormat::Unknown;
    std::string detail;  // why nothing was read, or the store's error
    StoreOutcome outcome = StoreOutcome::Failed;
    std::int64_t trackId = 0;
    std::size_t fixes = 0;
    std::size_t segments = 0;
    int droppedSentences = 0;
};

// Reads the file and stores its track (named after the file when it has no
// name of its own). Nothing is stored unless the whole file read well.
TrackImport ImportTrackFile(TrackStore& store, const std::string& path);
