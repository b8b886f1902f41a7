#include "companion/polygon_blob.h"

namespace {

// Far beyond any longitude or latitude in stored units, and small enough that
// the edge products below cannot overflow.
constexpr std::int64_t kCoordinateLimit = std::int64_t{1} << 30;
static_assert(kCoordinateLimit <= INT32_MAX, "decoded edges hold int32 coordinates");

class VarintReader {
  public:
    VarintReader(const unsigned char* data, std::size_t size) : p_(data), end_(data + size) {}

    bool Unsigned(std::uint64_t& value) {
        value = 0;
        for (int shift = 0; shift < 64; shift += 7) {
            if (p_ == end_) return false;
            const unsigned char byte = *p_++;
            value |= std::uint64_t{byte & 0x7Fu} << shift;
            if ((byte & 0x80u) == 0) return true;
        }
        return false;
    }

    bool Signed(std::int64_t& value) {
        std::uint64_t raw = 0;
        if (!Unsigned(raw)) return false;
        value = static_cast<std::int64_t>(raw >> 1) ^ -static_cast<std::int64_t>(raw & 1);
        return true;
    }

    std::size_t Remaining() const { return static_cast<std::size_t>(end_ - p_); }

  private:
    const unsigned char* p_;
    const unsigned char* end_;
};

bool ReadVertex(VarintReader& reader, std::int64_t& x, std::int64_t& y) {
    std::int64_t dx = 0;
    std::int64_t dy = 0;
    if (!reader.Signed(dx) || !reader.Signed(dy)) return false;
    if (dx <= -kCoordinateLimit || dx >= kCoordinateLimit || dy <= -kCoordinateLimit ||
        dy >= kCoordinateLimit)
        return false;
    x += dx;
    y += dy;
    return x > -kCoordinateLimit && x < kCoordinateLimit && y > -kCoordinateLimit &&
           y < kCoordinateLimit;
}

// Calls ring(count) at the start of every ring and vertex(x, y) for each of
// its vertices. False when the blob is damaged (what was seen so far has
// been visited).
template <typename RingVisitor, typename VertexVisitor>
bool VisitVertices(const unsigned char* data, std::size_t size, RingVisitor&& ring,
                   VertexVisitor&& vertex) {
    if (data == nullptr) return false;
    VarintReader reader(data, size);
    std::uint64_t rings = 0;
    if (!reader.Unsigned(rings) || rings == 0 || rings > reader.Remaining()) return false;
    for (std::uint64_t r = 0; r < rings; ++r) {
        std::uint64_t count = 0;
        // Every vertex takes at least two bytes.
        if (!reader.Unsigned(count) || count < 3 || count > reader.Remaining() / 2) return false;
        ring(static_cast<std::size_t>(count));
        std::int64_t x = 0;
        std::int64_t y = 0;
        for (std::uint64_t i = 0; i < count; ++i) {
            if (!ReadVertex(reader, x, y)) return false;
            vertex(x, y);
        }
    }
    return true;
}

// Calls edge(ax, ay, bx, by) for every edge of every ring, the closing
// edges included.
template <typename EdgeVisitor>
bool VisitEdges(const unsigned char* data, std::size_t size, EdgeVisitor&& edge) {
    std::size_t left = 0;
    std::int64_t firstX = 0, firstY = 0, lastX = 0, lastY = 0;
    bool started = false;
    return VisitVertices(
        data, size,
        [&](std::size_t count) {
            left = count;
            started = false;
        },
        [&](std::int64_t x, std::int64_t y) {
            if (!started) {
                firstX = x;
                firstY = y;
                started = true;
            } else {
                edge(lastX, lastY, x, y);
            }
            lastX = x;
            lastY = y;
            if (--left == 0) edge(lastX, lastY, firstX, firstY);
        });
}

}  // namespace

PolygonTest TestPointInPolygonBlob(const unsigned char* data, std::size_t size, std::int64_t x,
                                   std::int64_t y) {
    bool inside = false;
    const bool intact = VisitEdges(
        data, size, [&](std::int64_t ax, std::int64_t ay, std::int64_t bx, std::int64_t by) {
            if (EdgeCrossesRay(ax, ay, bx, by, x, y)) inside = !inside;
        });
    if (!intact) return PolygonTest::Damaged;
    return inside ? PolygonTest::Inside : PolygonTest::Outside;
}

bool DecodePolygonEdges(const unsigned char* data, std::size_t size,
                        std::vector<PolygonEdge>& edges) {
    edges.clear();
    const bool intact = VisitEdges(
        data, size, [&](std::int64_t ax, std::int64_t ay, std::int64_t bx, std::int64_t by) {
            if (ay != by)  // a horizontal edge never crosses the ray
                edges.push_back({static_cast<std::int32_t>(ax), static_cast<std::int32_t>(ay),
                                 static_cast<std::int32_t>(bx), static_cast<std::int32_t>(by)});
        });
    if (!intact) edges.clear();
    return intact;
}

bool DecodePolygonRings(const unsigned char* data, std::size_t size,
                        std::vector<std::vector<PolygonVertex>>& rings) {
    rings.clear();
    const bool intact = VisitVertices(
        data, size,
        [&](std::size_t count) {
            rings.emplace_back();
            rings.back().reserve(count);
        },
        [&](std::int64_t x, std::int64_t y) {
            rings.back().push_back({static_cast<std::int32_t>(x), static_cast<std::int32_t>(y)});
        });
    if (!intact) rings.clear();
    return intact;
}
