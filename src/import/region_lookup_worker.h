#pragma once
// The region lookup of the pending region queue: asks the companion map
// application for the region names of every queued position, in order, and
// stores the names it receives.
//
// Threads: runs on the worker thread that calls it (one at a time, see
// WorkerKind::RegionLookup); the companion's replies are handled on the map
// link's dispatch thread meanwhile. Talks to the outside only through what
// its job hands it.

#include <functional>

#include "catalogue/pending_region_queue.h"
#include "import/location_work.h"
#include "platform/stop_token.h"

class Library;
class MapLink;
class RegionBuffer;

inline constexpr int kRegionLookupSends = 5;
// Restarts while the companion's window is missing, per absence.
inline constexpr int kMissingCompanionRetries = 3;

// What one lookup is handed.
struct RegionLookupJob {
    Library& library;           // where the names are stored
    PendingRegionQueue& queue;  // asked in order; the answered entries leave it
    // The job's stop, whose parent is the exit token. Its own request (取消)
    // stops before the next entry, the queue kept; the exit token's ends
    // the lookup at once.
    const StopToken& stop;
    // Restarts made since the companion's window was last found; its owner
    // keeps it from one lookup to the next.
    int& missingCompanionRetries;
    LocationReport report;                  // unset: no dialog
    std::function<void()> regionTreeStale;  // posted to the category pane
    // Start a new lookup once this one has ended (the companion may still be
    // starting); called at most kMissingCompanionRetries times in a row.
    std::function<void()> restart;
};

enum class RegionLookupEnd {
    Empty,        // nothing was queued
    NoCompanion,  // the companion's window is missing; the queue is kept
    Finished,     // every entry was asked for; only the unanswered ones stay queued
    Cancelled,    // 取消: the queue is kept
    Exited,       // the program is closing
};

struct RegionLookupResult {
    RegionLookupEnd end = RegionLookupEnd::Empty;
    int resolved = 0;    // names stored
    int total = 0;       // queue length at the start
    int outside = 0;     // the companion answered with no names
    int unanswered = 0;  // no answer after kRegionLookupSends requests
};

RegionLookupResult RunRegionLookup(MapLink& link, RegionBuffer& buffer, const RegionLookupJob& job);
