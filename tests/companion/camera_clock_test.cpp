// From catalogued shot times to instants: the computer's zone, a camera
// clock that is off, a camera set to another zone, and the days on which
// daylight saving begins or ends.
#include <gtest/gtest.h>

#include "companion/camera_clock.h"
#include "companion/track_positions.h"
#include "companion/track_time.h"
#include "computer_time_zone.h"
#include "platform/local_time.h"

namespace {

std::int64_t Utc(int y, int mo, int d, int h, int mi, int s = 0) {
    return UtcDayStartMs(y, mo, d) / 1000 + (h * 60LL + mi) * 60 + s;
}

TEST(ACameraClock, turnsCataloguedShotTimesIntoInstants) {
    const struct {
        const char* what;
        const char* computerZone;
        int wall[5];  // the camera's wall clock: year, month, day, hour, minute
        CameraClock clock;
        std::int64_t instant;
    } cases[] = {
        {"as catalogued", "Asia/Shanghai", {2026, 7, 1, 12, 0}, {}, Utc(2026, 7, 1, 4, 0)},
        {"a camera 37 minutes fast",
         "Asia/Shanghai",
         {2026, 7, 1, 12, 37},
         {37 * 60, ""},
         Utc(2026, 7, 1, 4, 0)},
        {"a camera 5 minutes slow",
         "Asia/Shanghai",
         {2026, 7, 1, 11, 55},
         {-5 * 60, ""},
         Utc(2026, 7, 1, 4, 0)},
        {"a camera on Berlin time, the computer in Shanghai",
         "Asia/Shanghai",
         {2026, 7, 1, 12, 0},
         {0, "Europe/Berlin"},
         Utc(2026, 7, 1, 10, 0)},
        {"a camera on New York time, 37 minutes fast",
         "Asia/Shanghai",
         {2026, 1, 10, 8, 37},
         {37 * 60, "America/New_York"},
         Utc(2026, 1, 10, 13, 0)},
        {"Berlin, the night daylight saving ends, before",
         "Europe/Berlin",
         {2026, 10, 25, 1, 30},
         {},
         Utc(2026, 10, 24, 23, 30)},
        {"Berlin, the afternoon daylight saving ended",
         "Europe/Berlin",
         {2026, 10, 25, 14, 0},
         {},
         Utc(2026, 10, 25, 13, 0)},
        {"Berlin, that afternoon, a camera 37 minutes fast",
         "Europe/Berlin",
         {2026, 10, 25, 14, 37},
         {37 * 60, ""},
         Utc(2026, 10, 25, 13, 0)},
        {"Berlin, a correction back over the change",
         "Europe/Berlin",
         {2026, 10, 25, 4, 30},
         {3 * 3600, ""},
         Utc(2026, 10, 24, 23, 30)},
        {"Berlin, the morning daylight saving began",
         "Europe/Berlin",
         {2026, 3, 29, 9, 0},
         {},
         Utc(2026, 3, 29, 7, 0)},
        {"the computer in Berlin, a camera on its time zone by name",
         "Europe/Berlin",
         {2026, 10, 25, 14, 0},
         {0, "Europe/Berlin"},
         Utc(2026, 10, 25, 13, 0)},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        ComputerTimeZone zone(c.computerZone);
        const auto dwDateTime =
            LocalWallSeconds(c.wall[0], c.wall[1], c.wall[2], c.wall[3], c.wall[4]);
        ASSERT_TRUE(dwDateTime);
        EXPECT_EQ(ShotInstant(static_cast<std::int32_t>(*dwDateTime), c.clock), c.instant);
    }
}

TEST(ACameraClock, knowsItsOffsetFromAPhotoOfAClockAndRefusesUnknownZones) {
    ComputerTimeZone zone("Europe/Berlin");
    const auto shot = LocalWallSeconds(2026, 10, 25, 14, 37, 10);
    ASSERT_TRUE(shot);
    const std::int64_t trueWall =
        Utc(2026, 10, 25, 14, 0, 0);  // what the photographed clock showed
    EXPECT_EQ(OffsetFromTrueTime(static_cast<std::int32_t>(*shot), trueWall), 37 * 60 + 10);
    EXPECT_EQ(CatalogueWallSeconds(static_cast<std::int32_t>(*shot)),
              Utc(2026, 10, 25, 14, 37, 10));

    EXPECT_FALSE(ShotInstant(static_cast<std::int32_t>(*shot), {0, "Mars/Olympus_Mons"}));
    EXPECT_FALSE(IsKnownTimeZone("../../etc/passwd"));
    EXPECT_TRUE(IsKnownTimeZone("Asia/Shanghai"));
    const auto names = TimeZoneNames();
    EXPECT_TRUE(std::binary_search(names.begin(), names.end(), "Europe/Berlin"));
}

// The whole answer to a request: a camera 37 minutes fast finds the track
// only once its offset is set, and a record without a shot time stays 0,0.
TEST(TheTrackAnswer, correctsTheCameraClockBeforeMatching) {
    const std::int64_t noon = Utc(2026, 7, 1, 4, 0);  // 12:00 in Shanghai
    const TrackMatcher matcher(
        {Track{"walk", {{{noon * 1000, 31.0, 121.0}, {(noon + 60) * 1000, 31.1, 121.1}}}}});
    const std::vector<MapPhotoRecord> request = {
        {7, static_cast<std::int32_t>(noon + 37 * 60 + 30), 0, 0, 0},  // 12:37:30 on a fast camera
        {8, 0, 0, 0, 0},
    };
    TrackMatchSettings settings;
    auto rows = MatchRecords(matcher, request, settings);
    EXPECT_EQ(rows[0].match.kind, MatchKind::None);
    settings.clock.offsetSeconds = 37 * 60;
    rows = MatchRecords(matcher, request, settings);
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[0].match.kind, MatchKind::Interpolated);
    EXPECT_NEAR(rows[0].record.latitude, 31.05, 1e-9);
    EXPECT_EQ(rows[0].shotInstant, noon + 30);
    EXPECT_FALSE(rows[1].shotInstant);

    const auto all = ReplyRecords(rows);
    const auto unticked = ReplyRecords(rows, {false, true});
    ASSERT_EQ(all.size(), 2u);
    EXPECT_EQ(all[0].idPic, 7);
    EXPECT_EQ(all[0].dwDateTime, request[0].dwDateTime);
    EXPECT_NEAR(all[0].longitude, 121.05, 1e-9);
    EXPECT_EQ(unticked[0].latitude, 0);
    EXPECT_EQ(unticked[0].longitude, 0);
    EXPECT_EQ(unticked[1].idPic, 8);
}

}  // namespace
