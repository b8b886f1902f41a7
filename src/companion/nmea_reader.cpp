// NMEA 0183 logs: RMC gives date, time and position; GGA gives time and
// position and takes its date from the last RMC (a GGA before the first RMC
// waits for it). A time of day far behind the last one means that the log
// went past midnight UTC. Sentences with a wrong checksum or cut short are
// dropped and counted; the log is one segment.
#include <chrono>
#include <cmath>
#include <string_view>
#include <vector>

#include "companion/track_readers.h"
#include "companion/track_time.h"
#include "platform/c_locale_numbers.h"

namespace {

constexpr qint64 kMaxSentence = 256;  // the standard's 82, with room for odd loggers
constexpr std::int64_t kDayMs = 86'400'000;

std::vector<std::string_view> Fields(std::string_view body) {
    std::vector<std::string_view> fields;
    for (std::size_t start = 0;;) {
        const std::size_t comma = body.find(',', start);
        fields.push_back(
            body.substr(start, comma == std::string_view::npos ? body.npos : comma - start));
        if (comma == std::string_view::npos) return fields;
        start = comma + 1;
    }
}

int HexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return -1;
}

// The text between '$' and '*' when the checksum after '*' matches it.
std::optional<std::string_view> CheckedBody(std::string_view line) {
    while (!line.empty() && (line.back() == '\n' || line.back() == '\r')) line.remove_suffix(1);
    if (line.size() < 4 || line.front() != '$') return std::nullopt;
    const std::size_t star = line.rfind('*');
    if (star == std::string_view::npos || star + 3 != line.size()) return std::nullopt;
    const int high = HexDigit(line[star + 1]), low = HexDigit(line[star + 2]);
    if (high < 0 || low < 0) return std::nullopt;
    unsigned sum = 0;
    for (std::size_t i = 1; i < star; ++i) sum ^= static_cast<unsigned char>(line[i]);
    if (sum != static_cast<unsigned>(high * 16 + low)) return std::nullopt;
    return line.substr(1, star - 1);
}

bool ReadNumber(std::string_view text, double& value) {
    return !text.empty() && ReadDouble(text, value) == text.size() && std::isfinite(value);
}

// count decimal digits at text[at] as a number, nothing when any
// of them is not a digit (a sign or an exponent is no field of these).
std::optional<int> DigitsAt(std::string_view text, std::size_t at, std::size_t count) {
    if (text.size() < at + count) return std::nullopt;
    int value = 0;
    for (std::size_t i = at; i < at + count; ++i) {
        if (text[i] < '0' || text[i] > '9') return std::nullopt;
        value = value * 10 + (text[i] - '0');
    }
    return value;
}

// hhmmss[.sss] as milliseconds into the day.
std::optional<std::int64_t> TimeOfDay(std::string_view text) {
    const auto h = DigitsAt(text, 0, 2), m = DigitsAt(text, 2, 2), s = DigitsAt(text, 4, 2);
    if (!h || !m || !s || *h > 23 || *m > 59 || *s > 59) return std::nullopt;
    std::int64_t ms = ((*h * 60LL + *m) * 60 + *s) * 1000;
    if (text.size() == 6) return ms;
    if (text[6] != '.') return std::nullopt;
    int scale = 100;
    for (std::size_t i = 7; i < text.size(); ++i, scale /= 10) {
        if (text[i] < '0' || text[i] > '9') return std::nullopt;
        ms += (text[i] - '0') * scale;
    }
    return ms;
}

// ddmm.mmmm (latitude) or dddmm.mmmm (longitude) with its hemisphere.
std::optional<double> Angle(std::string_view text, std::string_view hemisphere, double limit) {
    double value = 0;
    if (!ReadNumber(text, value) || value < 0 || hemisphere.size() != 1) return std::nullopt;
    const double degrees = std::floor(value / 100);
    const double minutes = value - degrees * 100;
    double angle = degrees + minutes / 60;
    if (minutes >= 60 || angle > limit) return std::nullopt;
    const char h = hemisphere[0];
    if (h == 'S' || h == 'W')
        angle = -angle;
    else if (h != 'N' && h != 'E')
        return std::nullopt;
    return angle;
}

struct NmeaReading {
    TrackReadResult& result;
    TrackSegment fixes;
    std::vector<std::pair<std::int64_t, TrackFix>> waitingForDate;  // GGA before any RMC
    std::optional<std::int64_t> dayStartMs;                         // of the last dated fix
    std::int64_t lastTimeOfDay = 0;
    bool sawPositions = false;

