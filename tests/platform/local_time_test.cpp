#include "platform/local_time.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>
#include <limits>

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

}  // namespace
