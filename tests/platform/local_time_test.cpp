#include "platform/local_time.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstdlib>
#include <ctime>
#include <limits>
#include <optional>

namespace {

class LocalWallTimeTest : public ::testing::Test {
  protected:
    void SetUp() override {
        setenv("TZ", "Asia/Shanghai", 1);
        tzset();
    }
};

TEST_F(LocalWallTimeTest, ShowsTheClockOfTheTimeZoneAndRoundTripsWithLocalWallSeconds) {
    struct Case {
        std::int64_t seconds;
        LocalWallTime wall;
    };
    const Case cases[] = {
        {0, {1970, 1, 1, 8, 0, 0}},
        {-3600, {1970, 1, 1, 7, 0, 0}},
        {1337000000, {2012, 5, 14, 20, 53, 20}},
        {951753600, {2000, 2, 29, 0, 0, 0}},     // leap day, local midnight
        {4294967295, {2106, 2, 7, 14, 28, 15}},  // the largest unsigned 32-bit stamp
    };
    for (const Case& c : cases) {
        const auto wall = LocalWallTimeOf(c.seconds);
        ASSERT_TRUE(wall) << c.seconds;
        EXPECT_EQ(wall->year, c.wall.year) << c.seconds;
        EXPECT_EQ(wall->month, c.wall.month) << c.seconds;
        EXPECT_EQ(wall->day, c.wall.day) << c.seconds;
        EXPECT_EQ(wall->hour, c.wall.hour) << c.seconds;
        EXPECT_EQ(wall->minute, c.wall.minute) << c.seconds;
        EXPECT_EQ(wall->second, c.wall.second) << c.seconds;
        EXPECT_EQ(LocalWallSeconds(wall->year, wall->month, wall->day, wall->hour, wall->minute,
                                   wall->second),
                  c.seconds);
    }
}

TEST_F(LocalWallTimeTest, IsNothingBeyondTheLibrarysYears) {
    EXPECT_FALSE(LocalWallTimeOf(std::numeric_limits<std::int64_t>::max()));
    EXPECT_FALSE(LocalWallTimeOf(std::numeric_limits<std::int64_t>::min()));
}

TEST(LocalWallSecondsTest, ConvertsInEachTimeZoneWithMinusOneAsARealTime) {
    struct Case {
        const char* zone;
        LocalWallTime wall;
        std::optional<std::int64_t> seconds;
    };
    const Case cases[] = {
        // 1969-12-31 23:59:59 UTC, the second that mktime also answers for failure.
        {"UTC", {1969, 12, 31, 23, 59, 59}, -1},
        {"Asia/Shanghai", {1970, 1, 1, 7, 59, 59}, -1},
        {"America/New_York", {1969, 12, 31, 18, 59, 59}, -1},
        {"Europe/Berlin", {1970, 1, 1, 0, 59, 59}, -1},
        {"UTC", {2021, 6, 1, 12, 0, 0}, 1622548800},
        {"Asia/Shanghai", {2021, 6, 1, 12, 0, 0}, 1622520000},
        {"America/New_York", {2021, 6, 1, 12, 0, 0}, 1622563200},  // daylight saving
        {"Europe/Berlin", {2021, 6, 1, 12, 0, 0}, 1622541600},
        // 02:30 does not exist on the morning clocks go forward: it reads as 03:30.
        {"America/New_York", {2021, 3, 14, 2, 30, 0}, 1615707000},
        {"Europe/Berlin", {2021, 3, 28, 2, 30, 0}, 1616895000},
        // The year overflows while the months roll over.
        {"UTC", {INT_MAX, INT_MAX, 1, 0, 0, 0}, std::nullopt},
        {"Asia/Shanghai", {INT_MAX, INT_MAX, 1, 0, 0, 0}, std::nullopt},
    };
    for (const Case& c : cases) {
        setenv("TZ", c.zone, 1);
        tzset();
        const LocalWallTime& w = c.wall;
        EXPECT_EQ(LocalWallSeconds(w.year, w.month, w.day, w.hour, w.minute, w.second), c.seconds)
            << c.zone << " " << w.year << "-" << w.month << "-" << w.day << " " << w.hour << ":"
            << w.minute << ":" << w.second;
    }
    unsetenv("TZ");
    tzset();
}

}  // namespace
