// Positions from tracks: the interpolation and gap rules, segments kept
// apart, and the accuracy on a synthetic 1 Hz track read from its GPX.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <random>

#include "companion/track_matcher.h"
#include "companion/track_reader.h"
#include "companion/track_time.h"
#include "track_file_writer.h"

namespace {

constexpr std::int64_t kS = 1000;

// Segment A: fixes at 0, 60 and 120 s, then a 600 s pause to 720 s; segment
// B starts 80 s after A ends. A sparse track C overlaps A.
std::vector<Track> Tracks() {
    Track walk{
        "walk",
        {{{0, 10.0, 20.0}, {60 * kS, 10.6, 20.6}, {120 * kS, 11.2, 21.2}, {720 * kS, 12.0, 22.0}},
         {{800 * kS, 50.0, 60.0}, {860 * kS, 50.6, 60.6}}}};
    Track sparse{"sparse", {{{-2000 * kS, -5.0, -5.0}, {2000 * kS, -6.0, -6.0}}}};
    return {walk, sparse};
}

TEST(TheTrackMatcher, interpolatesWithinASegmentAndFallsBackToTheNearestFix) {
    const TrackMatcher matcher(Tracks());
    const MatchRules defaults;
    MatchRules wideGap;
    wideGap.maxGapMs = 600 * kS;
    const struct {
        const char* what;
        std::int64_t atS;
        MatchRules rules;
        MatchKind kind;
        double latitude, longitude;
        std::int64_t nearestS;
    } cases[] = {
        {"between two fixes a minute apart", 30, defaults, MatchKind::Interpolated, 10.3, 20.3, 30},
        {"on a fix", 60, defaults, MatchKind::Interpolated, 10.6, 20.6, 0},
        {"a quarter of the way", 75, defaults, MatchKind::Interpolated, 10.75, 20.75, 15},
        {"in the pause, near its start", 200, defaults, MatchKind::Nearest, 11.2, 21.2, 80},
        {"in the pause, near its end", 690, defaults, MatchKind::Nearest, 12.0, 22.0, 30},
        {"in the middle of the pause", 420, defaults, MatchKind::None, 0, 0, 300},
        {"in the pause with a wider gap allowed", 420, wideGap, MatchKind::Interpolated, 11.6, 21.6,
         300},
        {"between segments, never joined", 750, defaults, MatchKind::Nearest, 12.0, 22.0, 30},
        {"just before the second segment", 790, defaults, MatchKind::Nearest, 50.0, 60.0, 10},
        {"a minute before the track", -60, defaults, MatchKind::Nearest, 10.0, 20.0, 60},
        {"long before the track", -500, defaults, MatchKind::None, 0, 0, 500},
        {"on the far fix of the sparse track", 2000, defaults, MatchKind::Interpolated, -6.0, -6.0,
         0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const TrackMatch m = matcher.At(c.atS * kS, c.rules);
        EXPECT_EQ(m.kind, c.kind);
        EXPECT_NEAR(m.latitude, c.latitude, 1e-9);
        EXPECT_NEAR(m.longitude, c.longitude, 1e-9);
        EXPECT_EQ(m.nearestFixMs, c.nearestS * kS);
    }
}

TEST(TheTrackMatcher, goesTheShortWayAcrossTheAntimeridianAndAnswersNothingWithoutTracks) {
    const TrackMatcher matcher({Track{"pacific", {{{0, 0, 179.0}, {60 * kS, 0, -179.0}}}}});
    EXPECT_NEAR(matcher.At(15 * kS, {}).longitude, 179.5, 1e-9);
    EXPECT_NEAR(matcher.At(45 * kS, {}).longitude, -179.5, 1e-9);

    const TrackMatch none = TrackMatcher({}).At(0, {});
    EXPECT_EQ(none.kind, MatchKind::None);
    EXPECT_FALSE(none.nearestFixMs);
}

// A walk along a winding path recorded at 1 Hz with the receiver's noise;
// the true positions are the path's at each photo's instant.
TEST(TheTrackMatcher, findsPositionsWithinFiveMetresOnASynthetic1HzTrack) {
    const std::int64_t start = UtcDayStartMs(2026, 5, 1) + 9 * 3600'000;
    const double lat0 = 31.23, lon0 = 121.47, metresPerDegree = 111'320;
    const double cosLat = std::cos(lat0 * M_PI / 180);
    const auto truth = [&](double seconds) {
        // About 1.4 m/s, turning slowly.
        const double east = 1.4 * seconds, north = 80 * std::sin(seconds / 120);
        return std::pair{lat0 + north / metresPerDegree, lon0 + east / (metresPerDegree * cosLat)};
    };
    std::mt19937 random(7);
    std::normal_distribution<double> noise(0, 2.5);  // metres
    std::vector<TestFix> fixes;
    // The receiver logs half a second off the photos' whole seconds, and
    // loses the sky for 40 s in the middle.
    for (int i = 0; i < 3600; ++i) {
        if (i >= 1800 && i < 1840) continue;
        const auto [lat, lon] = truth(i + 0.5);
        fixes.push_back({start + i * kS + 500, lat + noise(random) / metresPerDegree,
                         lon + noise(random) / (metresPerDegree * cosLat)});
    }
    const TrackReadResult read = ReadTrackBytes(GpxText({fixes}));
    ASSERT_EQ(read.status, TrackReadStatus::Ok) << read.detail;
    const TrackMatcher matcher({read.track});

    std::vector<double> errors;
    for (int second = 3; second < 3597; second += 7) {
        const TrackMatch m = matcher.At(start + second * kS, {});
        ASSERT_NE(m.kind, MatchKind::None) << second;
        const auto [lat, lon] = truth(second);
        errors.push_back(std::hypot((m.latitude - lat) * metresPerDegree,
                                    (m.longitude - lon) * metresPerDegree * cosLat));
    }
    std::nth_element(errors.begin(), errors.begin() + errors.size() / 2, errors.end());
    EXPECT_LE(errors[errors.size() / 2], 5.0);
}

}  // namespace
