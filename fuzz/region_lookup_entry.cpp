#include <cstring>

#include "companion/polygon_blob.h"
#include "companion/region_atlas.h"
#include "fuzz_entries.h"

int FuzzRegionLookup(const std::uint8_t* data, std::size_t size) {
    // The shipped data file, opened once: it is only ever read.
    static RegionAtlas atlas;
    static const bool opened = atlas.Open(DARAZOZ_REGION_DATA);
    (void)opened;
    double first[2] = {0.0, 0.0};
    for (std::size_t offset = 0; offset + sizeof first <= size; offset += sizeof first) {
        double position[2];
        std::memcpy(position, data + offset, sizeof position);
        if (offset == 0) std::memcpy(first, position, sizeof first);
        atlas.Lookup(position[0], position[1]);
    }
    // The same bytes as a polygon of a damaged data file, tested against the
    // first position.
    TestPointInPolygonBlob(data, size, static_cast<std::int64_t>(first[1]) & 0xFFFFFFF,
                           static_cast<std::int64_t>(first[0]) & 0xFFFFFFF);
    return 0;
}
