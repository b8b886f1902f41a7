#include "metadata/exif_text_parsers.h"

#include <cstdlib>
#include <ctime>

#include <gtest/gtest.h>

namespace {

// 2012-05-15 10:20:30 in Asia/Shanghai (UTC+8, no daylight saving).
constexpr std::int32_t kShanghaiShot = 1337048430;

class ShotTimeText : public ::testing::Test {
  protected:
    void SetUp() override {
        setenv("TZ", "Asia/Shanghai", 1);
        tzset();
    }
};

TEST_F(ShotTimeText, IsReadAsLocalWallClockTimeWithColonsOrDashes) {
    EXPECT_EQ(ShotTimeFromText("2012:05:15 10:20:30"), kShanghaiShot);
    EXPECT_EQ(ShotTimeFromText("2012-05-15 10:20:30"), kShanghaiShot);
}

TEST_F(ShotTimeText, GivesZeroForEmptyBlankOrImpossibleDates) {
    EXPECT_EQ(ShotTimeFromText("0000:00:00 00:00:00"), 0);
    EXPECT_EQ(ShotTimeFromText(""), 0);
    EXPECT_EQ(ShotTimeFromText("    :  :     :  :  "), 0);
    EXPECT_EQ(ShotTimeFromText("2012:00:15 10:20:30"), 0);
    EXPECT_EQ(ShotTimeFromText("2012:05:32 10:20:30"), 0);
    EXPECT_EQ(ShotTimeFromText("2012:05:15 24:00:00"), 0);
    EXPECT_EQ(ShotTimeFromText("2012:05:15 10:60:00"), 0);
    EXPECT_EQ(ShotTimeFromText("garbage"), 0);
}

TEST_F(ShotTimeText, GivesZeroForDatesBefore1970OrAfter3000) {
    EXPECT_EQ(ShotTimeFromText("1969:12:31 23:59:59"), 0);
    EXPECT_EQ(ShotTimeFromText("1970:01:01 00:00:00"), 0);  // 16:00 UTC the day before
    EXPECT_EQ(ShotTimeFromText("3001:01:01 00:00:00"), 0);
}

TEST_F(ShotTimeText, ReadsAMonthWrittenWithTheDayAsHundreds) {
    // "05:15" squeezed into "0515": the month is the hundreds.
    EXPECT_EQ(ShotTimeFromText("2012:515:0 10:20:30"), 0);  // day 0 stays invalid
    EXPECT_EQ(ShotTimeFromText("2012:515:15 10:20:30"), kShanghaiShot);
}

TEST_F(ShotTimeText, KeepsOnlyTheLow32BitsAfter2038) {
    std::int32_t value = ShotTimeFromText("2040:01:01 08:00:00");
    EXPECT_EQ(static_cast<std::uint32_t>(value), 2208988800u);
}

}  // namespace
