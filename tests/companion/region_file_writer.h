#pragma once
// Small region data files for the tests, in the converter's layout (region,
// part with zigzag varint blobs, the part_box R*Tree), written independently
// of the readers under test.

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

using StoredRing = std::vector<std::pair<std::int64_t, std::int64_t>>;  // 1e-5 degree units
using BlobBytes = std::vector<unsigned char>;

// The blob's varints: unsigned, and zigzag signed.
void PutVarint(BlobBytes& out, std::uint64_t v);
void PutSigned(BlobBytes& out, std::int64_t v);
BlobBytes PackPolygon(const std::vector<StoredRing>& rings);

struct RegionFixture {
    int rank = 0;  // 0 a Chinese district, 1 a country
    std::vector<std::string> names;
    std::vector<std::vector<StoredRing>> parts;
    std::vector<BlobBytes> rawParts;  // blobs stored as they are (damaged ones)
};

// Writes the regions into a new file at path; false when SQLite cannot.
bool WriteRegionFile(const std::string& path, const std::vector<RegionFixture>& regions);
