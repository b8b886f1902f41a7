#include "companion/banded_polygon.h"

#include <algorithm>

namespace {

// About this many edges per band when edges are spread evenly.
constexpr std::size_t kEdgesPerBand = 16;

}  // namespace

bool BandedPolygon::Build(const unsigned char* data, std::size_t size) {
    bands_.clear();
    edgeCount_ = 0;
    std::vector<PolygonEdge> edges;
    if (!DecodePolygonEdges(data, size, edges)) return false;
    if (edges.empty()) return true;
    std::int64_t minY = edges.front().ay;
    std::int64_t maxY = minY;
    for (const PolygonEdge& e : edges) {
        minY = std::min<std::int64_t>({minY, e.ay, e.by});
        maxY = std::max<std::int64_t>({maxY, e.ay, e.by});
    }
    const std::size_t bandCount = std::max<std::size_t>(1, edges.size() / kEdgesPerBand);
    minY_ = minY;
    bandHeight_ =
        std::max<std::int64_t>(1, (maxY - minY) / static_cast<std::int64_t>(bandCount) + 1);
    bands_.resize(static_cast<std::size_t>((maxY - minY) / bandHeight_ + 1));
    for (const PolygonEdge& e : edges) {
        // An edge crosses the ray at py only when min(ay, by) <= py <= max(ay, by).
        const auto first = (std::min<std::int64_t>(e.ay, e.by) - minY_) / bandHeight_;
        const auto last = (std::max<std::int64_t>(e.ay, e.by) - minY_) / bandHeight_;
        for (auto band = first; band <= last; ++band)
            bands_[static_cast<std::size_t>(band)].push_back(e);
    }
    edgeCount_ = edges.size();
    return true;
}

bool BandedPolygon::Contains(std::int64_t x, std::int64_t y) const {
    if (bands_.empty() || y < minY_) return false;
    const auto band = static_cast<std::size_t>((y - minY_) / bandHeight_);
    if (band >= bands_.size()) return false;
    bool inside = false;
    for (const PolygonEdge& e : bands_[band])
        if (EdgeCrossesRay(e.ax, e.ay, e.bx, e.by, x, y)) inside = !inside;
    return inside;
}
