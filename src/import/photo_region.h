#pragma once
// The region names of a photo with a position, asked of the companion map
// application while it runs; otherwise the photo joins the pending region
// queue for a later lookup.

#include <cstdint>

#include "catalogue/photo_rows.h"
#include "record/photo_record.h"

class PendingRegionQueue;
class RegionSource;

inline constexpr int kImportRegionSends = 5;
inline constexpr int kRefreshRegionSends = 10;

// Where the region names of a photo stored with a position come from: the
// companion through source (null where there is none, as in the
// command-line edit), otherwise the photo waits in queue. Handed by the
// job's starter; both outlive the job.
struct RegionRoute {
    RegionSource* source;
    PendingRegionQueue& queue;
};

// Empty names for a photo without a position, or when no answer came.
RegionNames ResolveRegionOrQueue(std::int64_t id, const PhotoRecord& record, int maxSends,
                                 const RegionRoute& route);
