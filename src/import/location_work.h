#pragma once
// What the location workers (region lookup, track application) report to
// the result dialogs that show their progress.

#include <functional>

// The counters a result dialog shows.
struct LocationCounters {
    int done = 0;
    int total = 0;
    int failed = 0;
};

// Hands the counters to the result dialog and returns once it has taken them
// (a synchronous send, so the dialog redraws before the worker goes on).
using LocationReport = std::function<void(const LocationCounters&)>;
