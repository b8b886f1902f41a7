#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

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

// One non-horizontal edge of a decoded polygon, in stored units.
struct PolygonEdge {
    std::int32_t ax, ay, bx, by;
};

// The blob's edges that can cross a ray; false (and no edges) when damaged.
bool DecodePolygonEdges(const unsigned char* data, std::size_t size,
                        std::vector<PolygonEdge>& edges);

// One vertex of a decoded ring, in stored units.
struct PolygonVertex {
    std::int32_t x, y;
};

// The blob's rings, the outline first; false (and no rings) when damaged.
bool DecodePolygonRings(const unsigned char* data, std::size_t size,
                        std::vector<std::vector<PolygonVertex>>& rings);

// Does the edge a-b cross the ray from (px, py) towards greater x? Half-open
// in y and strict in x, which puts a point on an edge on one side only; exact
// in integers (coordinates below 2^30, so the products fit).
inline bool EdgeCrossesRay(std::int64_t ax, std::int64_t ay, std::int64_t bx, std::int64_t by,
                           std::int64_t px, std::int64_t py) {
    if ((ay > py) == (by > py)) return false;
    // px < ax + (py - ay) * (bx - ax) / (by - ay), without dividing.
    const std::int64_t lhs = (px - ax) * (by - ay);
    const std::int64_t rhs = (bx - ax) * (py - ay);
    return by > ay ? lhs < rhs : lhs > rhs;
}
