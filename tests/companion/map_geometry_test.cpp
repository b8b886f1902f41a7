#include "companion/map_geometry.h"

#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <map>
#include <set>

#include "region_file_writer.h"
#include "temp_folder.h"

namespace {

// Three districts 0.1° wide: 福田 and 罗湖 side by side, sharing an edge,
// and 中西区 of Hong Kong below both; far away a country.
constexpr std::int64_t X = 11400000, Y = 2250000, D = 10000;
const std::vector<RegionFixture> kRegions = {
    {0, {"广东省", "深圳市", "福田区"}, {{{{X, Y}, {X + D, Y}, {X + D, Y + D}, {X, Y + D}}}}, {}},
    {0,
     {"广东省", "深圳市", "罗湖区"},
     {{{{X + D, Y}, {X + 2 * D, Y}, {X + 2 * D, Y + D}, {X + D, Y + D}}}},
     {}},
    {0,
     {"香港特别行政区", "香港特别行政区", "中西区"},
     {{{{X, Y - D}, {X + 2 * D, Y - D}, {X + 2 * D, Y}, {X + D, Y}, {X, Y}}}},
     {}},
    {1, {"意大利"}, {{{{1200000, 4200000}, {1200000 + D, 4200000}, {1200000, 4200000 + D}}}}, {}},
};

// Length of the borders of each level in degrees, at full detail.
std::map<BorderLevel, double> BorderLengths(const MapGeometry& geometry) {
    std::map<BorderLevel, double> lengths;
    for (const MapShape& shape : geometry.Borders()) {
        const WorldPoint* p = geometry.Points().data() + shape.spans[0].first;
        for (std::uint32_t i = 1; i < shape.spans[0].count; ++i) {
            const double dx = p[i].x - p[i - 1].x;
            const double dy = LatitudeOfMercatorY(p[i].y) - LatitudeOfMercatorY(p[i - 1].y);
            lengths[shape.level] += std::hypot(dx, dy);
        }
    }
    return lengths;
}

TEST(AMapGeometry, drawsEachSharedBorderOnceAtTheLevelWhereTheNamesDiffer) {
    TempFolder folder;
    const std::string path = folder.File("regions.db");
    ASSERT_TRUE(WriteRegionFile(path, kRegions));
    MapGeometry geometry;
    ASSERT_TRUE(geometry.Open(path)) << geometry.ErrorText();
    const auto lengths = BorderLengths(geometry);
    const double cell = D / 1e5;
    struct Expected {
        BorderLevel level;
        double length;
    };
    const Expected kExpected[] = {
        {BorderLevel::District, cell},  // 福田 | 罗湖
        {BorderLevel::City, 0},
        {BorderLevel::Province, 2 * cell},  // Shenzhen | Hong Kong
        // The outline of the three, and the country's triangle.
        {BorderLevel::Country, 8 * cell + (2 + std::sqrt(2.0)) * cell},
    };
    for (const Expected& e : kExpected) {
        const auto found = lengths.find(e.level);
        const double length = found == lengths.end() ? 0 : found->second;
        EXPECT_NEAR(length, e.length, 1e-4) << static_cast<int>(e.level);
    }
    EXPECT_EQ(geometry.Lands().size(), 4u);
}

TEST(AMapGeometry, namesEachLevelOnceAtTheMiddleOfItsRegions) {
    TempFolder folder;
    const std::string path = folder.File("regions.db");
    ASSERT_TRUE(WriteRegionFile(path, kRegions));
    MapGeometry geometry;
    ASSERT_TRUE(geometry.Open(path));
    std::multiset<std::pair<BorderLevel, std::string>> labels;
    double shenzhenX = 0;
    for (const MapLabel& label : geometry.Labels()) {
        labels.insert({label.level, label.name});
        if (label.name == "深圳市") shenzhenX = label.at.x;
    }
    // Hong Kong repeats its name at the city level: one label for both.
    const std::multiset<std::pair<BorderLevel, std::string>> kExpected = {
        {BorderLevel::Country, "意大利"},          {BorderLevel::Province, "广东省"},
        {BorderLevel::Province, "香港特别行政区"}, {BorderLevel::City, "深圳市"},
        {BorderLevel::District, "福田区"},         {BorderLevel::District, "罗湖区"},
        {BorderLevel::District, "中西区"},
    };
    EXPECT_EQ(labels, kExpected);
    EXPECT_NEAR(shenzhenX, (X + D) / 1e5, 1e-4);
}

TEST(AMapGeometry, keepsFewerPointsAtCoarserStepsAndNoneWhereAShapeVanishes) {
    // A ring of 400 vertices 0.001° apart around a square of 0.1°.
    StoredRing ring;
    for (int i = 0; i < 100; ++i) ring.push_back({X + i * 100, Y});
    for (int i = 0; i < 100; ++i) ring.push_back({X + 10000, Y + i * 100});
    for (int i = 0; i < 100; ++i) ring.push_back({X + 10000 - i * 100, Y + 10000});
    for (int i = 0; i < 100; ++i) ring.push_back({X, Y + 10000 - i * 100});
    TempFolder folder;
    const std::string path = folder.File("regions.db");
    ASSERT_TRUE(WriteRegionFile(path, {{1, {"某国"}, {{ring}}, {}}}));
    MapGeometry geometry;
    ASSERT_TRUE(geometry.Open(path));
    const MapShape& land = geometry.Lands().at(0);
    EXPECT_EQ(land.spans[0].count, 400u);
    for (int step = 1; step < kMapDetailSteps; ++step)
        EXPECT_LE(land.spans[step].count, land.spans[step - 1].count) << step;
    EXPECT_LT(land.spans[3].count, 20u);
    EXPECT_EQ(land.spans[kMapDetailSteps - 1].count, 0u);  // 0.1° is below the coarsest step
    // Every step keeps a scale's tolerance under a pixel.
    for (const double scale : {1.0, 10.0, 100.0, 1000.0, 100000.0})
        EXPECT_LT(MapGeometry::DetailStepFor(scale), kMapDetailSteps) << scale;
    EXPECT_EQ(MapGeometry::DetailStepFor(100000.0), 0);
}

TEST(AMapGeometry, leavesOutADamagedPolygonAndRefusesFilesItCannotRead) {
    TempFolder folder;
    const std::string path = folder.File("regions.db");
    std::vector<RegionFixture> regions = kRegions;
    BlobBytes cut = PackPolygon({{{X, Y}, {X + D, Y}, {X + D, Y + D}}});
    cut.resize(cut.size() - 2);
    regions[0].rawParts.push_back(cut);
    ASSERT_TRUE(WriteRegionFile(path, regions));
    MapGeometry geometry;
    ASSERT_TRUE(geometry.Open(path));
    EXPECT_EQ(geometry.Lands().size(), 4u);

    const std::string notADatabase = folder.File("junk.db");
    std::ofstream(notADatabase) << "not a database";
    const std::string empty = folder.File("empty.db");
    ASSERT_TRUE(WriteRegionFile(empty, {}));
    for (const std::string& bad : {folder.File("missing.db"), notADatabase, empty}) {
        MapGeometry unreadable;
        EXPECT_FALSE(unreadable.Open(bad)) << bad;
        EXPECT_FALSE(unreadable.IsOpen());
        EXPECT_NE(unreadable.ErrorText().find(bad), std::string::npos) << unreadable.ErrorText();
        EXPECT_TRUE(unreadable.Lands().empty());
    }

    // A window closing while the file is read stops the reading: nothing is kept.
    const std::atomic<bool> stop{true};
    MapGeometry stopped;
    EXPECT_FALSE(stopped.Open(path, &stop));
    EXPECT_FALSE(stopped.IsOpen());
    EXPECT_TRUE(stopped.Lands().empty());
    EXPECT_TRUE(stopped.Borders().empty());
}

}  // namespace
