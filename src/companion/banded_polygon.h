#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "companion/polygon_blob.h"

// A large polygon decoded once and cut into horizontal bands, each holding
// the edges whose latitude range meets it: a point test then reads only the
// edges of its own band instead of every vertex of a country's outline.
class BandedPolygon {
  public:
    // False (and an empty polygon) when the blob is damaged.
    bool Build(const unsigned char* data, std::size_t size);
    // Same answer as TestPointInPolygonBlob on the blob it was built from.
    bool Contains(std::int64_t x, std::int64_t y) const;
    std::size_t EdgeCount() const { return edgeCount_; }

  private:
    std::int64_t minY_ = 0;
    std::int64_t bandHeight_ = 1;
    std::vector<std::vector<PolygonEdge>> bands_;
    std::size_t edgeCount_ = 0;
};
