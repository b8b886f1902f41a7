#include "import/photo_region.h"

#include "catalogue/photo_catalogue.h"
#include "import/import_state.h"

RegionNames ResolveRegionOrQueue(std::int64_t id, const PhotoRecord& record, int maxSends) {
    if (!record.HasPosition()) return {};
    RegionSource* source = CurrentRegionSource();
    if (source && source->CompanionAvailable())
        return source->RequestNames(record.fGPSLatitude, record.fGPSLongitude, maxSends);
    CurrentLibrary().PendingRegions().Push(
        {id, static_cast<double>(record.fGPSLatitude), static_cast<double>(record.fGPSLongitude)});
    return {};
}
