#include "import/photo_region.h"

#include "catalogue/pending_region_queue.h"
#include "import/import_state.h"

RegionNames ResolveRegionOrQueue(std::int64_t id, const PhotoRecord& record, int maxSends,
                                 const RegionRoute& route) {
    if (!record.HasPosition()) return {};
    if (route.source && route.source->CompanionAvailable())
        return route.source->RequestNames(record.fGPSLatitude, record.fGPSLongitude, maxSends);
    route.queue.Push(
        {id, static_cast<double>(record.fGPSLatitude), static_cast<double>(record.fGPSLongitude)});
    return {};
}
