#pragma once

#include <cstddef>
#include <cstdint>

// One polygon of the region data file as stored in a blob: a varint ring
// count, then per ring a varint vertex count and the vertices as zigzag
// varint deltas of (longitude, latitude) in 1e-5 degree units. The first ring
// is the outline, the others its holes.

// Stored units per degree.
inline constexpr double kPolygonUnitsPerDegree = 100000.0;

enum class PolygonTest { Outside, Inside, Damaged };

// Even-odd test of the point (x, y), in stored units, against every ring of
// the blob. A point on an edge counts for the polygon that lies to its right
// (towards greater longitude) or above it, so two polygons that share an edge
// never both hold it. Any blob, however damaged, gives an answer without
// reading past its end.
PolygonTest TestPointInPolygonBlob(const unsigned char* data, std::size_t size, std::int64_t x,
                                   std::int64_t y);
