#pragma once
// Positions at given instants from recorded tracks. Within one segment the
// position is interpolated linearly between the two fixes around the
// instant when they are at most maxGap apart; otherwise it is the nearest
// fix when that lies within maxDistance; otherwise there is none. Fixes of
// different segments are never joined. Each question is binary searches
// only: over the segments by start, down a tree of their ends to those that
// reach the instant, and within each of those.
//
// Built once, then const: safe to ask from several threads.

#include <cstdint>
#include <optional>
#include <vector>

#include "companion/track.h"

struct MatchRules {
    std::int64_t maxGapMs = 5 * 60 * 1000;
    std::int64_t maxDistanceMs = 2 * 60 * 1000;
};

enum class MatchKind { None, Interpolated, Nearest };

struct TrackMatch {
    MatchKind kind = MatchKind::None;
    double latitude = 0;  // 0,0 for None
    double longitude = 0;
    // Milliseconds from the instant to the nearest fix of any track;
    // nothing when there are no fixes at all.
    std::optional<std::int64_t> nearestFixMs;
};

class TrackMatcher {
  public:
    explicit TrackMatcher(const std::vector<Track>& tracks);

    TrackMatch At(std::int64_t timeMs, const MatchRules& rules) const;
    std::size_t FixCount() const { return allTimes_.size(); }

  private:
    struct Candidate;
    void Consider(const TrackSegment& segment, std::int64_t timeMs, const MatchRules& rules,
                  Candidate& best) const;
    // Considers every segment among segments_[0..limit) that ends at or after
    // minEnd, below tree node `node` covering [low, high).
    void Visit(std::size_t node, std::size_t low, std::size_t high, std::size_t limit,
               std::int64_t minEnd, std::int64_t timeMs, const MatchRules& rules,
               Candidate& best) const;

    std::vector<TrackSegment> segments_;  // by first fix
    // The latest last fix under each node of a binary tree over segments_
    // (leaves from leaves_ on), so that a question visits only the segments
    // that reach its instant, however they overlap.
    std::vector<std::int64_t> maxEnd_;
    std::size_t leaves_ = 1;
    std::vector<std::int64_t> allTimes_;  // every fix, sorted
};
