#pragma once
// Writing the positions the companion map application took from its
// recorded tracks into the photos: the file's EXIF GPS data (crash-safe
// rewrite), the catalogue row, and the pending region queue.
//
// Threads: runs on the worker thread that calls it (one at a time, see
// WorkerKind::TrackApply), or on the command-line tool's main thread.

#include <cstdint>
#include <string>
#include <vector>

#include "catalogue/pending_region_queue.h"
#include "import/location_work.h"
#include "import/photo_writer.h"
#include "maplink/map_records.h"
#include "platform/stop_token.h"

enum class TrackSkip {
    NoPosition,     // the track gave 0,0: the photo's own position is kept
    OutOfRange,     // latitude outside -90..90 or longitude outside -180..180
    NotCatalogued,  // the photo is no longer in the catalogue
    WriteFailed,    // the file could not be read or rewritten; it is unchanged
};

struct TrackFailure {
    std::int64_t idPic = 0;
    std::string path;  // empty for a photo no longer catalogued
    TrackSkip why = TrackSkip::OutOfRange;
};

struct TrackApplyResult {
    int applied = 0;
    int total = 0;
    std::vector<TrackFailure> failures;   // every record neither applied nor left undone
    std::vector<MapPhotoRecord> written;  // the positions written, in order
    std::vector<std::string> writtenPaths;
    bool exited = false;     // the program is closing
    bool cancelled = false;  // 取消: the remaining records were not tried
};

// What one application is handed.
struct TrackApplyJob {
    Library& library;           // the catalogue the positions are stored in
    PhotoWriter writer;         // writes each photo's new position
    PendingRegionQueue& queue;  // every written photo waits here for its region names
    const StopToken& stop;      // 取消, or the exit token above it
    LocationReport report;      // unset: no dialog
};

// Applies the records in order; stops before the next record on the job's
// own stop (取消) and at once on the exit token. Reports after every
// applied record and at the end (failed = total - applied). Each rewritten
// folder's new time is taken into the folder list.
TrackApplyResult RunTrackApply(const std::vector<MapPhotoRecord>& records,
                               const TrackApplyJob& job);
