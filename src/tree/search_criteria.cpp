#include "tree/search_criteria.h"

#include <algorithm>
#include <charconv>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <limits>

#include "platform/c_locale_numbers.h"
#include "platform/local_time.h"
#include "platform/text_codec.h"

namespace {

bool IsLeapYear(int year) {
    return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

int DaysInMonth(int year, int month) {
    constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return month == 2 && IsLeapYear(year) ? 29 : kDays[month - 1];
}

std::optional<int> ParseNumber(std::string_view text) {
    int value = 0;
    const char* end = text.data() + text.size();
    auto [stop, error] = std::from_chars(text.data(), end, value);
    if (text.empty() || error != std::errc() || stop != end) return std::nullopt;
    return value;
}

std::optional<std::int32_t> LocalSeconds(const CalendarDay& day, int hour, int minute, int second) {
    const std::optional<std::int64_t> seconds =
        LocalWallSeconds(day.year, day.month, day.day, hour, minute, second);
    if (!seconds || *seconds < std::numeric_limits<std::int32_t>::min() ||
        *seconds > std::numeric_limits<std::int32_t>::max())
        return std::nullopt;
    return static_cast<std::int32_t>(*seconds);
}

// A cell's number as the panel reads it: the leading decimal number, 0 when
// there is none (the cells only ever hold numbers checked on commit).
float CellDegrees(const SearchEntries& e, SearchCell cell) {
    if (!e.entered[cell] || e.text[cell].empty()) return 0;
    return static_cast<float>(LeadingDouble(e.text[cell]));
}

std::string CellKeyword(const SearchEntries& e, SearchCell cell, const char* placeholder) {
    const std::string& text = e.text[cell];
    return e.entered[cell] && text != placeholder ? text : std::string();
}

}  // namespace

bool CoordinateInRange(SearchAxis axis, double degrees) {
    const double limit = axis == SearchAxis::Longitude ? 180 : 90;
    return degrees >= -limit && degrees <= limit;  // NaN is out of range
}

bool KeywordFits(std::string_view utf8) {
    return utf8.size() <= kSearchKeywordBytes;
}

std::optional<CalendarDay> ParseDay(std::string_view text) {
    const std::size_t first = text.find('-');
    const std::size_t second = first == std::string_view::npos ? first : text.find('-', first + 1);
    if (first != 4 || second == std::string_view::npos) return std::nullopt;
    const auto year = ParseNumber(text.substr(0, first));
    const auto month = ParseNumber(text.substr(first + 1, second - first - 1));
    const auto day = ParseNumber(text.substr(second + 1));
    if (!year || !month || !day || second - first > 3 || text.size() - second > 3)
        return std::nullopt;
    if (*year < 1970 || *year > 2037 || *month < 1 || *month > 12) return std::nullopt;
    if (*day < 1 || *day > DaysInMonth(*year, *month)) return std::nullopt;
    return CalendarDay{*year, *month, *day};
}

std::string FormatDay(const CalendarDay& day) {
    char text[32];
    std::snprintf(text, sizeof text, "%04d-%02d-%02d", day.year, day.month, day.day);
    return text;
}

std::optional<std::int32_t> LocalDayStart(const CalendarDay& day) {
    return LocalSeconds(day, 0, 0, 0);
}

std::optional<std::int32_t> LocalDayEnd(const CalendarDay& day) {
    return LocalSeconds(day, 23, 59, 59);
}

CalendarDay LocalToday() {
    // A clock the library cannot convert leaves the zeroed day it always gave.
    const LocalWallTime t = LocalWallTimeOf(std::time(nullptr)).value_or(LocalWallTime{1900, 1, 0});
    return {t.year, t.month, t.day};
}

std::optional<SearchFilter> FilterFromEntries(const SearchEntries& e, const CalendarDay& today) {
    if (std::none_of(e.entered.begin(), e.entered.end(), [](bool set) { return set; }))
        return std::nullopt;
    const std::string keyword1 = CellKeyword(e, kKeyword1Cell, kKeyword1Placeholder);
    const std::string keyword2 = CellKeyword(e, kKeyword2Cell, kKeyword2Placeholder);

    SearchFilter f;
    // A day whose bound the clock cannot give counts as a day not entered.
    const auto startDay = ParseDay(e.text[kStartDayCell]);
    if (e.entered[kStartDayCell] && startDay && !(*startDay == kUnsetStartDay))
        f.start = LocalDayStart(*startDay).value_or(0);
    // The end cell counts without being edited: it shows today from the start.
    if (const auto endDay = ParseDay(e.text[kEndDayCell]))
        f.end = *endDay == today && f.start == 0 ? 0 : LocalDayEnd(*endDay).value_or(0);

    f.longitude1 = CellDegrees(e, kLongitude1Cell);
    f.longitude2 = CellDegrees(e, kLongitude2Cell);
    f.latitude1 = CellDegrees(e, kLatitude1Cell);
    f.latitude2 = CellDegrees(e, kLatitude2Cell);
    if (f.latitude1 == 0 || f.latitude2 == 0) f.latitude1 = f.latitude2 = 0;
    if (f.longitude1 == 0 || f.longitude2 == 0) f.longitude1 = f.longitude2 = 0;

    if (keyword1.empty() && keyword2.empty() && f.latitude1 == 0 && f.longitude1 == 0 &&
        f.start == 0)
        return std::nullopt;
    CopyBounded(f.keywordA, sizeof f.keywordA, keyword1);
    CopyBounded(f.keywordB, sizeof f.keywordB, keyword2);
    return f;
}
