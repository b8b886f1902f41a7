#include "companion/track_matcher.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace {

constexpr std::int64_t kNever = std::numeric_limits<std::int64_t>::max();

std::int64_t Distance(std::int64_t a, std::int64_t b) {
    return a > b ? a - b : b - a;
}

// Linear between two fixes; across the antimeridian the short way round.
TrackFix Between(const TrackFix& a, const TrackFix& b, std::int64_t timeMs) {
    const double f =
        static_cast<double>(timeMs - a.timeMs) / static_cast<double>(b.timeMs - a.timeMs);
    double toLongitude = b.longitude;
    if (toLongitude - a.longitude > 180) toLongitude -= 360;
    if (toLongitude - a.longitude < -180) toLongitude += 360;
    double longitude = a.longitude + f * (toLongitude - a.longitude);
    if (longitude > 180) longitude -= 360;
    if (longitude < -180) longitude += 360;
    return {timeMs, a.latitude + f * (b.latitude - a.latitude), longitude};
}

}  // namespace

// The best answer so far: an interpolation beats a nearest fix; among
// interpolations the narrower pair wins, among nearest fixes the closer.
struct TrackMatcher::Candidate {
    MatchKind kind = MatchKind::None;
    std::int64_t rank = kNever;
    TrackFix fix;

    void Offer(MatchKind k, std::int64_t r, const TrackFix& f) {
        const bool better = kind == MatchKind::None ? true
                            : k != kind             ? k == MatchKind::Interpolated
                                                    : r < rank;
        if (!better) return;
        kind = k;
        rank = r;
        fix = f;
    }
};

TrackMatcher::TrackMatcher(const std::vector<Track>& tracks) {
    for (const Track& track : tracks)
        for (const TrackSegment& segment : track.segments)
            if (!segment.empty()) segments_.push_back(segment);
    for (TrackSegment& s : segments_)
        std::stable_sort(s.begin(), s.end(),
                         [](const TrackFix& a, const TrackFix& b) { return a.timeMs < b.timeMs; });
    std::sort(segments_.begin(), segments_.end(), [](const TrackSegment& a, const TrackSegment& b) {
        return a.front().timeMs < b.front().timeMs;
    });
    while (leaves_ < segments_.size()) leaves_ *= 2;
    maxEnd_.assign(2 * leaves_, std::numeric_limits<std::int64_t>::min());
    for (std::size_t i = 0; i < segments_.size(); ++i) {
        maxEnd_[leaves_ + i] = segments_[i].back().timeMs;
        for (const TrackFix& f : segments_[i]) allTimes_.push_back(f.timeMs);
    }
    for (std::size_t node = leaves_ - 1; node >= 1; --node)
        maxEnd_[node] = std::max(maxEnd_[2 * node], maxEnd_[2 * node + 1]);
    std::sort(allTimes_.begin(), allTimes_.end());
}

void TrackMatcher::Consider(const TrackSegment& segment, std::int64_t timeMs,
                            const MatchRules& rules, Candidate& best) const {
    const auto after =
        std::lower_bound(segment.begin(), segment.end(), timeMs,
                         [](const TrackFix& f, std::int64_t t) { return f.timeMs < t; });
    if (after != segment.end() && after->timeMs == timeMs) {
        best.Offer(MatchKind::Interpolated, 0, *after);
        return;
    }
    const bool hasAfter = after != segment.end();
    const bool hasBefore = after != segment.begin();
    if (hasBefore && hasAfter) {
        const TrackFix& before = *(after - 1);
        const std::int64_t gap = after->timeMs - before.timeMs;
        if (gap <= rules.maxGapMs) {
            best.Offer(MatchKind::Interpolated, gap, Between(before, *after, timeMs));
            return;
        }
    }
    for (const bool useAfter : {false, true}) {
        if (useAfter ? !hasAfter : !hasBefore) continue;
        const TrackFix& fix = useAfter ? *after : *(after - 1);
        const std::int64_t distance = Distance(fix.timeMs, timeMs);
        if (distance <= rules.maxDistanceMs) best.Offer(MatchKind::Nearest, distance, fix);
    }
}

void TrackMatcher::Visit(std::size_t node, std::size_t low, std::size_t high, std::size_t limit,
                         std::int64_t minEnd, std::int64_t timeMs, const MatchRules& rules,
                         Candidate& best) const {
    if (low >= limit || maxEnd_[node] < minEnd) return;
    if (high - low == 1) {
        Consider(segments_[low], timeMs, rules, best);
        return;
    }
    const std::size_t middle = low + (high - low) / 2;
    Visit(2 * node, low, middle, limit, minEnd, timeMs, rules, best);
    Visit(2 * node + 1, middle, high, limit, minEnd, timeMs, rules, best);
}

TrackMatch TrackMatcher::At(std::int64_t timeMs, const MatchRules& rules) const {
    TrackMatch match;
    if (allTimes_.empty()) return match;
    const auto next = std::lower_bound(allTimes_.begin(), allTimes_.end(), timeMs);
    std::int64_t nearest = kNever;
    if (next != allTimes_.end()) nearest = Distance(*next, timeMs);
    if (next != allTimes_.begin()) nearest = std::min(nearest, Distance(*(next - 1), timeMs));
    match.nearestFixMs = nearest;

    // A segment can answer only when it starts before timeMs + reach and
    // ends after timeMs - reach.
    const std::int64_t reach = std::max<std::int64_t>(0, rules.maxDistanceMs);
    const auto end = std::upper_bound(
        segments_.begin(), segments_.end(), timeMs + reach,
        [](std::int64_t t, const TrackSegment& s) { return t < s.front().timeMs; });
    Candidate best;
    Visit(1, 0, leaves_, static_cast<std::size_t>(end - segments_.begin()), timeMs - reach, timeMs,
          rules, best);
    if (best.kind == MatchKind::None) return match;
    match.kind = best.kind;
    match.latitude = best.fix.latitude;
    match.longitude = best.fix.longitude;
    return match;
}
