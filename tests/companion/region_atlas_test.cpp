// The shipped region data file, built from the npm packages before the tests
// run (the suite depends on the darazoz_region_data target).

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <limits>
#include <string>
#include <vector>

#include "companion/region_atlas.h"
#include "temp_folder.h"

namespace {

using Names = std::vector<std::string>;

class TheShippedAtlas : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        atlas_ = new RegionAtlas;
        ASSERT_TRUE(atlas_->Open(DARAZOZ_REGION_DATA)) << atlas_->ErrorText();
    }
    static void TearDownTestSuite() {
        delete atlas_;
        atlas_ = nullptr;
    }
    static RegionAtlas* atlas_;
};
RegionAtlas* TheShippedAtlas::atlas_ = nullptr;

struct Place {
    const char* what;
    double latitude;
    double longitude;
    Names names;
};

// Landmarks well inside their districts, in WGS-84 as a phone records them.
const Place kPlacesWellInside[] = {
    {"Shenzhen Civic Centre", 22.5431, 114.0579, {"广东省", "深圳市", "福田区"}},
    {"Forbidden City", 39.9163, 116.3972, {"北京市", "北京市", "东城区"}},
    {"People's Square, Shanghai", 31.2304, 121.4737, {"上海市", "上海市", "黄浦区"}},
    {"Jiefangbei, Chongqing", 29.5570, 106.5770, {"重庆市", "重庆市", "渝中区"}},
    {"West Lake, Hangzhou", 30.2460, 120.1420, {"浙江省", "杭州市", "西湖区"}},
    {"Wuhou Shrine, Chengdu", 30.6460, 104.0430, {"四川省", "成都市", "武侯区"}},
    {"Central Street, Harbin", 45.7730, 126.6180, {"黑龙江省", "哈尔滨市", "道里区"}},
    {"Potala Palace", 29.6578, 91.1169, {"西藏自治区", "拉萨市", "城关区"}},
    {"Jiuzhaigou valley", 33.2000, 103.9000, {"四川省", "阿坝藏族羌族自治州", "九寨沟县"}},
    {"Central, Hong Kong", 22.2810, 114.1580, {"香港特别行政区", "香港特别行政区", "中西区"}},
    {"Tsim Sha Tsui", 22.2975, 114.1722, {"香港特别行政区", "香港特别行政区", "油尖旺区"}},
    {"Taipa, Macao", 22.1560, 113.5550, {"澳门特别行政区", "澳门特别行政区", "嘉模堂区"}},
    {"Presidential Office, Taipei", 25.0400, 121.5120, {"台湾省", "台北市", "中正区"}},
    {"Tokyo Station", 35.6812, 139.7671, {"日本"}},
    {"Eiffel Tower", 48.8584, 2.2945, {"法国"}},
    // Coastal places, which coarse country outlines leave in the sea.
    {"Times Square", 40.7580, -73.9855, {"美国"}},
    {"Sydney Opera House", -33.8568, 151.2153, {"澳大利亚"}},
    {"Merlion Park, Singapore", 1.2868, 103.8545, {"新加坡"}},
    {"St Mark's Square, Venice", 45.4341, 12.3388, {"意大利"}},
};

TEST_F(TheShippedAtlas, namesTheDistrictThatHoldsAPlaceWellInside) {
    for (const Place& place : kPlacesWellInside)
        EXPECT_EQ(atlas_->Lookup(place.latitude, place.longitude), place.names) << place.what;
}

TEST_F(TheShippedAtlas, givesNoNamesForOpenSeaOrAPositionThatIsNoPosition) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    const struct {
        double latitude, longitude;
    } kNowhere[] = {
        {0.0, -150.0}, {-30.0, 80.0}, {nan, 114.0}, {22.5, nan},   {inf, 114.0},
        {22.5, -inf},  {90.5, 114.0}, {-91.0, 0.0}, {22.5, 180.5}, {22.5, -1e300},
    };
    for (const auto& p : kNowhere)
        EXPECT_TRUE(atlas_->Lookup(p.latitude, p.longitude).empty())
            << p.latitude << ", " << p.longitude;
}

