#include "companion/track.h"

#include <algorithm>

std::size_t Track::FixCount() const {
    std::size_t count = 0;
    for (const TrackSegment& s : segments) count += s.size();
    return count;
}

void NormaliseTrack(Track& track) {
    for (TrackSegment& s : track.segments) {
        const auto earlier = [](const TrackFix& a, const TrackFix& b) {
            return a.timeMs < b.timeMs;
        };
        if (!std::is_sorted(s.begin(), s.end(), earlier))
            std::stable_sort(s.begin(), s.end(), earlier);
        s.erase(
            std::unique(s.begin(), s.end(),
                        [](const TrackFix& a, const TrackFix& b) { return a.timeMs == b.timeMs; }),
            s.end());
    }
    std::erase_if(track.segments, [](const TrackSegment& s) { return s.empty(); });
}
