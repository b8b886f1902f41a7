#pragma once
// The rules the search panel and the command-line search share: the range
// of a longitude or latitude bound, reading and writing a day, the local
// bounds of a day, the room of a keyword, and how the panel's entries turn
// into a SearchFilter.
//
// Plain functions; local time follows TZ.

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "catalogue/search_filter.h"

enum class SearchAxis { Longitude, Latitude };

// A longitude bound lies within -180..180, a latitude bound within -90..90
// (the limits themselves included).
bool CoordinateInRange(SearchAxis axis, double degrees);

// A keyword fits a SearchFilter field when it takes at most 19 bytes of UTF-8.
inline constexpr std::size_t kSearchKeywordBytes = sizeof(SearchFilter::keywordA) - 1;
bool KeywordFits(std::string_view utf8);

struct CalendarDay {
    int year = 0;
    int month = 0;
    int day = 0;
    friend bool operator==(const CalendarDay&, const CalendarDay&) = default;
};

// "YYYY-MM-DD" (month and day may have one digit): nullopt unless it names
// a real day whose local times fit the 32-bit shot times (1970 to 2037).
std::optional<CalendarDay> ParseDay(std::string_view text);
// "%04d-%02d-%02d".
std::string FormatDay(const CalendarDay& day);
// Seconds of 00:00:00 and of 23:59:59 local time of the day; nothing when
// the clock cannot convert the day or its seconds leave 32 bits.
std::optional<std::int32_t> LocalDayStart(const CalendarDay& day);
std::optional<std::int32_t> LocalDayEnd(const CalendarDay& day);
CalendarDay LocalToday();

// The first shown start day: it stands for "no start".
inline constexpr CalendarDay kUnsetStartDay{1970, 1, 2};

// The texts of the search panel's grid (UTF-8) and which cells were edited,
// in SearchEntered order.
enum SearchCell {
    kKeyword1Cell,
    kKeyword2Cell,
    kStartDayCell,
    kEndDayCell,
    kLongitude1Cell,
    kLongitude2Cell,
    kLatitude1Cell,
    kLatitude2Cell,
    kSearchCellCount
};
struct SearchEntries {
    std::array<std::string, kSearchCellCount> text;
    std::array<bool, kSearchCellCount> entered{};
};

// The placeholders of the keyword cells, which never count as keywords.
inline constexpr const char* kKeyword1Placeholder = "关键词1";
inline constexpr const char* kKeyword2Placeholder = "关键词2";

// The search button's reading of the grid: nullopt when nothing was entered
// or nothing is left to search for (no keyword, no start day, no complete
// longitude or latitude range). A start on the first shown day means no
// start; an end on today means no end when there is no start; a range with
// an empty or 0 bound is dropped.
std::optional<SearchFilter> FilterFromEntries(const SearchEntries& entries,
                                              const CalendarDay& today);
