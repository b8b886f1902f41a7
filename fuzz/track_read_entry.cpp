#include <string>

#include "companion/track_matcher.h"
#include "companion/track_reader.h"
#include "companion/track_store.h"
#include "fuzz_entries.h"

int FuzzTrackRead(const std::uint8_t* data, std::size_t size) {
    const TrackReadResult read =
        ReadTrackBytes(std::string(reinterpret_cast<const char*>(data), size));
    if (read.status == TrackReadStatus::Ok) {
        // What was read is matched at its own fixes and between them.
        const TrackMatcher matcher({read.track});
        for (const TrackSegment& segment : read.track.segments)
            for (const TrackFix& fix : segment) {
                matcher.At(fix.timeMs, {});
                matcher.At(fix.timeMs + 999, {});
            }
    }
    // The same bytes as a stored segment's blob.
    TrackSegment segment;
    UnpackSegment(data, size, segment);
    return 0;
}
