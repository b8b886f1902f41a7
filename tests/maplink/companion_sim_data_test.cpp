#include <gtest/gtest.h>

#include "gpx_track.h"
#include "region_table.h"

TEST(ARegionTable, answersTheFirstBoxHoldingThePositionWithAtMostEightNames) {
    auto table = RegionTable::Parse(
        "# boxes\n"
        "30 32 120 122 | 上海市 | 上海市 | 浦东新区\n"
        "0 90 0 180 | a | b | c | d | e | f | g | h | i | j\n");
    ASSERT_TRUE(table);
    EXPECT_EQ(table->Lookup(31, 121)->at(2), "浦东新区");
    EXPECT_EQ(table->Lookup(32, 122)->size(), 3u);  // edges count as inside
    EXPECT_EQ(table->Lookup(10, 10)->size(), 8u);
    EXPECT_FALSE(table->Lookup(-10, 10));
}

TEST(ARegionTable, refusesMalformedLines) {
    EXPECT_FALSE(RegionTable::Parse("30 32 120 | x\n"));
    EXPECT_FALSE(RegionTable::Parse("30 32 120 122 junk | x\n"));
}

TEST(AGpxTrack, interpolatesBetweenPointsInTimeOrderAndHasNothingOutside) {
    auto track = GpxTrack::Parse(R"(<gpx>
        <trkpt lat="31.0" lon="122.0"><ele>4</ele><time>2024-05-01T08:10:00+08:00</time></trkpt>
        <trkpt lat='30.0' lon='120.0'><time>2024-05-01T00:00:00.500Z</time></trkpt>
        <trkpt lat="x" lon="1"><time>2024-05-01T00:05:00Z</time></trkpt>
        <trkpt lat="1" lon="1"><time>garbage</time></trkpt>
        </gpx>)");
    ASSERT_EQ(track.Points().size(), 2u);
    const std::int64_t start = 1714521600;
    EXPECT_EQ(track.Points()[1].time, start + 600);

    auto middle = track.PositionAt(start + 150);
    ASSERT_TRUE(middle);
    EXPECT_DOUBLE_EQ(middle->latitude, 30.25);
    EXPECT_DOUBLE_EQ(middle->longitude, 120.5);
    EXPECT_DOUBLE_EQ(track.PositionAt(start + 600)->latitude, 31.0);
    EXPECT_FALSE(track.PositionAt(start - 1));
    EXPECT_FALSE(track.PositionAt(start + 601));
    EXPECT_FALSE(GpxTrack().PositionAt(start));
}

TEST(AnIsoTime, rejectsImpossibleDates) {
    EXPECT_EQ(ParseIsoTime("1970-01-02T00:00:00Z"), 86400);
    EXPECT_FALSE(ParseIsoTime("2024-02-30T00:00:00Z"));
    EXPECT_FALSE(ParseIsoTime("2024-01-01"));
}