// Pairs of points about 1 km either side of a border, in WGS-84.
const Place kBesideBorders[] = {
    {"north of the Shenzhen River at Lo Wu", 22.5390, 114.1140, {"广东省", "深圳市", "罗湖区"}},
    {"south of the Shenzhen River at Lo Wu",
     22.5210,
     114.1140,
     {"香港特别行政区", "香港特别行政区", "北区"}},
    {"west of the Futian-Luohu border", 22.5450, 114.0850, {"广东省", "深圳市", "福田区"}},
    {"east of the Futian-Luohu border", 22.5450, 114.1050, {"广东省", "深圳市", "罗湖区"}},
};

TEST_F(TheShippedAtlas, tellsTheSidesOfABorderApart) {
    for (const Place& place : kBesideBorders)
        EXPECT_EQ(atlas_->Lookup(place.latitude, place.longitude), place.names) << place.what;
}

// The polygon data is drawn in GCJ-02, which puts Shenzhen's borders some
// 500 m east and 300 m south of where they are; read as WGS-84 without
// conversion it would give one point of each pair the name of the other side.
const Place kBesideBordersWithinTheDatumShift[] = {
    {"180 m south of the Shenzhen River",
     22.5285,
     114.1140,
     {"香港特别行政区", "香港特别行政区", "北区"}},
    {"200 m north of the Shenzhen River", 22.5320, 114.1140, {"广东省", "深圳市", "罗湖区"}},
    {"250 m west of the Futian-Luohu border", 22.5450, 114.0980, {"广东省", "深圳市", "福田区"}},
    {"270 m east of the Futian-Luohu border", 22.5450, 114.1030, {"广东省", "深圳市", "罗湖区"}},
};

TEST_F(TheShippedAtlas, readsWgs84PositionsAgainstBordersConvertedFromGcj02) {
    for (const Place& place : kBesideBordersWithinTheDatumShift)
        EXPECT_EQ(atlas_->Lookup(place.latitude, place.longitude), place.names) << place.what;
}

TEST(ARegionAtlas, reportsAMissingFileAndAnswersNothing) {
    TempFolder folder;
    RegionAtlas atlas;
    EXPECT_FALSE(atlas.Open(folder.File("zidevu-regions.db")));
    EXPECT_FALSE(atlas.IsOpen());
    EXPECT_NE(atlas.ErrorText().find("missing"), std::string::npos) << atlas.ErrorText();
    EXPECT_TRUE(atlas.Lookup(22.5431, 114.0579).empty());
}

TEST(ARegionAtlas, reportsADamagedFileAndAnswersNothing) {
    TempFolder folder;
    const std::string path = folder.File("zidevu-regions.db");
    // The shipped file cut in half, and a file that is no database at all.
    std::ifstream shipped(DARAZOZ_REGION_DATA, std::ios::binary);
    const std::string bytes((std::istreambuf_iterator<char>(shipped)), {});
    for (const std::string& content : {bytes.substr(0, 4096), std::string("not a database")}) {
        std::ofstream(path, std::ios::binary | std::ios::trunc) << content;
        RegionAtlas atlas;
        EXPECT_FALSE(atlas.Open(path));
        EXPECT_NE(atlas.ErrorText().find(path), std::string::npos) << atlas.ErrorText();
        EXPECT_TRUE(atlas.Lookup(22.5431, 114.0579).empty());
    }
}

TEST(FindingTheRegionDataFile, prefersTheProgramFolderThenTheSharePrefix) {
    TempFolder folder;
    const std::string bin = folder.File("bin");
    const std::string share = folder.File("share/darazoz");
    std::filesystem::create_directories(bin);
    std::filesystem::create_directories(share);
    EXPECT_EQ(FindRegionDataFile(bin), "");
    std::ofstream(share + "/zidevu-regions.db") << "x";
    EXPECT_EQ(FindRegionDataFile(bin), share + "/zidevu-regions.db");
    std::ofstream(bin + "/zidevu-regions.db") << "x";
    EXPECT_EQ(FindRegionDataFile(bin), bin + "/zidevu-regions.db");
}

}  // namespace