    // The time of a time of day on the current date, past midnight when it
    // fell far behind the last one.
    std::int64_t Dated(std::int64_t timeOfDay) {
        if (timeOfDay + kDayMs / 2 < lastTimeOfDay) *dayStartMs += kDayMs;
        lastTimeOfDay = timeOfDay;
        return *dayStartMs + timeOfDay;
    }

    bool Position(const std::vector<std::string_view>& f, std::size_t at, TrackFix& fix) {
        const auto latitude = Angle(f[at], f[at + 1], 90);
        const auto longitude = Angle(f[at + 2], f[at + 3], 180);
        if (!latitude || !longitude) return false;
        fix.latitude = *latitude;
        fix.longitude = *longitude;
        sawPositions = true;
        return true;
    }

    void Rmc(const std::vector<std::string_view>& f) {
        // RMC,time,status,lat,N,lon,E,speed,course,ddmmyy,...
        if (f.size() < 10 || f[2] != "A") return;
        const auto timeOfDay = TimeOfDay(f[1]);
        const auto d = DigitsAt(f[9], 0, 2), m = DigitsAt(f[9], 2, 2), yy = DigitsAt(f[9], 4, 2);
        if (!timeOfDay || f[9].size() != 6 || !d || !m || !yy) return;
        const int y = 2000 + *yy;  // GPS receivers log this century
        if (!std::chrono::year_month_day(std::chrono::year(y),
                                         std::chrono::month(static_cast<unsigned>(*m)),
                                         std::chrono::day(static_cast<unsigned>(*d)))
                 .ok())
            return;
        TrackFix fix;
        if (!Position(f, 3, fix)) return;
        const bool first = !dayStartMs;
        dayStartMs = UtcDayStartMs(y, *m, *d);
        lastTimeOfDay = *timeOfDay;
        fix.timeMs = *dayStartMs + *timeOfDay;
        if (first) DateTheWaiting(*timeOfDay);
        fixes.push_back(fix);
    }

    // GGAs logged before the first RMC: same day unless later in the day
    // than that RMC, which means the day before.
    void DateTheWaiting(std::int64_t rmcTimeOfDay) {
        for (auto& [timeOfDay, fix] : waitingForDate) {
            fix.timeMs =
                *dayStartMs + timeOfDay - (timeOfDay > rmcTimeOfDay + kDayMs / 2 ? kDayMs : 0);
            fixes.push_back(fix);
        }
        waitingForDate.clear();
    }

    void Gga(const std::vector<std::string_view>& f) {
        // GGA,time,lat,N,lon,E,quality,...
        if (f.size() < 7 || f[6].empty() || f[6] == "0") return;
        const auto timeOfDay = TimeOfDay(f[1]);
        TrackFix fix;
        if (!timeOfDay || !Position(f, 2, fix)) return;
        if (!dayStartMs) {
            waitingForDate.emplace_back(*timeOfDay, fix);
            return;
        }
        fix.timeMs = Dated(*timeOfDay);
        fixes.push_back(fix);
    }

    void Sentence(std::string_view body) {
        const auto f = Fields(body);
        // The talker (GP, GN, GL, BD, ...) does not matter; the type does.
        if (f[0].size() != 5) return;
        const std::string_view type = f[0].substr(2);
        if (type == "RMC")
            Rmc(f);
        else if (type == "GGA")
            Gga(f);
    }
};

}  // namespace

void ReadNmea(QIODevice& device, TrackReadResult& result) {
    NmeaReading reading{result};
    int sentences = 0;
    while (!device.atEnd()) {
        QByteArray line = device.readLine(kMaxSentence);
        if (!line.endsWith('\n') && !device.atEnd()) {
            // Longer than any sentence: drop it to its end.
            while (!device.atEnd() && !line.endsWith('\n')) line = device.readLine(kMaxSentence);
            ++result.droppedSentences;
            continue;
        }
        const std::string_view text(line.constData(), static_cast<std::size_t>(line.size()));
        if (text.find_first_not_of(" \t\r\n") == std::string_view::npos) continue;
        const auto body = CheckedBody(text);
        if (!body) {
            ++result.droppedSentences;
            continue;
        }
        ++sentences;
        reading.Sentence(*body);
    }
    result.track.segments.push_back(std::move(reading.fixes));
    if (sentences == 0) {
        result.status = TrackReadStatus::NotATrack;
        result.detail = "no NMEA sentence with a valid checksum";
        return;
    }
    if (result.track.FixCount() == 0 && !reading.waitingForDate.empty()) {
        result.status = TrackReadStatus::NoTimes;
        result.detail = "GGA positions without any RMC to give their date";
        return;
    }
    FinishTrack(reading.sawPositions, result);
}
