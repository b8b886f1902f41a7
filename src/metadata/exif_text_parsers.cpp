#include "metadata/exif_text_parsers.h"

#include <cstdio>
#include <ctime>

#include "platform/local_time.h"

namespace {

constexpr int kLatestYear = 3000;

bool IsValidWallTime(int year, int month, int day, int hour, int minute, int second) {
    return year >= 1 && year <= 9999 && month >= 1 && month <= 12 && day >= 1 && day <= 31 &&
           hour >= 0 && hour <= 23 && minute >= 0 && minute <= 59 && second >= 0 && second <= 59;
}

}  // namespace

std::int32_t ShotTimeFromText(const std::string& text) {
    int year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0;
    std::sscanf(text.c_str(), "%d:%d:%d %d:%d:%d", &year, &month, &day, &hour, &minute, &second);
    if (month > 12)
        month /= 100;
    else if (text.size() > 4 && text[4] == '-')
        std::sscanf(text.c_str(), "%d-%d-%d %d:%d:%d", &year, &month, &day, &hour, &minute,
                    &second);
    if (!IsValidWallTime(year, month, day, hour, minute, second) || year > kLatestYear) return 0;

    const std::optional<std::int64_t> seconds =
        LocalWallSeconds(year, month, day, hour, minute, second);
    if (!seconds || *seconds < 0) return 0;
    return static_cast<std::int32_t>(
        static_cast<std::uint32_t>(static_cast<std::uint64_t>(*seconds)));
}
