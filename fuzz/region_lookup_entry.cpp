#include <algorithm>
#include <cstring>

#include "companion/polygon_blob.h"
#include "companion/region_atlas.h"
#include "fuzz_entries.h"

int FuzzRegionLookup(const std::uint8_t* data, std::size_t size) {
    // The shipped data file, opened once: it is only ever read.
    static RegionAtlas atlas;
    static const bool opened = atlas.Open(DARAZOZ_REGION_DATA);
    (void)opened;
    for (std::size_t offset = 0; offset + 2 * sizeof(double) <= size;
         offset += 2 * sizeof(double)) {
        double position[2];
        std::memcpy(position, data + offset, sizeof position);
        atlas.Lookup(position[0], position[1]);
    }
    // The same bytes as positions spread over the globe, which random doubles
    // almost never are.
    for (std::size_t offset = 0; offset + 2 * sizeof(std::uint32_t) <= size;
         offset += 2 * sizeof(std::uint32_t)) {
        std::uint32_t raw[2];
        std::memcpy(raw, data + offset, sizeof raw);
        atlas.Lookup(raw[0] / 4294967295.0 * 180.0 - 90.0, raw[1] / 4294967295.0 * 360.0 - 180.0);
    }
    // The same bytes as a polygon of a damaged data file, tested against a
    // point taken from its first bytes (kept within the globe's stored units).
    std::int32_t point[2] = {0, 0};
    std::memcpy(point, data, std::min(size, sizeof point));
    TestPointInPolygonBlob(data, size, point[0] % 18000000, point[1] % 9000000);
    return 0;
}
