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

// Calls edge(ax, ay, bx, by) for every edge of every ring, the closing
// edges included. False when the blob is damaged (the edges seen so far have
// been visited).
template <typename EdgeVisitor>
bool VisitEdges(const unsigned char* data, std::size_t size, EdgeVisitor&& edge) {
    if (data == nullptr) return false;
    VarintReader reader(data, size);
    std::uint64_t rings = 0;
    if (!reader.Unsigned(rings) || rings == 0 || rings > reader.Remaining()) return false;
    for (std::uint64_t r = 0; r < rings; ++r) {
        std::uint64_t count = 0;
        // Every vertex takes at least two bytes.
        if (!reader.Unsigned(count) || count < 3 || count > reader.Remaining() / 2) return false;
        std::int64_t cx = 0;
        std::int64_t cy = 0;
        if (!ReadVertex(reader, cx, cy)) return false;
        const std::int64_t firstX = cx;
        const std::int64_t firstY = cy;
        for (std::uint64_t i = 1; i < count; ++i) {
            std::int64_t nx = cx;
            std::int64_t ny = cy;
            if (!ReadVertex(reader, nx, ny)) return false;
            edge(cx, cy, nx, ny);
            cx = nx;
            cy = ny;
        }
        edge(cx, cy, firstX, firstY);
    }
    return true;
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
