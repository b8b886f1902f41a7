#include "companion/camera_clock.h"

#include <date/tz.h>

#include <algorithm>
#include <ctime>

#include "platform/local_time.h"

namespace {

const date::time_zone* FindZone(const std::string& name) {
    try {
        return date::locate_zone(name);
    } catch (const std::exception&) {
        return nullptr;  // unknown name, or no time zone database
    }
}

// The fields of wall seconds, read back into the computer's zone.
std::optional<std::int64_t> ComputerInstant(std::int64_t wallSeconds) {
    const date::sys_seconds wall{std::chrono::seconds(wallSeconds)};
    const auto day = date::floor<date::days>(wall);
    const date::year_month_day ymd{day};
    const date::hh_mm_ss<std::chrono::seconds> time{wall - day};
    return LocalWallSeconds(
        static_cast<int>(ymd.year()), static_cast<int>(unsigned(ymd.month())),
        static_cast<int>(unsigned(ymd.day())), static_cast<int>(time.hours().count()),
        static_cast<int>(time.minutes().count()), static_cast<int>(time.seconds().count()));
}

}  // namespace

std::optional<std::int64_t> CatalogueWallSeconds(std::int32_t dwDateTime) {
    const std::optional<LocalWallTime> local = LocalWallTimeOf(dwDateTime);
    if (!local) return std::nullopt;
    const date::year_month_day ymd{date::year(local->year),
                                   date::month(static_cast<unsigned>(local->month)),
                                   date::day(static_cast<unsigned>(local->day))};
    const auto days = date::sys_days(ymd).time_since_epoch().count();
    return static_cast<std::int64_t>(days) * 86400 + (local->hour * 60LL + local->minute) * 60 +
           local->second;
}

std::optional<std::int64_t> ShotInstant(std::int32_t dwDateTime, const CameraClock& clock) {
    if (clock.timeZone.empty() && clock.offsetSeconds == 0) return dwDateTime;
    const auto cameraWall = CatalogueWallSeconds(dwDateTime);
    if (!cameraWall) return std::nullopt;
    const std::int64_t trueWall = *cameraWall - clock.offsetSeconds;
    if (clock.timeZone.empty()) return ComputerInstant(trueWall);
    const date::time_zone* zone = FindZone(clock.timeZone);
    if (!zone) return std::nullopt;
    const date::local_seconds local{std::chrono::seconds(trueWall)};
    const auto info = zone->get_info(local);
    switch (info.result) {
        case date::local_info::unique:
        case date::local_info::ambiguous:
            return trueWall - info.first.offset.count();
        case date::local_info::nonexistent:
            return date::sys_seconds(info.second.begin).time_since_epoch().count();
    }
    return std::nullopt;
}

std::optional<std::int64_t> OffsetFromTrueTime(std::int32_t dwDateTime,
                                               std::int64_t trueWallSeconds) {
    const auto cameraWall = CatalogueWallSeconds(dwDateTime);
    if (!cameraWall) return std::nullopt;
    return *cameraWall - trueWallSeconds;
}

bool IsKnownTimeZone(const std::string& name) {
    return FindZone(name) != nullptr;
}

std::vector<std::string> TimeZoneNames() {
    std::vector<std::string> names;
    try {
        const date::tzdb& db = date::get_tzdb();
        for (const date::time_zone& zone : db.zones) names.emplace_back(zone.name());
    } catch (const std::exception&) {
        return {};
    }
    std::sort(names.begin(), names.end());
    return names;
}
