#include "companion/polygon_blob.h"

namespace {

// Far beyond any longitude or latitude in stored units, and small enough that
// the edge products below cannot overflow.
constexpr std::int64_t kCoordinateLimit = std::int64_t{1} << 30;

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

// Does the edge a-b cross the ray from (px, py) towards +x? Half-open in y,
// strict in x, exact in integers.
bool CrossesRay(std::int64_t ax, std::int64_t ay, std::int64_t bx, std::int64_t by, std::int64_t px,
                std::int64_t py) {
    if ((ay > py) == (by > py)) return false;
    // px < ax + (py - ay) * (bx - ax) / (by - ay), without dividing.
    const std::int64_t lhs = (px - ax) * (by - ay);
    const std::int64_t rhs = (bx - ax) * (py - ay);
    return by > ay ? lhs < rhs : lhs > rhs;
}

}  // namespace

PolygonTest TestPointInPolygonBlob(const unsigned char* data, std::size_t size, std::int64_t x,
                                   std::int64_t y) {
    if (data == nullptr) return PolygonTest::Damaged;
    VarintReader reader(data, size);
    std::uint64_t rings = 0;
    if (!reader.Unsigned(rings) || rings == 0 || rings > reader.Remaining())
        return PolygonTest::Damaged;
    bool inside = false;
    for (std::uint64_t r = 0; r < rings; ++r) {
        std::uint64_t count = 0;
        // Every vertex takes at least two bytes.
        if (!reader.Unsigned(count) || count < 3 || count > reader.Remaining() / 2)
            return PolygonTest::Damaged;
        std::int64_t cx = 0;
        std::int64_t cy = 0;
        if (!ReadVertex(reader, cx, cy)) return PolygonTest::Damaged;
        const std::int64_t firstX = cx;
        const std::int64_t firstY = cy;
        for (std::uint64_t i = 1; i < count; ++i) {
            std::int64_t nx = cx;
            std::int64_t ny = cy;
            if (!ReadVertex(reader, nx, ny)) return PolygonTest::Damaged;
            if (CrossesRay(cx, cy, nx, ny, x, y)) inside = !inside;
            cx = nx;
            cy = ny;
        }
        if (CrossesRay(cx, cy, firstX, firstY, x, y)) inside = !inside;
    }
    return inside ? PolygonTest::Inside : PolygonTest::Outside;
}
