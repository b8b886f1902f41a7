#include "gpx_track.h"

#include <algorithm>
#include <cctype>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <sstream>

#include "platform/c_locale_numbers.h"

namespace {

std::optional<double> Attribute(const std::string& tag, const char* name) {
    const std::string key = std::string(" ") + name + "=";
    const auto at = tag.find(key);
    if (at == std::string::npos || at + key.size() >= tag.size()) return std::nullopt;
    const char quote = tag[at + key.size()];
    if (quote != '"' && quote != '\'') return std::nullopt;
    const auto start = at + key.size() + 1;
    const auto end = tag.find(quote, start);
    if (end == std::string::npos) return std::nullopt;
    const std::string text = tag.substr(start, end - start);
    // GPX writes "39.9" under every locale.
    double value = 0;
    if (text.empty() || ReadDouble(text, value) != text.size()) return std::nullopt;
    return value;
}

}  // namespace

std::optional<std::int64_t> ParseIsoTime(const std::string& text) {
    int y, mo, d, h, mi, s, consumed = 0;
    if (std::sscanf(text.c_str(), "%4d-%2d-%2dT%2d:%2d:%2d%n", &y, &mo, &d, &h, &mi, &s,
                    &consumed) != 6) {
        return std::nullopt;
    }
    const std::chrono::year_month_day date{std::chrono::year(y), std::chrono::month(mo),
                                           std::chrono::day(d)};
    if (!date.ok() || h > 23 || mi > 59 || s > 60) return std::nullopt;
    std::int64_t seconds =
        std::chrono::sys_days(date).time_since_epoch().count() * 86400LL + h * 3600 + mi * 60 + s;
    std::size_t at = static_cast<std::size_t>(consumed);
    if (at < text.size() && text[at] == '.') {
        ++at;
        while (at < text.size() && std::isdigit(static_cast<unsigned char>(text[at]))) ++at;
    }
    if (at < text.size() && (text[at] == '+' || text[at] == '-')) {
        int oh = 0, om = 0;
        if (std::sscanf(text.c_str() + at + 1, "%2d:%2d", &oh, &om) != 2) return std::nullopt;
        const int offset = oh * 3600 + om * 60;
        seconds += text[at] == '+' ? -offset : offset;
    }
    return seconds;
}

std::optional<GpxTrack> GpxTrack::Load(const std::string& path) {
    std::ifstream in(path);
    if (!in) return std::nullopt;
    std::ostringstream text;
    text << in.rdbuf();
    return Parse(text.str());
}

GpxTrack GpxTrack::Parse(const std::string& text) {
    GpxTrack track;
    std::size_t at = 0;
    while ((at = text.find("<trkpt", at)) != std::string::npos) {
        const auto tagEnd = text.find('>', at);
        if (tagEnd == std::string::npos) break;
        const std::string tag = text.substr(at, tagEnd - at);
        auto pointEnd = text.find("</trkpt>", tagEnd);
        if (pointEnd == std::string::npos) pointEnd = text.size();
        const std::string body = text.substr(tagEnd, pointEnd - tagEnd);
        at = tagEnd;

        const auto latitude = Attribute(tag, "lat");
        const auto longitude = Attribute(tag, "lon");
        const auto timeStart = body.find("<time>");
        const auto timeEnd = body.find("</time>");
        if (!latitude || !longitude || timeStart == std::string::npos ||
            timeEnd == std::string::npos || timeEnd < timeStart) {
            continue;
        }
        const auto time = ParseIsoTime(body.substr(timeStart + 6, timeEnd - timeStart - 6));
        if (time) track.points_.push_back({*time, *latitude, *longitude});
    }
    std::stable_sort(track.points_.begin(), track.points_.end(),
                     [](const TrackPoint& a, const TrackPoint& b) { return a.time < b.time; });
    return track;
}

std::optional<TrackPoint> GpxTrack::PositionAt(std::int64_t time) const {
    if (points_.empty() || time < points_.front().time || time > points_.back().time) {
        return std::nullopt;
    }
    const auto after =
        std::lower_bound(points_.begin(), points_.end(), time,
                         [](const TrackPoint& p, std::int64_t t) { return p.time < t; });
    if (after->time == time || after == points_.begin())
        return TrackPoint{time, after->latitude, after->longitude};
    const TrackPoint& before = *(after - 1);
    const double f =
        static_cast<double>(time - before.time) / static_cast<double>(after->time - before.time);
    return TrackPoint{time, before.latitude + f * (after->latitude - before.latitude),
                      before.longitude + f * (after->longitude - before.longitude)};
}
