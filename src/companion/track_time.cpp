#include "companion/track_time.h"

#include <chrono>

namespace {

// Reads exactly count digits at text[at]; advances at.
std::optional<int> Digits(std::string_view text, std::size_t& at, int count) {
    if (at + count > text.size()) return std::nullopt;
    int value = 0;
    for (int i = 0; i < count; ++i) {
        const char c = text[at + i];
        if (c < '0' || c > '9') return std::nullopt;
        value = value * 10 + (c - '0');
    }
    at += count;
    return value;
}

bool Expect(std::string_view text, std::size_t& at, char c) {
    if (at >= text.size() || text[at] != c) return false;
    ++at;
    return true;
}

}  // namespace

std::int64_t UtcDayStartMs(int year, int month, int day) {
    const std::chrono::sys_days days{std::chrono::year(year) / month / day};
    return static_cast<std::int64_t>(days.time_since_epoch().count()) * 86'400'000;
}

std::optional<std::int64_t> ParseTrackTime(std::string_view text) {
    while (!text.empty() && (text.front() == ' ' || text.front() == '\n' || text.front() == '\t' ||
                             text.front() == '\r'))
        text.remove_prefix(1);
    while (!text.empty() && (text.back() == ' ' || text.back() == '\n' || text.back() == '\t' ||
                             text.back() == '\r'))
        text.remove_suffix(1);
    std::size_t at = 0;
    const auto year = Digits(text, at, 4);
    if (!year || !Expect(text, at, '-')) return std::nullopt;
    const auto month = Digits(text, at, 2);
    if (!month || !Expect(text, at, '-')) return std::nullopt;
    const auto day = Digits(text, at, 2);
    if (!day || !Expect(text, at, 'T')) return std::nullopt;
    const auto hour = Digits(text, at, 2);
    if (!hour || !Expect(text, at, ':')) return std::nullopt;
    const auto minute = Digits(text, at, 2);
    if (!minute || !Expect(text, at, ':')) return std::nullopt;
    const auto second = Digits(text, at, 2);
    if (!second) return std::nullopt;
    const std::chrono::year_month_day date{std::chrono::year(*year),
                                           std::chrono::month(static_cast<unsigned>(*month)),
                                           std::chrono::day(static_cast<unsigned>(*day))};
    // 24:00:00 and leap seconds are not written by loggers; refuse them.
    if (!date.ok() || *hour > 23 || *minute > 59 || *second > 59) return std::nullopt;
    std::int64_t ms =
        UtcDayStartMs(*year, *month, *day) + ((*hour * 60LL + *minute) * 60 + *second) * 1000;
    if (at < text.size() && (text[at] == '.' || text[at] == ',')) {
        ++at;
        int scale = 100;
        const std::size_t first = at;
        while (at < text.size() && text[at] >= '0' && text[at] <= '9') {
            ms += (text[at] - '0') * scale;
            scale /= 10;
            ++at;
        }
        if (at == first) return std::nullopt;
    }
    if (at == text.size()) return ms;
    if (text[at] == 'Z' && at + 1 == text.size()) return ms;
    if (text[at] != '+' && text[at] != '-') return std::nullopt;
    const int sign = text[at] == '+' ? 1 : -1;
    ++at;
    const auto offsetHours = Digits(text, at, 2);
    if (!offsetHours) return std::nullopt;
    Expect(text, at, ':');
    const auto offsetMinutes = Digits(text, at, 2);
    if (!offsetMinutes || at != text.size() || *offsetHours > 14 || *offsetMinutes > 59)
        return std::nullopt;
    return ms - sign * (*offsetHours * 60LL + *offsetMinutes) * 60'000;
}
