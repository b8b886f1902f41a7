#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "companion/banded_polygon.h"
#include "companion/polygon_blob.h"
#include "region_file_writer.h"

namespace {

using Ring = std::vector<std::pair<std::int64_t, std::int64_t>>;
using Bytes = std::vector<unsigned char>;

Bytes Pack(const std::vector<Ring>& rings) {
    return PackPolygon(rings);
}

PolygonTest TestPoint(const Bytes& blob, std::int64_t x, std::int64_t y) {
    return TestPointInPolygonBlob(blob.data(), blob.size(), x, y);
}

// A square of 100 around (11,400,000, 2,250,000) with a square hole of 20 in
// its middle, and its neighbour to the east sharing the edge x = 11,400,100.
const std::int64_t X0 = 11400000, Y0 = 2250000;
const Ring kOuter = {{X0, Y0}, {X0 + 100, Y0}, {X0 + 100, Y0 + 100}, {X0, Y0 + 100}};
const Ring kHole = {{X0 + 40, Y0 + 40}, {X0 + 60, Y0 + 40}, {X0 + 60, Y0 + 60}, {X0 + 40, Y0 + 60}};
const Ring kEast = {{X0 + 100, Y0}, {X0 + 200, Y0}, {X0 + 200, Y0 + 100}, {X0 + 100, Y0 + 100}};
const Ring kNorth = {{X0, Y0 + 100}, {X0 + 100, Y0 + 100}, {X0 + 100, Y0 + 200}, {X0, Y0 + 200}};

TEST(APolygonBlob, holdsPointsInsideItsOutlineButNotInItsHoles) {
    const Bytes square = Pack({kOuter, kHole});
    const struct {
        std::int64_t x, y;
        PolygonTest expected;
    } kCases[] = {
        {X0 + 10, Y0 + 10, PolygonTest::Inside},   {X0 + 50, Y0 + 50, PolygonTest::Outside},
        {X0 + 50, Y0 + 30, PolygonTest::Inside},   {X0 - 1, Y0 + 50, PolygonTest::Outside},
        {X0 + 50, Y0 + 101, PolygonTest::Outside}, {0, 0, PolygonTest::Outside},
    };
    for (const auto& c : kCases)
        EXPECT_EQ(TestPoint(square, c.x, c.y), c.expected) << c.x - X0 << ", " << c.y - Y0;
}

TEST(APointOnASharedEdge, belongsToExactlyOneOfTheTwoPolygons) {
    const Bytes west = Pack({kOuter});
    const Bytes east = Pack({kEast});
    const Bytes north = Pack({kNorth});
    for (std::int64_t y = Y0 + 1; y < Y0 + 100; y += 7) {
        const bool inWest = TestPoint(west, X0 + 100, y) == PolygonTest::Inside;
        const bool inEast = TestPoint(east, X0 + 100, y) == PolygonTest::Inside;
        EXPECT_NE(inWest, inEast) << y - Y0;
        EXPECT_TRUE(inEast) << "a point on a north-south border counts for the east side";
    }
    for (std::int64_t x = X0 + 1; x < X0 + 100; x += 7) {
        const bool inSouth = TestPoint(west, x, Y0 + 100) == PolygonTest::Inside;
        const bool inNorth = TestPoint(north, x, Y0 + 100) == PolygonTest::Inside;
        EXPECT_NE(inSouth, inNorth) << x - X0;
    }
}

TEST(ADamagedPolygonBlob, isReportedWithoutReadingPastItsEnd) {
    const Bytes good = Pack({kOuter, kHole});
    Bytes overlong(12, 0xFF);
    Bytes hugeRingCount;
    PutVarint(hugeRingCount, 1u << 30);
    Bytes hugeVertexCount;
    PutVarint(hugeVertexCount, 1);
    PutVarint(hugeVertexCount, std::uint64_t{1} << 40);
    Bytes farAway;
    PutVarint(farAway, 1);
    PutVarint(farAway, 3);
    for (int i = 0; i < 3; ++i) {
        PutSigned(farAway, std::int64_t{1} << 33);
        PutSigned(farAway, 0);
    }
    const std::vector<std::pair<std::string, Bytes>> kDamaged = {
        {"empty", {}},
        {"no rings", Pack({})},
        {"cut short", Bytes(good.begin(), good.begin() + good.size() / 2)},
        {"overlong varint", overlong},
        {"more rings than bytes", hugeRingCount},
        {"more vertices than bytes", hugeVertexCount},
        {"a ring of two vertices", Pack({{{X0, Y0}, {X0 + 1, Y0 + 1}}})},
        {"coordinates beyond the globe", farAway},
    };
    for (const auto& [what, blob] : kDamaged) {
        // A copy of exactly its size, so that the sanitizer build catches a read past the end.
        const auto* data = blob.empty() ? nullptr : new unsigned char[blob.size()];
        if (data != nullptr) std::copy(blob.begin(), blob.end(), const_cast<unsigned char*>(data));
        EXPECT_EQ(TestPointInPolygonBlob(data, blob.size(), X0 + 10, Y0 + 10), PolygonTest::Damaged)
            << what;
        std::vector<std::vector<PolygonVertex>> rings;
        EXPECT_FALSE(DecodePolygonRings(data, blob.size(), rings)) << what;
        EXPECT_TRUE(rings.empty()) << what;
        delete[] data;
    }
}

// A star of 2,000 vertices with a star-shaped hole: long rings whose edges
// cross many bands, as a country's outline does.
std::vector<Ring> Star() {
    Ring outer;
    Ring hole;
    for (int i = 0; i < 2000; ++i) {
        const double angle = i * 2 * M_PI / 2000;
        const double radius = (i % 2 ? 3000.0 : 10000.0) + (i % 7) * 150.0;
        outer.push_back({X0 + std::llround(radius * std::cos(angle)),
                         Y0 + std::llround(radius * std::sin(angle))});
        if (i % 10 == 0)
            hole.push_back({X0 + std::llround(radius * 0.2 * std::cos(angle)),
                            Y0 + std::llround(radius * 0.2 * std::sin(angle))});
    }
    return {outer, hole};
}

TEST(ABandedPolygon, answersExactlyAsTheBlobItWasBuiltFrom) {
    for (const std::vector<Ring>& rings : {std::vector<Ring>{kOuter, kHole}, Star()}) {
        const Bytes blob = Pack(rings);
        BandedPolygon banded;
        ASSERT_TRUE(banded.Build(blob.data(), blob.size()));
        // A grid over the polygon and beyond, with points on vertices and edges.
        for (std::int64_t dy = -11000; dy <= 11000; dy += 97)
            for (std::int64_t dx = -11000; dx <= 11000; dx += 89) {
                const bool expected = TestPoint(blob, X0 + dx, Y0 + dy) == PolygonTest::Inside;
                ASSERT_EQ(banded.Contains(X0 + dx, Y0 + dy), expected) << dx << ", " << dy;
            }
        for (std::int64_t d = 0; d <= 100; ++d)
            ASSERT_EQ(banded.Contains(X0 + d, Y0 + 100 - d),
                      TestPoint(blob, X0 + d, Y0 + 100 - d) == PolygonTest::Inside);
    }
}

TEST(APolygonBlob, decodesToTheRingsItWasPackedFrom) {
    const std::vector<Ring> packed = Star();
    const Bytes blob = Pack(packed);
    std::vector<std::vector<PolygonVertex>> rings;
    ASSERT_TRUE(DecodePolygonRings(blob.data(), blob.size(), rings));
    ASSERT_EQ(rings.size(), packed.size());
    for (std::size_t r = 0; r < packed.size(); ++r) {
        ASSERT_EQ(rings[r].size(), packed[r].size());
        for (std::size_t i = 0; i < packed[r].size(); ++i) {
            ASSERT_EQ(rings[r][i].x, packed[r][i].first);
            ASSERT_EQ(rings[r][i].y, packed[r][i].second);
        }
    }
}

TEST(ABandedPolygon, builtFromADamagedBlobHoldsNothing) {
    const Bytes good = Pack({kOuter});
    const Bytes cut(good.begin(), good.begin() + good.size() - 3);
    BandedPolygon banded;
    EXPECT_FALSE(banded.Build(cut.data(), cut.size()));
    EXPECT_FALSE(banded.Contains(X0 + 10, Y0 + 10));
}

}  // namespace
