// The search rules shared by the panel and the command-line tool.

#include "tree/search_criteria.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <ctime>

namespace {

class SearchCriteria : public ::testing::Test {
  protected:
    void SetUp() override {
        setenv("TZ", "Asia/Shanghai", 1);
        tzset();
    }
};

constexpr CalendarDay kToday{2026, 12, 9};

// A grid as first shown, with the given cells edited.
SearchEntries Grid(std::initializer_list<std::pair<SearchCell, const char*>> edits) {
    SearchEntries e;
    e.text = {
        kKeyword1Placeholder, kKeyword2Placeholder, "1970-01-02", "2026-12-09", "", "", "", ""};
    for (const auto& [cell, text] : edits) {
        e.text[cell] = text;
        e.entered[cell] = true;
    }
    return e;
}

TEST_F(SearchCriteria, DaysAreReadOnlyWhenRealAndWithinTheShotTimeRange) {
    struct Case {
        const char* text;
        std::optional<CalendarDay> day;
    } cases[] = {
        {"2014-01-01", CalendarDay{2014, 1, 1}},
        {"2014-1-5", CalendarDay{2014, 1, 5}},
        {"2016-02-29", CalendarDay{2016, 2, 29}},
        {"2015-02-29", std::nullopt},
        {"2014-13-01", std::nullopt},
        {"2014-04-31", std::nullopt},
        {"1969-12-31", std::nullopt},
        {"2038-01-01", std::nullopt},
        {"2014/01/01", std::nullopt},
        {"14-01-01", std::nullopt},
        {"2014-01-01x", std::nullopt},
        {"", std::nullopt},
        {"2014-001-01", std::nullopt},
        {"2014--01", std::nullopt},
    };
    for (const Case& c : cases) EXPECT_EQ(ParseDay(c.text), c.day) << c.text;
    EXPECT_EQ(FormatDay({1970, 1, 2}), "1970-01-02");
}

TEST_F(SearchCriteria, DayBoundsAreLocalMidnightAndTheLastSecond) {
    // 2014-01-01 00:00:00 in Shanghai is 2013-12-31 16:00:00 UTC.
    EXPECT_EQ(LocalDayStart({2014, 1, 1}), 1388505600);
    EXPECT_EQ(LocalDayEnd({2014, 1, 1}), 1388505600 + 86399);
    EXPECT_FALSE(LocalDayStart({2038, 1, 20})) << "beyond 32-bit seconds";
    EXPECT_FALSE(LocalDayEnd({1900, 1, 0})) << "the zeroed day of a clock that failed";
}

TEST_F(SearchCriteria, RangesIncludeTheirLimitsAndRefuseEverythingBeyond) {
    EXPECT_TRUE(CoordinateInRange(SearchAxis::Longitude, -180));
    EXPECT_TRUE(CoordinateInRange(SearchAxis::Longitude, 180));
    EXPECT_FALSE(CoordinateInRange(SearchAxis::Longitude, 180.0001));
    EXPECT_TRUE(CoordinateInRange(SearchAxis::Latitude, 90));
    EXPECT_FALSE(CoordinateInRange(SearchAxis::Latitude, 95));
    EXPECT_FALSE(CoordinateInRange(SearchAxis::Latitude, -90.5));
    EXPECT_FALSE(CoordinateInRange(SearchAxis::Latitude, std::nan("")));
}

TEST_F(SearchCriteria, KeywordsFitInNineteenBytes) {
    EXPECT_TRUE(KeywordFits("家人朋友旅行"));  // 18 bytes
    EXPECT_FALSE(KeywordFits("家人朋友旅行海"));
    EXPECT_TRUE(KeywordFits(std::string(19, 'a')));
    EXPECT_FALSE(KeywordFits(std::string(20, 'a')));
}

TEST_F(SearchCriteria, NothingToSearchForLeavesTheFilterAlone) {
    // No cell edited; only the end day edited (the start stays unset);
    // keywords put back to their placeholders; a longitude range missing
    // a bound.
    for (const SearchEntries& e :
         {Grid({}), Grid({{kEndDayCell, "2015-01-01"}}),
          Grid({{kKeyword1Cell, kKeyword1Placeholder}, {kKeyword2Cell, ""}}),
          Grid({{kLongitude1Cell, "117.0000"}}),
          Grid({{kLatitude1Cell, "39.0000"}, {kLatitude2Cell, "0"}}),
          Grid({{kStartDayCell, "1970-01-02"}})})
        EXPECT_FALSE(FilterFromEntries(e, kToday));
}

TEST_F(SearchCriteria, EntriesBecomeTheFilterThePaneStores) {
    auto keyword = FilterFromEntries(Grid({{kKeyword2Cell, "家人"}}), kToday);
    ASSERT_TRUE(keyword);
    EXPECT_STREQ(keyword->keywordA, "");
    EXPECT_STREQ(keyword->keywordB, "家人");
    EXPECT_EQ(keyword->start, 0);
    EXPECT_EQ(keyword->end, 0);  // today's end without a start means none

    auto dated = FilterFromEntries(Grid({{kStartDayCell, "2014-01-01"}}), kToday);
    ASSERT_TRUE(dated);
    EXPECT_EQ(dated->start, LocalDayStart({2014, 1, 1}));
    EXPECT_EQ(dated->end, LocalDayEnd(kToday));  // the end cell counts unedited

    auto placed = FilterFromEntries(Grid({{kLongitude1Cell, "117.0000"},
                                          {kLongitude2Cell, "116.0000"},
                                          {kLatitude1Cell, "39.0000"}}),
                                    kToday);
    ASSERT_TRUE(placed);
    EXPECT_EQ(placed->longitude1, 117.0f);
    EXPECT_EQ(placed->longitude2, 116.0f);
    EXPECT_EQ(placed->latitude1, 0.0f);  // a latitude without its second bound is dropped
    EXPECT_EQ(placed->latitude2, 0.0f);

    // A cell that was edited keeps counting even when its text is the
    // initial one again; an unedited keyword cell never counts.
    SearchEntries e = Grid({{kLatitude1Cell, "-10"}, {kLatitude2Cell, "10"}});
    e.text[kKeyword1Cell] = "typed but not committed";
    auto latitude = FilterFromEntries(e, kToday);
    ASSERT_TRUE(latitude);
    EXPECT_STREQ(latitude->keywordA, "");
    EXPECT_EQ(latitude->latitude1, -10.0f);
}

}  // namespace
